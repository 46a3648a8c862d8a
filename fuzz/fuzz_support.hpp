// The fuzz targets' invariant check: it aborts, so that the fuzzer records
// the input. Everything else they share with the tests (test_support).
#pragma once

#include <cstdio>
#include <cstdlib>

namespace fuzz_support {

inline void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace fuzz_support
