#!/usr/bin/env bash
# Smoke run of the benchmarks at tiny depths: the bench executables count the
# right nodes, a search bench figure does not depend on what was searched
# before it, the shared helpers measure and fail as they should, and the
# bench scripts run through and leave their summary rows. No speed is checked. Usage: smoke_test.sh <source-dir> <build-dir>
set -u
source_dir=$1
build=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

START="rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"
KIWIPETE="r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"
FEN_A="r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8"
FEN_B="r2q1rk1/pp1nbppp/2p1pn2/3p1b2/2PP4/1QN1PN2/PP2BPPP/R1B2RK1 w - - 0 9"

# perft_bench: counts, and a bad FEN refused.
[ "$("$build/bench/perft_bench" 3 "$START" | awk '{ print $1 }')" = 8902 ] || fail "perft_bench start d3"
[ "$("$build/bench/perft_bench" 2 "$KIWIPETE" | awk '{ print $1 }')" = 2039 ] || fail "perft_bench kiwipete d2"
"$build/bench/perft_bench" 1 "not a fen" >/dev/null 2>&1 && fail "perft_bench accepted a bad FEN"

# search_bench: each position's nodes are the same in either order, and the
# time-to-depth table has a row per position.
nodes_of() { awk -v fen="$1" 'index($0, fen) && $1 == "position" { print $6 }'; }
ab=$("$build/bench/search_bench" 4 "$FEN_A" "$FEN_B")
ba=$("$build/bench/search_bench" 4 "$FEN_B" "$FEN_A")
for fen in "$FEN_A" "$FEN_B"; do
  first=$(echo "$ab" | nodes_of "$fen")
  second=$(echo "$ba" | nodes_of "$fen")
  [[ -n "$first" && "$first" = "$second" ]] || fail "search_bench nodes depend on order: '$first' vs '$second'"
done
[ "$(echo "$ab" | grep -c '^ *[12] ')" = 2 ] || fail "search_bench time-to-depth rows"
echo "$ab" | grep -q '^peak_rss_kb [1-9]' || fail "search_bench peak rss"

"$build/bench/search_bench" 0 >/dev/null 2>&1 && fail "search_bench accepted depth 0"
"$build/bench/search_bench" 2 "not a fen" >/dev/null 2>&1 && fail "search_bench accepted a bad FEN"

export ZOLT_BENCH_RESULTS
ZOLT_BENCH_RESULTS=$(mktemp -d)
trap 'rm -rf "$ZOLT_BENCH_RESULTS"' EXIT
scratch=$ZOLT_BENCH_RESULTS

# The shared helpers. A sleeping command takes wall time but hardly any CPU
# time, so the two columns cannot be swapped unnoticed.
# shellcheck source=tools/bench_lib.sh
. "$source_dir/tools/bench_lib.sh"
measure "$scratch/stats" sleep 0.3
read -r wall cpu _ <"$scratch/stats"
[[ "$wall" -ge 300 && "$cpu" -lt $((wall / 2)) ]] || fail "measure: wall '$wall' cpu '$cpu' for a sleep"
[ "$(printf '5\n1\n3\n' | median)" = 3 ] || fail "median"
# An engine that ends without "bestmove" fails the session instead of hanging it.
uci_session "$scratch" /bin/true "$scratch/true.out" "" "depth 1" "position startpos" 2>/dev/null &&
  fail "uci_session: no bestmove accepted"
# Several positions in one session: one "bestmove" each.
uci_session "$scratch" "$build/zolt" "$scratch/zolt.out" "" "depth 2" "position startpos" "position fen $KIWIPETE" ||
  fail "uci_session: two searches of the zolt program"

# A perft count that is wrong is reported and fails the script.
fake="$scratch/fake-build"
mkdir -p "$fake/bench"
printf '#!/bin/sh\necho "8903 nodes 1.0 ms wall 1.0 ms cpu 3000 kB peak rss"\n' >"$fake/bench/perft_bench"
chmod +x "$fake/bench/perft_bench"
"$source_dir/tools/bench_perft.sh" "$fake" 1 3 3 >"$scratch/fake.log" && fail "bench_perft.sh passed a wrong count"
grep -q "counted '8903', expected 8902" "$scratch/fake.log" || fail "wrong count not named: $(cat "$scratch/fake.log")"
grep -q WRONG "$scratch/perft.md" || fail "wrong count not in the summary rows"

# The scripts at tiny depths.
"$source_dir/tools/bench_perft.sh" "$build" 1 3 2 >"$ZOLT_BENCH_RESULTS/perft.log" ||
  fail "bench_perft.sh: $(cat "$ZOLT_BENCH_RESULTS/perft.log")"
"$source_dir/tools/bench_search.sh" "$build" 3 4 >"$ZOLT_BENCH_RESULTS/search.log" ||
  fail "bench_search.sh: $(cat "$ZOLT_BENCH_RESULTS/search.log")"
summary=$("$source_dir/tools/bench_summary.sh" "$build")
for row in "perft start position d3" "perft kiwipete d2" "time to depth 3" "zolt program in a UCI search" "search nps"; do
  echo "$summary" | grep -q "^|.*$row" || fail "summary lacks '$row': $summary"
done
# With Stockfish installed every speed row has its ratio.
if [ -x /usr/games/stockfish ] || command -v stockfish >/dev/null; then
  echo "$summary" | grep -E '^\| (perft|search nps)' | grep -q '| - |$' && fail "speed row without a ratio: $summary"
fi
echo "$summary" | grep -q 'WRONG' && fail "node counts reported wrong: $summary"

[ $failures -eq 0 ] && echo "bench smoke run passed"
exit $((failures > 0))
