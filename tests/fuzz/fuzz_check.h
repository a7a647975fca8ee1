#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property: says on which line and aborts, so that libFuzzer keeps the input.
inline void check(bool holds, int line = __builtin_LINE()) {
    if (holds) return;
    std::fprintf(stderr, "property broken at line %d\n", line);
    std::abort();
}
