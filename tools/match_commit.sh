#!/usr/bin/env bash
# A match of a zolt build against the zolt of an earlier commit, built here
# from that commit (git archive into a temporary folder, Release, the program
# only), played with tools/play_games.py one game at a time, colours
# alternating. Prints the games as they end, then the score and the Elo
# difference of the new build with its 95% error margin. With jobs > 1 the
# games are split into that many runs played side by side, each from its own
# game number on (so with its own openings).
# Usage: tools/match_commit.sh <new-zolt> <commit> [games] [seconds] [increment] [jobs]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
new=$(realpath "$1")
commit=$2
games=${3:-200}
seconds=${4:-10}
increment=${5:-0.1}
jobs=${6:-1}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git -C "$here/.." archive "$commit" | tar -x -C "$work"
cmake -S "$work" -B "$work/build" -DCMAKE_BUILD_TYPE=Release -DZOLT_TESTS=OFF -DZOLT_BENCH=OFF >/dev/null
cmake --build "$work/build" -j 2 --target zolt >/dev/null
echo "new: $new; old: zolt of $(git -C "$here/.." rev-parse --short "$commit"); $games games at $seconds s + $increment s"

per_job=$(((games + jobs - 1) / jobs))
pids=()
for ((job = 0; job < jobs; job++)); do
  first=$((job * per_job))
  count=$((games - first < per_job ? games - first : per_job))
  python3 "$here/play_games.py" --zolt "$new" --opponent-zolt "$work/build/zolt" --games "$count" \
    --first-game "$first" --time "$seconds" --inc "$increment" >"$work/games-$job.log" 2>&1 &
  pids+=($!)
done
tail -q -n +1 -f "$work"/games-*.log &
follower=$!
for pid in "${pids[@]}"; do wait "$pid" || true; done
kill "$follower" 2>/dev/null || true
wins=0 draws=0 losses=0
for ((job = 0; job < jobs; job++)); do
  summary=$(grep '^summary:' "$work/games-$job.log" || true)
  [ -n "$summary" ] || { echo "run $job: no summary line"; cat "$work/games-$job.log"; exit 1; }
  echo "run $job: $summary"
  # "zolt +W =D -L" is the new build's result.
  read -r w d l < <(sed -E 's/.*zolt \+([0-9]+) =([0-9]+) -([0-9]+).*/\1 \2 \3/' <<<"$summary")
  wins=$((wins + w)) draws=$((draws + d)) losses=$((losses + l))
done
python3 - "$wins" "$draws" "$losses" <<'EOF'
import math, sys
w, d, l = (int(x) for x in sys.argv[1:])
n = w + d + l
def elo(p):
    p = min(max(p, 1e-6), 1 - 1e-6)
    return -400 * math.log10(1 / p - 1)
p = (w + 0.5 * d) / n
sd = math.sqrt((w * (1 - p) ** 2 + d * (0.5 - p) ** 2 + l * p ** 2) / n / n)
low, high = elo(p - 1.96 * sd), elo(p + 1.96 * sd)
print("new build: %d games, +%d =%d -%d, score %.1f%%, Elo %+.0f (95%% interval %+.0f .. %+.0f, +-%.0f)"
      % (n, w, d, l, 100 * p, elo(p), low, high, (high - low) / 2))
EOF
