// The UCI features that GUIs and match runners use in real play, through the
// real binary: pondering, "bestmove ... ponder", Chess960 starts as GUIs write
// them, small clock budgets, "go nodes", "go mate", "go searchmoves", and the
// current-move report.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "harness.h"
#include "uci_text.h"

namespace {

using zolt_test::bestmove;
using zolt_test::count_of;
using zolt_test::bestmove_line;
using zolt_test::field;
using zolt_test::iteration_lines;
using zolt_test::lines_starting;
using zolt_test::uci_search;
using zolt_test::uci_steps;
using zolt_test::ZoltSession;

// The legal moves of the UCI position, as the "moves" command lists them.
std::set<std::string> legal_moves(const std::string& position_line) {
  const std::string reply = uci_steps({{position_line + "moves\n", " legal moves:\n"}, {"isready\n", "readyok\n"}});
  std::set<std::string> moves;
  for (const std::string& line : lines_starting(reply.substr(reply.find(" legal moves:\n")), ""))
    if (line.size() == 4) moves.insert(line);
  return moves;
}

std::string ponder_move(const std::string& reply) {
  const std::string line = bestmove_line(reply);
  const size_t at = line.find(" ponder ");
  return at == std::string::npos ? "" : line.substr(at + 8);
}

// A session in UCI mode.
struct UciSession {
  ZoltSession session;
  explicit UciSession(const std::string& dir = "") : session(dir) {
    session.send("uci\n");
    session.read_until("uciok\n");
  }
  std::string ask(const std::string& text, const std::string& answer, int timeout_ms = 60000) {
    session.send(text);
    std::string reply = session.read_until(answer, timeout_ms);
    EXPECT_TRUE(session.last_read_found()) << text << " -> " << reply;
    return reply;
  }
  ~UciSession() {
    session.send("quit\n");
    EXPECT_EQ(session.wait_exit(20000), 0);
  }
};

// "info" lines without their time and nps, which differ from run to run.
std::string without_clock_fields(const std::string& text) {
  std::string kept;
  for (std::string line : lines_starting(text, "")) {
    for (const char* name : {" nps ", " time "}) {
      const size_t at = line.find(name);
      if (at != std::string::npos) line.erase(at, line.find(' ', at + strlen(name)) - at);
    }
    kept += line + "\n";
  }
  return kept;
}

}  // namespace

TEST(Pondering, PonderhitTurnsThePonderSearchIntoTheOrdinaryOne) {
  std::string dir = zolt_test::make_temp_dir();
  zolt_test::write_file(dir, "Zolt.cfg", "Logging=true\n");
  {
    UciSession uci(dir);
    std::string text = uci.ask("position startpos moves e2e4 e7e5\ngo ponder wtime 60000 btime 60000 winc 100 binc 100\n",
                               "info depth 5");
    // A ponder search has no time limit: it is still thinking, and answers isready.
    text += uci.ask("isready\n", "readyok\n");
    EXPECT_EQ(text.find("bestmove"), std::string::npos) << text;
    text = uci.ask("ponderhit\n", "bestmove ");
    text += uci.ask("isready\n", "readyok\n");
    EXPECT_EQ(count_of(text, "bestmove "), 1u) << text;
  }
  const std::string log = zolt_test::read_file(dir, "Zolt.log");
  EXPECT_NE(log.find(">>> RECEIVED FROM GUI >>> go ponder wtime 60000"), std::string::npos) << log;
  EXPECT_NE(log.find(">>> RECEIVED FROM GUI >>> ponderhit\n"), std::string::npos) << log;
}

TEST(Pondering, APonderSearchThatRanOutOfDepthWaitsForPonderhitOrStop) {
  UciSession uci;
  for (const char* ending : {"ponderhit\n", "stop\n"}) {
    std::string text = uci.ask("position startpos moves d2d4\ngo ponder depth 2\n", "info depth 3 ");
    text += uci.ask("isready\n", "readyok\n");
    EXPECT_EQ(text.find("bestmove"), std::string::npos) << text;
    // The answer is the best move of the finished iterations.
    const std::string last_pv = iteration_lines(text).back();
    text = uci.ask(ending, "bestmove ");
    text += uci.ask("isready\n", "readyok\n");
    EXPECT_EQ(bestmove(text), last_pv.substr(last_pv.find(" pv ") + 4, 4)) << ending << text;
  }
}

TEST(Pondering, StopAnswersAtOnceAndPonderhitWithoutASearchIsNoCommand) {
  UciSession uci;
  std::string text = uci.ask("position startpos moves e2e4\ngo ponder wtime 60000 btime 60000\n", "info depth 4");
  text = uci.ask("stop\n", "bestmove ");
  text += uci.ask("isready\n", "readyok\n");
  EXPECT_EQ(bestmove(text).size(), 4u) << text;
  text = uci.ask("ponderhit\nisready\n", "readyok\n");
  EXPECT_NE(text.find("Illegal move: ponderhit"), std::string::npos) << text;
  EXPECT_EQ(text.find("bestmove"), std::string::npos) << text;
}

TEST(Pondering, TheExpectedReplyIsLegalAfterTheBestMove) {
  const char* const positions[] = {
      "position startpos\n",
      "position fen r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1\n",
      "position fen 8/5P1k/8/8/8/8/8/K7 w - - 0 1\n",
      "position fen r1bqkbnr/pppp1ppp/2n5/4p3/3PP3/5N2/PPP2PPP/RNBQKB1R b KQkq d3 0 3\n",
  };
  for (const char* position : positions) {
    const std::string reply = uci_search(std::string(position) + "go depth 4\n");
    const std::string move = bestmove(reply), reply_move = ponder_move(reply);
    ASSERT_FALSE(reply_move.empty()) << position << reply;
    std::string line = position;
    line.pop_back();
    const std::set<std::string> legal = legal_moves(line + " moves " + move + "\n");
    EXPECT_EQ(legal.count(reply_move.substr(0, 4)), 1u) << position << bestmove_line(reply);
  }
  // A mate in one has no reply to expect.
  const std::string mate = uci_search("position fen 6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1\ngo depth 3\n");
  EXPECT_EQ(bestmove_line(mate), "a1a8") << mate;
}

TEST(Chess960Castling, StartposAndXFenHaveTheirRights) {
  UciSession uci;
  uci.ask("setoption name UCI_Chess960 value true\nisready\n", "readyok\n");
  // The opponent castles as king-takes-rook after "position startpos".
  std::string text = uci.ask(
      "position startpos moves e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 e1h1 f8c5\ndisp\n", "white king: ");
  text += uci.ask("isready\n", "readyok\n");
  EXPECT_EQ(text.find("Illegal move"), std::string::npos) << text;
  EXPECT_NE(text.find("white king: g1"), std::string::npos) << text;
  // X-FEN: KQkq in a position where each side castles on the other wing.
  text = uci.ask("position fen r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1 moves e1a1 e8h8\ndisp\n", "white king: ");
  text += uci.ask("isready\n", "readyok\n");
  EXPECT_EQ(text.find("Illegal move"), std::string::npos) << text;
  EXPECT_NE(text.find("white king: c1 black king: g8"), std::string::npos) << text;
  // An array with the kings on g1 and g8 in X-FEN: the a-side rook on b1.
  text = uci.ask("position fen 1r4kr/pppppppp/8/8/8/8/PPPPPPPP/1R4KR w KQkq - 0 1 moves g1b1 g8h8\ndisp\n",
                 "white king: ");
  text += uci.ask("isready\n", "readyok\n");
  EXPECT_EQ(text.find("Illegal move"), std::string::npos) << text;
  EXPECT_NE(text.find("white king: c1 black king: g8"), std::string::npos) << text;
}

TEST(SmallBudgets, OneSecondPlusTenMillisecondsStillSearchesSomePlies) {
  // A budget of 35 ms, below the 50 ms stop margin of longer budgets: the
  // search now gets past its first poll (node 257, two iterations).
  const std::string reply = uci_search("position startpos moves e2e4 e7e5\ngo wtime 1000 btime 1000 winc 10 binc 10\n");
  EXPECT_GE(iteration_lines(reply).size(), 3u) << reply;
  EXPECT_NE(bestmove(reply), "");
}

TEST(NodeLimit, StopsNearTheLimitAndRepeatsExactly) {
  const std::string first = uci_search("position startpos moves e2e4\ngo nodes 30000\n");
  const std::string second = uci_search("position startpos moves e2e4\ngo nodes 30000\n");
  EXPECT_EQ(without_clock_fields(first), without_clock_fields(second));
  const std::vector<std::string> infos = iteration_lines(first);
  ASSERT_GE(infos.size(), 4u) << first;
  EXPECT_LT(std::stoull(field(infos.back(), "nodes")), 30000u) << first;
  // Fewer nodes, an earlier stop.
  const std::string small = uci_search("position startpos moves e2e4\ngo nodes 2000\n");
  EXPECT_LT(iteration_lines(small).size(), infos.size()) << small;
}

TEST(MateLimit, EndsOnceTheMateIsFound) {
  // No clock: the search ends by itself once the mate in 2 is seen.
  const std::string reply =
      uci_search("position fen r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 1\ngo mate 2\n");
  const std::vector<std::string> infos = iteration_lines(reply);
  ASSERT_FALSE(infos.empty()) << reply;
  EXPECT_EQ(field(infos.back(), "mate"), "2") << reply;
  EXPECT_EQ(bestmove(reply), "d5f6") << reply;
  // Only the last iteration reports the mate.
  for (size_t i = 0; i + 1 < infos.size(); ++i) EXPECT_EQ(field(infos[i], "mate"), "") << infos[i];
}

TEST(SearchMoves, OnlyTheNamedRootMovesAreSearched) {
  const std::string reply = uci_search("position startpos\ngo depth 4 searchmoves a2a3 h2h4 e9e4\n");
  const std::vector<std::string> infos = iteration_lines(reply);
  ASSERT_EQ(infos.size(), 4u) << reply;
  for (const std::string& info : infos) {
    const std::string first = info.substr(info.find(" pv ") + 4, 4);
    EXPECT_TRUE(first == "a2a3" || first == "h2h4") << info;
  }
  const std::string move = bestmove(reply);
  EXPECT_TRUE(move == "a2a3" || move == "h2h4") << reply;
  // None of them legal: every move.
  const std::string all = uci_search("position startpos\ngo depth 2 searchmoves e2e5\n");
  EXPECT_EQ(bestmove(all), "e2e4") << all;
}

TEST(CurrentMove, NamesOnlyMovesOfTheRoot) {
  const char* const positions[] = {
      // Checks and single replies extend lines below the root to the iteration depth.
      "position fen r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
      "position fen 2rq1rk1/pp1bppbp/3p1np1/4n3/3NP3/1BN1BP2/PPPQ2PP/2KR3R w - - 0 12",
      // In check at the root: the root is extended itself.
      "position fen 4k3/8/8/8/1b6/8/3P4/R3K2R w KQ - 0 1",
  };
  size_t reports = 0;
  for (const char* position : positions) {
    const std::set<std::string> legal = legal_moves(std::string(position) + "\n");
    const std::string reply = uci_search(std::string(position) + "\ngo depth 6\n");
    for (const std::string& line : lines_starting(reply, "info depth ")) {
      const std::string move = field(line, "currmove");
      if (move.empty()) continue;
      ++reports;
      EXPECT_EQ(legal.count(move.substr(0, 4)), 1u) << position << "\n" << line;
      EXPECT_LE(std::stoul(field(line, "currmovenumber")), legal.size()) << line;
    }
  }
  EXPECT_GT(reports, 0u);
}
