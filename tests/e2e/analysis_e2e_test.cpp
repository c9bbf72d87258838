// What analysis interfaces rely on, through the real binary: MultiPV lines,
// "go infinite" answering only after "stop", mate scores in the current-move
// lines, and the console reply's table without an interrupted iteration.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"
#include "uci_text.h"

namespace {

using zolt_test::bestmove;
using zolt_test::count_of;
using zolt_test::field;
using zolt_test::iteration_lines;
using zolt_test::lines_starting;
using zolt_test::uci_search;
using zolt_test::uci_steps;
using zolt_test::ZoltSession;

// A score that orders mates above every centipawn score (and being mated below).
long comparable_score(const std::string& info) {
  const std::string mate = field(info, "mate");
  if (mate.empty()) return std::stol(field(info, "cp"));
  const long m = std::stol(mate);
  return m > 0 ? 100000000 - m : -100000000 - m;
}

std::string first_pv_move(const std::string& info) {
  size_t at = info.find(" pv ") + 4;
  return info.substr(at, info.find(' ', at) - at);
}

// The iteration lines grouped by depth, in the order printed.
std::map<int, std::vector<std::string>> lines_by_depth(const std::string& reply) {
  std::map<int, std::vector<std::string>> depths;
  for (const std::string& info : iteration_lines(reply)) depths[zolt_test::depth_of(info)].push_back(info);
  return depths;
}

// The legal moves of the position, as the UCI "moves" command lists them.
std::set<std::string> legal_moves(const std::string& position) {
  const std::string reply = uci_search(position + "moves\ngo depth 1\n");
  std::set<std::string> moves;
  std::istringstream in(reply.substr(0, reply.find("info depth")));
  std::string line;
  while (std::getline(in, line))
    if (line.size() == 4) moves.insert(line);
  return moves;
}

// Every depth: lines numbered 1, 2, ... with distinct legal first moves, best
// first; the count is `lines` (only the last depth may have fewer when
// `last_may_be_short`).
void expect_sound_lines(const std::string& reply, const std::set<std::string>& legal, size_t lines,
                        bool last_may_be_short = false) {
  const auto depths = lines_by_depth(reply);
  ASSERT_FALSE(depths.empty()) << reply;
  for (const auto& [depth, infos] : depths) {
    const bool last = depth == depths.rbegin()->first;
    if (last && last_may_be_short)
      EXPECT_LE(infos.size(), lines) << reply;
    else
      EXPECT_EQ(infos.size(), lines) << "depth " << depth << "\n" << reply;
    std::set<std::string> moves;
    for (size_t i = 0; i < infos.size(); ++i) {
      EXPECT_EQ(field(infos[i], "multipv"), std::to_string(i + 1)) << infos[i];
      const std::string move = first_pv_move(infos[i]);
      EXPECT_EQ(legal.count(move.substr(0, 4)), 1u) << infos[i];
      moves.insert(move);
      if (i > 0) {
        EXPECT_LE(comparable_score(infos[i]), comparable_score(infos[i - 1])) << infos[i];
      }
    }
    EXPECT_EQ(moves.size(), infos.size()) << "depth " << depth << "\n" << reply;
  }
  EXPECT_EQ(bestmove(reply), first_pv_move(depths.rbegin()->second.front())) << reply;
}

const char* const MIDDLEGAME = "position fen r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8\n";

}  // namespace

TEST(UciMultiPV, EachDepthReportsTheBestLinesDistinctAndOrdered) {
  const std::set<std::string> legal = legal_moves(MIDDLEGAME);
  ASSERT_GT(legal.size(), 30u);
  const std::string reply = uci_search(std::string("setoption name MultiPV value 4\n") + MIDDLEGAME + "go depth 6\n");
  expect_sound_lines(reply, legal, 4);
  EXPECT_EQ(lines_by_depth(reply).size(), 6u) << reply;
}

TEST(UciMultiPV, OneLineIsTodaysOutput) {
  // Everything but time and nps, from fresh processes: the default, and
  // MultiPV set to 1 after another value.
  auto stripped = [](const std::string& reply) {
    std::string kept;
    std::istringstream in(reply);
    std::string word;
    for (bool skip = false; in >> word;) {
      if (!skip) kept += word + " ";
      skip = !skip && (word == "nps" || word == "time");
    }
    return kept;
  };
  const std::string plain = uci_search(std::string(MIDDLEGAME) + "go depth 6\n");
  const std::string one =
      uci_search(std::string("setoption name MultiPV value 3\nsetoption name multipv value 1\n") + MIDDLEGAME +
                 "go depth 6\n");
  EXPECT_EQ(plain.find("multipv"), std::string::npos) << plain;
  EXPECT_EQ(iteration_lines(plain).size(), 6u) << plain;
  EXPECT_EQ(stripped(one), stripped(plain));
}

TEST(UciMultiPV, FewerLinesWhereTheRootHasFewerMoves) {
  // In check with two replies; a value beyond the maximum is taken as 64.
  const std::string position = "position fen 7k/8/8/8/8/8/5PPq/6K1 w - - 0 1\n";
  const std::string reply = uci_search("setoption name MultiPV value 500\n" + position + "go depth 4\n");
  expect_sound_lines(reply, {"g1h2", "g1f1"}, 2);
}

TEST(UciMultiPV, CombinesWithSearchmoves) {
  const std::string reply =
      uci_search(std::string("setoption name MultiPV value 4\n") + MIDDLEGAME + "go depth 5 searchmoves a2a3 c4d5 h2h3\n");
  expect_sound_lines(reply, {"a2a3", "c4d5", "h2h3"}, 3);
  const std::string two =
      uci_search(std::string("setoption name MultiPV value 2\n") + MIDDLEGAME + "go depth 5 searchmoves a2a3 c4d5 h2h3\n");
  expect_sound_lines(two, {"a2a3", "c4d5", "h2h3"}, 2);
}

TEST(UciMultiPV, MateScoresInEveryLine) {
  // Two rooks mate on the back rank: two lines of mate in one, then a centipawn line.
  std::string reply =
      uci_search("setoption name MultiPV value 3\nposition fen 6k1/5ppp/8/8/8/8/8/RR4K1 w - - 0 1\ngo depth 4\n");
  std::vector<std::string> last = lines_by_depth(reply).rbegin()->second;
  ASSERT_EQ(last.size(), 3u) << reply;
  EXPECT_EQ(field(last[0], "mate"), "1") << reply;
  EXPECT_EQ(field(last[1], "mate"), "1") << reply;
  EXPECT_EQ(std::set<std::string>({first_pv_move(last[0]), first_pv_move(last[1])}),
            std::set<std::string>({"a1a8", "b1b8"}));
  EXPECT_NE(field(last[2], "cp"), "") << reply;
  // Lines in which the side to move is mated: the rook leaves the back rank.
  reply = uci_search(
      "setoption name MultiPV value 20\nposition fen 1r4k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1\ngo depth 4\n");
  last = lines_by_depth(reply).rbegin()->second;
  ASSERT_EQ(last.size(), 20u) << reply;
  EXPECT_EQ(field(last.back(), "mate"), "-2") << reply;
  for (const std::string& info : iteration_lines(reply)) {
    const std::string cp = field(info, "cp");
    if (!cp.empty()) {
      EXPECT_LT(std::abs(std::stol(cp)), 9999936) << info;
    }
  }
}

TEST(UciMultiPV, ADepthCutShortReportsTheLinesItFinished) {
  // A node limit is reached the same way in every run; this one falls inside
  // the further lines of a depth.
  const std::string reply =
      uci_search(std::string("setoption name MultiPV value 4\n") + MIDDLEGAME + "go nodes 100000\n");
  const std::set<std::string> legal = legal_moves(MIDDLEGAME);
  expect_sound_lines(reply, legal, 4, true);
  EXPECT_LT(lines_by_depth(reply).rbegin()->second.size(), 4u) << reply;
}

TEST(UciMultiPV, CurrentMoveLinesNameALegalRootMoveAndItsNumber) {
  const std::set<std::string> legal = legal_moves(MIDDLEGAME);
  // Lines come every 262144 nodes, the first after 16384.
  const std::string reply =
      uci_search(std::string("setoption name MultiPV value 4\n") + MIDDLEGAME + "go nodes 1200000\n");
  int seen = 0;
  for (const std::string& info : lines_starting(reply, "info depth ")) {
    if (info.find(" currmove ") == std::string::npos) continue;
    ++seen;
    EXPECT_EQ(legal.count(field(info, "currmove").substr(0, 4)), 1u) << info;
    const int number = std::stoi(info.substr(info.find(" currmovenumber ") + 16));
    EXPECT_GE(number, 1) << info;
    EXPECT_LE(number, static_cast<int>(legal.size())) << info;
  }
  EXPECT_GE(seen, 4) << reply;
}

TEST(UciInfinite, AnswersOnlyAfterStopOnceTheLastDepthIsDone) {
  // Mate in one: all 63 iterations finish at once.
  ZoltSession session;
  session.send("uci\nposition fen 6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1\ngo infinite\n");
  session.read_until("info depth 64 ", 20000);
  ASSERT_TRUE(session.last_read_found()) << session.all_output();
  session.send("isready\n");
  session.read_until("readyok\n", 10000);
  ASSERT_TRUE(session.last_read_found());
  EXPECT_EQ(session.all_output().find("bestmove"), std::string::npos) << session.all_output();
  session.send("stop\n");
  std::string text = session.read_until("bestmove a1a8\n", 10000);
  EXPECT_TRUE(session.last_read_found()) << text;
  session.send("quit\n");
  EXPECT_EQ(session.wait_exit(10000), 0);
}

TEST(UciInfinite, WaitsWithADepthLimitAndWithNoMoveAtAll) {
  // "quit" ends the wait too; each search answers once.
  for (const char* go : {"position startpos\ngo infinite depth 2\n", "position fen 7k/6Q1/6K1/8/8/8/8/8 b - - 0 1\ngo infinite\n"}) {
    ZoltSession session;
    session.send(std::string("uci\n") + go + "isready\n");
    session.read_until("readyok\n", 10000);
    ASSERT_TRUE(session.last_read_found()) << go;
    session.send("isready\n");
    session.read_until("readyok\n", 10000);
    EXPECT_EQ(session.all_output().find("bestmove"), std::string::npos) << go << session.all_output();
    session.send("quit\n");
    EXPECT_EQ(session.wait_exit(10000), 0);
    EXPECT_EQ(count_of(session.all_output(), "bestmove "), 1u) << go << session.all_output();
  }
}

TEST(UciInfinite, CurrentMoveLinesScoreMatesInMoves) {
  // Mate in three found at depth 5; the deeper iterations print current-move lines.
  const std::string reply = uci_search(
      "position fen r1b1kb1r/pppp1ppp/5q2/4n3/3KP3/2N3PN/PPP4P/R1BQ1BR1 b kq - 0 1\ngo depth 8\n");
  const size_t first_mate = reply.find("score mate 3 time");
  ASSERT_NE(first_mate, std::string::npos) << reply;
  const std::vector<std::string> currmoves = lines_starting(reply.substr(first_mate), "info depth ");
  int seen = 0;
  for (const std::string& info : currmoves) {
    if (info.find(" currmove ") == std::string::npos) continue;
    ++seen;
    EXPECT_NE(info.find(" score mate 3 nps "), std::string::npos) << info;
  }
  EXPECT_GT(seen, 0) << reply;
}

TEST(ConsoleReplyReports, NoReportForAnInterruptedIteration) {
  // Timed replies end inside an iteration; its report would show the
  // cut-off search's score (a mate) and often no line.
  ZoltSession session;
  session.read_until("zolt: ");
  session.send("st 1\n");
  session.read_until("zolt: ");
  for (const char* move : {"e2e4\n", "d2d4\n", "g1f3\n"}) {
    session.send(move);
    session.read_until("Zolt moves: ", 20000);
    ASSERT_TRUE(session.last_read_found()) << move;
    session.read_until("zolt: ", 20000);
  }
  session.send("quit\n");
  EXPECT_EQ(session.wait_exit(10000), 0);
  // The table lines: depth, nodes, score, time and a line; progress lines end in "\r".
  std::istringstream in(session.all_output());
  std::string line;
  int reports = 0;
  while (std::getline(in, line)) {
    const size_t cr = line.rfind('\r');
    if (cr != std::string::npos) line = line.substr(cr + 1);
    std::istringstream words(line);
    std::string depth, nodes, score, time, first;
    if (!(words >> depth >> nodes >> score >> time) || depth.find_first_not_of("0123456789") != std::string::npos ||
        nodes.find_first_not_of("0123456789") != std::string::npos)
      continue;
    ++reports;
    EXPECT_EQ(score.find('M'), std::string::npos) << line;
    EXPECT_TRUE(static_cast<bool>(words >> first)) << "a report without a line: " << line;
  }
  EXPECT_GT(reports, 9);
}
