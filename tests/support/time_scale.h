// Time limits of tests that wait for a program or a server.
#pragma once

#include <chrono>
#include <cstdlib>

// A time limit stretched by the factor in QM_TEST_TIME_SCALE: the sanitizer run
// (scripts/sanitize.sh) sets it, since instrumented programs start and run several times slower.
inline std::chrono::milliseconds Stretched(std::chrono::milliseconds limit) {
  const char* scale = std::getenv("QM_TEST_TIME_SCALE");
  const int factor = scale ? std::atoi(scale) : 1;
  return factor > 1 ? limit * factor : limit;
}
