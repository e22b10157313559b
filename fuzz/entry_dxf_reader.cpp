// The libFuzzer entry point of the dxf_reader target.
#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return quorvel::fuzz::DxfReader(data, size);
}
