#!/usr/bin/env bash
# Search speed beside Stockfish, measured in the same run on the same
# middle-game positions: nodes per second of our fixed-depth search (main and
# quiescence nodes) and of Stockfish's "go depth", and their ratio.
# Usage: tools/bench_search.sh <build-dir> [our-depth] [stockfish-depth]
set -u
build=${1:-build}
our_depth=${2:-7}
sf_depth=${3:-16}
bench="$build/bench/search_bench"
[ -x "$bench" ] || { echo "bench_search: $bench not built"; exit 1; }

stockfish=""
for candidate in "$(command -v stockfish 2>/dev/null)" /usr/games/stockfish /usr/bin/stockfish; do
  [ -n "$candidate" ] && [ -x "$candidate" ] && { stockfish=$candidate; break; }
done

fens=(
  "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8"
  "r2q1rk1/pp1nbppp/2p1pn2/3p1b2/2PP4/1QN1PN2/PP2BPPP/R1B2RK1 w - - 0 9"
  "r1bqk2r/pp2bppp/2n1pn2/2pp4/3P4/2PBPN2/PP1N1PPP/R1BQK2R w KQkq - 0 7"
  "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"
  "2rq1rk1/pp1bppbp/3p1np1/4n3/3NP3/1BN1BP2/PPPQ2PP/2KR3R w - - 0 12"
  "r1b2rk1/2q1bppp/p2p1n2/np2p3/3PP3/5N1P/PPBN1PP1/R1BQR1K1 w - - 0 12"
)

echo "== zolt, depth $our_depth"
ours=$("$bench" "$our_depth" "${fens[@]}")
echo "$ours"
our_nps=$(echo "$ours" | awk '/^total/ {print $NF}')

[ -n "$stockfish" ] || { echo "stockfish not found: no reference"; exit 0; }

# One Stockfish search; keeps its input open until "bestmove" so the search
# is not cut short, then prints "nodes time" of its last info line.
stockfish_search() {
  local out
  out=$(mktemp)
  {
    printf 'uci\nsetoption name Threads value 1\nisready\nposition fen %s\ngo depth %s\n' "$1" "$sf_depth"
    while ! grep -q '^bestmove' "$out"; do sleep 0.05; done
    echo quit
  } | "$stockfish" > "$out"
  grep '^info depth' "$out" | grep ' nodes ' | tail -1 |
    awk '{for (i = 1; i < NF; i++) { if ($i == "nodes") n = $(i + 1); if ($i == "time") t = $(i + 1) } print n, t}'
  rm -f "$out"
}

echo "== stockfish ($stockfish), depth $sf_depth, 1 thread"
sf_nodes=0
sf_ms=0
for fen in "${fens[@]}"; do
  read -r nodes ms < <(stockfish_search "$fen")
  printf 'depth %s nodes %s time %s ms nps %s  %s\n' "$sf_depth" "$nodes" "$ms" \
    "$(awk -v n="$nodes" -v t="$ms" 'BEGIN { printf "%.0f", (t > 0 ? n * 1000 / t : 0) }')" "$fen"
  sf_nodes=$((sf_nodes + nodes))
  sf_ms=$((sf_ms + ms))
done
sf_nps=$(awk -v n="$sf_nodes" -v t="$sf_ms" 'BEGIN { printf "%.0f", (t > 0 ? n * 1000 / t : 0) }')
echo "total nodes $sf_nodes time $sf_ms ms nps $sf_nps"
awk -v a="$our_nps" -v b="$sf_nps" 'BEGIN { printf "== nps ratio zolt / stockfish: %.2f\n", (b > 0 ? a / b : 0) }'
