#!/usr/bin/env bash
# The headline figures of the other bench scripts in one block, ready to paste
# into BENCHMARKS.md: the machine, the load, one table row per figure, and the
# time-to-depth table. It runs last in `make bench` (scripts run in name
# order) and shows only the rows the other scripts left in this run's results.
# Usage: tools/bench_summary.sh <build-dir>
set -u
here=$(dirname "$0")
# shellcheck source=tools/bench_lib.sh
. "$here/bench_lib.sh"

build=${1:-build}
results=$(results_dir "$build")

cpu_model=$(awk -F': *' '/^model name/ { print $2; exit }' /proc/cpuinfo 2>/dev/null)
memory=$(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo 2>/dev/null)
os=$(. /etc/os-release 2>/dev/null && echo "${PRETTY_NAME:-}")
compiler=$(awk -F= '/^CMAKE_CXX_COMPILER:/ { print $2 }' "$build/CMakeCache.txt" 2>/dev/null)
[ -n "$compiler" ] && compiler=$("$compiler" --version 2>/dev/null | head -1)
flags=$(awk -F' = ' '/^CXX_FLAGS/ { print $2 }' "$build/CMakeFiles/zolt_engine.dir/flags.make" 2>/dev/null)
stockfish=$(find_stockfish)
if [ -n "$stockfish" ]; then
  reference=$(printf 'compiler\nquit\n' | "$stockfish" 2>/dev/null |
    awk '/^Stockfish/ { name = $1 " " $2 } /settings include/ { sub(/.*include: */, ""); print name ", " $0 }')
fi

echo
echo "== summary, $(date '+%Y-%m-%d %H:%M')"
echo "machine: ${cpu_model:-?}, $(nproc) cpus, ${memory:-?}; ${os:-?}"
echo "zolt built by ${compiler:-?} with ${flags:-?}; reference ${reference:-none}"
echo "load average at the end (1, 5, 15 min): $(load_average)"
echo
echo "| figure | zolt | stockfish | zolt/stockfish |"
echo "|---|---|---|---|"
found=0
for part in instructions perft search; do
  [ -s "$results/$part.md" ] || continue
  cat "$results/$part.md"
  found=1
done
[ $found -eq 1 ] || echo "| (no results: run the other tools/bench_*.sh first) | | | |"
echo
echo "perft rows: time ratio (above 1: zolt slower); nps rows: rate ratio (above 1: zolt faster)."
if [ -s "$results/time_to_depth.txt" ]; then
  echo
  cat "$results/time_to_depth.txt"
fi
