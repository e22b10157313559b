#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace quorvel::project::test_support {

// Whether xmllint takes `markup` as well-formed XML; true where there is no
// xmllint (the Windows build's tests run under Wine).
inline bool WellFormed(const std::string& markup) {
    if (std::system("xmllint --version >/dev/null 2>&1") != 0) return true;
    std::random_device seed;
    const auto file = std::filesystem::temp_directory_path() /
                      ("quorvel-project-sheet-" + std::to_string(seed()) + ".xml");
    std::ofstream(file, std::ios::binary) << markup;
    const std::string command = "xmllint --noout --nonet '" + file.string() + "'";
    const bool accepted = std::system(command.c_str()) == 0;
    std::filesystem::remove(file);
    return accepted;
}

}  // namespace quorvel::project::test_support
