// Hostile input through the real binary: overlong lines, NUL bytes, Windows
// line ends, bytes above 0x7f, numbers beyond 32 and 64 bits, move lists far
// longer than a game, garbage FEN text and garbage files. Every case must end
// with a clear message or a lenient reading, a normal exit, and an engine
// that still answers and plays afterwards.
#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "harness.h"

using namespace zolt_test;

namespace {

const std::string PROMPT = "\nzolt: ";
const std::string START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
const int GENEROUS_MS = 120000;
const char* const NEVER_PRINTED = "\x01never\x01";

// A string literal with its embedded NUL bytes.
template <size_t N>
std::string raw(const char (&text)[N]) {
  return std::string(text, N - 1);
}

bool ends_with(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Suite output with the timings replaced by "T".
std::string without_times(const std::string& text) {
  return std::regex_replace(text, std::regex("Time:? [0-9]+\\.[0-9]{3} s"), "T");
}

// Like run_zolt, but feeds large input in chunks and drains the output in
// between, so neither pipe can fill up while the other side waits.
RunResult run_fed(const std::string& input, const std::string& dir = "") {
  ZoltSession session(dir);
  const size_t chunk = 8192;
  for (size_t at = 0; at < input.size(); at += chunk) {
    session.send(input.substr(at, chunk));
    session.read_until(NEVER_PRINTED, 1);
  }
  session.close_input();
  RunResult result;
  result.exit_status = session.wait_exit(GENEROUS_MS);
  result.timed_out = result.exit_status == -1;
  result.output = session.all_output();
  return result;
}

// The output after the start-up text; expects a normal exit.
std::string console(const std::string& input, const std::string& dir = "") {
  RunResult r = run_fed(input, dir);
  EXPECT_EQ(r.exit_status, 0);
  const size_t at = r.output.find(PROMPT);
  return at == std::string::npos ? "<no prompt> " + r.output : r.output.substr(at);
}

// Everything after "uciok"; expects a normal exit.
std::string uci(const std::string& commands) {
  RunResult r = run_fed("uci\n" + commands);
  EXPECT_EQ(r.exit_status, 0);
  const size_t at = r.output.find("uciok\n");
  return at == std::string::npos ? "<no uciok> " + r.output : r.output.substr(at + 6);
}

// The moves of every "N legal moves:" list in text, in order of the lists.
std::vector<std::set<std::string>> move_lists(const std::string& text) {
  std::vector<std::set<std::string>> lists;
  static const std::regex header("\n([0-9]+) legal moves:\n");
  for (std::sregex_iterator it(text.begin(), text.end(), header), end; it != end; ++it) {
    std::set<std::string> moves;
    size_t at = it->position() + it->length();
    for (int i = 0; i < std::stoi((*it)[1]); ++i) {
      const size_t newline = text.find('\n', at);
      moves.insert(text.substr(at, newline - at));
      at = newline + 1;
    }
    lists.push_back(moves);
  }
  return lists;
}

std::vector<std::string> bestmoves(const std::string& text) {
  std::vector<std::string> moves;
  static const std::regex line("bestmove (\\S*)(?: ponder \\S+)?\n");
  for (std::sregex_iterator it(text.begin(), text.end(), line), end; it != end; ++it) moves.push_back((*it)[1]);
  return moves;
}

// Each "bestmove" of text is legal in the position listed by the "moves"
// command sent right before its "go".
void expect_legal_bestmoves(const std::string& text, size_t expected_count) {
  const auto lists = move_lists(text);
  const auto played = bestmoves(text);
  ASSERT_EQ(played.size(), expected_count) << text;
  ASSERT_EQ(lists.size(), expected_count) << text;
  for (size_t i = 0; i < played.size(); ++i)
    EXPECT_EQ(lists[i].count(played[i].substr(0, 4)), 1u) << "bestmove " << played[i];
}

// A deterministic run of bytes from 1 to 255 without the excluded ones.
std::string garbage(size_t size, const std::string& excluded, uint32_t seed) {
  std::string text;
  while (text.size() < size) {
    seed = seed * 1103515245u + 12345u;
    const char c = static_cast<char>(1 + (seed >> 16) % 255);
    if (excluded.find(c) == std::string::npos) text += c;
  }
  return text;
}

std::string rank_line(int rank, const std::string& cells) { return "\n\n" + std::to_string(rank) + "   " + cells; }
const std::string START_RANK_1 = rank_line(1, "[R][N][B][Q][K][B][N][R]");
const std::string E4_RANK = rank_line(4, " .  .  .  . [P] .  .  . ");
const std::string E5_RANK = rank_line(5, " .  .  .  . {p} .  .  . ");

}  // namespace

// ---------------------------------------------------------------- console

TEST(HostileConsole, OverlongLinesArePiecesAndTheShellCarriesOn) {
  // Pieces of 249 characters: 10,000 characters make 41 pieces (the last one
  // with the newline), 100,000 make 402; each is a word that is no command.
  const std::string out =
      console(std::string(10000, 'x') + "\n" + std::string(100000, 'y') + "\nperft 2\nfen\nsd 2\ne2e4\n");
  EXPECT_EQ(count_of(out, "\ninput correct ?: x"), 41u);
  EXPECT_EQ(count_of(out, "\ninput correct ?: y"), 402u);
  EXPECT_NE(out.find(PROMPT + "\nPerft (2): 400 nodes"), std::string::npos);
  EXPECT_NE(out.find(PROMPT + "\nfen: " + START_FEN + "\n" + PROMPT), std::string::npos);
  EXPECT_NE(out.find("\nZolt moves: "), std::string::npos);
}

TEST(HostileConsole, NulBytesEndTheTextOfTheirLine) {
  const std::string input = raw("di\0sp\n") + raw("\0\n") + raw("setboard 4k3/8/8/8\0/8/8/8/4K3 w - - 0 1\n") +
                            "sd 2\n" + raw("e2\0e4\n") + "fen\n";
  const std::string out = console(input);
  EXPECT_EQ(out, PROMPT + "\ninput correct ?: di" + PROMPT + PROMPT +
                     "\ninvalid FEN: not exactly one king of each colour" + PROMPT + "\nsd 2\nset search depth to 3s\n" +
                     PROMPT + "\ninput correct ?: e2" + PROMPT + "\nfen: " + START_FEN + "\n" + PROMPT);
}

TEST(HostileConsole, WindowsLineEndsAndHighBytes) {
  const std::string out = console(
      "sd 2\r\nsetboard 4k3/8/8/8/8/8/8/R3K3 w Q - 0 1\r\nfen\r\nperft 2\r\n\xc3\xa9\xff\r\n"
      "e1c1\r\nundo\r\nundo\r\nfen\r");
  EXPECT_NE(out.find("\nfen: 4k3/8/8/8/8/8/8/R3K3 w Q - 0 1\n"), std::string::npos) << out;
  EXPECT_NE(out.find("\nPerft (2): 71 nodes"), std::string::npos) << out;
  EXPECT_NE(out.find("\ninput correct ?: \xc3\xa9\xff" + PROMPT), std::string::npos);
  // The castling move is played and answered; the lone "\r" of the last line
  // is white space too.
  EXPECT_NE(out.find("\nZolt moves: "), std::string::npos) << out;
  EXPECT_TRUE(ends_with(out, PROMPT + "\nfen: 4k3/8/8/8/8/8/8/R3K3 w Q - 0 1\n" + PROMPT)) << out;
}

TEST(HostileConsole, SortAfterTakingBackMoreMovesThanTheReplyMade) {
  // Each undo counts the search ply down; "sort" still scores as at the root
  // (a sanitizer build reports any read before the killer tables).
  const std::string out = console("sd 2\ne2e4\nundo\nundo\nundo\nsort\nfen\n");
  EXPECT_NE(out.find("\nMoves sorted for Alpha-Beta\n20 legal moves\n"), std::string::npos) << out;
  EXPECT_NE(out.find("\nfen: " + START_FEN + "\n"), std::string::npos);
}

// ---------------------------------------------------------------- setboard

TEST(HostileSetboard, GarbageIsRefusedOrReadLenientlyAndTheOldPositionStays) {
  const std::string old_fen = "8/8/8/8/8/8/8/K6k b - - 3 9";
  const std::string no_kings = "not exactly one king of each colour";
  struct Case {
    std::string text;
    std::string refusal;  // empty: loaded, then "fen" gives loaded_as
    std::string loaded_as;
  };
  const Case cases[] = {
      {garbage(200, "KkPp\n", 7), no_kings, ""},
      {"", no_kings, ""},
      {"4k3/8/8/8/8/8/8/3KK3 w - - 0 1", no_kings, ""},
      {"4k3/8/8/8/8/8/8/8 w - - 0 1", no_kings, ""},
      {"4k3/8/8/8/8/8/8/9K w - - 0 1", no_kings, ""},  // the 9 pushes the king off the board
      {"////////////////////4k3/8/8/8/8/8/8/4K3 w - - 0 1", no_kings, ""},
      {std::string(60, '9'), no_kings, ""},
      {"QQQQQQQQ/QQQQQQQQ/8/8/8/8/8/k6K w - - 0 1", "more than 15 pieces besides the king on one side", ""},
      {"k7/8/8/8/8/8/8/KP6 w - - 0 1", "pawn on the first or eighth rank", ""},
      {"4k3/4Q3/8/8/8/8/8/4K3 w - - 0 1", "the side not to move is in check", ""},
      // Nine squares spill into the next rank; a 0 advances nothing; ranks
      // after h1 are not read.
      {"4k4/8/8/8/8/8/8/4K3 w - - 0 1", "", "4k3/8/8/8/8/8/8/4K3 w - - 0 1"},
      {"4k3/0000/8/8/8/8/8/4K3 b - - 0 1", "", "4k3/8/8/8/8/8/8/4K3 b - - 0 1"},
      {"4k3/8/8/8/8/8/8/4K3/8/8/8 b - - 0 1", "", "4k3/8/8/8/8/8/8/4K3 w - - 0 1"},
      {"4k3/8/8/8/8/8/8/4K3 x KQkq z9 -5 -7", "", "4k3/8/8/8/8/8/8/4K3 w - - 0 1"},
      {"4k3/8/8/8/8/8/8/4K3 b - - 99999999999999999999 99999999999999999999", "",
       "4k3/8/8/8/8/8/8/4K3 b - - 9999999 9999999"},
  };
  for (const Case& c : cases) {
    const std::string out = console("setboard " + old_fen + "\nsetboard " + c.text + "\nfen\nperft 1\n");
    const std::string fen = c.refusal.empty() ? c.loaded_as : old_fen;
    const std::string answer = c.refusal.empty() ? "" : "\ninvalid FEN: " + c.refusal;
    const size_t at = out.find(PROMPT + PROMPT);
    ASSERT_NE(at, std::string::npos) << c.text;
    EXPECT_EQ(out.substr(at + 2 * PROMPT.size(), std::string::npos).rfind(answer + PROMPT + "\nfen: " + fen + "\n", 0),
              0u)
        << c.text << "\n" << out;
    EXPECT_NE(out.find("\nPerft (1): " + std::string(c.refusal.empty() ? "5" : "3") + " nodes"), std::string::npos)
        << c.text;
  }
}

TEST(HostileSetboard, AFenLongerThanTheLineIsReadFromItsFirstPiece) {
  // 9 + 56 + 435 characters: the first 249 go to setboard, the rest come as
  // words that are no command.
  const std::string text = "setboard " + START_FEN + " " + std::string(435, '9');
  ASSERT_GT(text.size(), 500u);
  const std::string out = console("setboard 8/8/8/8/8/8/8/K6k b - - 3 9\n" + text + "\nfen\n");
  EXPECT_EQ(count_of(out, "\ninput correct ?: 999"), 2u);
  EXPECT_NE(out.find("\nfen: " + START_FEN + "\n"), std::string::npos) << out;
}

// ---------------------------------------------------------------- UCI lines

TEST(HostileUci, OverlongLinesThenNormalCommands) {
  std::string words;
  for (int i = 0; i < 50000; ++i) words += "x ";
  const std::string reply =
      uci(std::string(10000, 'x') + "\n" + words + "\nisready\nposition startpos moves e2e4\nmoves\ngo depth 1\n");
  // Every piece is a word that is no command, and nothing else happens.
  const size_t ready = reply.find("readyok\n");
  ASSERT_NE(ready, std::string::npos);
  size_t pieces = 0;
  for (size_t at = 0; at < ready;) {
    const size_t end = reply.find('\n', at);
    const std::string line = reply.substr(at, end - at);
    EXPECT_TRUE(line.empty() || line.rfind("Illegal move: x", 0) == 0) << line.substr(0, 80);
    pieces += !line.empty();
    at = end + 1;
  }
  EXPECT_GE(pieces, 2u);
  expect_legal_bestmoves(reply, 1);
}

TEST(HostileUci, NulBytesEndTheTextOfTheirLine) {
  const std::string reply = uci(raw("is\0ready\n") + raw("isready\0junk\n") + raw("\0\n") +
                                raw("position startpos moves e2e4 e7\0e5 g1f3\n") + "disp\n" +
                                raw("position fen 4k3/8/8/8\0/8/8/8/4K3 w - - 0 1\n") + "moves\n" +
                                raw("go depth 1\0 infinite\n"));
  EXPECT_EQ(reply.rfind("\nIllegal move: is\nreadyok\n", 0), 0u) << reply;
  // Only the move before the NUL is played; the refused FEN keeps that position.
  EXPECT_NE(reply.find(E4_RANK), std::string::npos);
  EXPECT_NE(reply.find("turn: black"), std::string::npos);
  EXPECT_NE(reply.find("info string invalid FEN: not exactly one king of each colour\n"), std::string::npos);
  // "infinite" lies behind the NUL: the depth-1 search ends by itself.
  expect_legal_bestmoves(reply, 1);
}

TEST(HostileUci, WindowsLineEndsOnEveryCommand) {
  RunResult r = run_fed(
      "uci\r\nisready\r\nucinewgame\r\nsetoption name UCI_Chess960 value false\r\n"
      "position startpos moves e2e4 e7e5\r\ndisp\r\nmoves\r\ngo depth 2\r\n"
      "position fen 8/P7/8/8/8/8/8/k6K w - - 0 1 moves a7a8r\r\ndisp\r\nquit\r\nisready\r\n");
  EXPECT_EQ(r.exit_status, 0);
  const std::string reply = r.output.substr(r.output.find("uciok\n") + 6);
  EXPECT_EQ(reply.rfind("readyok\n", 0), 0u);
  EXPECT_EQ(count_of(reply, "readyok"), 1u);  // nothing is read after "quit\r\n"
  EXPECT_EQ(reply.find("Illegal"), std::string::npos) << reply;
  EXPECT_NE(reply.find(E4_RANK), std::string::npos);
  EXPECT_NE(reply.find(E5_RANK), std::string::npos);
  EXPECT_NE(reply.find("ply: 2, turn: white"), std::string::npos);
  EXPECT_NE(reply.find("info depth 2 "), std::string::npos);
  expect_legal_bestmoves(reply, 1);
  EXPECT_NE(reply.find(rank_line(8, "[R] .  .  .  .  .  .  . ")), std::string::npos);
}

TEST(HostileUci, TabsAndCarriageReturnsSeparateMoves) {
  const std::string reply = uci(
      "position startpos moves e2e4\te7e5\r\r\ndisp\n"
      "position startpos moves d2d4\rd7d5 g1f3\ndisp\nisready\r");
  EXPECT_EQ(reply.find("Illegal"), std::string::npos) << reply;
  EXPECT_NE(reply.find(E5_RANK), std::string::npos);
  EXPECT_NE(reply.find(rank_line(3, " .  .  .  .  . [N] .  . ")), std::string::npos);
  EXPECT_NE(reply.find("ply: 2, turn: black"), std::string::npos);
  EXPECT_TRUE(ends_with(reply, "readyok\n"));  // a lone "\r" is white space
}

TEST(HostileUci, HighBytesAreIllegalMovesAndTheRestStillPlays) {
  const std::string reply = uci("\xc3\xa9\xff\nposition startpos moves e2e4 \xe2\x80\x94 e7e5\ndisp\n");
  EXPECT_EQ(reply.rfind("\nIllegal move: \xc3\xa9\xff\n\nIllegal move: \xe2\x80\x94\n", 0), 0u) << reply;
  EXPECT_NE(reply.find(E5_RANK), std::string::npos);
  EXPECT_NE(reply.find("turn: white"), std::string::npos);
}

TEST(HostileUci, GarbageFenKeepsThePositionAndItsMovesAreNotPlayed) {
  for (const std::string& fen : {std::string(""), std::string(300, 'K'), garbage(150, "KkPp\n", 3),
                                 std::string("4k3/8/8/8/8/8/8/KKKK4 w - - 0 1")}) {
    const std::string reply = uci("position startpos moves e2e4\nposition fen " + fen + " moves e7e5\ndisp\n");
    EXPECT_EQ(reply.rfind("info string invalid FEN: not exactly one king of each colour\n", 0), 0u) << reply;
    EXPECT_EQ(reply.find("Illegal"), std::string::npos);
    EXPECT_NE(reply.find(E4_RANK), std::string::npos);
    EXPECT_NE(reply.find("turn: black"), std::string::npos);
  }
}

TEST(HostileUci, ThousandsOfMovesStopAtTheStackAndTheEngineGoesOn) {
  // 3000 plies fit in one line; 5000 plies (25,000 characters) come in pieces
  // whose first words are moves given as commands, which are never played.
  for (int plies : {3000, 5000}) {
    std::string line = "position startpos moves";
    for (int i = 0; i < plies / 4; ++i) line += " g1f3 g8f6 f3g1 f6g8";
    const std::string reply =
        uci(line + "\ndisp\nmoves\ngo depth 4\nisready\nposition startpos moves e2e4\ndisp\nmoves\ngo depth 1\n");
    EXPECT_EQ(reply.rfind("info string too many moves\n", 0), 0u) << plies;
    EXPECT_EQ(count_of(reply, "too many moves"), 1u) << plies;
    if (plies == 3000) {
      EXPECT_EQ(reply.find("Illegal"), std::string::npos);
    }
    // Whole cycles were applied: the start position, white to move.
    EXPECT_NE(reply.find(START_RANK_1 + "\n\n     a  b  c  d  e  f  g  h \n\nply: 449, turn: white"), std::string::npos)
        << plies;
    EXPECT_NE(reply.find("readyok\n"), std::string::npos);
    EXPECT_NE(reply.find(E4_RANK), std::string::npos);
    expect_legal_bestmoves(reply, 2);
  }
}

TEST(HostileUci, TheLogKeepsOneReceivedLinePerLine) {
  // A NUL-only line is an empty line; pieces of an overlong line and a last
  // line without a newline still end their log line.
  const std::string dir = make_temp_dir();
  write_file(dir, "Zolt.cfg", "Logging=1\n");
  const RunResult r = run_fed("uci\n" + raw("\0\n") + "isready\n" + std::string(20000, 'x') + "\nquit", dir);
  EXPECT_EQ(r.exit_status, 0);
  const std::string log = read_file(dir, "Zolt.log");
  const std::string received = ">>> RECEIVED FROM GUI >>> ";
  const size_t first = log.find(received);
  ASSERT_NE(first, std::string::npos) << log;
  const std::string tail = log.substr(first);
  EXPECT_EQ(tail.rfind(received + "isready\n" + received + "xxx", 0), 0u) << tail.substr(0, 100);
  EXPECT_EQ(count_of(tail, "\n" + received) + 1, count_of(tail, "\n"));  // the last newline ends the log
  EXPECT_TRUE(ends_with(tail, "\n" + received + "quit\n"));
}

// ---------------------------------------------------------------- go

TEST(HostileGo, OverflowingAndNegativeFieldsStillGiveALegalMove) {
  const char* const lines[] = {
      "go wtime 99999999999999999999 btime 99999999999999999999",
      "go wtime -5000 btime -5000 winc -100 binc -100",
      "go movestogo 0 wtime 1000",
      "go movestogo 99999999999999999999 wtime 1000",
      "go movestogo -3 wtime 1000",
      "go winc 99999999999999999999",
      "go wtime 1000 winc 99999999999999999999",
      "go movetime 99999999999999999999",
      "go movetime -1",
      "go depth 0",
      "go depth -5",
      "go depth 99999999999",
      "go nodes 99999999999999999999 mate -1",
  };
  ZoltSession session;
  session.send("uci\n");
  session.read_until("uciok\n");
  for (const char* line : lines) {
    // The stop is already waiting when the search starts: the first poll
    // must see it, or the loop reads it after a search that ended by itself.
    session.send(std::string("position startpos\nmoves\n") + line + "\nstop\nisready\n");
    const std::string text = session.read_until("readyok\n", GENEROUS_MS);
    ASSERT_TRUE(session.last_read_found()) << line;
    expect_legal_bestmoves(text, 1);
    EXPECT_EQ(text.find("Illegal"), std::string::npos) << line;
  }
  session.send("quit\n");
  EXPECT_EQ(session.wait_exit(GENEROUS_MS), 0);
}

TEST(HostileGo, StopWithAWindowsLineEndEndsAnInfiniteSearch) {
  ZoltSession session;
  session.send("uci\r\nposition startpos\r\nmoves\r\ngo infinite\r\n");
  session.read_until("info depth 3", GENEROUS_MS);
  ASSERT_TRUE(session.last_read_found());
  session.send("stop\r\n");
  session.read_until("bestmove ", 30000);
  ASSERT_TRUE(session.last_read_found());
  session.send("isready\r\nquit\r\n");
  EXPECT_EQ(session.wait_exit(GENEROUS_MS), 0);
  expect_legal_bestmoves(session.all_output(), 1);
  EXPECT_EQ(count_of(session.all_output(), "readyok\n"), 1u);
}

TEST(HostileGo, HugeLinesDuringASearchAreDroppedAndStopStillWorks) {
  // 200,000 characters without a newline overflow the input buffer of the
  // poll, which then takes the buffer as one line.
  ZoltSession session;
  session.send("uci\nposition startpos\nmoves\ngo infinite\n");
  session.read_until("info depth 2", GENEROUS_MS);
  ASSERT_TRUE(session.last_read_found());
  session.send(raw("\0\0\0\n"));
  const std::string huge(200000, 'z');
  for (size_t at = 0; at < huge.size(); at += 8192) {
    session.send(huge.substr(at, 8192));
    session.read_until(NEVER_PRINTED, 1);  // the search keeps printing
  }
  session.send("\nstop\nisready\n");
  const std::string text = session.read_until("readyok\n", GENEROUS_MS);
  ASSERT_TRUE(session.last_read_found());
  EXPECT_EQ(text.find("Illegal"), std::string::npos);
  expect_legal_bestmoves(session.all_output(), 1);
  session.send("quit\n");
  EXPECT_EQ(session.wait_exit(GENEROUS_MS), 0);
}

// ---------------------------------------------------------------- files

TEST(HostileConfig, OverflowGarbageLongLinesAndNoFinalNewline) {
  const std::string dir = make_temp_dir();
  const std::string long_comment = "#" + std::string(248, 'c') + "WhiteKnight=333 " + std::string(9700, 'c');
  const std::string long_name = "Logfile=" + std::string(10000, 'q');
  write_file(dir, "Zolt.cfg",
             garbage(3000, "", 11) + "\n" + raw("Black\0Pawn=7\n") + long_comment + "\n" + long_name + "\n" +
                 "Hash=99999999999999999999\nNullmove=-1\nWhitePawn=99999999999999999999\n"
                 "BlackKnight=310\nLogging=1");
  const std::string out = console("values\nsd 2\ne2e4\nquit\n", dir);
  EXPECT_NE(out.find("\nwhite pawn: 9999999\nwhite knight: 300\n"), std::string::npos) << out;
  EXPECT_NE(out.find("\nblack knight: 310\nblack pawn: 100"), std::string::npos) << out;
  EXPECT_NE(out.find("\nZolt moves: "), std::string::npos);
  // The comment stays a comment past its 249th character (no knight of 333);
  // the long name is cut to what fits in one line.
  const std::string log = read_file(dir, std::string(241, 'q'));
  // The overflowing Hash is clamped to the largest table, or what the machine gives.
  const std::string hash_prefix = "\nnullmove set to depth: 0\nhashsize: ";
  const size_t hash_at = log.find(hash_prefix);
  ASSERT_NE(hash_at, std::string::npos) << log.substr(0, 400);
  const size_t value_at = hash_at + hash_prefix.size();
  const std::string hash_text = log.substr(value_at, log.find('\n', value_at) - value_at);
  EXPECT_GT(std::stoi(hash_text), 0) << hash_text;
  EXPECT_LE(std::stoi(hash_text), 4096) << hash_text;
  EXPECT_EQ(hash_text.find("not yet implemented"), std::string::npos) << hash_text;
  EXPECT_NE(log.find("\nzolt: e2e4"), std::string::npos);
}

TEST(HostileSuite, HugeCountsMissingDigitsLongAndInvalidLines) {
  const std::string dir = make_temp_dir();
  const std::string start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
  const std::string stalemate = "7k/5Q2/6K1/8/8/8/8/8 b - -";
  const std::string kings = "4k3/8/8/8/8/8/8/4K3 w - -";
  write_file(dir, "perftsuite.epd",
             // 2^64 + 20 and 2^64 would wrap to the true counts 20 and 0.
             start + " ;D1 18446744073709551636 ;D2 400\n" + stalemate + " ;D1 18446744073709551616 ;D2 0\n" + start +
                 " ;D1 20 ;D2 99999999999999999999 ;D3 8902\n" +
                 // ";D" and ";D0" are passed over; ";D9" without digits expects 0.
                 stalemate + " ;D ;D0 5 ;D9\n" +
                 // Beyond 249 characters nothing is read, and the rest is no line of its own.
                 kings + " ;D1 5 ;D2 25 " + std::string(260, 'x') + " ;D3 170\n" + "garbage ;D1 1 ;D2 2\n" + kings +
                 " ;D1 5 ;D2 25");
  const std::string out = without_times(console("testmovegen\nfen\nperft 1\n", dir));
  const std::string report = without_times(read_file(dir, "log_epd.txt"));
  for (const std::string& text : {out, report}) {
    EXPECT_NE(text.find("\nPerft (1): 20 nodes, T, [-1], FALSE\nPerft (2): 400 nodes, T, [400], OK"), std::string::npos)
        << text;
    EXPECT_NE(text.find("\nPerft (1): 0 nodes, T, [-1], FALSE\nPerft (2): 0 nodes, T, [0], OK"), std::string::npos);
    EXPECT_NE(text.find("\nPerft (2): 400 nodes, T, [18446744073709551615], FALSE\nPerft (3): 8902 nodes, T, [8902], OK"),
              std::string::npos);
    EXPECT_NE(text.find("\nPerft (8): 0 nodes, T, [18446744073709551516], FALSE\nPerft (9): 0 nodes, T, [0], OK"),
              std::string::npos);
    EXPECT_EQ(text.find("[170]"), std::string::npos);
    EXPECT_EQ(count_of(text, "invalid FEN: not exactly one king of each colour"), 1u);
  }
  // Matched: 1 + 1 + 2 + 1 + 2 + 2; failed: 1 + 1 + 1 + 8 + 2.
  EXPECT_NE(out.find("\nsummary:\ntested 7 different position(s) and made 9 perft call(s)\n13 position(s) failed\n"),
            std::string::npos)
      << out;
  EXPECT_NE(report.find("\n\ntested 7 different position(s) and made 9 perft call(s)\n13 position(s) failed"),
            std::string::npos);
  EXPECT_NE(out.find("\nfen: 4k3/8/8/8/8/8/8/4K3 w - - 0 1\n" + PROMPT + "\nPerft (1): 5 nodes"), std::string::npos);
}
