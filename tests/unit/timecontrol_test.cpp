#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

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
  start_deadline(10000);
  EXPECT_EQ(poll_says_stop(), 0);
  EXPECT_EQ(stop_search, 0);
  deadline = clock_ms() + STOP_MARGIN_MS - 5;
  EXPECT_EQ(poll_says_stop(), 1);
  EXPECT_EQ(stop_search, 1);
  stop_search = 0;
}

TEST(TimeBudget, SmallBudgetsKeepAboutHalfAsMargin) {
  start_deadline(2000);
  EXPECT_EQ(stop_margin_ms, STOP_MARGIN_MS);
  start_deadline(100);
  EXPECT_EQ(stop_margin_ms, STOP_MARGIN_MS);
  start_deadline(99);
  EXPECT_EQ(stop_margin_ms, 50);
  // 1 s + 0.01 s: a budget of 35 ms, of which about half is searched.
  set_uci_time_budget("go wtime 1000 btime 1000 winc 10 binc 10\n", WHITE);
  EXPECT_EQ(time_limit_ms, 35);
  EXPECT_EQ(stop_margin_ms, 18);
  // A budget of 0 still stops at the first poll.
  start_deadline(0);
  EXPECT_EQ(stop_margin_ms, 1);
  zolt_test::quiet_standard_input();
  EXPECT_EQ(poll_says_stop(), 1);
  stop_search = 0;
}

TEST(SearchLimits, NodesAndMateAreLimitsWithoutTime) {
  EXPECT_EQ(budget("go nodes 100000\n", WHITE), NO_TIME_LIMIT);
  EXPECT_EQ(uci_node_limit, 100000u);
  EXPECT_EQ(budget("go nodes 12345678901\n", WHITE), NO_TIME_LIMIT);
  EXPECT_EQ(uci_node_limit, 12345678901u);
  EXPECT_EQ(budget("go mate 2\n", BLACK), NO_TIME_LIMIT);
  EXPECT_EQ(uci_mate_limit, 2);
  EXPECT_EQ(uci_node_limit, 0u);
  // Beside a clock the clock's budget applies too.
  EXPECT_EQ(budget("go wtime 60000 btime 60000 nodes 5000 mate 3\n", WHITE), 2000);
  EXPECT_EQ(uci_node_limit, 5000u);
  EXPECT_EQ(uci_mate_limit, 3);
  // A field without a number, or a word that only contains the keyword, sets nothing.
  EXPECT_EQ(budget("go nodes\n", WHITE), 0);
  EXPECT_EQ(uci_node_limit, 0u);
  EXPECT_EQ(budget("go xnodes 10\n", WHITE), 0);
  EXPECT_EQ(uci_node_limit, 0u);
  EXPECT_EQ(budget("go\n", WHITE), 0);
  EXPECT_EQ(uci_mate_limit, 0);
  EXPECT_EQ(pondering, 0);
}

TEST(SearchLimits, PonderSearchesWithoutTimeUntilPonderhit) {
  EXPECT_EQ(budget("go ponder wtime 60000 btime 60000 winc 1000 binc 1000\n", WHITE), NO_TIME_LIMIT);
  EXPECT_EQ(pondering, 1);
  EXPECT_EQ(ponder_budget_ms, 2500);
  EXPECT_GT(deadline - clock_ms(), 1000000);
  EXPECT_EQ(budget("go ponder depth 4\n", BLACK), NO_TIME_LIMIT);
  EXPECT_EQ(ponder_budget_ms, NO_TIME_LIMIT);
  EXPECT_EQ(uci_depth_limit, 4);
  EXPECT_EQ(budget("go wtime 60000 btime 60000\n", WHITE), 2000);
  EXPECT_EQ(pondering, 0);
  pondering = 0;
}

TEST(SearchLimits, SearchmovesKeepsTheLegalMovesNamed) {
  Position pos = zolt_test::load_position(zolt_test::START_FEN);
  // The "mo" of searchmoves is no movetime, and its moves end at the next keyword.
  EXPECT_EQ(read_go_line("go searchmoves e2e4 a2a3 e9e4 e2e4 g1f3 wtime 60000 btime 1000\n", pos), 0);
  EXPECT_EQ(uci_movetime, 0);
  EXPECT_EQ(time_limit_ms, 2000);
  ASSERT_EQ(search_root_move_count, 3);
  Move list[MAX_MOVES];
  const int n = generate_moves(pos, list);
  Move kept[MAX_MOVES];
  for (int i = 0; i < n; ++i) kept[i] = list[i];
  const int k = keep_root_moves(kept, n);
  ASSERT_EQ(k, 3);
  // In generation order, whatever the order named.
  int at = 0;
  for (int i = 0; i < n && at < k; ++i)
    if (list[i].from == kept[at].from && list[i].to == kept[at].to) ++at;
  EXPECT_EQ(at, 3);
  // None legal: every move.
  read_go_line("go depth 3 searchmoves e7e5 h1h8\n", pos);
  EXPECT_EQ(search_root_move_count, 0);
  EXPECT_EQ(uci_depth_limit, 3);
  EXPECT_EQ(keep_root_moves(kept, n), n);
  read_go_line("go depth 3\n", pos);
  EXPECT_EQ(search_root_move_count, 0);
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

class MoveOverhead : public ::testing::Test {
 protected:
  void TearDown() override { move_overhead_ms = 0; }
};

TEST_F(MoveOverhead, ComesOffTheClockBeforeTheBudget) {
  move_overhead_ms = 100;
  EXPECT_EQ(budget("go wtime 60100 btime 60000\n", WHITE), 2000);  // 60000 / 30
  EXPECT_EQ(budget("go wtime 60000 btime 40100 binc 500\n", BLACK), 1500);  // 40000 / 40 + 500
  // Half of what is left after the overhead at most.
  EXPECT_EQ(budget("go wtime 300 winc 1000\n", WHITE), 100);
  move_overhead_ms = MAX_MOVE_OVERHEAD_MS;
  EXPECT_EQ(budget("go wtime 605000 btime 1\n", WHITE), 20000);
}

TEST_F(MoveOverhead, NeverBelowTheSmallestBudgetNorOverHalfOfWhatIsLeft) {
  for (int32_t overhead : {1, 100, MAX_MOVE_OVERHEAD_MS}) {
    move_overhead_ms = overhead;
    for (int32_t clock : {1, 40, 5000, 5100, 30000}) {
      for (int32_t inc : {0, 20, 3000}) {
        const std::string go = "go wtime " + std::to_string(clock) + " winc " + std::to_string(inc) + "\n";
        const int64_t b = budget(go.c_str(), WHITE);
        EXPECT_GE(b, MIN_OVERHEAD_BUDGET_MS) << overhead << ": " << go;
        const int64_t left = clock - overhead;
        if (left >= 2 * MIN_OVERHEAD_BUDGET_MS) {
          EXPECT_LE(b, left / 2) << overhead << ": " << go;
        }
      }
    }
  }
  move_overhead_ms = 5000;
  EXPECT_EQ(budget("go wtime 3000 btime 3000\n", WHITE), MIN_OVERHEAD_BUDGET_MS);
}

TEST_F(MoveOverhead, ZeroAndWhatHasNoClockAreUnchanged) {
  const char* const LINES[] = {"go wtime 60000 btime 60000\n", "go wtime 200 winc 1000\n", "go wtime 40 btime 40\n",
                               "go winc 1000\n", "go\n", "go movetime 5000\n", "go btime 30000 binc 500\n"};
  std::vector<int64_t> plain;
  for (const char* go : LINES) plain.push_back(budget(go, WHITE));
  EXPECT_EQ(plain[2], 1);  // the clock alone may give less than the smallest budget
  move_overhead_ms = 100;
  // No clock of the side to move: movetime, the increment alone or nothing.
  for (int i = 3; i < 7; ++i) EXPECT_EQ(budget(LINES[i], WHITE), plain[i]) << LINES[i];
}
