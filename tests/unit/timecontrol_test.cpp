#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "frontend/config_log.h"
#include "search/alphabeta.h"
#include "search/clock.h"
#include "search/timecontrol.h"
#include "search_helpers.h"

using namespace zolt;

namespace {

int64_t budget(const char* line, int side) {
  set_uci_time_budget(line, side);
  return time_limit_ms;
}

}  // namespace

TEST(TimeBudget, FromTheClockOfTheSideToMove) {
  EXPECT_EQ(budget("go wtime 60000 btime 60000\n", WHITE), 2000);
  EXPECT_EQ(budget("go wtime 60000 btime 60000 winc 1000 binc 1000\n", WHITE), 2500);
  EXPECT_EQ(budget("go winc 1000\n", WHITE), 1000);
  EXPECT_EQ(budget("go btime 30000 binc 500\n", BLACK), 1250);
  EXPECT_EQ(budget("go btime 30000 binc 500\n", WHITE), 0);
  EXPECT_EQ(budget("go\n", WHITE), 0);
  EXPECT_EQ(uci_depth_limit, 0);
}

TEST(TimeBudget, ReadsTheFieldsOfTheLine) {
  set_uci_time_budget("go wtime 1234 btime 5678 winc 11 binc 22\n", WHITE);
  EXPECT_EQ(uci_wtime, 1234);
  EXPECT_EQ(uci_btime, 5678);
  EXPECT_EQ(uci_winc, 11);
  EXPECT_EQ(uci_binc, 22);
  // A carriage return ends a number like a blank.
  set_uci_time_budget("go wtime 60000 btime 60000\r\n", BLACK);
  EXPECT_EQ(uci_btime, 60000);
  EXPECT_EQ(time_limit_ms, 2000);
}

TEST(TimeBudget, MovetimeAndInfinite) {
  EXPECT_EQ(budget("go movetime 5000 wtime 100\n", WHITE), 5000);
  EXPECT_EQ(set_uci_time_budget("go infinite\n", WHITE), 1);
  EXPECT_EQ(time_limit_ms, 9999999999LL);
  EXPECT_EQ(set_uci_time_budget("go infinite movetime 100\n", WHITE), 1);
  EXPECT_EQ(time_limit_ms, 9999999999LL);
  EXPECT_EQ(set_uci_time_budget("go movetime 100\n", WHITE), 0);
  // movestogo also begins "mo" and reads the blank after it: movetime 0.
  EXPECT_EQ(budget("go movetime 700 movestogo 5 wtime 3000\n", WHITE), 100);
}

TEST(TimeBudget, NeverMoreThanHalfTheRemainingClock) {
  EXPECT_EQ(budget("go wtime 200 winc 1000\n", WHITE), 100);
  EXPECT_EQ(budget("go btime 300 binc 5000\n", BLACK), 150);
  EXPECT_EQ(budget("go wtime 40 btime 40\n", WHITE), 1);  // 40/30 = 1, half is 20
}

TEST(TimeBudget, DepthIsALimitWithoutTime) {
  EXPECT_EQ(budget("go depth 6\n", WHITE), NO_TIME_LIMIT);
  EXPECT_EQ(uci_depth_limit, 6);
  EXPECT_EQ(budget("go depth 63\n", BLACK), NO_TIME_LIMIT);
  EXPECT_EQ(uci_depth_limit, 63);
  // With a clock the budget still applies beside the depth.
  EXPECT_EQ(budget("go depth 5 wtime 60000 btime 60000\n", WHITE), 2000);
  EXPECT_EQ(uci_depth_limit, 5);
  // Out of range: no depth limit, the ordinary budget (0 for a bare line).
  EXPECT_EQ(budget("go depth 64\n", WHITE), 0);
  EXPECT_EQ(uci_depth_limit, 0);
  EXPECT_EQ(budget("go depth 0\n", WHITE), 0);
  EXPECT_EQ(uci_depth_limit, 0);
}

TEST(TimeBudget, DeadlineAndStopMargin) {
  stop_search = 1;
  set_uci_time_budget("go movetime 10000\n", WHITE);
  EXPECT_EQ(stop_search, 0);
  const int64_t left = deadline - clock_ms();
  EXPECT_LE(left, 10000);
  EXPECT_GT(left, 5000);

  // The search stops once the clock is within the margin of the deadline.
  zolt_test::quiet_standard_input();
  deadline = clock_ms() + 10000;
  EXPECT_EQ(poll_says_stop(), 0);
  EXPECT_EQ(stop_search, 0);
  deadline = clock_ms() + STOP_MARGIN_MS - 5;
  EXPECT_EQ(poll_says_stop(), 1);
  EXPECT_EQ(stop_search, 1);
  stop_search = 0;
}

TEST(TimeBudget, LogsTheSettings) {
  FILE* saved = log_file;
  log_file = tmpfile();
  ASSERT_NE(log_file, nullptr);
  set_uci_time_budget("go infinite\n", WHITE);
  set_uci_time_budget("go wtime 60000 btime 50000 winc 1000 binc 900\n", BLACK);
  rewind(log_file);
  std::string text;
  char chunk[256];
  while (fgets(chunk, sizeof chunk, log_file)) text += chunk;
  fclose(log_file);
  log_file = saved;

  EXPECT_NE(text.find("{additional infos}\nTimesettings: \ncalctime: 1410065407\nsearch_time 2 (search-start): "),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("calctime: 2150\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nwhite time: 60000\nblack time: 50000\nwhite inc time: 1000\nblack inc time: 900\n"),
            std::string::npos)
      << text;
}
