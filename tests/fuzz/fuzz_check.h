#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property: says which and aborts, so that libFuzzer keeps the input.
// NOLINTNEXTLINE(cppcoreguidelines-macro-usage)
#define ZK_FUZZ_CHECK(condition)                                                                   \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
