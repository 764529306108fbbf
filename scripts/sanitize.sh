#!/usr/bin/env bash
# Builds the program and its tests with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ and runs every test headless under them; any report fails its test.
# Usage: scripts/sanitize.sh [ctest arguments, e.g. -R Rtf]
# Environment: QM_ASAN_BUILD (build folder), QM_ASAN_JOBS (parallel compile and test jobs).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=${QM_ASAN_BUILD:-build-asan}
JOBS=${QM_ASAN_JOBS:-$(nproc)}
SANITIZERS=address,undefined

# Every program of the build runs under these, the build's own generators as well as the tests
# and the program the end-to-end tests start. Leak reports from system libraries (not ours)
# are suppressed in scripts/lsan_suppressions.txt.
export ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=0:abort_on_error=0
export LSAN_OPTIONS=suppressions=$ROOT/scripts/lsan_suppressions.txt:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# -O1 with line tables only: full stack traces at a fraction of a full debug build's cost.
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
  -DCMAKE_CXX_FLAGS="-fsanitize=$SANITIZERS -fno-sanitize-recover=$SANITIZERS -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=$SANITIZERS" \
  -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=$SANITIZERS" \
  -DQM_TEST_TIMEOUT=900 >/dev/null
cmake --build "$BUILD" -j "$JOBS"

# Instrumented code runs several times slower: the time limit per test is raised above, and
# the tests that start the program wait for it that much longer.
export QT_QPA_PLATFORM=offscreen QM_TEST_TIME_SCALE=4
ctest --test-dir "$BUILD" --output-on-failure -j "$JOBS" "$@"
