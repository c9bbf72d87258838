#!/usr/bin/env bash
# Perft speed beside Stockfish, measured in the same run on the same machine:
# the start position to depth 6 and the "kiwipete" position to depth 5, every
# node count checked. Both programs are timed as whole processes, single
# thread, runs interleaved, the median of several runs; the start-up time of
# each program (measured the same way) is subtracted. Wall and CPU time are
# both given, with the time ratio zolt / Stockfish (above 1: zolt is slower),
# and the peak RSS of each.
# Usage: tools/bench_perft.sh <build-dir> [runs] [start-depth] [kiwipete-depth]
set -u
here=$(dirname "$0")
# shellcheck source=tools/bench_lib.sh
. "$here/bench_lib.sh"

build=${1:-build}
runs=${2:-5}
start_depth=${3:-6}
kiwipete_depth=${4:-5}
bench="$build/bench/perft_bench"
results=$(results_dir "$build")
summary="$results/perft.md"
rm -f "$summary"
[ -x "$bench" ] || { echo "bench_perft: $bench not built"; exit 1; }
stockfish=$(find_stockfish)

START_FEN="rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"
KIWIPETE_FEN="r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"
START_COUNTS=(1 20 400 8902 197281 4865609 119060324)
KIWIPETE_COUNTS=(1 48 2039 97862 4085603 193690690)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One timed perft of each program; both print their node count to $work/out.
zolt_perft() { measure "$work/stats" "$bench" "$1" "$2" >"$work/out"; }
zolt_nodes() { awk '{ print $1 }' "$work/out"; }
zolt_rss() { awk '{ for (i = 2; i <= NF; i++) if ($i == "kB") print $(i - 1) }' "$work/out"; }
stockfish_perft() {
  printf 'uci\nsetoption name Threads value 1\nposition fen %s\ngo perft %s\nquit\n' "$2" "$1" |
    measure "$work/stats" "$stockfish" >"$work/out"
}
stockfish_nodes() { awk '/^Nodes searched/ { print $3 }' "$work/out"; }
# The same session without the perft: start-up, thread set-up and position.
stockfish_startup() {
  printf 'uci\nsetoption name Threads value 1\nposition fen %s\nisready\nquit\n' "$START_FEN" |
    measure "$work/stats" "$stockfish" >/dev/null
}

# Column $1 of the stats file, appended to the array named $2.
record() { local -n list=$2; list+=("$(awk -v c="$1" '{ print $c }' "$work/stats")"); }
median_of() { printf '%s\n' "$@" | median; }

echo "== perft, zolt beside stockfish: single thread, median of $runs runs, load average $(load_average)"
[ -n "$stockfish" ] || echo "stockfish not found: zolt alone, no ratios"

# Start-up of each program, to subtract from the perft runs.
zolt_start_wall=() zolt_start_cpu=() sf_start_wall=() sf_start_cpu=()
for ((i = 0; i < runs; ++i)); do
  zolt_perft 1 "$START_FEN"
  record 1 zolt_start_wall; record 2 zolt_start_cpu
  if [ -n "$stockfish" ]; then
    stockfish_startup
    record 1 sf_start_wall; record 2 sf_start_cpu
  fi
done
zsw=$(median_of "${zolt_start_wall[@]}") zsc=$(median_of "${zolt_start_cpu[@]}")
echo "start-up subtracted: zolt ${zsc} ms cpu, ${zsw} ms wall"
if [ -n "$stockfish" ]; then
  ssw=$(median_of "${sf_start_wall[@]}") ssc=$(median_of "${sf_start_cpu[@]}")
  echo "                     stockfish ${ssc} ms cpu, ${ssw} ms wall"
fi

status=0
# Arguments: label, depth, fen, expected count.
bench_position() {
  local label=$1 depth=$2 fen=$3 expected=$4
  local zw=() zc=() sw=() sc=() nodes zolt_rss_kb="" sf_rss_kb=""
  for ((i = 0; i < runs; ++i)); do
    zolt_perft "$depth" "$fen"
    nodes=$(zolt_nodes)
    [ "$nodes" = "$expected" ] || { echo "zolt perft $depth counted '$nodes', expected $expected: $fen"; status=1; }
    record 1 zw; record 2 zc
    zolt_rss_kb=$(zolt_rss)
    [ -n "$stockfish" ] || continue
    stockfish_perft "$depth" "$fen"
    nodes=$(stockfish_nodes)
    [ "$nodes" = "$expected" ] || { echo "stockfish perft $depth counted '$nodes', expected $expected: $fen"; status=1; }
    record 1 sw; record 2 sc
    sf_rss_kb=$(awk '{ print $3 }' "$work/stats")
  done

  local zwall zcpu
  zwall=$(minus "$(median_of "${zw[@]}")" "$zsw")
  zcpu=$(minus "$(median_of "${zc[@]}")" "$zsc")
  echo "-- $label, depth $depth: $expected nodes"
  printf '%-10s cpu %7s ms  wall %7s ms  %6s Mnps (cpu)  peak rss %7s kB  (cpu runs: %s)\n' zolt "$zcpu" "$zwall" \
    "$(ratio "$((expected / 1000))" "$zcpu")" "$zolt_rss_kb" "${zc[*]}"
  if [ -z "$stockfish" ]; then
    echo "| perft $label d$depth, ms cpu (wall) | $zcpu ($zwall) | - | - |" >>"$summary"
    return
  fi
  local swall scpu
  swall=$(minus "$(median_of "${sw[@]}")" "$ssw")
  scpu=$(minus "$(median_of "${sc[@]}")" "$ssc")
  printf '%-10s cpu %7s ms  wall %7s ms  %6s Mnps (cpu)  peak rss %7s kB  (cpu runs: %s)\n' stockfish "$scpu" "$swall" \
    "$(ratio "$((expected / 1000))" "$scpu")" "$sf_rss_kb" "${sc[*]}"
  echo "time ratio zolt/stockfish: $(ratio "$zcpu" "$scpu") cpu, $(ratio "$zwall" "$swall") wall (above 1: zolt slower)"
  echo "| perft $label d$depth, ms cpu (wall) | $zcpu ($zwall) | $scpu ($swall) | $(ratio "$zcpu" "$scpu") ($(ratio "$zwall" "$swall")) |" >>"$summary"
  echo "| peak RSS, perft $label d$depth, kB | $zolt_rss_kb | $sf_rss_kb | $(ratio "$zolt_rss_kb" "$sf_rss_kb") |" >>"$summary"
}

bench_position "start position" "$start_depth" "$START_FEN" "${START_COUNTS[$start_depth]}"
bench_position "kiwipete" "$kiwipete_depth" "$KIWIPETE_FEN" "${KIWIPETE_COUNTS[$kiwipete_depth]}"
[ $status -eq 0 ] || echo "| perft node counts | WRONG | | |" >>"$summary"
exit $status
