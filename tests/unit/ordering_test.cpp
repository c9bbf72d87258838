#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "search/ordering.h"
#include "search_helpers.h"

using namespace zolt;
using zolt_test::load_position;

namespace {

std::string name(Square s) { return std::string(1, char('a' + s % 10 - 1)) + char('0' + 10 - s / 10); }
std::string text(const Move& m) { return name(m.from) + name(m.to); }

Move quiet(Square from, Square to) {
  Move m{};
  m.from = from;
  m.to = to;
  return m;
}

// The moves in the order the search takes them: from the end of the sorted list.
std::vector<std::string> search_order(Move* list, int n) {
  std::vector<std::string> order;
  for (int i = n - 1; i >= 0; --i) order.push_back(text(list[i]));
  return order;
}

int score_of(const Move* list, int n, const std::string& move) {
  for (int i = 0; i < n; ++i)
    if (text(list[i]) == move) return list[i].score;
  ADD_FAILURE() << move << " not generated";
  return 0;
}

class Ordering : public ::testing::Test {
 protected:
  void SetUp() override { zolt_test::reset_search_state(); }
  void TearDown() override { zolt_test::reset_search_state(); }
};

}  // namespace

TEST_F(Ordering, StartPositionScoresAndSearchOrder) {
  Position pos = load_position(zolt_test::START_FEN);
  Move list[MAX_MOVES];
  const int n = generate_moves(pos, list);
  ASSERT_EQ(n, 20);
  score_moves(list, n, pos);
  EXPECT_EQ(score_of(list, n, "e2e4"), 30);
  EXPECT_EQ(score_of(list, n, "d2d4"), 29);
  EXPECT_EQ(score_of(list, n, "b1c3"), 25);
  EXPECT_EQ(score_of(list, n, "g1f3"), 25);
  EXPECT_EQ(score_of(list, n, "d2d3"), 12);
  EXPECT_EQ(score_of(list, n, "e2e3"), 12);
  EXPECT_EQ(score_of(list, n, "g1h3"), 9);
  EXPECT_EQ(score_of(list, n, "b1a3"), 9);
  EXPECT_EQ(score_of(list, n, "a2a3"), 0);
  sort_moves(list, n);
  const std::vector<std::string> expected = {"e2e4", "d2d4", "b1c3", "g1f3", "d2d3", "e2e3", "g1h3",
                                             "b1a3", "h2h4", "f2f3", "h2h3", "g2g4", "g2g3", "f2f4",
                                             "c2c4", "c2c3", "b2b4", "b2b3", "a2a4", "a2a3"};
  EXPECT_EQ(search_order(list, n), expected);
}

TEST_F(Ordering, ShellSortKeepsItsOrderOfEqualScores) {
  // Scores with ties; the expected order is the one the halving-gap Shell
  // sort produces (equal records are never swapped directly).
  Move list[6];
  const int scores[6] = {5, 1, 5, 1, 5, 0};
  for (int i = 0; i < 6; ++i) {
    list[i] = quiet(21 + i, 31 + i);  // the from square tags the record
    list[i].score = scores[i];
  }
  sort_moves(list, 6);
  const int expected_from[6] = {26, 24, 22, 21, 25, 23};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(list[i].from, expected_from[i]) << i;

  Move one = quiet(21, 31);
  one.score = 7;
  sort_moves(&one, 1);
  EXPECT_EQ(one.from, 21);
  EXPECT_EQ(one.score, 7);
}

// The textbook halving-gap Shell sort, exchanging neighbours gap apart.
void reference_shell_sort(Move* list, int n) {
  for (int gap = n / 2; gap > 0; gap /= 2)
    for (int i = gap; i < n; ++i)
      for (int j = i - gap; j >= 0 && list[j].score > list[j + gap].score; j -= gap) std::swap(list[j], list[j + gap]);
}

TEST_F(Ordering, SortMatchesTheTextbookShellSortAtEveryLength) {
  // Short lists are sorted in place and long ones through keys: both must
  // leave ties exactly where the exchanges leave them.
  std::mt19937 random(7);
  for (int n = 2; n <= 60; ++n)
    for (int trial = 0; trial < 20; ++trial) {
      Move list[MAX_MOVES], expected[MAX_MOVES];
      for (int i = 0; i < n; ++i) {
        list[i] = quiet(21 + i % 8 + 10 * (i / 8 % 8), 21 + i / 8);  // from and to tag the record
        list[i].score = static_cast<int>(random() % 5) - 2;            // many ties, some negative
        expected[i] = list[i];
      }
      reference_shell_sort(expected, n);
      sort_moves(list, n);
      for (int i = 0; i < n; ++i) {
        EXPECT_EQ(text(list[i]), text(expected[i])) << "n " << n << " trial " << trial << " at " << i;
        EXPECT_EQ(list[i].score, expected[i].score);
      }
    }
}

TEST_F(Ordering, BonusPrecedence) {
  // White: pawn d5 can take the queen on c6; knight b1 has quiet moves.
  Position pos = load_position("4k3/8/2q5/3P4/8/8/8/1N2K3 w - - 0 1");
  Move list[MAX_MOVES];
  const int n = generate_moves(pos, list);

  score_moves(list, n, pos);
  const int capture_plain = score_of(list, n, "d5c6");
  const int knight_plain = score_of(list, n, "b1c3");
  const int knight_a3 = score_of(list, n, "b1a3");
  EXPECT_GT(capture_plain, 1100);  // queen value and capture bonus, give or take the square gain

  killer1[0] = quiet(B1, 73);  // b1c3
  killer2[0] = quiet(B1, 71);  // b1a3
  root_pv.moves[0] = quiet(B1, 73);
  score_moves(list, n, pos);
  EXPECT_EQ(score_of(list, n, "b1c3"), knight_plain + 360);  // the killer hides the best-line bonus
  EXPECT_EQ(score_of(list, n, "b1a3"), knight_a3 + 365);     // the older killer ranks higher
  EXPECT_GT(score_of(list, n, "d5c6"), score_of(list, n, "b1a3"));

  zolt_test::clear_killers();
  score_moves(list, n, pos);
  EXPECT_EQ(score_of(list, n, "b1c3"), knight_plain + 900);

  mate_killer[0] = quiet(B1, 71);
  score_moves(list, n, pos);
  EXPECT_EQ(score_of(list, n, "b1a3"), knight_a3 + 370);
}

TEST_F(Ordering, KillersOfTwoPliesEarlier) {
  Position pos = load_position("4k3/8/8/8/8/8/8/1N2K3 w - - 0 1");
  Move list[MAX_MOVES];
  const int n = generate_moves(pos, list);
  score_moves(list, n, pos);
  const int plain = score_of(list, n, "b1c3");

  killer1[1] = quiet(B1, 73);
  ply = 3;
  score_moves(list, n, pos);
  EXPECT_EQ(score_of(list, n, "b1c3"), plain + 340);
  killer2[1] = quiet(B1, 73);
  killer1[1] = Move{};
  score_moves(list, n, pos);
  EXPECT_EQ(score_of(list, n, "b1c3"), plain + 345);
  ply = 2;  // only from ply 3 on
  score_moves(list, n, pos);
  EXPECT_EQ(score_of(list, n, "b1c3"), plain);
  ply = 0;
}

TEST_F(Ordering, CapturesGetOnlyTheBestLineBonus) {
  Position pos = load_position("4k3/8/4q3/3P4/8/8/8/4K3 w - - 0 1");
  Move list[MAX_MOVES];
  const int n = generate_captures(pos, list);
  ASSERT_EQ(n, 1);
  killer1[0] = list[0];
  score_captures(list, n, pos);
  const int plain = list[0].score;
  EXPECT_GE(plain, 900);
  root_pv.moves[0] = list[0];
  score_captures(list, n, pos);
  EXPECT_EQ(list[0].score, plain + 900);
}

TEST_F(Ordering, RecordKillerShifts) {
  record_killer(quiet(B1, 73), 5);
  record_killer(quiet(G1, 76), 5);
  EXPECT_EQ(killer1[5].to, 76);
  EXPECT_EQ(killer2[5].to, 73);
}
