// Transcripts of the UCI loop through the real binary: the announcement, the
// position command with its failure cases, the diagnostic words, Chess960
// castling, logging, and how the loop treats lines that arrive during a search.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "harness.h"

namespace {

using zolt_test::run_zolt;
using zolt_test::ZoltSession;

const char* const ANNOUNCEMENT =
    "\nZOLT-Quarnwell"
    "\nchess engine in UCI mode"
    "\nhave fun\n"
    "id name Zolt 0.0360\n"
    "id author Brenvik\n"
    "option name useInternalOpeningBook type check default false\n"
    "option name ponder type check default true\n"
    "option name UCI_Chess960 type check default false\n"
    "option name Hash type spin default 0 min 0 max 4096\n"
    "option name Clear Hash type button\n"
    "option name BookFile type string default book.bin\n"
    "option name BookDepth type spin default 0 min 0 max 200\n"
    "option name BestBookMove type check default false\n"
    "option name MultiPV type spin default 1 min 1 max 64\n"
    "option name Move Overhead type spin default 0 min 0 max 5000\n"
    "uciok\n";

// Everything the engine printed after "uciok" for the given UCI commands.
std::string uci_reply(const std::string& commands, const std::string& dir = "") {
  auto result = run_zolt("uci\n" + commands, 60000, dir);
  EXPECT_EQ(result.exit_status, 0);
  size_t at = result.output.find("uciok\n");
  if (at == std::string::npos) return "<no uciok> " + result.output;
  return result.output.substr(at + 6);
}

// One rank of the board display, e.g. rank_line(4, " .  .  .  . [P] .  .  . ").
std::string rank_line(int rank, const std::string& cells) { return "\n\n" + std::to_string(rank) + "   " + cells; }

const std::string START_RANK_8 = rank_line(8, "{r}{n}{b}{q}{k}{b}{n}{r}");
const std::string START_RANK_1 = rank_line(1, "[R][N][B][Q][K][B][N][R]");

// The lines after a "moves" header, as a sorted list.
std::vector<std::string> listed_moves(const std::string& reply, int* count) {
  std::vector<std::string> moves;
  size_t at = reply.find(" legal moves:\n");
  if (at == std::string::npos) return moves;
  size_t number_start = reply.rfind('\n', at) + 1;
  *count = std::stoi(reply.substr(number_start, at - number_start));
  size_t pos = at + 14;
  for (int i = 0; i < *count; ++i) {
    size_t end = reply.find('\n', pos);
    if (end == std::string::npos) break;
    moves.push_back(reply.substr(pos, end - pos));
    pos = end + 1;
  }
  std::sort(moves.begin(), moves.end());
  return moves;
}

std::string stockfish_path() {
  for (const char* path : {"/usr/games/stockfish", "/usr/bin/stockfish", "/usr/local/bin/stockfish"})
    if (FILE* f = fopen(path, "r")) {
      fclose(f);
      return path;
    }
  return "";
}

// Stockfish's legal moves of a position, promotion letters dropped (as "moves" prints them).
std::vector<std::string> stockfish_moves(const std::string& sf, const std::string& fen, bool chess960) {
  std::string dir = zolt_test::make_temp_dir();
  std::string script = std::string(chess960 ? "setoption name UCI_Chess960 value true\n" : "") +
                       "position fen " + fen + "\ngo perft 1\nquit\n";
  zolt_test::write_file(dir, "in.txt", script);
  std::string command = sf + " < " + dir + "/in.txt";
  std::vector<std::string> moves;
  FILE* pipe = popen(command.c_str(), "r");
  char line[256];
  while (pipe && fgets(line, sizeof line, pipe)) {
    std::string text(line);
    size_t colon = text.find(": ");
    if (colon == 4 || colon == 5) moves.push_back(text.substr(0, 4));
  }
  if (pipe) pclose(pipe);
  std::sort(moves.begin(), moves.end());
  return moves;
}

TEST(UciLoop, AnnouncesItselfBeforeReadingAndEndsOnQuit) {
  auto result = run_zolt("uci\nquit\nisready\n");
  EXPECT_EQ(result.exit_status, 0);
  size_t at = result.output.find("\nZOLT-Quarnwell");
  ASSERT_NE(at, std::string::npos);
  // Nothing follows the announcement: "quit" ends before "isready" is read.
  EXPECT_EQ(result.output.substr(at), ANNOUNCEMENT);
}

TEST(UciLoop, EndOfInputEndsTheProgram) {
  auto result = run_zolt("uci\n");
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_FALSE(result.timed_out);
}

TEST(UciLoop, IsreadyAnswersAndEmptyLinesAreIgnored) {
  EXPECT_EQ(uci_reply("isready\n\n\nisready\r\nstop\ndebug on\ndraw\n"), "readyok\nreadyok\n");
}

TEST(UciLoop, WordsThatAreNoCommandAreIllegalMoves) {
  EXPECT_EQ(uci_reply("uci\nponderhit\nQuit\n"),
            "\nIllegal move: uci\n\nIllegal move: ponderhit\n\nIllegal move: Quit\n");
}

TEST(UciLoop, LegalMoveAsCommandIsRecognisedButNotPlayed) {
  std::string reply = uci_reply("e2e4\ne2e5\ndisp\n");
  EXPECT_EQ(reply.substr(0, 40), "\not yet implemented\n\nIllegal move: e2e5\n");
  EXPECT_NE(reply.find(rank_line(2, "[P][P][P][P][P][P][P][P]")), std::string::npos);
  EXPECT_NE(reply.find("turn: white"), std::string::npos);
}

TEST(UciLoop, StartsFromTheInitialPosition) {
  std::string reply = uci_reply("disp\nmoves\n");
  EXPECT_NE(reply.find(START_RANK_8), std::string::npos);
  EXPECT_NE(reply.find(START_RANK_1), std::string::npos);
  EXPECT_NE(reply.find("\n20 legal moves:\n"), std::string::npos);
}

TEST(UciPosition, StartposWithMovesAndIllegalTokens) {
  std::string reply = uci_reply("position startpos moves e2e4 e7e5\ndisp\n");
  EXPECT_NE(reply.find(rank_line(5, " .  .  .  . {p} .  .  . ")), std::string::npos);
  EXPECT_NE(reply.find(rank_line(4, " .  .  .  . [P] .  .  . ")), std::string::npos);
  EXPECT_NE(reply.find("turn: white"), std::string::npos);

  // An illegal move is skipped; the next ones are tried against the position left so far.
  reply = uci_reply("position startpos moves e2e4 e9e5 g1f3\ndisp\n");
  EXPECT_EQ(reply.substr(0, 42), "\nIllegal move: e9e5\n\nIllegal move: g1f3\n\n\n");
  EXPECT_NE(reply.find(rank_line(4, " .  .  .  . [P] .  .  . ")), std::string::npos);
  EXPECT_NE(reply.find(rank_line(1, "[R][N][B][Q][K][B][N][R]")), std::string::npos);
  EXPECT_NE(reply.find("turn: black"), std::string::npos);

  reply = uci_reply("position startpos moves e2e4 e7e5 g1f3\ndisp\n");
  EXPECT_EQ(reply.find("Illegal"), std::string::npos);
  EXPECT_NE(reply.find(rank_line(3, " .  .  .  .  . [N] .  . ")), std::string::npos);
  EXPECT_NE(reply.find("turn: black"), std::string::npos);

  // Two blanks give an empty token; a token of any length is named in full.
  const std::string garbage(100, 'x');
  reply = uci_reply("position startpos moves e2e4  e7e5 " + garbage + " g1f3\ndisp\n");
  EXPECT_EQ(reply.rfind("\nIllegal move: \n\nIllegal move: " + garbage + "\n\n", 0), 0u) << reply.substr(0, 200);
  EXPECT_NE(reply.find(rank_line(3, " .  .  .  .  . [N] .  . ")), std::string::npos);
  EXPECT_NE(reply.find("turn: black"), std::string::npos);
}

TEST(UciPosition, EachPositionStartsAfresh) {
  std::string reply = uci_reply("position startpos moves e2e4\nposition startpos moves d2d4\ndisp\n");
  EXPECT_NE(reply.find(rank_line(4, " .  .  . [P] .  .  .  . ")), std::string::npos);
  EXPECT_NE(reply.find(rank_line(2, "[P][P][P] . [P][P][P][P]")), std::string::npos);
  reply = uci_reply("position startpos moves e2e4\nucinewgame\ndisp\n");
  EXPECT_NE(reply.find(rank_line(2, "[P][P][P][P][P][P][P][P]")), std::string::npos);
  EXPECT_NE(reply.find("turn: white"), std::string::npos);
}

TEST(UciPosition, FenWithPromotionToRook) {
  std::string reply = uci_reply("position fen 8/P7/8/8/8/8/8/k6K w - - 0 1 moves a7a8r\ndisp\n");
  EXPECT_EQ(reply.find("Illegal"), std::string::npos);
  EXPECT_NE(reply.find(rank_line(8, "[R] .  .  .  .  .  .  . ")), std::string::npos);
  EXPECT_NE(reply.find("turn: black"), std::string::npos);
}

TEST(UciPosition, RefusedFenKeepsThePreviousPositionAndPlaysNoMoves) {
  std::string reply = uci_reply("position startpos moves e2e4\nposition fen 8/8/8/8/8/8/8/8 w - - 0 1 moves a1a2\ndisp\n");
  ASSERT_EQ(reply.rfind("info string invalid FEN: ", 0), 0u) << reply;
  size_t end = reply.find('\n');
  EXPECT_GT(end, 25u);  // a reason follows
  EXPECT_EQ(reply.find("Illegal"), std::string::npos);
  EXPECT_NE(reply.find(rank_line(4, " .  .  .  . [P] .  .  . ")), std::string::npos);
  EXPECT_NE(reply.find("turn: black"), std::string::npos);
}

TEST(UciPosition, TooManyMovesStopsBeforeTheStackOverflows) {
  // Knights out and back: 250 cycles of four plies, far more than a game can hold.
  std::string line = "position startpos moves";
  for (int i = 0; i < 250; ++i) line += " g1f3 g8f6 f3g1 f6g8";
  std::string reply = uci_reply(line + "\ndisp\ngo depth 2\nisready\n");
  EXPECT_EQ(reply.rfind("info string too many moves\n", 0), 0u) << reply.substr(0, 200);
  EXPECT_EQ(reply.find("info string too many moves", 10), std::string::npos);  // said once
  EXPECT_EQ(reply.find("Illegal"), std::string::npos);
  // The moves applied are whole cycles, so the start position is on the board again.
  EXPECT_NE(reply.find(START_RANK_1), std::string::npos);
  EXPECT_NE(reply.find("turn: white"), std::string::npos);
  EXPECT_NE(reply.find("bestmove "), std::string::npos);
  EXPECT_NE(reply.find("readyok\n"), std::string::npos);
}

TEST(UciPosition, LongestPlayableLineArrivesWhole) {
  // 880 plies of five characters: more than 4096 characters in one line.
  std::string line = "position startpos moves";
  for (int i = 0; i < 220; ++i) line += " b1c3 b8c6 c3b1 c6b8";
  ASSERT_GT(line.size(), 4400u);
  std::string reply = uci_reply(line + " e2e4\ndisp\n");
  EXPECT_EQ(reply.find("Illegal"), std::string::npos);
  EXPECT_EQ(reply.find("too many"), std::string::npos);
  EXPECT_NE(reply.find(rank_line(4, " .  .  .  . [P] .  .  . ")), std::string::npos);
  EXPECT_NE(reply.find("turn: black"), std::string::npos);
}

TEST(UciOptions, Chess960CastlingIsWrittenKingTakesRook) {
  const std::string fen = "r3k2r/8/8/8/8/8/8/R3K2R w HAha - 0 1";
  std::string reply = uci_reply("setoption name UCI_Chess960 value true\nposition fen " + fen +
                                " moves e1h1\ndisp\n");
  EXPECT_EQ(reply.find("Illegal"), std::string::npos) << reply;
  EXPECT_NE(reply.find(rank_line(1, "[R] .  .  .  . [R][K] . ")), std::string::npos);

  reply = uci_reply("setoption name UCI_Chess960 value true\nposition fen " + fen + " moves e1g1\n");
  EXPECT_EQ(reply.rfind("\nIllegal move: e1g1\n", 0), 0u);

  // Switched off again, castling is written with the king's destination.
  reply = uci_reply("setoption name UCI_Chess960 value true\nsetoption name UCI_Chess960 value false\n"
                    "position fen r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1 moves e1g1\ndisp\n");
  EXPECT_EQ(reply.find("Illegal"), std::string::npos);
  EXPECT_NE(reply.find(rank_line(1, "[R] .  .  .  . [R][K] . ")), std::string::npos);
}

// The log's copy of the time settings shows the budget: the overhead comes
// off the clock first, and a value beyond the range counts as its end.
TEST(UciOptions, MoveOverheadComesOffTheClock) {
  const struct {
    const char* setoption;
    const char* calctime;
  } cases[] = {
      {"", "calctime: 2000\n"},  // 60000 / 30
      {"setoption name Move Overhead value 3000\n", "calctime: 1900\n"},
      {"setoption name move overhead value 99999\n", "calctime: 1833\n"},  // 5000 off the clock
      {"setoption name Move Overhead value 3000\nsetoption name Move Overhead value 0\n", "calctime: 2000\n"},
      {"setoption name Move Overhead value 3000\nsetoption name Move Overhead value x\n", "calctime: 1900\n"},
  };
  for (const auto& c : cases) {
    std::string dir = zolt_test::make_temp_dir();
    zolt_test::write_file(dir, "Zolt.cfg", "Logging=true\n");
    const std::string reply =
        uci_reply(std::string(c.setoption) + "go wtime 60000 btime 60000 depth 1\nisready\n", dir);
    EXPECT_NE(reply.find("bestmove "), std::string::npos) << reply;
    const std::string log = zolt_test::read_file(dir, "Zolt.log");
    EXPECT_NE(log.find(c.calctime), std::string::npos) << c.setoption << log;
  }
}

TEST(UciOptions, OtherOptionsChangeNothing) {
  EXPECT_EQ(uci_reply("setoption name ponder value false\nsetoption name useInternalOpeningBook value true\n"
                      "setoption OwnBook true\nsetoption\nisready\n"),
            "readyok\n");
}

TEST(UciDiagnostics, ShowMovesAndDisp) {
  std::string reply = uci_reply("show\n");
  EXPECT_EQ(reply.rfind("\n20 legal moves:\n\n", 0), 0u);
  for (const char* move : {"e4 ", "e3 ", "a3 ", "h4 ", "Nf3 ", "Nc3 ", "Na3 ", "Nh3 "})
    EXPECT_NE(reply.find(move), std::string::npos) << move;

  reply = uci_reply("disp\n");
  EXPECT_EQ(reply.rfind("\n" + START_RANK_8, 0), 0u);
  EXPECT_EQ(reply.back(), '\n');

  reply = uci_reply("stack\n");
  EXPECT_EQ(reply.rfind("fuer Debug-Zwecke\n\nvon: ", 0), 0u);
  EXPECT_NE(reply.find("\nzug_nr: 1"), std::string::npos);

  reply = uci_reply("b_ausgabe\n");
  EXPECT_EQ(reply.rfind("fuer Debug-Zwecke\n" + START_RANK_8, 0), 0u);

  reply = uci_reply("val\n");
  EXPECT_EQ(reply.rfind("\n\n\n8   ", 0), 0u);
  EXPECT_NE(reply.find("\n\n1   "), std::string::npos);
  EXPECT_NE(reply.find("\n\n     a  b  c  d  e  f  g  h \n\n    "), std::string::npos);

  // Every answer ends its line, so an interface reading lines is never left waiting.
  for (const char* command : {"show\n", "moves\n", "disp\n", "val\n", "stack\n", "b_ausgabe\n"})
    EXPECT_EQ(uci_reply(command).back(), '\n') << command;
}

// "moves" lists every legal move once (a promotion once per piece, without its
// letter); Stockfish's own move list is the reference.
TEST(UciDiagnostics, MovesMatchStockfish) {
  std::string sf = stockfish_path();
  if (sf.empty()) GTEST_SKIP() << "stockfish not installed";
  struct Case {
    const char* fen;
    bool chess960;
  };
  const Case cases[] = {
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", false},
      {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", false},
      {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", false},
      {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", false},
      {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", false},
      {"bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9", true},
      {"2nnrbkr/p1qppppp/8/1ppb4/6PP/3PP3/PPP2P2/BQNNRBKR w HEhe - 1 9", true},
  };
  for (const Case& c : cases) {
    std::string prefix = c.chess960 ? "setoption name UCI_Chess960 value true\n" : "";
    std::string reply = uci_reply(prefix + "position fen " + c.fen + "\nmoves\n");
    int count = -1;
    std::vector<std::string> ours = listed_moves(reply, &count);
    std::vector<std::string> expected = stockfish_moves(sf, c.fen, c.chess960);
    EXPECT_EQ(count, static_cast<int>(expected.size())) << c.fen;
    EXPECT_EQ(ours, expected) << c.fen;
  }
}

TEST(UciLog, TrafficAndPositionCopyAreLogged) {
  std::string dir = zolt_test::make_temp_dir();
  zolt_test::write_file(dir, "Zolt.cfg", "Logging=true\n");
  std::string reply = uci_reply("isready\n\nposition startpos moves e2e4 e7e5\ne2e4\n", dir);
  EXPECT_EQ(reply, "readyok\n\nIllegal move: e2e4\n");
  std::string log = zolt_test::read_file(dir, "Zolt.log");
  EXPECT_NE(log.find(">>> RECEIVED FROM GUI >>> isready\n"), std::string::npos);
  EXPECT_NE(log.find(">>> RECEIVED FROM GUI >>> position startpos moves e2e4 e7e5\n"), std::string::npos);
  EXPECT_NE(log.find("\nfen: rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 2\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find(">>> RECEIVED FROM GUI >>> e2e4\n"), std::string::npos);
  // The empty line is not logged and the answers are not copied.
  EXPECT_EQ(log.find(">>> RECEIVED FROM GUI >>> \n"), std::string::npos);
  EXPECT_EQ(log.find("readyok"), std::string::npos);
}

TEST(UciSearch, GoBeforeAnyPositionPlaysALegalMove) {
  std::string reply = uci_reply("go depth 3\nisready\n");
  size_t at = reply.find("bestmove ");
  ASSERT_NE(at, std::string::npos) << reply;
  std::string move = reply.substr(at + 9, 4);
  // The move, then at most the reply it expects.
  const std::string rest = reply.substr(at + 13, reply.find('\n', at) - at - 13);
  EXPECT_TRUE(rest.empty() || rest.compare(0, 8, " ponder ") == 0) << rest;
  const std::vector<std::string> legal = {"a2a3", "a2a4", "b2b3", "b2b4", "c2c3", "c2c4", "d2d3",
                                          "d2d4", "e2e3", "e2e4", "f2f3", "f2f4", "g2g3", "g2g4",
                                          "h2h3", "h2h4", "b1a3", "b1c3", "g1f3", "g1h3"};
  EXPECT_NE(std::find(legal.begin(), legal.end(), move), legal.end()) << move;
  // "isready" may arrive while the search runs; it is answered either way.
  EXPECT_NE(reply.find("readyok\n"), std::string::npos);
}

TEST(UciSearch, NoLegalMoveGivesAnEmptyBestmove) {
  std::string reply = uci_reply("position fen 7k/6Q1/6K1/8/8/8/8/8 b - - 0 1\ngo depth 2\n");
  EXPECT_NE(reply.find("bestmove \n"), std::string::npos) << reply;
}

// Lines sent while the engine searches: "isready" is answered at once, a
// "position" stops the search and is carried out afterwards, the end of input
// lets the search finish with its move.
TEST(UciSearch, LinesDuringASearchAreNotLost) {
  ZoltSession session;
  session.send("uci\n");
  ASSERT_NE(session.read_until("uciok\n").find("uciok"), std::string::npos);
  session.send("go infinite\n");
  session.send("isready\n");
  std::string text = session.read_until("readyok\n", 10000);
  EXPECT_TRUE(session.last_read_found());
  EXPECT_EQ(text.find("bestmove"), std::string::npos);  // still searching
  session.send("position startpos moves e2e4\ndisp\n");
  text = session.read_until("turn: ", 20000);
  ASSERT_TRUE(session.last_read_found()) << text;
  EXPECT_LT(text.find("bestmove "), text.find("turn: "));
  text += session.read_until("\ncastling", 5000);
  EXPECT_NE(text.find("turn: black"), std::string::npos);
  session.send("go infinite\n");
  session.read_until("info depth", 10000);
  session.close_input();
  EXPECT_EQ(session.wait_exit(20000), 0);
  std::string all = session.all_output();
  size_t second_go = all.rfind("turn: black");
  EXPECT_NE(all.find("bestmove ", second_go), std::string::npos);
}

TEST(UciSearch, QuitDuringASearchEndsAfterTheBestmove) {
  ZoltSession session;
  session.send("uci\n");
  session.read_until("uciok\n");
  session.send("go infinite\n");
  session.read_until("info depth", 10000);
  session.send("quit\n");
  EXPECT_EQ(session.wait_exit(20000), 0);
  EXPECT_NE(session.all_output().find("bestmove "), std::string::npos);
}

}  // namespace
