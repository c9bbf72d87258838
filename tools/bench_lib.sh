# shellcheck shell=bash
# Helpers shared by the tools/bench_*.sh scripts; sourced, not run (it is not
# executable, so `make bench` skips it).
#
# Every measured figure is taken twice: wall time, and CPU time (user plus
# system) of the measured process. Under load from other jobs the wall time
# grows while the CPU time stays close to the quiet-machine figure, so the
# ratios are given for both.

# The Stockfish binary, or nothing when it is not installed.
find_stockfish() {
  local candidate
  for candidate in "$(command -v stockfish 2>/dev/null)" /usr/games/stockfish /usr/bin/stockfish; do
    [ -n "$candidate" ] && [ -x "$candidate" ] && { echo "$candidate"; return; }
  done
}

# Where the scripts leave their headline rows for tools/bench_summary.sh.
results_dir() {
  local dir=${ZOLT_BENCH_RESULTS:-$1/bench-results}
  mkdir -p "$dir" && echo "$dir"
}

load_average() { cut -d' ' -f1-3 /proc/loadavg 2>/dev/null || echo "?"; }

# Runs a command with the caller's standard input and output, its standard
# error discarded, and writes "wall_ms cpu_ms peak_rss_kb" to the file $1.
# The peak RSS comes from GNU time and is "-" without it; it is only right
# for programs larger than GNU time itself (the zolt benches report their own).
measure() {
  local stats=$1
  shift
  local TIMEFORMAT='%3R %3U %3S'
  if [ -x /usr/bin/time ]; then
    { time /usr/bin/time -f '%M' -o "$stats.rss" "$@" 2>/dev/null; } 2>"$stats.time"
  else
    echo - >"$stats.rss"
    { time "$@" 2>/dev/null; } 2>"$stats.time"
  fi
  local status=$?
  awk -v rss="$(tail -1 "$stats.rss")" \
    '{ printf "%.0f %.0f %s\n", $1 * 1000, ($2 + $3) * 1000, rss }' "$stats.time" >"$stats"
  rm -f "$stats.rss" "$stats.time"
  return $status
}

# Median of the numbers on standard input, one per line.
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR ? v[int((NR + 1) / 2)] : 0) }'; }

# a / b with two decimals, "-" when b is not positive.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }'; }

# a - b, at least 1.
minus() { awk -v a="$1" -v b="$2" 'BEGIN { d = a - b; print (d < 1 ? 1 : d) }'; }

# The value after the word $1 on the first line of standard input that has it.
field() { awk -v key="$1" '{ for (i = 1; i < NF; i++) if ($i == key) { print $(i + 1); exit } }'; }

# One UCI engine session in the directory $1 (so no configuration file is
# picked up and any log stays there): "uci" and the lines $4, then for each
# further argument (a "position" line) "ucinewgame", that line and "go $5".
# The input stays open until that search's "bestmove" arrives (an engine may
# take the end of its input as a stop) or the engine has ended; "quit" ends
# the session. The engine's output goes to the file $3 and its measurements
# to $3.stats; fails when a "bestmove" is missing.
uci_session() {
  local dir=$1 engine out setup=$4 go=$5
  engine=$(realpath "$2")
  out=$(realpath -m "$3")
  shift 5
  : >"$out"
  rm -f "$out.stats"
  (
    cd "$dir" || exit 1
    # shellcheck disable=SC2094  # the engine's output is watched while it is written
    {
      printf 'uci\n%s\n' "$setup"
      searched=0
      for position in "$@"; do
        searched=$((searched + 1))
        printf 'ucinewgame\n%s\nisready\ngo %s\n' "$position" "$go"
        while [ "$(grep -c '^bestmove' "$out")" -lt $searched ] && [ ! -e "$out.stats" ]; do sleep 0.02; done
      done
      echo quit
    } | measure "$out.stats" "$engine" >"$out"
  )
  [ "$(grep -c '^bestmove' "$out")" -eq $# ] || { echo "bestmove missing from $engine" >&2; return 1; }
}
