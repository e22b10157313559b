#pragma once
// The drawings that make_drawings.py writes at build time with ezdxf. A test
// that needs one is skipped when they were not made (no python3-ezdxf on the
// building machine).

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "calc/project/dxf/dxf_reader.h"

namespace quorvel::project::dxf::test_support {

inline std::filesystem::path TestDrawing(const std::string& name) {
#ifdef QUORVEL_DXF_TEST_DRAWINGS
    return std::filesystem::path(QUORVEL_DXF_TEST_DRAWINGS) / name;
#else
    return std::filesystem::path("missing") / name;
#endif
}

inline bool HaveTestDrawings() {
    std::error_code error;
    return std::filesystem::exists(TestDrawing("r2000_gbk_mm.dxf"), error);
}

}  // namespace quorvel::project::dxf::test_support

// Skips the test when the drawings were not made.
#define QUORVEL_NEED_TEST_DRAWINGS()                                               \
    do {                                                                           \
        if (!::quorvel::project::dxf::test_support::HaveTestDrawings())            \
            GTEST_SKIP() << "the test drawings were not made at build time "       \
                            "(python3-ezdxf was missing on the building machine)"; \
    } while (false)
