#!/usr/bin/env bash
# The long real-play runs against Stockfish, for people (not CI): bullet games
# at 1 s + 0.01 s, pondering games, Chess960 games started from X-FEN, and
# fixed-node games played twice, which must repeat move for move.
#
# Usage: tools/real_play_runs.sh [zolt binary] [output folder]
# Each run writes its game lines and summary to <output folder>/<run>.txt;
# the exit status is 1 when any run had a fault or the fixed-node games differ.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
zolt=${1:-build/zolt}
out=${2:-real-play-runs}
mkdir -p "$out"
runner=(python3 tools/play_games.py --zolt "$zolt")
status=0

run() {
  local name=$1
  shift
  echo "== $name: $*"
  "${runner[@]}" "$@" >"$out/$name.txt" 2>&1 || status=1
  grep -E '^(castles|summary):' "$out/$name.txt"
}

run bullet --games 100 --time 1 --inc 0.01 --elo 1350
run ponder --games 100 --time 2 --inc 0.02 --ponder
run chess960-xfen --games 50 --chess960 --start-form xfen --seed 7 --time 2 --inc 0.02
run nodes-1 --games 20 --nodes 20000 --verbose
run nodes-2 --games 20 --nodes 20000 --verbose

moves() { grep '^  moves: ' "$1"; }
if diff <(moves "$out/nodes-1.txt") <(moves "$out/nodes-2.txt") >/dev/null; then
  echo "fixed-node games: both runs played the same $(moves "$out/nodes-1.txt" | wc -l) games move for move"
else
  echo "fixed-node games: the two runs differ"
  status=1
fi
exit $status
