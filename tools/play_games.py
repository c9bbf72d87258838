#!/usr/bin/env python3
"""Plays zolt against Stockfish over real UCI pipes with real clocks.

Zolt starts in its console and is switched to UCI with "uci". The opponent is
Stockfish with UCI_LimitStrength on and a low UCI_Elo. A second Stockfish is
the referee: before every move it lists the legal moves ("go perft 1") and
reports the position ("d"), so an illegal move is caught and mate, stalemate,
threefold repetition, the fifty-move rule and bare kings end the game.

Every zolt fault is counted: illegal moves, a missing "bestmove" (no answer
within its remaining time plus a grace period, or a malformed line), time
forfeits (remaining clock below zero after the move) and crashes (the program
ended). The exit status is 1 when any such fault occurred, else 0.

Usage: play_games.py --zolt build/zolt --games 4 --time 2 --inc 0.05
Standard library only.
"""

import argparse
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time

# Short openings, played by both engines before the clocks start, so the games differ.
OPENINGS = [
    "",
    "e2e4 e7e5",
    "d2d4 d7d5",
    "e2e4 c7c5",
    "c2c4 e7e5",
    "g1f3 d7d5",
    "e2e4 e7e6",
    "e2e4 c7c6",
    "d2d4 g8f6 c2c4 e7e6",
    "e2e4 e7e5 g1f3 b8c6 f1b5",
    "e2e4 e7e5 g1f3 b8c6 f1c4",
    "d2d4 g8f6 c2c4 g7g6",
    "e2e4 d7d6 d2d4 g8f6",
    "b2b3 e7e5",
    "e2e4 d7d5 e4d5 d8d5",
    "d2d4 d7d5 c2c4 d5c4",
    "f2f4 d7d5",
    "e2e4 g7g6",
    "c2c4 c7c5 g1f3 g8f6",
    "e2e4 e7e5 f2f4",
]

GRACE_SECONDS = 5.0       # how long past its clock an engine may stay silent before it counts as missing


def find_program(name):
    path = shutil.which(name)
    if path:
        return path
    candidate = os.path.join("/usr/games", name)
    return candidate if os.access(candidate, os.X_OK) else None


class EngineDied(Exception):
    pass


class Engine:
    """A UCI program on pipes with a line reader that honours timeouts."""

    def __init__(self, command, cwd=None):
        self.command = command
        self.proc = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, cwd=cwd, bufsize=0)
        self.buffer = b""
        self.transcript = []

    def send(self, text):
        try:
            self.proc.stdin.write((text + "\n").encode())
            self.proc.stdin.flush()
        except (BrokenPipeError, OSError):
            raise EngineDied()

    def read_line(self, timeout):
        """The next line without its ending, or None when timeout seconds pass."""
        end = time.monotonic() + timeout
        fd = self.proc.stdout.fileno()
        while b"\n" not in self.buffer:
            left = end - time.monotonic()
            if left <= 0:
                return None
            ready, _, _ = select.select([fd], [], [], left)
            if not ready:
                continue
            chunk = os.read(fd, 65536)
            if not chunk:
                raise EngineDied()
            self.buffer += chunk
        line, self.buffer = self.buffer.split(b"\n", 1)
        text = line.decode(errors="replace").rstrip("\r")
        self.transcript.append(text)
        del self.transcript[:-200]
        return text

    def read_until(self, prefix, timeout):
        """Lines up to and including the first one starting with prefix; None on timeout."""
        end = time.monotonic() + timeout
        lines = []
        while True:
            line = self.read_line(max(0.0, end - time.monotonic()))
            if line is None:
                return None
            lines.append(line)
            if line.startswith(prefix):
                return lines

    def alive(self):
        return self.proc.poll() is None

    def close(self):
        if self.alive():
            try:
                self.send("quit")
            except EngineDied:
                pass
            try:
                self.proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


def start_zolt(path, workdir):
    engine = Engine([path], cwd=workdir)
    engine.send("uci")
    if engine.read_until("uciok", 10) is None:
        raise EngineDied()
    return engine


def start_stockfish(path, elo=None):
    engine = Engine([path])
    engine.send("uci")
    if engine.read_until("uciok", 10) is None:
        raise RuntimeError("stockfish did not answer uci")
    engine.send("setoption name Threads value 1")
    engine.send("setoption name Hash value 16")
    if elo is not None:
        engine.send("setoption name UCI_LimitStrength value true")
        engine.send("setoption name UCI_Elo value %d" % elo)
    engine.send("isready")
    engine.read_until("readyok", 10)
    return engine


class Referee:
    """Legal moves and position facts from a Stockfish that does not play."""

    def __init__(self, path):
        self.engine = start_stockfish(path)

    def examine(self, moves):
        """(legal move set, fen, in_check) of the position after moves."""
        position = "position startpos" + (" moves " + " ".join(moves) if moves else "")
        self.engine.send(position)
        self.engine.send("go perft 1")
        lines = self.engine.read_until("Nodes searched", 30)
        legal = set()
        for line in lines or []:
            if ": " in line and not line.startswith("Nodes"):
                legal.add(line.split(":")[0].strip())
        self.engine.send("d")
        fen, checkers = "", ""
        for line in self.engine.read_until("Checkers:", 30) or []:
            if line.startswith("Fen: "):
                fen = line[5:].strip()
            elif line.startswith("Checkers:"):
                checkers = line[len("Checkers:"):].strip()
        return legal, fen, bool(checkers)

    def close(self):
        self.engine.close()


def bare_material(fen):
    """True when neither side can mate: bare kings, or one minor piece against a bare king."""
    pieces = [c for c in fen.split()[0] if c.isalpha() and c not in "Kk"]
    return len(pieces) == 0 or (len(pieces) == 1 and pieces[0] in "NBnb")


class Faults:
    def __init__(self):
        self.illegal = 0
        self.missing = 0
        self.forfeit = 0
        self.crash = 0
        self.rejected = 0   # "Illegal move" or "info string" complaints about our own position lines

    def total(self):
        return self.illegal + self.missing + self.forfeit + self.crash + self.rejected


def ask_move(engine, moves, clocks, inc_ms, side, is_zolt, faults, notes):
    """Sends the position and a "go" with the clocks; returns (move, seconds used) or (None, reason)."""
    engine.send("position startpos" + (" moves " + " ".join(moves) if moves else ""))
    engine.send("go wtime %d btime %d winc %d binc %d" % (max(1, int(clocks[0] * 1000)), max(1, int(clocks[1] * 1000)),
                                                          inc_ms, inc_ms))
    start = time.monotonic()
    limit = clocks[side] + GRACE_SECONDS
    while True:
        line = engine.read_line(max(0.0, start + limit - time.monotonic()))
        if line is None:
            return None, "no bestmove within %.1f s" % limit
        if is_zolt and (line.startswith("Illegal move") or line.startswith("info string")):
            faults.rejected += 1
            notes.append("zolt complained: %s" % line)
        if line.startswith("bestmove"):
            used = time.monotonic() - start
            words = line.split()
            if len(words) < 2:
                return None, "empty bestmove"
            return words[1], used


def play_game(number, zolt, stockfish, referee, args, faults):
    """One game; returns (zolt's score 1 / 0.5 / 0, text)."""
    zolt_white = number % 2 == 0
    opening = OPENINGS[(number // 2) % len(OPENINGS)].split()
    moves = list(opening)
    clocks = [args.time, args.time]
    inc_ms = int(args.inc * 1000)
    notes = []
    for engine in (zolt, stockfish):
        engine.send("ucinewgame")
        engine.send("isready")
        if engine.read_until("readyok", 10) is None:
            raise EngineDied()
    result, reason = None, ""
    positions = {}
    while result is None:
        legal, fen, in_check = referee.examine(moves)
        side = 0 if fen.split()[1] == "w" else 1
        key = " ".join(fen.split()[:4])
        positions[key] = positions.get(key, 0) + 1
        if not legal:
            if in_check:
                result, reason = ("0-1" if side == 0 else "1-0"), "checkmate"
            else:
                result, reason = "1/2-1/2", "stalemate"
            break
        if positions[key] >= 3:
            result, reason = "1/2-1/2", "threefold repetition"
            break
        if int(fen.split()[4]) >= 100:
            result, reason = "1/2-1/2", "fifty-move rule"
            break
        if bare_material(fen):
            result, reason = "1/2-1/2", "insufficient material"
            break
        if len(moves) >= args.max_plies:
            result, reason = "1/2-1/2", "adjudicated after %d plies" % args.max_plies
            break
        is_zolt = (side == 0) == zolt_white
        engine = zolt if is_zolt else stockfish
        name = "zolt" if is_zolt else "stockfish"
        loses = "0-1" if side == 0 else "1-0"
        try:
            move, used = ask_move(engine, moves, clocks, inc_ms, side, is_zolt, faults, notes)
        except EngineDied:
            if is_zolt:
                faults.crash += 1
            result, reason = loses, "%s crashed" % name
            break
        if move is None:
            if is_zolt:
                faults.missing += 1
            result, reason = loses, "%s: %s" % (name, used)
            break
        if move not in legal:
            if is_zolt:
                faults.illegal += 1
            result, reason = loses, "%s played the illegal move %s in %s" % (name, move, fen)
            break
        clocks[side] -= used
        if clocks[side] < 0:
            if is_zolt:
                faults.forfeit += 1
            result, reason = loses, "%s lost on time (%.3f s over)" % (name, -clocks[side])
            break
        clocks[side] += args.inc
        moves.append(move)
    if result == "1/2-1/2":
        score = 0.5
    else:
        score = 1.0 if (result == "1-0") == zolt_white else 0.0
    text = "game %d: zolt %s, %s (%s), %d plies" % (number + 1, "white" if zolt_white else "black", result, reason,
                                                   len(moves))
    if args.verbose:
        text += "\n  moves: " + " ".join(moves)
    for note in notes:
        text += "\n  " + note
    return score, text


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--zolt", default="build/zolt", help="path of the zolt binary")
    parser.add_argument("--stockfish", default=None, help="path of stockfish (default: PATH or /usr/games)")
    parser.add_argument("--games", type=int, default=2)
    parser.add_argument("--time", type=float, default=2.0, help="seconds on each clock at the start")
    parser.add_argument("--inc", type=float, default=0.05, help="increment per move in seconds")
    parser.add_argument("--elo", type=int, default=1350, help="the opponent's UCI_Elo")
    parser.add_argument("--max-plies", type=int, default=600, help="a longer game is adjudicated a draw")
    parser.add_argument("--verbose", action="store_true", help="print the moves of every game")
    args = parser.parse_args()

    stockfish_path = args.stockfish or find_program("stockfish")
    if not stockfish_path:
        print("stockfish not found")
        return 2
    zolt_path = os.path.abspath(args.zolt)
    workdir = tempfile.mkdtemp(prefix="zolt_games_")
    faults = Faults()
    referee = Referee(stockfish_path)
    stockfish = start_stockfish(stockfish_path, args.elo)
    zolt = None
    wins = draws = losses = 0
    try:
        for number in range(args.games):
            if zolt is None or not zolt.alive():
                try:
                    zolt = start_zolt(zolt_path, workdir)
                except EngineDied:
                    faults.crash += 1
                    losses += 1
                    print("game %d: zolt did not start" % (number + 1), flush=True)
                    zolt = None
                    continue
            silent_before = faults.missing
            try:
                score, text = play_game(number, zolt, stockfish, referee, args, faults)
            except EngineDied:
                faults.crash += 1
                score, text = 0.0, "game %d: zolt crashed between games" % (number + 1)
            if faults.missing > silent_before:
                zolt.close()  # a silent engine is not trusted with the next game
                zolt = None
            if score == 1.0:
                wins += 1
            elif score == 0.5:
                draws += 1
            else:
                losses += 1
            print(text, flush=True)
            if not stockfish.alive():
                stockfish = start_stockfish(stockfish_path, args.elo)
    finally:
        if zolt:
            zolt.close()
        stockfish.close()
        referee.close()
        shutil.rmtree(workdir, ignore_errors=True)

    games = wins + draws + losses
    print("summary: games %d, zolt +%d =%d -%d, score %.1f/%d, illegal moves %d, missing bestmove %d, "
          "time forfeits %d, crashes %d, rejected position lines %d"
          % (games, wins, draws, losses, wins + 0.5 * draws, games, faults.illegal, faults.missing, faults.forfeit,
             faults.crash, faults.rejected), flush=True)
    return 1 if faults.total() else 0


if __name__ == "__main__":
    sys.exit(main())
