#!/usr/bin/env bash
# Builds the libFuzzer programs with clang into build-fuzz/ (every library instrumented with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs the given readers, at most JOBS at a
# time. Each run starts from fuzz/corpus/NAME and fuzz/found/NAME; what it finds goes to
# build-fuzz/findings/NAME/ (copy a finding into fuzz/found/NAME/ once it is fixed, so that the
# ordinary test suite keeps it fixed). The readers are the folders of fuzz/corpus/.
# Usage: scripts/fuzz.sh [-n RUNS] [-t SECONDS] [-j JOBS] [NAME...]
#   defaults: 1000000 runs per reader, at most 3600 seconds each, 3 at a time, every reader.
# Needs clang (Debian's clang package ships libFuzzer with it).
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=1000000 SECONDS_MAX=3600 JOBS=3
while getopts n:t:j: opt; do
  case $opt in
    n) RUNS=$OPTARG ;;
    t) SECONDS_MAX=$OPTARG ;;
    j) JOBS=$OPTARG ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
if [ $# -eq 0 ]; then
  set -- $(ls fuzz/corpus)
fi

BUILD=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=None "-DCMAKE_CXX_FLAGS=-O1 -gline-tables-only" \
  -DQM_BUILD_FUZZ=ON -DQM_BUILD_TESTS=OFF -DQM_BUILD_BENCH=OFF -DQM_SPELLING_DATA=OFF >/dev/null
cmake --build "$BUILD" -j"$JOBS" --target $(printf '%s_fuzz ' "$@")

export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan.supp
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
run() {
  local name=$1 work=$BUILD/fuzz-corpus/$1 findings=$BUILD/findings/$1
  mkdir -p "$work" "$findings"
  "$BUILD/fuzz/${name}_fuzz" -runs="$RUNS" -max_total_time="$SECONDS_MAX" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$work" "fuzz/corpus/$name" \
    $( [ -d "fuzz/found/$name" ] && echo "fuzz/found/$name" ) >"$BUILD/findings/$name.log" 2>&1 || true
  local done_runs speed found
  done_runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$BUILD/findings/$name.log" | grep -o '[0-9]*$' || echo '?')
  speed=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$BUILD/findings/$name.log" | grep -o '[0-9]*$' || echo '?')
  found=$(ls "$findings" | wc -l)
  printf '%-18s runs %-9s exec/s %-7s findings %s\n' "$name" "${done_runs:-?}" "${speed:-?}" "$found"
}
for name in "$@"; do
  while [ "$(jobs -rp | wc -l)" -ge "$JOBS" ]; do wait -n; done
  run "$name" &
done
wait
