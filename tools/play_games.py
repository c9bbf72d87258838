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

With --chess960 every game starts from a Chess960 array (Scharnagl number
0..959, drawn from --seed so a run repeats; each array is played twice with
colours swapped) and all three programs get UCI_Chess960; castling travels as
king-takes-rook (e1h1). --start-form chooses how the start reaches the
engines, as the GUIs write it: the castling field as rook file letters (HAha,
"shredder", the default) or as KQkq ("xfen"), or the standard array as
"position startpos" ("startpos"). The castles each engine played are counted.

With --ponder zolt ponders as under a GUI with pondering on: after each of
its moves it gets "position ... <its move> <ponder move>" and "go ponder"
with the clocks; when the opponent plays the ponder move it gets "ponderhit"
(its clock runs from then), otherwise "stop" (the answer is discarded) and an
ordinary "go". A ponder move that is not legal, a "bestmove" before
"ponderhit" or "stop", and a ponder search that does not answer "stop" are
protocol faults.

With --move-overhead MS zolt gets "setoption name Move Overhead value MS";
--lag MS charges zolt's clock that much more for each move, as a network
between the engine and the server would (the time forfeits then show whether
the overhead covers the lag).

With --nodes N both engines search "go nodes N" (Stockfish at full strength,
since its weakening is random) and no clock runs, so a run repeats exactly:
two runs with the same arguments print the same moves with --verbose.
--nodes-elo keeps Stockfish at --elo all the same (such runs do not repeat).
--nodes-with-clock gives zolt's "go nodes N" an hour on both clocks, so it is
a game move (zolt asks its opening book for it) that the node count ends.

With --book FILE zolt plays from that Polyglot opening book (random choice by
weight; --best-book-move for the heaviest entry); its "info string book move"
lines are no complaints. --from-start starts every standard game from the
initial position instead of the short openings below. The number of distinct
move sequences over the first --opening-plies plies (default 8) and the book
moves zolt played are printed at the end.

Memory: zolt's resident set (VmRSS) and its peak (VmHWM) are read from
/proc/<pid>/status after the handshake, after each game's last move and just
before the process is told to quit. By default every game gets a fresh zolt;
with --reuse one process plays all games with "ucinewgame" between them, and
the after-game VmRSS series shows whether memory stays flat.

Usage: play_games.py --zolt build/zolt --games 4 --time 2 --inc 0.05
       play_games.py --zolt build/zolt --games 50 --chess960 --seed 7 --reuse
       play_games.py --zolt build/zolt --games 50 --chess960 --start-form xfen
       play_games.py --zolt build/zolt --games 100 --time 2 --inc 0.02 --ponder
       play_games.py --zolt build/zolt --games 20 --nodes 20000 --verbose
       play_games.py --zolt build/zolt --games 50 --from-start --nodes 2000 --nodes-elo --elo 1500 \
           --nodes-with-clock --book /usr/share/games/gnuchess/book.bin
Standard library only.
"""

import argparse
import os
import random
import select
import shlex
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

# Knight pairs of the Scharnagl numbering: places among the five squares left
# after bishops and queen.
KNIGHT_PLACES = [(0, 1), (0, 2), (0, 3), (0, 4), (1, 2), (1, 3), (1, 4), (2, 3), (2, 4), (3, 4)]
CHESS960_ARRAYS = 960

GRACE_SECONDS = 5.0       # how long past its clock an engine may stay silent before it counts as missing
NODES_SECONDS = 60.0      # how long a fixed-node search may take


def find_program(name):
    path = shutil.which(name)
    if path:
        return path
    candidate = os.path.join("/usr/games", name)
    return candidate if os.access(candidate, os.X_OK) else None


def chess960_back_rank(number):
    """The white back rank (files a..h, upper case) of Scharnagl array number 0..959."""
    rank = [None] * 8
    number, light = divmod(number, 4)
    rank[2 * light + 1] = "B"
    number, dark = divmod(number, 4)
    rank[2 * dark] = "B"
    number, queen = divmod(number, 6)
    rank[[f for f in range(8) if rank[f] is None][queen]] = "Q"
    free = [f for f in range(8) if rank[f] is None]
    for place in KNIGHT_PLACES[number]:
        rank[free[place]] = "N"
    for file, piece in zip([f for f in range(8) if rank[f] is None], "RKR"):
        rank[file] = piece
    return "".join(rank)


def chess960_fen(number, form="shredder"):
    """Start FEN of array number with both rights per side: as rook files, h-side first (HAha), or as KQkq (xfen)."""
    white = chess960_back_rank(number)
    rooks = "KQ" if form == "xfen" else "".join(chr(ord("A") + f) for f in range(7, -1, -1) if white[f] == "R")
    return "%s/pppppppp/8/8/8/8/PPPPPPPP/%s w %s%s - 0 1" % (white.lower(), white, rooks, rooks.lower())


def piece_at(fen, square):
    """The FEN letter on square ("e1") of the board field, or "" when empty."""
    rank_text = fen.split()[0].split("/")[8 - int(square[1])]
    file = ord(square[0]) - ord("a")
    for c in rank_text:
        if c.isdigit():
            file -= int(c)
        elif file == 0:
            return c
        else:
            file -= 1
        if file < 0:
            return ""
    return ""


def is_castling(fen, move, chess960):
    """Whether move castles in the position of fen: king takes own rook (Chess960) or a king's two-file step."""
    king = piece_at(fen, move[0:2])
    if king not in "Kk" or not king:
        return False
    if chess960:
        rook = piece_at(fen, move[2:4])
        return rook == ("R" if king == "K" else "r")
    return abs(ord(move[0]) - ord(move[2])) == 2


def position_command(start, moves):
    """A "position" line: start is "startpos" or "fen <text>"."""
    return "position " + start + (" moves " + " ".join(moves) if moves else "")


def read_memory_kb(pid):
    """{"VmRSS": kB, "VmHWM": kB} of a live process, or {} when /proc has nothing."""
    values = {}
    try:
        with open("/proc/%d/status" % pid) as status:
            for line in status:
                key, _, rest = line.partition(":")
                if key in ("VmRSS", "VmHWM"):
                    values[key] = int(rest.split()[0])
    except (OSError, ValueError, IndexError):
        pass
    return values


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

    def memory(self):
        return read_memory_kb(self.proc.pid) if self.alive() else {}

    def close(self):
        """Quits the program; returns its memory figures read just before."""
        last = self.memory()
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
        return last


def set_chess960(engine, on):
    if on:
        engine.send("setoption name UCI_Chess960 value true")


def exit_status(engine):
    """The return code of a program that closed its pipes (negative: killed by that signal)."""
    try:
        return engine.proc.wait(timeout=5)
    except subprocess.TimeoutExpired:
        return "none, still running"


def start_zolt(command, workdir, chess960, move_overhead=0, book=None, best_book_move=False):
    engine = Engine(command, cwd=workdir)
    engine.send("uci")
    if engine.read_until("uciok", 10) is None:
        raise EngineDied()
    set_chess960(engine, chess960)
    if move_overhead:
        engine.send("setoption name Move Overhead value %d" % move_overhead)
    if book:
        engine.send("setoption name useInternalOpeningBook value true")
        engine.send("setoption name BookFile value %s" % book)
        if best_book_move:
            engine.send("setoption name BestBookMove value true")
    return engine


def start_stockfish(path, elo=None, chess960=False):
    engine = Engine([path])
    engine.send("uci")
    if engine.read_until("uciok", 10) is None:
        raise RuntimeError("stockfish did not answer uci")
    engine.send("setoption name Threads value 1")
    engine.send("setoption name Hash value 16")
    if elo is not None:
        engine.send("setoption name UCI_LimitStrength value true")
        engine.send("setoption name UCI_Elo value %d" % elo)
    set_chess960(engine, chess960)
    engine.send("isready")
    engine.read_until("readyok", 10)
    return engine


def start_opponent(args, stockfish_path, workdir):
    """The opponent: Stockfish at args.elo, or the zolt binary of --opponent-zolt."""
    if args.opponent_zolt:
        return start_zolt(os.path.abspath(args.opponent_zolt), workdir, args.chess960)
    # Stockfish's weakening is random: fixed-node games use it at full strength
    # unless --nodes-elo asks for the weakened one.
    return start_stockfish(stockfish_path, None if args.nodes and not args.nodes_elo else args.elo, args.chess960)


class Referee:
    """Legal moves and position facts from a Stockfish that does not play."""

    def __init__(self, path, chess960):
        self.engine = start_stockfish(path, chess960=chess960)

    def examine(self, start, moves):
        """(legal move set, fen, in_check) of the position after moves from start."""
        self.engine.send(position_command(start, moves))
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
        self.ponder = 0     # pondering protocol faults

    def total(self):
        return self.illegal + self.missing + self.forfeit + self.crash + self.rejected + self.ponder


NODES_CLOCK_MS = 3600000  # zolt's clocks with --nodes-with-clock: the node count ends the search first

# Book moves zolt announced over the run.
BOOK_MOVE_PREFIX = "info string book move "
book_moves = 0


def go_command(args, clocks, inc_ms, ponder=False, is_zolt=False):
    """The "go" line: the clocks (both above 0 ms), or the fixed node count."""
    if args.nodes:
        clock = " wtime %d btime %d" % (NODES_CLOCK_MS, NODES_CLOCK_MS) if is_zolt and args.nodes_with_clock else ""
        return ("go ponder nodes %d" if ponder else "go nodes %d") % args.nodes + clock
    return "go %swtime %d btime %d winc %d binc %d" % ("ponder " if ponder else "", max(1, int(clocks[0] * 1000)),
                                                     max(1, int(clocks[1] * 1000)), inc_ms, inc_ms)


def read_bestmove(engine, limit, is_zolt, faults, notes):
    """Reads up to "bestmove"; returns (move, seconds, ponder move or None) or (None, reason, None)."""
    global book_moves
    start = time.monotonic()
    while True:
        line = engine.read_line(max(0.0, start + limit - time.monotonic()))
        if line is None:
            return None, "no bestmove within %.1f s" % limit, None
        if is_zolt and line.startswith(BOOK_MOVE_PREFIX):
            book_moves += 1
        elif is_zolt and (line.startswith("Illegal move") or line.startswith("info string")):
            faults.rejected += 1
            notes.append("zolt complained: %s" % line)
        if line.startswith("bestmove"):
            used = time.monotonic() - start
            words = line.split()
            if len(words) < 2:
                return None, "empty bestmove", None
            ponder = words[3] if len(words) >= 4 and words[2] == "ponder" else None
            return words[1], used, ponder


def move_limit(args, clocks, side):
    """How long an engine may think before its bestmove counts as missing."""
    return (NODES_SECONDS if args.nodes else clocks[side]) + GRACE_SECONDS


def ask_move(engine, start, moves, clocks, inc_ms, side, is_zolt, faults, notes, args):
    """Sends the position and a "go"; returns (move, seconds used, ponder move) or (None, reason, None)."""
    engine.send(position_command(start, moves))
    engine.send(go_command(args, clocks, inc_ms, is_zolt=is_zolt))
    return read_bestmove(engine, move_limit(args, clocks, side), is_zolt, faults, notes)


class Ponder:
    """Zolt's pondering between its move and the opponent's reply."""

    hits = 0   # over the whole run: ponderhits sent
    misses = 0  # and ponder searches stopped because the opponent played another move

    def __init__(self):
        self.expected = None   # the move zolt ponders on, while it does

    def start(self, zolt, start, moves, expected, clocks, inc_ms, args):
        zolt.send(position_command(start, moves + [expected]))
        zolt.send(go_command(args, clocks, inc_ms, ponder=True, is_zolt=True))
        self.expected = expected

    def early_answer(self, zolt, faults, notes):
        """Counts a "bestmove" that zolt sent while still pondering."""
        while True:
            line = zolt.read_line(0)
            if line is None:
                return
            if line.startswith("bestmove"):
                faults.ponder += 1
                notes.append("zolt answered while pondering: %s" % line)

    def stop(self, zolt, faults, notes):
        """A ponder miss or the end of the game: "stop", and the answer is read and discarded."""
        self.early_answer(zolt, faults, notes)
        zolt.send("stop")
        self.expected = None
        if zolt.read_until("bestmove", GRACE_SECONDS) is None:
            faults.ponder += 1
            notes.append("zolt did not answer stop while pondering")

    def hit(self, zolt, limit, faults, notes):
        """The opponent played the move pondered on: "ponderhit", then zolt's answer as for a "go"."""
        self.early_answer(zolt, faults, notes)
        zolt.send("ponderhit")
        self.expected = None
        Ponder.hits += 1
        return read_bestmove(zolt, limit, True, faults, notes)


def play_game(number, start, zolt, stockfish, referee, args, faults, castles, first_plies):
    """One game from start ("startpos" or "fen ..."); returns (zolt's score 1 / 0.5 / 0, text).
    The game's first --opening-plies moves are appended to first_plies."""
    zolt_white = number % 2 == 0
    moves = [] if args.chess960 or args.from_start else OPENINGS[(number // 2) % len(OPENINGS)].split()
    clocks = [args.time, args.time]
    inc_ms = int(args.inc * 1000)
    notes = []
    faults_before = faults.total()
    ponder = Ponder()
    for engine in (zolt, stockfish):
        engine.send("ucinewgame")
        engine.send("isready")
        if engine.read_until("readyok", 10) is None:
            raise EngineDied()
    result, reason = None, ""
    positions = {}
    while result is None:
        legal, fen, in_check = referee.examine(start, moves)
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
        ponder_move = False   # False: no answer from a ponder search yet
        if not is_zolt and ponder.expected is not None and ponder.expected not in legal:
            faults.ponder += 1
            notes.append("zolt's ponder move %s is not legal in %s" % (ponder.expected, fen))
            ponder.stop(zolt, faults, notes)
        name = "zolt" if is_zolt else "stockfish"
        loses = "0-1" if side == 0 else "1-0"
        try:
            if is_zolt and ponder.expected is not None:
                if moves and moves[-1] == ponder.expected:
                    move, used, ponder_move = ponder.hit(zolt, move_limit(args, clocks, side), faults, notes)
                else:
                    ponder.stop(zolt, faults, notes)
                    Ponder.misses += 1
            if not is_zolt or ponder_move is False:
                move, used, ponder_move = ask_move(engine, start, moves, clocks, inc_ms, side, is_zolt, faults,
                                                   notes, args)
        except EngineDied:
            if is_zolt:
                faults.crash += 1
            result, reason = loses, "%s crashed (exit status %s)" % (name, exit_status(engine))
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
        if not args.nodes:
            if is_zolt:
                used += args.lag / 1000.0
            clocks[side] -= used
            if clocks[side] < 0:
                if is_zolt:
                    faults.forfeit += 1
                result, reason = loses, "%s lost on time (%.3f s over)" % (name, -clocks[side])
                break
            clocks[side] += args.inc
        if is_castling(fen, move, args.chess960):
            castles[name] += 1
        moves.append(move)
        if is_zolt and args.ponder and ponder_move:
            ponder.start(zolt, start, moves, ponder_move, clocks, inc_ms, args)
    if ponder.expected is not None:
        try:
            ponder.stop(zolt, faults, notes)
        except EngineDied:
            faults.crash += 1
    first_plies.append(("white" if zolt_white else "black", " ".join(moves[:args.opening_plies])))
    if result == "1/2-1/2":
        score = 0.5
    else:
        score = 1.0 if (result == "1-0") == zolt_white else 0.0
    text = "game %d: zolt %s, %s (%s), %d plies" % (number + 1, "white" if zolt_white else "black", result, reason,
                                                   len(moves))
    if args.verbose or faults.total() > faults_before:
        text += "\n  start: " + start + "\n  moves: " + " ".join(moves)
    for note in notes:
        text += "\n  " + note
    return score, text


class MemoryWatch:
    """Zolt's VmRSS and VmHWM over a run, in kB."""

    def __init__(self):
        self.peak = 0
        self.after_game = []        # VmRSS after each game's last move
        self.process_start = []    # VmRSS of each zolt after its handshake
        self.process_end = []      # VmRSS of each zolt just before it quits

    def started(self, zolt):
        rss = zolt.memory().get("VmRSS")
        if rss is not None:
            self.process_start.append(rss)

    def game_over(self, zolt):
        """The after-game figures as text for the game line."""
        figures = zolt.memory() if zolt else {}
        if "VmRSS" not in figures:
            return "rss n/a"
        self.after_game.append(figures["VmRSS"])
        self.peak = max(self.peak, figures["VmHWM"])
        return "rss %d kB, peak %d kB" % (figures["VmRSS"], figures["VmHWM"])

    def closed(self, figures):
        if "VmRSS" in figures:
            self.process_end.append(figures["VmRSS"])
            self.peak = max(self.peak, figures["VmHWM"])

    def growth_per_100_games(self):
        """Least-squares slope of the after-game series, kB per 100 games."""
        n = len(self.after_game)
        if n < 2:
            return 0.0
        mean_x, mean_y = (n - 1) / 2.0, sum(self.after_game) / float(n)
        spread = sum((x - mean_x) ** 2 for x in range(n))
        slope = sum((x - mean_x) * (y - mean_y) for x, y in enumerate(self.after_game)) / spread
        return 100.0 * slope

    def report(self, reuse):
        text = "memory: zolt peak rss %d kB over %d process(es)" % (self.peak, len(self.process_start))
        if not (self.after_game and self.process_start and self.process_end):
            return text + "; too few readings for more"
        series, starts, ends = self.after_game, self.process_start, self.process_end
        if reuse:
            return text + ("; rss after handshake %d kB, at quit %d kB; rss after games min %d kB, max %d kB, "
                           "first %d kB, last %d kB, trend %+.1f kB per 100 games"
                           % (starts[0], ends[-1], min(series), max(series), series[0], series[-1],
                              self.growth_per_100_games()))
        return text + ("; rss after handshake %d..%d kB, at quit %d..%d kB"
                       % (min(starts), max(starts), min(ends), max(ends)))


def game_starts(args):
    """The start of every game: "startpos", or a Chess960 array "fen ..." shared by each pair of games."""
    if not args.chess960 or args.start_form == "startpos":
        return ["startpos"] * args.games
    rng = random.Random(args.seed)
    numbers = [rng.randrange(CHESS960_ARRAYS) for _ in range((args.games + 1) // 2)]
    return ["fen " + chess960_fen(numbers[game // 2], args.start_form) for game in range(args.games)]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--zolt", default="build/zolt", help="path of the zolt binary")
    parser.add_argument("--zolt-cmd", default=None,
                        help="command line that starts zolt, instead of --zolt (absolute paths; for example "
                             "'wine64 /abs/zolt_launcher.exe /abs/zolt.exe')")
    parser.add_argument("--stockfish", default=None, help="path of stockfish (default: PATH or /usr/games)")
    parser.add_argument("--games", type=int, default=2)
    parser.add_argument("--first-game", type=int, default=0,
                        help="number the games from here (picks openings and colours), to split a run")
    parser.add_argument("--time", type=float, default=2.0, help="seconds on each clock at the start")
    parser.add_argument("--inc", type=float, default=0.05, help="increment per move in seconds")
    parser.add_argument("--elo", type=int, default=1350, help="the opponent's UCI_Elo")
    parser.add_argument("--max-plies", type=int, default=600, help="a longer game is adjudicated a draw")
    parser.add_argument("--chess960", action="store_true", help="start from Chess960 arrays")
    parser.add_argument("--seed", type=int, default=1, help="chooses the Chess960 arrays")
    parser.add_argument("--reuse", action="store_true", help="one zolt process plays all games")
    parser.add_argument("--start-form", choices=("shredder", "xfen", "startpos"), default="shredder",
                        help="how a Chess960 start is written: HAha, KQkq, or position startpos")
    parser.add_argument("--ponder", action="store_true", help="zolt ponders on its expected reply")
    parser.add_argument("--move-overhead", type=int, default=0, metavar="MS",
                        help="zolt's Move Overhead option in milliseconds")
    parser.add_argument("--lag", type=int, default=0, metavar="MS",
                        help="milliseconds added to zolt's time for each move, as a network would")
    parser.add_argument("--nodes", type=int, default=0, help="both engines search this many nodes; no clocks")
    parser.add_argument("--nodes-elo", action="store_true", help="fixed-node games against Stockfish at --elo")
    parser.add_argument("--nodes-with-clock", action="store_true",
                        help="zolt's fixed-node go carries an hour on both clocks (a game move: the book is asked)")
    parser.add_argument("--book", default=None, help="zolt plays from this Polyglot book (BookFile)")
    parser.add_argument("--best-book-move", action="store_true", help="zolt's book plays its heaviest entries")
    parser.add_argument("--from-start", action="store_true", help="standard games start from the initial position")
    parser.add_argument("--opening-plies", type=int, default=8,
                        help="distinct move sequences are counted over this many first plies")
    parser.add_argument("--verbose", action="store_true", help="print the moves of every game")
    parser.add_argument("--opponent-zolt", default=None, metavar="PATH",
                        help="play this zolt binary (an older build, say) instead of a Stockfish opponent")
    args = parser.parse_args()

    stockfish_path = args.stockfish or find_program("stockfish")
    if not stockfish_path:
        print("stockfish not found")
        return 2
    zolt_command = shlex.split(args.zolt_cmd) if args.zolt_cmd else [os.path.abspath(args.zolt)]
    workdir = tempfile.mkdtemp(prefix="zolt_games_")
    began = time.monotonic()
    faults = Faults()
    memory = MemoryWatch()
    referee = Referee(stockfish_path, args.chess960)
    stockfish = start_opponent(args, stockfish_path, workdir)
    zolt = None
    castles = {"zolt": 0, "stockfish": 0}
    first_plies = []
    wins = draws = losses = 0
    try:
        for index, start in enumerate(game_starts(args)):
            number = args.first_game + index
            if zolt is None or not zolt.alive():
                try:
                    zolt = start_zolt(zolt_command, workdir, args.chess960, args.move_overhead,
                                      os.path.abspath(args.book) if args.book else None, args.best_book_move)
                    memory.started(zolt)
                except EngineDied:
                    faults.crash += 1
                    losses += 1
                    print("game %d: zolt did not start" % (number + 1), flush=True)
                    zolt = None
                    continue
            silent_before = faults.missing
            try:
                score, text = play_game(number, start, zolt, stockfish, referee, args, faults, castles,
                                        first_plies)
            except EngineDied:
                faults.crash += 1
                score, text = 0.0, "game %d: zolt crashed between games (exit status %s)" % (number + 1,
                                                                                            exit_status(zolt))
            headline, _, details = text.partition("\n")
            text = headline + "; " + memory.game_over(zolt) + ("\n" + details if details else "")
            # A silent engine is not trusted with the next game, even with --reuse.
            if faults.missing > silent_before or not args.reuse:
                memory.closed(zolt.close())
                zolt = None
            if score == 1.0:
                wins += 1
            elif score == 0.5:
                draws += 1
            else:
                losses += 1
            print(text, flush=True)
            if not stockfish.alive():
                stockfish = start_opponent(args, stockfish_path, workdir)
    finally:
        if zolt:
            memory.closed(zolt.close())
        stockfish.close()
        referee.close()
        shutil.rmtree(workdir, ignore_errors=True)

    games = wins + draws + losses
    print(memory.report(args.reuse), flush=True)
    print("castles: zolt %d, stockfish %d" % (castles["zolt"], castles["stockfish"]), flush=True)
    distinct = {colour: len({line for c, line in first_plies if c == colour}) for colour in ("white", "black")}
    print("openings: %d distinct move sequences over the first %d plies of %d games (zolt white %d, black %d); "
          "zolt played %d book moves"
          % (len({line for _, line in first_plies}), args.opening_plies, len(first_plies), distinct["white"],
             distinct["black"], book_moves), flush=True)
    if args.ponder:
        print("ponder: hits %d, misses %d" % (Ponder.hits, Ponder.misses), flush=True)
    print("summary: games %d, zolt +%d =%d -%d, score %.1f/%d, illegal moves %d, missing bestmove %d, "
          "time forfeits %d, crashes %d, rejected position lines %d, ponder faults %d, peak rss %d kB, "
          "wall time %.0f s"
          % (games, wins, draws, losses, wins + 0.5 * draws, games, faults.illegal, faults.missing, faults.forfeit,
             faults.crash, faults.rejected, faults.ponder, memory.peak, time.monotonic() - began), flush=True)
    return 1 if faults.total() else 0


if __name__ == "__main__":
    sys.exit(main())
