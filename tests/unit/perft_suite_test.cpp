// Every depth of every line of the Stockfish perft files, through the
// library's perft. The lines are split into chunks so CTest can run them in
// parallel.
#include <cstdlib>

#include "movegen_helpers.h"
#include "perft/perft.h"

namespace {

using zolt_test::position_from;
using zolt_test::read_lines;

struct SuiteChunk {
  const char* file;
  bool chess960;
  int chunk;
  int chunk_count;
};

void PrintTo(const SuiteChunk& c, std::ostream* os) { *os << c.file << " chunk " << c.chunk; }

class PerftSuiteTest : public ::testing::TestWithParam<SuiteChunk> {};

TEST_P(PerftSuiteTest, CountsMatchStockfish) {
  const SuiteChunk c = GetParam();
  const auto lines = read_lines(std::string(ZOLT_TEST_DATA) + "/" + c.file);
  ASSERT_FALSE(lines.empty());
  zolt::chess960 = c.chess960;
  for (size_t i = c.chunk; i < lines.size(); i += c.chunk_count) {
    const std::string& line = lines[i];
    zolt::Position pos = position_from(line);
    const zolt::Position before = pos;
    for (size_t at = line.find(";D"); at != std::string::npos; at = line.find(";D", at + 2)) {
      const int depth = line[at + 2] - '0';
      const uint64_t expected = strtoull(line.c_str() + at + 4, nullptr, 10);
      EXPECT_EQ(zolt::perft_count(pos, depth), expected) << line << " depth " << depth;
    }
    EXPECT_TRUE(zolt_test::same_position(before, pos)) << line;
  }
  zolt::chess960 = 0;
}

INSTANTIATE_TEST_SUITE_P(Standard, PerftSuiteTest,
                         ::testing::Values(SuiteChunk{"perftsuite.epd", false, 0, 4},
                                           SuiteChunk{"perftsuite.epd", false, 1, 4},
                                           SuiteChunk{"perftsuite.epd", false, 2, 4},
                                           SuiteChunk{"perftsuite.epd", false, 3, 4}));
INSTANTIATE_TEST_SUITE_P(Chess960, PerftSuiteTest,
                         ::testing::Values(SuiteChunk{"chess960.epd", true, 0, 2},
                                           SuiteChunk{"chess960.epd", true, 1, 2}));

// The cumulative walker and the pair of walks the console commands use.
TEST(PerftWalk, PairOfWalksGivesClassicalCountAndTotals) {
  zolt::Position pos = position_from("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  zolt::perft_sum = zolt::perft_upper_total = zolt::perft_lower_total = 0;
  EXPECT_EQ(zolt::perft_pair(pos, 2), 20);
  EXPECT_EQ(zolt::perft_upper_total, 20u + 400u + 8902u);
  EXPECT_EQ(zolt::perft_upper_total - zolt::perft_lower_total, 8902u);
  zolt::perft_sum = zolt::perft_upper_total = zolt::perft_lower_total = 0;
  EXPECT_EQ(zolt::perft_pair(pos, 1), 20);
  EXPECT_EQ(zolt::perft_upper_total - zolt::perft_lower_total, 400u);
}

TEST(PerftWalk, PositionWithoutMovesCountsNothing) {
  zolt::Position pos = position_from("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");  // stalemate
  zolt::perft_sum = 0;
  EXPECT_EQ(zolt::perft(pos, 3), 0);
  EXPECT_EQ(zolt::perft_sum, 0u);
  EXPECT_EQ(zolt::perft_count(pos, 3), 0u);
}

}  // namespace
