#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_targets.h"

namespace quorvel::fuzz {

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
}

}  // namespace quorvel::fuzz
