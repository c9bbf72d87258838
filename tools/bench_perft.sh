#!/usr/bin/env bash
# Perft speed beside Stockfish, measured in the same run on the same machine:
# the start position to depth 6 and the "kiwipete" position to depth 5, the
# median wall time of several runs each, and the ratio zolt / Stockfish.
# Both sides are timed as whole processes (start-up included), single thread.
# Usage: tools/bench_perft.sh <build-dir> [runs]
set -u
build=${1:-build}
runs=${2:-3}
bench="$build/bench/perft_bench"
[ -x "$bench" ] || { echo "bench_perft: $bench not built"; exit 1; }

stockfish=""
for candidate in "$(command -v stockfish 2>/dev/null)" /usr/games/stockfish /usr/bin/stockfish; do
  [ -n "$candidate" ] && [ -x "$candidate" ] && { stockfish=$candidate; break; }
done

positions=(
  "6|rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1|119060324"
  "5|r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1|193690690"
)

now_ms() { date +%s%3N; }

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Wall time in milliseconds of one command line; its output goes to $2.
time_ms() {
  local start end
  start=$(now_ms)
  eval "$1" >"$2" 2>/dev/null
  end=$(now_ms)
  echo $((end - start))
}

status=0
for entry in "${positions[@]}"; do
  IFS='|' read -r depth fen expected <<<"$entry"
  out=$(mktemp)
  ours=()
  theirs=()
  for ((i = 0; i < runs; ++i)); do
    ours+=("$(time_ms "\"$bench\" $depth \"$fen\"" "$out")")
    nodes=$(awk '{ print $1 }' "$out")
    if [ "$nodes" != "$expected" ]; then
      echo "zolt perft $depth counted $nodes, expected $expected: $fen"
      status=1
    fi
    if [ -n "$stockfish" ]; then
      theirs+=("$(time_ms "printf 'uci\nsetoption name Threads value 1\nposition fen $fen\ngo perft $depth\nquit\n' | \"$stockfish\"" "$out")")
      sf_nodes=$(awk '/Nodes searched/ { print $3 }' "$out")
      [ "$sf_nodes" = "$expected" ] || echo "stockfish perft $depth counted '$sf_nodes', expected $expected"
    fi
  done
  rm -f "$out"
  our_ms=$(printf '%s\n' "${ours[@]}" | median)
  echo "== perft $depth, $fen"
  echo "zolt:      $our_ms ms (median of $runs: ${ours[*]})"
  if [ -z "$stockfish" ]; then
    echo "stockfish not found: no reference"
    continue
  fi
  sf_ms=$(printf '%s\n' "${theirs[@]}" | median)
  echo "stockfish: $sf_ms ms (median of $runs: ${theirs[*]})"
  awk -v a="$our_ms" -v b="$sf_ms" 'BEGIN { printf "ratio zolt/stockfish: %.2f\n", (b > 0 ? a / b : 0) }'
done
exit $status
