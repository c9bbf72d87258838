#!/usr/bin/env bash
# Long fuzzing runs: builds the fuzz drivers with clang (libFuzzer, ASan and
# UBSan) and runs each for the given number of seconds, one after another.
# Each driver grows its corpus in <build>/corpus/<driver> (seeded from
# tests/fuzz/corpus/<driver>); crash inputs land in <build>/artifacts/.
# The last status line of every run (executions, edges covered, corpus size)
# is printed at the end.
# Usage: tools/fuzz.sh [seconds-per-driver] [build-dir] [driver ...]
set -u
cd "$(dirname "$0")/.."
seconds=${1:-600}
build=${2:-build-fuzz}
shift $(($# < 2 ? $# : 2))
drivers=("$@")
[ ${#drivers[@]} -eq 0 ] && drivers=(fen move_text config console console_logged uci suite_line book)

cmake -S tests/fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
cmake --build "$build" -j "$(nproc)" >/dev/null || exit 1
root=$(pwd)
mkdir -p "$build/artifacts" "$build/logs"

status=0
for driver in "${drivers[@]}"; do
  seeds=$driver
  [ "$driver" = console_logged ] && seeds=console  # the same input language as the console
  mkdir -p "$build/corpus/$driver"
  log="$build/logs/$driver.log"
  echo "== $driver: $seconds s"
  "$build/fuzz_$driver" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -dict="$root/tests/fuzz/zolt.dict" -artifact_prefix="$root/$build/artifacts/${driver}-" \
    "$root/$build/corpus/$driver" "$root/tests/fuzz/corpus/$seeds" >"$log" 2>&1 || status=1
  grep -E "^#[0-9]+ +DONE|stat::number_of_executed_units|ERROR|SUMMARY" "$log" | tail -4
done
exit $status
