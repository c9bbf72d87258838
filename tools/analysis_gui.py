#!/usr/bin/env python3
"""Plays an analysis GUI against zolt: MultiPV lines under "go infinite".

For each position: "setoption name MultiPV value 4", "go infinite", "stop"
after a few seconds; then the same with MultiPV 1. Checks that every depth's
lines are numbered 1, 2, ..., name distinct legal moves (legality from
Stockfish's "go perft 1" when stockfish is installed, else from zolt's own
"moves" command), come best first, that there are min(4, legal moves) of them
(only the depth the stop cut short may have fewer), that bestmove is the last
depth's line 1, and that the move MultiPV 1 found at each depth is among the
MultiPV 4 lines of that depth. Prints the time to each depth with MultiPV 4
against MultiPV 1 (the "time" and "nodes" of the depth's first info line; the
node counts do not depend on the machine or its load).

  tools/analysis_gui.py [--engine build/zolt] [--seconds 3] [--lines 4] [--hash MB]

Exit status 0 when every check passed, 1 otherwise.
"""

import argparse
import os
import queue
import shutil
import subprocess
import sys
import threading
import time

POSITIONS = [
    ("start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"),
    ("queen's gambit", "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8"),
    ("kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"),
    ("rook endgame", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1"),
    ("mate in three", "r1b1kb1r/pppp1ppp/5q2/4n3/3KP3/2N3PN/PPP4P/R1BQ1BR1 b kq - 0 1"),
]


class Engine:
    """A UCI engine over pipes, its output lines read by a thread."""

    def __init__(self, command):
        self.proc = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, text=True, bufsize=1)
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.proc.stdout:
            self.lines.put(line.rstrip("\n"))
        self.lines.put(None)

    def send(self, text):
        self.proc.stdin.write(text + "\n")
        self.proc.stdin.flush()

    def until(self, predicate, timeout=60):
        """The lines up to and including the first one the predicate accepts."""
        got = []
        end = time.time() + timeout
        while True:
            line = self.lines.get(timeout=max(0.1, end - time.time()))
            if line is None:
                raise RuntimeError("engine ended; last lines: %s" % got[-5:])
            got.append(line)
            if predicate(line):
                return got

    def quit(self):
        self.send("quit")
        self.proc.wait(timeout=20)


def find_stockfish():
    # Debian puts it in /usr/games, which is not always on PATH.
    return shutil.which("stockfish") or shutil.which("stockfish", path="/usr/games")


def legal_moves_stockfish(fen):
    sf = Engine([find_stockfish()])
    sf.send("uci")
    sf.until(lambda l: l == "uciok")
    sf.send("position fen " + fen)
    sf.send("go perft 1")
    lines = sf.until(lambda l: l.startswith("Nodes searched"))
    sf.quit()
    return {l.split(":")[0] for l in lines if ": " in l and len(l.split(":")[0]) in (4, 5)}


def legal_moves_zolt(engine_path, fen):
    z = Engine([engine_path])
    z.send("uci")
    z.until(lambda l: l == "uciok")
    z.send("position fen " + fen)
    z.send("moves")
    z.send("isready")
    lines = z.until(lambda l: l == "readyok")
    z.quit()
    # zolt lists each move as its two squares; promotions appear once.
    return {l for l in lines if len(l) == 4}


def field(words, name):
    return words[words.index(name) + 1] if name in words else None


def parse_info(line):
    """(depth, multipv, comparable score, first move, (time, nodes)) of an info line with a pv."""
    words = line.split()
    if words[:2] != ["info", "depth"] or "pv" not in words:
        return None
    if "mate" in words:
        m = int(field(words, "mate"))
        score = 10**8 - m if m > 0 else -(10**8) - m
    else:
        score = int(field(words, "cp"))
    pv = words[words.index("pv") + 1:]
    return (int(words[2]), int(field(words, "multipv") or 1), score, pv[0] if pv else None,
            (int(field(words, "time")), int(field(words, "nodes"))))


def analyse(engine_path, fen, lines, seconds, hash_mb):
    """Runs one infinite analysis; returns ({depth: [(multipv, score, move)]},
    {depth: (time, nodes)}, bestmove)."""
    z = Engine([engine_path])
    z.send("uci")
    z.until(lambda l: l == "uciok")
    z.send("setoption name MultiPV value %d" % lines)
    if hash_mb:
        z.send("setoption name Hash value %d" % hash_mb)
    z.send("position fen " + fen)
    z.send("isready")
    z.until(lambda l: l == "readyok")
    z.send("go infinite")
    time.sleep(seconds)
    z.send("stop")
    out = z.until(lambda l: l.startswith("bestmove"))
    z.quit()
    depths, times = {}, {}
    for line in out:
        info = parse_info(line)
        if info:
            depth, number, score, move, t = info
            depths.setdefault(depth, []).append((number, score, move))
            times.setdefault(depth, t)
    # A depth the stop cut short (fewer lines than the depth before) took no
    # measurable time: it was reported when the stop came.
    if len(depths) > 1:
        last = max(depths)
        if len(depths[last]) < len(depths[last - 1]):
            del times[last]
    return depths, times, out[-1].split()[1]


def check(name, fen, multi, single, legal, lines, failures):
    depths, _, best = multi
    wanted = min(lines, len(legal))
    last = max(depths) if depths else None
    for depth, found in sorted(depths.items()):
        where = "%s, depth %d" % (name, depth)
        numbers = [n for n, _, _ in found]
        moves = [m for _, _, m in found]
        scores = [s for _, s, _ in found]
        if numbers != list(range(1, len(found) + 1)):
            failures.append("%s: lines numbered %s" % (where, numbers))
        if len(found) != wanted and not (depth == last and len(found) < wanted):
            failures.append("%s: %d lines, %d wanted" % (where, len(found), wanted))
        if len(set(moves)) != len(moves):
            failures.append("%s: repeated moves %s" % (where, moves))
        for m in moves:
            if m not in legal and m[:4] not in legal:
                failures.append("%s: illegal move %s" % (where, m))
        if scores != sorted(scores, reverse=True):
            failures.append("%s: not best first %s" % (where, scores))
        one = single[0].get(depth)
        if one and one[0][2] not in moves:
            failures.append("%s: MultiPV 1 found %s, not among %s" % (where, one[0][2], moves))
    if depths and best != depths[last][0][2]:
        failures.append("%s: bestmove %s, line 1 of the last depth %s" % (name, best, depths[last][0][2]))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument("--engine", default=os.path.join(root, "build", "zolt"))
    parser.add_argument("--seconds", type=float, default=3.0)
    parser.add_argument("--lines", type=int, default=4)
    parser.add_argument("--hash", type=int, default=0, help="the Hash option in MB (default 0: no table)")
    args = parser.parse_args()

    use_stockfish = find_stockfish() is not None
    print("legality from %s" % ("stockfish" if use_stockfish else "zolt's moves command"))
    failures = []
    totals = {"multi": [0, 0], "single": [0, 0]}
    for name, fen in POSITIONS:
        legal = legal_moves_stockfish(fen) if use_stockfish else legal_moves_zolt(args.engine, fen)
        multi = analyse(args.engine, fen, args.lines, args.seconds, args.hash)
        single = analyse(args.engine, fen, 1, args.seconds, args.hash)
        check(name, fen, multi, single, legal, args.lines, failures)
        print("\n%s (%d legal moves): MultiPV %d reached depth %d, MultiPV 1 depth %d" %
              (name, len(legal), args.lines, max(multi[0]), max(single[0])))
        print("  depth  ms MultiPV %d  ms MultiPV 1  nodes MultiPV %d  nodes MultiPV 1  lines at that depth" %
              (args.lines, args.lines))
        common = sorted(set(multi[1]) & set(single[1]))
        for depth in common:
            moves = " ".join(m for _, _, m in multi[0][depth])
            print("  %5d  %12d  %12d  %15d  %15d  %s" % (depth, multi[1][depth][0], single[1][depth][0],
                                                        multi[1][depth][1], single[1][depth][1], moves))
        # Time and nodes to the deepest depth both completed.
        if common:
            for k in (0, 1):
                totals["multi"][k] += multi[1][common[-1]][k]
                totals["single"][k] += single[1][common[-1]][k]
    for k, unit in ((0, "ms"), (1, "nodes")):
        ratio = totals["multi"][k] / totals["single"][k] if totals["single"][k] else float("nan")
        print("\nsum to the deepest depth both completed: MultiPV %d %d %s, MultiPV 1 %d %s (x%.1f)" %
              (args.lines, totals["multi"][k], unit, totals["single"][k], unit, ratio), end="")
    print()
    if failures:
        print("\n%d check(s) failed:" % len(failures))
        for f in failures:
            print("  " + f)
        return 1
    print("all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
