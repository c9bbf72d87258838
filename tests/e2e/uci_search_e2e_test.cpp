// The UCI search through the real binary: the info lines of the iterations,
// fixed-depth searches, mates found and reported, the board after "go", and
// the log copies of the reports.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "harness.h"
#include "uci_text.h"

namespace {

using zolt_test::bestmove;
using zolt_test::bestmove_line;
using zolt_test::depth_of;
using zolt_test::field;
using zolt_test::iteration_lines;
using zolt_test::uci_search;
using zolt_test::uci_steps;

std::string first_pv_move(const std::string& info) {
  size_t at = info.find(" pv ") + 4;
  return info.substr(at, info.find(' ', at) - at);
}

}  // namespace

TEST(UciSearchReports, PlainGoFromTheStart) {
  // A budget of 0 ms: the first poll (node 257) stops the search; the first
  // two iterations finish before it.
  std::string reply = uci_search("position startpos\ngo\n");
  std::vector<std::string> infos = iteration_lines(reply);
  ASSERT_GE(infos.size(), 1u) << reply;
  const std::string start = "info depth 2 seldepth 3 nodes 20 ";
  EXPECT_EQ(infos[0].compare(0, start.size(), start), 0) << infos[0];
  EXPECT_EQ(infos[0].substr(infos[0].size() - 8), "pv e2e4 ") << infos[0];
  EXPECT_EQ(infos.size(), 2u) << reply;
  EXPECT_EQ(bestmove(reply), first_pv_move(infos.back()));
}

TEST(UciSearchReports, MovetimeReportsEveryIterationAndPlaysItsMove) {
  std::string reply =
      uci_steps({{"position startpos moves e2e4\ngo movetime 700\n", "bestmove"}, {"disp\n", "\ncastling"}});
  std::vector<std::string> infos = iteration_lines(reply);
  ASSERT_GE(infos.size(), 3u) << reply;
  for (size_t i = 0; i < infos.size(); ++i) {
    const int depth = depth_of(infos[i]);
    EXPECT_EQ(depth, static_cast<int>(i) + 2) << infos[i];
    EXPECT_EQ(field(infos[i], "seldepth"), std::to_string(2 * depth - 1)) << infos[i];
    EXPECT_NE(field(infos[i], "nps"), "");
    EXPECT_NE(field(infos[i], "time"), "");
    EXPECT_EQ(infos[i].back(), ' ');
  }
  const std::string move = bestmove(reply);
  EXPECT_EQ(move.size(), 4u) << reply;
  // The engine's own board already holds its reply: white to move again.
  EXPECT_NE(reply.find("turn: white"), std::string::npos) << reply;
}

TEST(UciSearchReports, GoDepthSearchesExactlyThatDeep) {
  for (int depth : {1, 4, 6}) {
    std::string reply = uci_search("position startpos\ngo depth " + std::to_string(depth) + "\n");
    std::vector<std::string> infos = iteration_lines(reply);
    ASSERT_EQ(static_cast<int>(infos.size()), depth) << reply;
    EXPECT_EQ(depth_of(infos.back()), depth + 1);
    EXPECT_EQ(bestmove(reply), first_pv_move(infos.back()));
  }
}

TEST(UciSearchReports, InfiniteLeavesTheBoardAlone) {
  std::string reply = uci_steps(
      {{"position startpos\ngo infinite\n", "info depth 3"}, {"stop\n", "bestmove"}, {"disp\n", "\ncastling"}});
  EXPECT_NE(bestmove(reply), "<none>");
  EXPECT_NE(reply.find("turn: white"), std::string::npos) << reply;
}

TEST(UciSearchReports, FindsAndReportsMates) {
  struct Case {
    const char* fen;
    int depth;
    const char* mate;  // the reported distance in moves; negative when mated
    const char* move;  // empty when several moves mate as fast
  };
  const Case cases[] = {
      {"6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", 5, "1", "a1a8"},
      {"r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 1", 5, "2", "d5f6"},
      // A quiet king move first; deeper iterations let the null move hide it.
      {"7k/8/5K2/8/8/8/8/1R6 w - - 0 1", 4, "2", ""},
      {"r1b1kb1r/pppp1ppp/5q2/4n3/3KP3/2N3PN/PPP4P/R1BQ1BR1 b kq - 0 1", 5, "3", "f8c5"},
      // Black must move into a mate one ply later: (9999999 - (9999999 - 2)) / 2 + 1.
      {"7k/8/6K1/Q7/8/8/8/8 b - - 0 1", 4, "-2", "h8g8"},
  };
  for (const Case& c : cases) {
    std::string reply =
        uci_search(std::string("position fen ") + c.fen + "\ngo depth " + std::to_string(c.depth) + "\n");
    std::vector<std::string> infos = iteration_lines(reply);
    ASSERT_FALSE(infos.empty()) << c.fen << "\n" << reply;
    EXPECT_EQ(field(infos.back(), "mate"), c.mate) << c.fen << "\n" << infos.back();
    EXPECT_EQ(field(infos.back(), "cp"), "") << infos.back();
    if (*c.move) {
      EXPECT_EQ(bestmove(reply), c.move) << c.fen;
    }
  }
}

TEST(UciSearchReports, PromotionsCarryTheirLetter) {
  std::string reply = uci_search("position fen 8/5P1k/8/8/8/8/8/K7 w - - 0 1\ngo depth 3\n");
  EXPECT_EQ(bestmove(reply), "f7f8q") << reply;
  std::vector<std::string> infos = iteration_lines(reply);
  ASSERT_FALSE(infos.empty());
  EXPECT_EQ(first_pv_move(infos.back()), "f7f8q");
}

TEST(UciSearchReports, LogCopiesAndStatistics) {
  std::string dir = zolt_test::make_temp_dir();
  zolt_test::write_file(dir, "Zolt.cfg", "Logging=true\n");
  std::string reply = uci_search("position startpos\ngo depth 2\n", dir);
  std::string log = zolt_test::read_file(dir, "Zolt.log");
  EXPECT_NE(log.find("{additional infos}\nTimesettings: \ncalctime: 1215752191\n"), std::string::npos) << log;
  EXPECT_NE(log.find("<<< SENT TO GUI <<< depth 2 nps "), std::string::npos) << log;
  EXPECT_NE(log.find("infos alpha beta: \nalpha: 10\nbeta: 50\nscore cp 30 time "), std::string::npos) << log;
  EXPECT_NE(log.find(" pv e2e4 \n"), std::string::npos) << log;
  EXPECT_NE(log.find("\n{additional infos} search nodes "), std::string::npos) << log;
  EXPECT_NE(log.find("\nQS-nodes: 0\nnull move calls: 0\nnull move cut-off: 0\nfirst moves beta nodes: "),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("cut-off ratio "), std::string::npos) << log;
  EXPECT_EQ(bestmove_line(reply), "e2e4 ponder e7e5");
  EXPECT_NE(log.find("<<< SENT TO GUI <<< bestmove e2e4 ponder e7e5\n"), std::string::npos) << log;
}

TEST(UciSearchReports, LogCopiesRepeatTheTimeAndNpsOfTheirLines) {
  // Long enough for the clock to move between iterations and within them.
  std::string dir = zolt_test::make_temp_dir();
  zolt_test::write_file(dir, "Zolt.cfg", "Logging=true\n");
  std::string reply = uci_search("position startpos\ngo depth 8\n", dir);
  std::string log = zolt_test::read_file(dir, "Zolt.log");
  std::vector<std::string> infos = iteration_lines(reply);
  ASSERT_EQ(infos.size(), 8u) << reply;
  size_t at = 0;
  for (const std::string& info : infos) {
    const std::string copy_start = "<<< SENT TO GUI <<< depth " + field(info, "depth") + " nps ";
    at = log.find(copy_start, at);
    ASSERT_NE(at, std::string::npos) << info << "\n" << log;
    const std::string copy = log.substr(at, log.find(" pv ", at) - at + 1);
    EXPECT_NE(copy.find(" nps " + field(info, "nps") + " "), std::string::npos) << info << "\n" << copy;
    EXPECT_NE(copy.find(" time " + field(info, "time") + " "), std::string::npos) << info << "\n" << copy;
    ++at;
  }
}
