#!/usr/bin/env bash
# Instructions per node, counted by valgrind's callgrind: unlike times, these
# counts repeat exactly from run to run, on a busy machine too.
#   search: one UCI session of the zolt program, "go depth D" from three
#           middle-game positions; nodes are the last info line's count of
#           each search, instructions those of the whole process.
#   perft:  one console session, "perft S" from the start position and
#           "perft K" of kiwipete; Stockfish's "go perft" on the same, each
#           position in its own session, less a session that searches nothing.
# Without valgrind it says so and succeeds.
# Usage: tools/bench_instructions.sh <build-dir> [search-depth] [start-depth] [kiwipete-depth]
set -u
here=$(dirname "$0")
# shellcheck source=tools/bench_lib.sh
. "$here/bench_lib.sh"

build=${1:-build}
search_depth=${2:-6}
start_depth=${3:-5}
kiwipete_depth=${4:-4}
zolt="$(realpath "$build")/zolt"
results=$(results_dir "$build")
summary="$results/instructions.md"
rm -f "$summary"
command -v valgrind >/dev/null || { echo "bench_instructions: valgrind not installed, skipped"; exit 0; }
[ -x "$zolt" ] || { echo "bench_instructions: $zolt not built"; exit 1; }
stockfish=$(find_stockfish)

START_FEN="rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"
KIWIPETE_FEN="r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"
SEARCH_FENS=("r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8"
  "$KIWIPETE_FEN"
  "2rq1rk1/pp1bppbp/3p1np1/4n3/3NP3/1BN1BP2/PPPQ2PP/2KR3R w - - 0 12")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A program that runs $1 under callgrind, the count going to the file $2.
counted() {
  local wrapper="$work/counted-$(basename "$2")"
  printf '#!/bin/sh\nexec valgrind --tool=callgrind --callgrind-out-file=%s %s 2>/dev/null\n' "$2" "$(realpath "$1")" >"$wrapper"
  chmod +x "$wrapper"
  echo "$wrapper"
}
instructions_in() { awk '/^(summary|totals):/ { print $2; exit }' "$1"; }
per_node() { awk -v i="$1" -v n="$2" 'BEGIN { if (n > 0) printf "%.1f", i / n; else printf "-" }'; }
row() { echo "| $1 | $2 | $3 | $4 |" >>"$summary"; }

# The search.
positions=()
for fen in "${SEARCH_FENS[@]}"; do positions+=("position fen $fen"); done
uci_session "$work" "$(counted "$zolt" "$work/search.cg")" "$work/search.out" "" "depth $search_depth" \
  "${positions[@]}" || exit 1
search_nodes=$(awk '/^info depth .* nodes / { for (i = 1; i < NF; i++) if ($i == "nodes") last = $(i + 1) }
  /^bestmove/ { sum += last } END { print sum + 0 }' "$work/search.out")
search_instructions=$(instructions_in "$work/search.cg")
echo "-- zolt search, go depth $search_depth from 3 positions: $search_instructions instructions," \
  "$search_nodes nodes, $(per_node "$search_instructions" "$search_nodes") per node"
row "instructions per node, search depth $search_depth (3 positions)" "$(per_node "$search_instructions" "$search_nodes")" - -

# Zolt's perft, both positions in one console session.
printf 'perft %s\nsetboard %s\nperft %s\nquit\n' "$start_depth" "$KIWIPETE_FEN" "$kiwipete_depth" |
  (cd "$work" && "$(counted "$zolt" "$work/perft.cg")") >"$work/perft.out"
perft_nodes=$(awk '/Perft \(/ { for (i = 1; i < NF; i++) if ($(i + 1) == "nodes,") sum += $i } END { print sum + 0 }' \
  "$work/perft.out")
expected=$(($(sed -n "$((start_depth + 1))p" <<<$'1\n20\n400\n8902\n197281\n4865609\n119060324') +
  $(sed -n "$((kiwipete_depth + 1))p" <<<$'1\n48\n2039\n97862\n4085603\n193690690')))
[ "$perft_nodes" = "$expected" ] || { echo "bench_instructions: perft counted $perft_nodes, expected $expected"; exit 1; }
perft_instructions=$(instructions_in "$work/perft.cg")
zolt_perft=$(per_node "$perft_instructions" "$perft_nodes")
echo "-- zolt perft $start_depth start + perft $kiwipete_depth kiwipete: $perft_instructions instructions," \
  "$perft_nodes nodes, $zolt_perft per node"

# Stockfish's perft per position, its start-up subtracted.
stockfish_perft() {  # $1 fen, $2 depth (0: set up only); prints "instructions nodes"
  local cg="$work/sf-$2.cg"
  { printf 'uci\nsetoption name Threads value 1\nposition fen %s\n' "$1"
    [ "$2" -gt 0 ] && printf 'go perft %s\n' "$2"
    echo quit; } | "$(counted "$stockfish" "$cg")" >"$work/sf.out"
  echo "$(instructions_in "$cg") $(awk '/^Nodes searched:/ { print $3 }' "$work/sf.out")"
}
sf_cell() {  # $1 fen, $2 depth: Stockfish's instructions per node
  local base total nodes
  read -r base _ < <(stockfish_perft "$1" 0)
  read -r total nodes < <(stockfish_perft "$1" "$2")
  per_node "$(minus "$total" "$base")" "$nodes"
}
for which in start kiwipete; do
  if [ $which = start ]; then fen=$START_FEN depth=$start_depth; else fen=$KIWIPETE_FEN depth=$kiwipete_depth; fi
  # Zolt's share of each position: the same console session with that perft alone.
  printf 'setboard %s\nperft %s\nquit\n' "$fen" "$depth" | (cd "$work" && "$(counted "$zolt" "$work/one.cg")") >"$work/one.out"
  printf 'quit\n' | (cd "$work" && "$(counted "$zolt" "$work/none.cg")") >/dev/null
  nodes=$(awk '/Perft \(/ { for (i = 1; i < NF; i++) if ($(i + 1) == "nodes,") print $i }' "$work/one.out")
  ours=$(per_node "$(minus "$(instructions_in "$work/one.cg")" "$(instructions_in "$work/none.cg")")" "$nodes")
  theirs=-
  [ -n "$stockfish" ] && theirs=$(sf_cell "$fen" "$depth")
  echo "-- perft $depth $which: zolt $ours, stockfish $theirs instructions per node (start-up subtracted)"
  row "instructions per node, perft $which d$depth" "$ours" "$theirs" "$(ratio "$ours" "$theirs")"
done
row "instructions per node, perft start d$start_depth + kiwipete d$kiwipete_depth (one session)" "$zolt_perft" - -
