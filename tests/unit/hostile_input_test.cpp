// Numbers and lines beyond every limit, read by the library in-process: the
// perft suite's expected counts, the time fields of "go", and the line reader
// of the configuration and suite files.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "frontend/line_reader.h"
#include "perft/suite.h"
#include "search/timecontrol.h"

using namespace zolt;

namespace {

uint64_t expected_count(const std::string& line, int depth, int* last_depth = nullptr) {
  uint64_t expected[MAX_SUITE_DEPTH + 1];
  const int last = parse_depth_entries(line.c_str(), expected);
  if (last_depth) *last_depth = last;
  return expected[depth];
}

int64_t budget(const char* line, int side) {
  set_uci_time_budget(line, side);
  return time_limit_ms;
}

}  // namespace

TEST(HostileSuiteCounts, CountsBeyondSixtyFourBitsNeverWrap) {
  const std::string fen = "8/8/8/8/8/8/8/K6k w - -";
  EXPECT_EQ(expected_count(fen + " ;D1 18446744073709551615", 1), UINT64_MAX);
  EXPECT_EQ(expected_count(fen + " ;D1 10000000000000000000", 1), 10000000000000000000ULL);
  // 2^64 and 2^64 + 20 would wrap to 0 and 20, counts a position can have.
  EXPECT_EQ(expected_count(fen + " ;D1 18446744073709551616", 1), UINT64_MAX);
  EXPECT_EQ(expected_count(fen + " ;D2 18446744073709551636", 2), UINT64_MAX);
  EXPECT_EQ(expected_count(fen + " ;D3 " + std::string(60, '9') + " ;D4 7", 3), UINT64_MAX);
  EXPECT_EQ(expected_count(fen + " ;D3 " + std::string(60, '9') + " ;D4 7", 4), 7u);
}

TEST(HostileSuiteCounts, MalformedEntries) {
  const std::string fen = "8/8/8/8/8/8/8/K6k w - -";
  const uint64_t missing = static_cast<uint64_t>(MISSING_COUNT);
  int last = -1;
  // ";D" and ";D0" are passed over; ";d1" is no entry.
  EXPECT_EQ(expected_count(fen + " ;D ;D0 5 ;d1 3", 1, &last), missing);
  EXPECT_EQ(last, 0);
  // A depth with no digits expects 0; so does a count after two blanks.
  EXPECT_EQ(expected_count(fen + " ;D9", 9, &last), 0u);
  EXPECT_EQ(last, 9);
  EXPECT_EQ(expected_count(fen + " ;D2  400", 2), 0u);
  EXPECT_EQ(expected_count(fen + " ;D2 4x00", 2), 4u);
  // An entry at the very end of the text.
  EXPECT_EQ(expected_count(fen + ";D1", 1, &last), 0u);
  EXPECT_EQ(last, 1);
}

TEST(HostileGoFields, HugeAndNegativeNumbers) {
  EXPECT_EQ(budget("go wtime 99999999999999999999 btime 99999999999999999999\n", WHITE), INT32_MAX / 30);
  EXPECT_EQ(uci_wtime, INT32_MAX);
  EXPECT_EQ(uci_btime, INT32_MAX);
  // An increment near the int range is added in 64 bits, then held to half the clock.
  EXPECT_EQ(budget("go wtime 1000 winc 99999999999999999999\n", WHITE), 500);
  EXPECT_EQ(budget("go btime 1000 binc 2147483647\n", BLACK), 500);
  EXPECT_EQ(budget("go wtime 99999999999999999999 winc 99999999999999999999\n", WHITE), INT32_MAX / 2);
  EXPECT_EQ(budget("go winc 99999999999999999999\n", WHITE), INT32_MAX);
  EXPECT_EQ(budget("go movetime 99999999999999999999\n", BLACK), INT32_MAX);
  // A sign is no digit: negative fields read as 0.
  EXPECT_EQ(budget("go wtime -5000 winc -100 movetime -1\n", WHITE), 0);
  EXPECT_EQ(uci_wtime, 0);
  EXPECT_EQ(budget("go movestogo 99999999999999999999 wtime 3000\n", WHITE), 100);
  for (const char* line : {"go depth -5\n", "go depth 99999999999\n", "go depth 0\r\n"}) {
    EXPECT_EQ(budget(line, WHITE), 0) << line;
    EXPECT_EQ(uci_depth_limit, 0) << line;
  }
}

TEST(HostileFileLines, OneLineOfTheFileIsOneLine) {
  FILE* file = tmpfile();
  ASSERT_NE(file, nullptr);
  const std::string text = std::string(249, 'a') + "\n" + std::string(300, 'b') + "\nsecond\n" +
                           std::string("nul\0byte\n", 9) + "\nlast";
  fwrite(text.data(), 1, text.size(), file);
  rewind(file);
  char line[250];
  std::string lines;
  while (read_file_line(file, line, sizeof line)) lines += "[" + std::string(line) + "]";
  fclose(file);
  EXPECT_EQ(lines, "[" + std::string(249, 'a') + "][" + std::string(249, 'b') + "][second\n][nul][\n][last]");
}
