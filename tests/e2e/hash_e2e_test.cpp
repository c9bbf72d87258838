// The transposition table and the draw rules over UCI, through the real
// binary: repetitions seen through the "position ... moves" history and the
// search line, the fifty-move rule, mate distances read back at other
// plies, and the commands that empty the table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"
#include "uci_text.h"

namespace {

using zolt_test::bestmove;
using zolt_test::field;
using zolt_test::iteration_lines;
using zolt_test::uci_search;
using zolt_test::uci_steps;

const char* const HASH_16 = "setoption name Hash value 16\n";

// Black is two rooks up; white's queen checks forever on e8 and h5.
const char* const PERPETUAL = "position fen 6k1/ppp3p1/8/8/8/8/rr6/4Q1K1 w - - 0 1\n";
// White mates in three: Ra6, then Bxf6+ and Ra8.
const char* const MATE_IN_THREE = "position fen r5rk/5p1p/5R2/4B3/8/8/7P/7K w - - 0 1";

std::string last_score(const std::string& reply) {
  const std::vector<std::string> infos = iteration_lines(reply);
  if (infos.empty()) return "<no report>";
  const std::string& last = infos.back();
  const size_t at = last.find(" score ") + 7;
  const size_t end = last.find(' ', last.find(' ', at) + 1);
  return last.substr(at, end - at);
}

}  // namespace

TEST(UciHash, PerpetualCheckOfTheSideBehindScoresZero) {
  const std::string without = uci_search(std::string(PERPETUAL) + "go depth 8\n");
  const std::string with = uci_search(std::string(HASH_16) + PERPETUAL + "go depth 8\n");
  EXPECT_EQ(last_score(with), "cp 0") << with;
  EXPECT_EQ(bestmove(with), "e1e8") << with;
  // Without the table the search cannot see the repetition.
  EXPECT_NE(last_score(without), "cp 0") << without;
  for (const std::string& info : iteration_lines(without)) EXPECT_EQ(field(info, "hashfull"), "") << info;
  for (const std::string& info : iteration_lines(with)) EXPECT_NE(field(info, "hashfull"), "") << info;
}

TEST(UciHash, TheSideAheadAvoidsTheThirdRepetition) {
  // Queen and king against king. The game starts after Qc6 and goes back and
  // forth, so that Qh1-c6 now would bring the position after it a third time.
  const std::string history =
      "position fen 8/8/2Q5/8/8/2k5/8/K7 b - - 1 1 moves c3d3 c6h1 d3c3 h1c6 c3d3 c6h1 d3c3\n";
  const std::string without = uci_search(history + "go depth 5\n");
  const std::string with = uci_search(HASH_16 + history + "go depth 5\n");
  EXPECT_EQ(bestmove(without), "h1c6") << without;
  EXPECT_NE(bestmove(with), "h1c6") << with;
  EXPECT_NE(last_score(with).substr(0, 4), "cp 0") << with;
}

TEST(UciHash, FiftyMoveRuleAtNinetyNineAndAHundred) {
  // At 99 every quiet move draws, except a mate on the hundredth ply.
  const std::string no_mate = uci_search(std::string(HASH_16) + "position fen 7k/8/5K2/8/8/8/8/1Q6 w - - 99 80\ngo depth 5\n");
  EXPECT_EQ(last_score(no_mate), "cp 0") << no_mate;
  const std::string mate = uci_search(std::string(HASH_16) + "position fen 7k/8/6K1/8/8/8/8/1Q6 w - - 99 80\ngo depth 5\n");
  EXPECT_EQ(bestmove(mate), "b1b8") << mate;
  EXPECT_EQ(last_score(mate), "mate 1") << mate;
  // At 100 the position itself is drawn, but the root still plays a move.
  const std::string at_hundred = uci_search(std::string(HASH_16) + "position fen 7k/8/5K2/8/8/8/8/1Q6 w - - 100 80\ngo depth 5\n");
  EXPECT_EQ(bestmove(at_hundred).size(), 4u) << at_hundred;
  // With the clock far from the limit the engine plays for the win.
  const std::string fresh_clock = uci_search(std::string(HASH_16) + "position fen 7k/8/5K2/8/8/8/8/1Q6 w - - 0 80\ngo depth 5\n");
  EXPECT_NE(last_score(fresh_clock), "cp 0") << fresh_clock;
}

TEST(UciHash, MateDistancesReadBackAtOtherPlies) {
  // One session, so the later searches read what the first one stored.
  const std::vector<std::string> lines = {std::string(MATE_IN_THREE) + "\n",
                                          std::string(MATE_IN_THREE) + " moves f6a6 f7f6\n",
                                          std::string(MATE_IN_THREE) + " moves f6a6 f7f6 e5f6 g8g7\n"};
  const std::vector<std::string> expected = {"mate 3", "mate 2", "mate 1"};
  std::string reply;
  for (size_t i = 0; i < lines.size(); ++i) {
    reply = uci_steps({{std::string(HASH_16) + "isready\n", "readyok\n"},
                       {lines[0] + "go depth 7\n", "bestmove"},
                       {lines[i] + "go depth 7\n", "bestmove"}});
    const size_t second = reply.find("bestmove");
    const std::string later = reply.substr(second);
    EXPECT_EQ(last_score(later), expected[i]) << later;
    for (const std::string& info : iteration_lines(later))
      if (info.find("score mate") != std::string::npos) {
        EXPECT_NE(info.find(expected[i]), std::string::npos) << info;
      }
  }
}

// The nodes of the third of three searches of one position, with `between`
// sent before the third. Every search starts from what the one before left
// (its line orders the moves), so only the table can make them differ.
std::string third_search_nodes(const std::string& between) {
  const std::string search = "position startpos moves e2e4 e7e5\ngo depth 6\n";
  const std::string reply =
      uci_steps({{std::string(HASH_16) + search, "bestmove"}, {search, "bestmove"}, {between + search, "bestmove"}});
  const size_t third = reply.rfind("bestmove", reply.rfind("bestmove") - 1);
  const std::vector<std::string> infos = iteration_lines(reply.substr(third));
  return infos.empty() ? "<none>" : field(infos.back(), "nodes");
}

TEST(UciHash, ClearHashAndUciNewGameEmptyTheTable) {
  const std::string emptied = third_search_nodes(HASH_16);  // a new table of the same size
  EXPECT_NE(third_search_nodes(""), emptied) << "a warm table changes the search";
  EXPECT_EQ(third_search_nodes("setoption name Clear Hash\n"), emptied);
  EXPECT_EQ(third_search_nodes("ucinewgame\n"), emptied);
}

TEST(UciHash, OutOfRangeSizesAreClampedAndZeroTurnsTheTableOff) {
  const std::string reply = uci_steps({{"setoption name Hash value -5\nposition startpos\ngo depth 3\n", "bestmove"},
                                       {"setoption name Hash value 1\ngo depth 3\n", "bestmove"},
                                       {"setoption name hash value 0\ngo depth 3\n", "bestmove"}});
  const std::vector<std::string> infos = iteration_lines(reply);
  ASSERT_EQ(infos.size(), 9u) << reply;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(field(infos[i], "hashfull"), "") << infos[i];
  for (int i = 3; i < 6; ++i) EXPECT_NE(field(infos[i], "hashfull"), "") << infos[i];
  for (int i = 6; i < 9; ++i) EXPECT_EQ(field(infos[i], "hashfull"), "") << infos[i];
}

TEST(ConsoleHash, SizeFromTheConfigurationAndTheHashCommand) {
  const std::string dir = zolt_test::make_temp_dir();
  zolt_test::write_file(dir, "Zolt.cfg", "Hash=4\nLogging=1\n");
  const zolt_test::RunResult run = zolt_test::run_zolt("hash\nhash 2\nsd 3\ne2e4\nhash 0\nhash\nquit\n", 60000, dir);
  EXPECT_NE(run.output.find("\nhash table: 4 MB (\"hash N\" sets N MB, 0 to 4096)\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\nhash table: 2 MB\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\nZolt moves: "), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\nhash table: 0 MB (\"hash N\""), std::string::npos) << run.output;
  const std::string log = zolt_test::read_file(dir, "Zolt.log");
  EXPECT_NE(log.find("\nhashsize: 4\n"), std::string::npos) << log.substr(0, 300);
}
