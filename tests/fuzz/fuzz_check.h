// A failed expectation inside a fuzz target: report and abort, so that libFuzzer
// keeps the input as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                              \
  do {                                                                           \
    if (!(condition)) {                                                          \
      std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", what, __FILE__,    \
                   __LINE__);                                                    \
      std::abort();                                                              \
    }                                                                            \
  } while (0)
