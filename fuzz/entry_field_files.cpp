// The libFuzzer entry point of the field_files target.
#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return quorvel::fuzz::FieldFiles(data, size);
}
