#!/bin/sh
# Builds the data tree's model, worker and stream tests with ThreadSanitizer and runs them.
# Needs the normal build's platform library (build/platform/libplatform.a) for the streams.
# Usage: scripts/tsan_data_tree.sh [build dir]   (default: build)
set -e
cd "$(dirname "$0")/.."
BUILD=${1:-build}
OUT=$BUILD/tsan
mkdir -p "$OUT"
ninja -C "$BUILD" platform >/dev/null
g++ -std=c++20 -O1 -g -fsanitize=thread -I. -o "$OUT/data_tree_tsan_tests" \
  components/data_tree_model.cpp components/data_tree_worker.cpp components/data_tree_stream.cpp \
  tests/components/data_tree_model_test.cpp tests/components/data_tree_worker_test.cpp \
  tests/components/data_tree_stream_test.cpp \
  "$BUILD/platform/libplatform.a" -lgtest -lgtest_main -licuuc -licui18n -pthread
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "$OUT/data_tree_tsan_tests" "$@"
