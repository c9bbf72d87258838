#!/usr/bin/env bash
# Search speed beside Stockfish, measured in the same run on the same
# middle-game positions: the time to depth of our fixed-depth search, its
# nodes (main and quiescence) per second, Stockfish's nodes per second at its
# own "go depth", the ratio zolt / Stockfish (above 1: zolt is faster), and
# the peak RSS of each, plus that of the zolt program itself in a UCI search.
# Rates are given per CPU second and per wall second.
# Usage: tools/bench_search.sh <build-dir> [our-depth] [stockfish-depth]
set -u
here=$(dirname "$0")
# shellcheck source=tools/bench_lib.sh
. "$here/bench_lib.sh"

build=${1:-build}
our_depth=${2:-7}
sf_depth=${3:-16}
bench="$build/bench/search_bench"
results=$(results_dir "$build")
summary="$results/search.md"
depth_table="$results/time_to_depth.txt"
rm -f "$summary" "$depth_table"
[ -x "$bench" ] || { echo "bench_search: $bench not built"; exit 1; }
stockfish=$(find_stockfish)

fens=(
  "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8"
  "r2q1rk1/pp1nbppp/2p1pn2/3p1b2/2PP4/1QN1PN2/PP2BPPP/R1B2RK1 w - - 0 9"
  "r1bqk2r/pp2bppp/2n1pn2/2pp4/3P4/2PBPN2/PP1N1PPP/R1BQK2R w KQkq - 0 7"
  "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"
  "2rq1rk1/pp1bppbp/3p1np1/4n3/3NP3/1BN1BP2/PPPQ2PP/2KR3R w - - 0 12"
  "r1b2rk1/2q1bppp/p2p1n2/np2p3/3PP3/5N1P/PPBN1PP1/R1BQR1K1 w - - 0 12"
)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== search: zolt depth $our_depth beside stockfish depth $sf_depth, single thread, load average $(load_average)"
echo "-- zolt, depth $our_depth, ${#fens[@]} positions"
ours=$("$bench" "$our_depth" "${fens[@]}")
echo "$ours"
total=$(echo "$ours" | grep '^total')
our_nodes=$(echo "$total" | field nodes)
our_wall=$(echo "$total" | field wall_ms)
our_cpu=$(echo "$total" | field cpu_ms)
our_nps_cpu=$(echo "$total" | field nps_cpu)
our_nps_wall=$(echo "$total" | field nps_wall)
our_rss=$(echo "$ours" | field peak_rss_kb)
{
  echo "time to depth, ms cpu of a fresh search to each depth (zolt)"
  echo "$ours" | sed -n '/^position  /,/^ *sum/p'
} >"$depth_table"
depth_sum=$(echo "$ours" | awk '$1 == "sum" { print $NF }')

uci_session "$work" "$build/zolt" "$work/zolt.out" "" "depth 5" "position startpos" || echo "zolt program: no bestmove"
binary_rss=$(awk '{ print $3 }' "$work/zolt.out.stats")
echo "-- zolt program over UCI, go depth 5 from the start position: peak rss $binary_rss kB"

{
  echo "| time to depth $our_depth, sum of ${#fens[@]} positions, ms cpu | $depth_sum | - | - |"
  echo "| peak RSS, zolt program in a UCI search, kB | $binary_rss | - | - |"
} >>"$summary"

if [ -z "$stockfish" ]; then
  echo "stockfish not found: no reference"
  echo "| search nps, zolt d$our_depth, cpu (wall) | $our_nps_cpu ($our_nps_wall) | - | - |" >>"$summary"
  exit 0
fi

# All positions in one Stockfish session, each after "ucinewgame". Its CPU
# time less that of the same session searching to depth 1 only (start-up,
# network and table set-up, new-game clearing) is the search's CPU time.
positions=()
for fen in "${fens[@]}"; do positions+=("position fen $fen"); done
stockfish_session() {
  uci_session "$work" "$stockfish" "$work/sf.out" "setoption name Threads value 1" "depth $1" "${positions[@]}"
}
startups=()
for _ in 1 2 3; do
  stockfish_session 1
  startups+=("$(awk '{ print $2 }' "$work/sf.out.stats")")
done
sf_startup=$(printf '%s\n' "${startups[@]}" | median)

echo "-- stockfish ($stockfish), depth $sf_depth, 1 thread, one session; ${sf_startup} ms cpu of a depth-1 session subtracted"
stockfish_session "$sf_depth" || echo "stockfish: a search gave no bestmove"
read -r _ sf_session_cpu sf_rss <"$work/sf.out.stats"
sf_cpu=$(minus "$sf_session_cpu" "$sf_startup")
# Nodes and wall time of each search: its last report line before "bestmove".
reports=$(awk '/^info depth/ && / nodes / { last = $0 } /^bestmove/ { print last }' "$work/sf.out")
sf_nodes=0 sf_ms=0 i=0
while read -r report; do
  nodes=$(echo "$report" | field nodes)
  ms=$(echo "$report" | field time)
  printf 'position %s depth %s nodes %s wall_ms %s nps_wall %s  %s\n' "$((i + 1))" "$sf_depth" "$nodes" "$ms" \
    "$(awk -v n="$nodes" -v t="$ms" 'BEGIN { printf "%.0f", (t > 0 ? n * 1000 / t : 0) }')" "${fens[$i]}"
  sf_nodes=$((sf_nodes + nodes))
  sf_ms=$((sf_ms + ms))
  i=$((i + 1))
done <<<"$reports"
sf_nps_cpu=$(awk -v n="$sf_nodes" -v t="$sf_cpu" 'BEGIN { printf "%.0f", (t > 0 ? n * 1000 / t : 0) }')
sf_nps_wall=$(awk -v n="$sf_nodes" -v t="$sf_ms" 'BEGIN { printf "%.0f", (t > 0 ? n * 1000 / t : 0) }')
echo "total depth $sf_depth nodes $sf_nodes wall_ms $sf_ms cpu_ms $sf_cpu nps_cpu $sf_nps_cpu nps_wall $sf_nps_wall"
echo "peak_rss_kb $sf_rss"
echo "-- zolt: $our_nodes nodes in $our_cpu ms cpu ($our_wall ms wall)"
echo "nps ratio zolt/stockfish: $(ratio "$our_nps_cpu" "$sf_nps_cpu") cpu, $(ratio "$our_nps_wall" "$sf_nps_wall") wall (above 1: zolt faster)"
{
  echo "| search nps, zolt d$our_depth / stockfish d$sf_depth, cpu (wall) | $our_nps_cpu ($our_nps_wall) | $sf_nps_cpu ($sf_nps_wall) | $(ratio "$our_nps_cpu" "$sf_nps_cpu") ($(ratio "$our_nps_wall" "$sf_nps_wall")) |"
  echo "| peak RSS, search bench, kB | $our_rss | $sf_rss | $(ratio "$our_rss" "$sf_rss") |"
  echo "| CPU share in the search bench (cpu / wall; 1 on a quiet machine) | $(ratio "$our_cpu" "$our_wall") | $(ratio "$sf_cpu" "$sf_ms") | - |"
} >>"$summary"
