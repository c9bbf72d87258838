#!/usr/bin/env bash
# The transposition table's effect on the search: the same fixed-depth
# searches with Hash 16 and with Hash 0 (each from an empty table), in the
# same run: nodes and time to the same depth, and nodes per second with the
# table on against off. The nodes are the last info line's of each search,
# the time its "time" field.
# Usage: tools/bench_hash.sh <build-dir> [depth]
set -u
here=$(dirname "$0")
# shellcheck source=tools/bench_lib.sh
. "$here/bench_lib.sh"

build=${1:-build}
depth=${2:-7}
zolt="$(realpath "$build")/zolt"
results=$(results_dir "$build")
summary="$results/hash.md"
rm -f "$summary"
[ -x "$zolt" ] || { echo "bench_hash: $zolt not built"; exit 1; }

fens=(
  "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8"
  "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"
  "2rq1rk1/pp1bppbp/3p1np1/4n3/3NP3/1BN1BP2/PPPQ2PP/2KR3R w - - 0 12"
  "r1b2rk1/2q1bppp/p2p1n2/np2p3/3PP3/5N1P/PPBN1PP1/R1BQR1K1 w - - 0 12"
  "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1"
  "6k1/5pp1/7p/8/2Q5/8/5PPP/3q2K1 w - - 0 40"
)
positions=()
for fen in "${fens[@]}"; do positions+=("position fen $fen"); done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Per search: "nodes time_ms", from the last info line before each bestmove.
per_search() {
  awk '/^info depth .* pv / { for (i = 1; i < NF; i++) { if ($i == "nodes") n = $(i + 1); if ($i == "time") t = $(i + 1) } }
    /^bestmove/ { print n, t }' "$1"
}

# Three rounds, the two sizes taking turns, so that load from elsewhere
# falls on both; each search's time is its fastest round (its nodes are the
# same in every round).
rounds=3
for ((round = 1; round <= rounds; round++)); do
  for size in 0 16; do
    uci_session "$work" "$zolt" "$work/hash$size.out" "setoption name Hash value $size" "depth $depth" \
      "${positions[@]}" || exit 1
    per_search "$work/hash$size.out" >"$work/hash$size.round$round"
  done
done
for size in 0 16; do
  paste -d' ' "$work"/hash$size.round* | awk '{ t = $2; for (i = 4; i <= NF; i += 2) if ($i < t) t = $i; print $1, t }' \
    >"$work/hash$size.rows"
done

echo "== transposition table: go depth $depth, Hash 16 against Hash 0, load average $(load_average)"
printf '%-9s %12s %9s %12s %9s %11s\n' position "nodes 0" "ms 0" "nodes 16" "ms 16" "nodes 16/0"
paste -d' ' "$work/hash0.rows" "$work/hash16.rows" | awk '{
    printf "%-9d %12d %9d %12d %9d %11.2f\n", NR, $1, $2, $3, $4, ($1 > 0 ? $3 / $1 : 0)
    n0 += $1; t0 += $2; n16 += $3; t16 += $4 }
  END {
    printf "%-9s %12d %9d %12d %9d %11.2f\n", "total", n0, t0, n16, t16, n16 / n0
    nps0 = t0 > 0 ? n0 * 1000 / t0 : 0; nps16 = t16 > 0 ? n16 * 1000 / t16 : 0
    printf "nodes 16/0 %.2f, time to depth 16/0 %.2f, nps 16/0 %.2f (%d against %d)\n",
      n16 / n0, (t0 > 0 ? t16 / t0 : 0), (nps0 > 0 ? nps16 / nps0 : 0), nps16, nps0 }' | tee "$work/table"
tail -1 "$work/table" | awk '{ print "| transposition table, go depth '"$depth"', 6 positions | " $0 " |" }' >"$summary"
