// Transcripts of the console shell through the real binary.
#include <gtest/gtest.h>

#include <string>

#include "harness.h"

using zolt_test::run_zolt;

namespace {

const std::string PROMPT = "\nzolt: ";
const std::string BANNER_FIRST_LINE = "Zolt version: 0.0360 - Quarnwell\n";

// Output after the start-up text (banner, config warning, blank line).
std::string after_start(const std::string& output) {
  size_t at = output.find("warning: couldn't open Zolt.cfg\n");
  if (at == std::string::npos) return output;
  return output.substr(at + std::string("warning: couldn't open Zolt.cfg\n").size());
}

int count_of(const std::string& text, const std::string& needle) {
  int n = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

const std::string START_BOARD =
    "\n\n8   {r}{n}{b}{q}{k}{b}{n}{r}"
    "\n\n7   {p}{p}{p}{p}{p}{p}{p}{p}"
    "\n\n6    .  .  .  .  .  .  .  . "
    "\n\n5    .  .  .  .  .  .  .  . "
    "\n\n4    .  .  .  .  .  .  .  . "
    "\n\n3    .  .  .  .  .  .  .  . "
    "\n\n2   [P][P][P][P][P][P][P][P]"
    "\n\n1   [R][N][B][Q][K][B][N][R]"
    "\n\n     a  b  c  d  e  f  g  h \n";

}  // namespace

TEST(Shell, StartUpWithoutConfigThenEndOfInput) {
  auto r = run_zolt("");
  EXPECT_EQ(r.exit_status, 0);
  ASSERT_EQ(r.output.rfind(BANNER_FIRST_LINE, 0), 0u) << r.output;
  size_t second_line_end = r.output.find('\n', BANNER_FIRST_LINE.size());
  ASSERT_NE(second_line_end, std::string::npos);
  EXPECT_EQ(r.output.substr(second_line_end + 1), "warning: couldn't open Zolt.cfg\n" + PROMPT);
}

TEST(Shell, HelpListsTheCommands) {
  auto r = run_zolt("help\n");
  EXPECT_EQ(after_start(r.output),
            PROMPT +
                "Options in ZOLT 0.0360 - Quarnwell"
                "\nquit: \t\tterminates the program"
                "\nuci:   \t\tswitches to uci-mode"
                "\ne2e4: \t\tmoves piece"
                "\ne7e8Q: \t\tpromotion move resulting in Queen [Q,R,B,N]"
                "\nst #:  \t\tsets search time per move (1-300s)"
                "\nsd #:  \t\tsets search depth (1-9)"
                "\nundo: \t\ttakes back last move"
                "\nnew:   \t\tresets board to initial state"
                "\nclear: \t\tredraws the console"
                "\ndisp: \t\tshows the board"
                "\ndivide #: \toutputs the numbers of child moves"
                "\ndivide2 #: \toutputs the total numbers of child moves"
                "\nperft #: \tcounts nodes at given depth"
                "\nperft2 #: \tcounts all nodes to given depth"
                "\nsetboard <FEN>: reads a fen-string"
                "\nfen:   \t\toutputs FEN of board position"
                "\ninfo: \t\toutputs data-struct"
                "\neval:  \t\tevaluates position"
                "\nanalyze:   \tinfinite analysis"
                "\ntestmovegen: \truns a testsuite file (perft for different positions)"
                "\nstack:   \tshows move-stack"
                "\nsort: \t\tgives sorted move-list for Alpha-Beta"
                "\nshow: \t\tgives valid moves for current pos.\n" +
                PROMPT);
}

TEST(Shell, DispFenVerClearAndEmptyLinesAtStart) {
  auto r = run_zolt("disp\nfen\nver\n\n   \t\nclear\n");
  EXPECT_EQ(after_start(r.output),
            PROMPT + START_BOARD +
                "\nply: 1, turn: white\ncastling: QKqk\nwhite king: e1 black king: e8" + PROMPT +
                "\nfen: rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\n" + PROMPT + "Version: 0.0360" +
                PROMPT + PROMPT + PROMPT + "\033[2J\033[H" + PROMPT);
  EXPECT_EQ(r.exit_status, 0);
}

TEST(Shell, QuitIsCaseSensitiveAndOnlyTheFirstWordCounts) {
  auto r = run_zolt("QUIT\nQuit\n  quit now\ndisp\n");
  EXPECT_EQ(r.exit_status, 0);
  std::string tail = after_start(r.output);
  EXPECT_NE(tail.find("QUIT"), std::string::npos);
  EXPECT_NE(tail.find("Quit"), std::string::npos);
  EXPECT_EQ(tail.find("[K]"), std::string::npos) << "disp after quit must not run";
  EXPECT_EQ(count_of(tail, PROMPT), 3);
}

TEST(Shell, LongLinesAreReadInPiecesOf249) {
  // 249 blanks form an empty first piece; "quit" then stands alone in the second.
  auto r = run_zolt(std::string(249, ' ') + "quit\ndisp\n");
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(after_start(r.output), PROMPT + PROMPT);

  // A 253-character line: "ver" padded to 249, then "fen" as its own piece.
  std::string line = "ver" + std::string(246, ' ') + "fen\n";
  r = run_zolt(line);
  EXPECT_EQ(after_start(r.output), PROMPT + "Version: 0.0360" + PROMPT +
                                       "\nfen: rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\n" + PROMPT);
}

TEST(Shell, SetboardAndFenRoundTrips) {
  struct Case {
    const char* line;
    const char* fen;
  } cases[] = {
      {"setboard 8/8/8/8/8/8/8/K6k b - - 12 40", "8/8/8/8/8/8/8/K6k b - - 12 40\n"},
      {"setboard 4k3/8/8/8/8/8/8/4K3 w - - 16 26", "4k3/8/8/8/8/8/8/4K3 w - - 16 26\n"},
      {"setboard r3k2r/8/8/8/8/8/8/R3K2R w kq - 0 1", "r3k2r/8/8/8/8/8/8/R3K2R w kq - 0 1\n"},
      // "k" is tried before "q" only once: the leftover "k" makes both clocks 0.
      {"setboard r3k2r/8/8/8/8/8/8/R3K2R w qk - 5 9", "r3k2r/8/8/8/8/8/8/R3K2R w q - 0 1\n"},
      {"setboard rnbqkbnr/pppp1ppp/8/4p3/8/8/PPPPPPPP/RNBQKBNR w KQkq e 0 2",
       "rnbqkbnr/pppp1ppp/8/4p3/8/8/PPPPPPPP/RNBQKBNR w KQkq e6 0 2\n"},
      {"setboard rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e 0 1",
       "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1\n"},
      {"setboard rnbqkbnrpppppppp8888PPPPPPPPRNBQKBNR w KQkq - 0 1",
       "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\n"},
      // A blank before the word: the reader takes the b and r of "setboard" as pieces.
      {" setboard 4k3/8/8/8/8/8/8/4K3 w - - 0 1", "br4k1/8/8/8/8/8/8/4K3 w - - 0 1\n"},
  };
  for (const Case& c : cases) {
    auto r = run_zolt(std::string(c.line) + "\nfen\n");
    EXPECT_EQ(after_start(r.output), PROMPT + PROMPT + "\nfen: " + c.fen + PROMPT) << c.line;
  }
}

TEST(Shell, UnplayableFenIsRefusedAndThePositionKept) {
  auto r = run_zolt("setboard 8/8/8/8/8/8/8/8 w - - 0 1\nfen\n");
  std::string tail = after_start(r.output);
  EXPECT_EQ(tail.rfind(PROMPT + "\ninvalid FEN: ", 0), 0u) << tail;
  EXPECT_NE(tail.find("\nfen: rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\n"), std::string::npos);
}

TEST(Shell, DispShowsSideCastlingAndEnPassant) {
  auto r = run_zolt("setboard r3k3/8/8/3pP3/8/8/8/4K2R w Kq d6 0 30\ndisp\n");
  std::string tail = after_start(r.output);
  EXPECT_NE(tail.find("\n\n8   {r} .  .  . {k} .  .  . "), std::string::npos) << tail;
  EXPECT_NE(tail.find("\n\n5    .  .  . {p}[P] .  .  . "), std::string::npos);
  EXPECT_NE(tail.find("\nply: 30, turn: white\ncastling: -Kq-\nwhite king: e1 black king: e8\nEP-field: d6" + PROMPT),
            std::string::npos)
      << tail;
  r = run_zolt("setboard 4k3/8/8/8/8/8/8/4K3 b - - 0 7\ndisp\n");
  EXPECT_NE(r.output.find("\nply: 7, turn: black\ncastling: ----\nwhite king: e1 black king: e8" + PROMPT),
            std::string::npos)
      << r.output;
}

TEST(Shell, UciHandsOverForGood) {
  auto r = run_zolt("uci\nquit\ndisp\n");
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_NE(r.output.find("uciok"), std::string::npos);
  EXPECT_EQ(r.output.find("[K]"), std::string::npos);
}

TEST(Shell, NumbersAreReadAtFixedColumns) {
  auto r = run_zolt("st30\nst 5x\nst  -7\nsd");
  EXPECT_EQ(after_start(r.output), PROMPT + "\ninput correct ?: st30" + PROMPT +
                                       "\nset search time per move to 5s\n" + PROMPT +
                                       "\nsearch time out of bounds, valid values: 1-300s\n" + PROMPT +
                                       // A last line without a newline ends before the number's column.
                                       "\nsd 0\nsearch depth out of bounds, valid depths: 2-9\n" + PROMPT);
}
