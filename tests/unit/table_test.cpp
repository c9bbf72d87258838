// The transposition table's room and the draw test, in-process.
#include <gtest/gtest.h>

#include "frontend/notation.h"
#include "position/key.h"
#include "search/draw.h"
#include "search/clock.h"
#include "search/driver.h"
#include "search/timecontrol.h"
#include "search/tt.h"
#include "search_helpers.h"

namespace {

using namespace zolt;

Move move_of(Square from, Square to) {
  Move m{};
  m.from = from;
  m.to = to;
  return m;
}

// Keys that share a bucket: the same low half, other high halves.
uint64_t bucket_mate(uint64_t key, uint32_t n) { return (key & 0xffffffffULL) | (static_cast<uint64_t>(n) << 32); }

bool play(Position& pos, const char* text) {
  const int index = match_move_text(text, pos);
  if (index < 0) return false;
  make_move(pos, shared_move_list[index]);
  return true;
}

struct TableOf1Mb : ::testing::Test {
  void SetUp() override { ASSERT_EQ(resize_table(1), 1); }
  void TearDown() override { resize_table(0); }
};

}  // namespace

TEST_F(TableOf1Mb, StoresAndFindsAnEntryUnderItsKeyOnly) {
  const uint64_t key = 0x123456789abcdef0ULL;
  EXPECT_EQ(probe_table(key), nullptr);
  store_table(key, 5, -42, BOUND_LOWER, move_of(make_square(4, 2), make_square(4, 4)));
  const TableEntry* e = probe_table(key);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->depth, 5);
  EXPECT_EQ(e->score, -42);
  EXPECT_EQ(e->bound, BOUND_LOWER);
  EXPECT_EQ(e->from, make_square(4, 2));
  EXPECT_EQ(e->to, make_square(4, 4));
  EXPECT_EQ(probe_table(bucket_mate(key, 7)), nullptr) << "same bucket, other position";
  // A result without a move keeps the move found before.
  store_table(key, 6, 10, BOUND_UPPER, Move{});
  EXPECT_EQ(probe_table(key)->from, make_square(4, 2));
  EXPECT_EQ(probe_table(key)->bound, BOUND_UPPER);
}

TEST_F(TableOf1Mb, AFullBucketGivesUpItsShallowestEntry) {
  const uint64_t key = 0x0badf00d00c0ffeeULL;
  const int depths[] = {7, 3, 9, 5};
  for (uint32_t i = 0; i < 4; ++i) store_table(bucket_mate(key, i + 1), depths[i], 0, BOUND_EXACT, Move{});
  store_table(bucket_mate(key, 99), 4, 0, BOUND_EXACT, Move{});
  EXPECT_NE(probe_table(bucket_mate(key, 99)), nullptr);
  EXPECT_EQ(probe_table(bucket_mate(key, 2)), nullptr) << "depth 3 was the shallowest";
  for (uint32_t i : {1u, 3u, 4u}) EXPECT_NE(probe_table(bucket_mate(key, i)), nullptr) << i;
  // In a later search the entries of earlier ones count as shallower: a
  // depth-1 entry of this search outlasts one of depth 5 from the last.
  new_table_search();
  store_table(bucket_mate(key, 100), 1, 0, BOUND_EXACT, Move{});
  store_table(bucket_mate(key, 101), 1, 0, BOUND_EXACT, Move{});
  EXPECT_NE(probe_table(bucket_mate(key, 100)), nullptr);
  EXPECT_NE(probe_table(bucket_mate(key, 101)), nullptr);
  EXPECT_EQ(probe_table(bucket_mate(key, 4)), nullptr) << "depth 5 of the last search";
  EXPECT_NE(probe_table(bucket_mate(key, 3)), nullptr) << "depth 9 of the last search";
}

TEST_F(TableOf1Mb, ClearEmptiesAndFillCountsThisSearch) {
  EXPECT_EQ(table_fill_per_mille(), 0);
  new_table_search();
  // The first thousand entries are the first 250 buckets.
  for (uint64_t b = 0; b < 4096; ++b) store_table(b * 0x9e3779b97f4a7c15ULL, 2, 0, BOUND_EXACT, Move{});
  const int filled = table_fill_per_mille();
  EXPECT_GT(filled, 0);
  new_table_search();
  EXPECT_EQ(table_fill_per_mille(), 0) << "entries of an earlier search are not counted";
  clear_table();
  for (uint64_t b = 0; b < 4096; ++b) EXPECT_EQ(probe_table(b * 0x9e3779b97f4a7c15ULL), nullptr);
}

TEST(Table, SizesAreClampedAndZeroMeansNone) {
  EXPECT_EQ(resize_table(-3), 0);
  EXPECT_FALSE(table_in_use());
  EXPECT_EQ(probe_table(1), nullptr);
  EXPECT_EQ(resize_table(2), 2);
  EXPECT_TRUE(table_in_use());
  EXPECT_EQ(table_megabytes, 2);
  EXPECT_EQ(resize_table(0), 0);
  EXPECT_FALSE(table_in_use());
}

TEST(Table, MateScoresCountFromTheStoredPosition) {
  // Mated at ply 9, seen from a node at ply 4: five plies from that node.
  const int mated = 9 - MATE;
  EXPECT_EQ(score_to_table(mated, 4), 5 - MATE);
  EXPECT_EQ(score_from_table(score_to_table(mated, 4), 2), 7 - MATE) << "read at ply 2: mated at ply 7";
  const int mating = MATE - 5;
  EXPECT_EQ(score_from_table(score_to_table(mating, 3), 1), MATE - 3);
  EXPECT_EQ(score_to_table(250, 6), 250);
  EXPECT_EQ(score_from_table(-250, 6), -250);
}

// Entries whose moves are not legal in the position they are found for (a
// key collision) are only ever an order of legal moves: the search plays
// none of them and leaves the position as it found it.
TEST(Table, AStoredMoveThatIsNotLegalIsNeverPlayed) {
  ASSERT_EQ(resize_table(1), 1);
  zolt_test::reset_search_state();
  Position pos = zolt_test::load_position("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3");
  const Position before = pos;
  const Move nonsense = move_of(A1, H8);
  store_table(pos.key, 0, 0, BOUND_UPPER, nonsense);
  Move list[MAX_MOVES];
  const int n = generate_moves(pos, list);
  for (int i = 0; i < n; ++i) {
    make_move(pos, list[i]);
    store_table(pos.key, 0, 0, BOUND_UPPER, move_of(E1, E8));
    unmake_move(pos);
  }
  const KeyTrackingScope keys(1);
  deadline = clock_ms() + NO_TIME_LIMIT;
  search_poll_countdown = 1 << 30;
  const int progress = console_progress_info;
  console_progress_info = 0;
  for (int depth = 1; depth <= 5; ++depth) {
    ply = 0;
    iteration_depth = depth;
    alpha_beta(pos, -INFINITE_SCORE, INFINITE_SCORE, depth, root_pv);
    ASSERT_GT(root_pv.count, 0);
    bool legal = false;
    for (int i = 0; i < n; ++i)
      legal |= list[i].from == root_pv.moves[0].from && list[i].to == root_pv.moves[0].to;
    EXPECT_TRUE(legal) << depth;
  }
  EXPECT_TRUE(memcmp(pos.board, before.board, sizeof pos.board) == 0);
  EXPECT_EQ(pos.key, before.key);
  console_progress_info = progress;
  resize_table(0);
}

TEST(Draw, RepetitionSinceTheLastCaptureOrPawnMove) {
  Position pos = zolt_test::load_position(zolt_test::START_FEN);
  for (const char* m : {"g1f3", "g8f6", "f3g1"}) {
    ASSERT_TRUE(play(pos, m));
    EXPECT_FALSE(is_draw(pos)) << m;
  }
  ASSERT_TRUE(play(pos, "f6g8"));
  EXPECT_TRUE(is_draw(pos)) << "the start position again";
  ASSERT_TRUE(play(pos, "e2e4"));
  EXPECT_FALSE(is_draw(pos));
  // The same squares after the pawn move are a new position.
  for (const char* m : {"g8f6", "g1f3", "f6g8"}) {
    ASSERT_TRUE(play(pos, m));
    EXPECT_FALSE(is_draw(pos)) << m;
  }
  ASSERT_TRUE(play(pos, "f3g1"));
  EXPECT_TRUE(is_draw(pos));
}

TEST(Draw, OnlyTheMovesSinceThePositionWasLoadedCount) {
  Position pos = zolt_test::load_position(zolt_test::START_FEN);
  for (const char* m : {"g1f3", "g8f6", "f3g1", "f6g8"}) ASSERT_TRUE(play(pos, m));
  // A new position on top of the old game's undo entries: its keys are not its history.
  ASSERT_EQ(load_fen(zolt_test::START_FEN, pos), 0);
  EXPECT_FALSE(is_draw(pos));
  ASSERT_TRUE(play(pos, "b1c3"));
  ASSERT_TRUE(play(pos, "b8c6"));
  EXPECT_FALSE(is_draw(pos));
}

TEST(Draw, FiftyMoveRule) {
  Position pos = zolt_test::load_position("7k/8/5K2/8/8/8/8/1Q6 w - - 99 80");
  EXPECT_FALSE(is_draw(pos));
  ASSERT_TRUE(play(pos, "b1b2"));
  EXPECT_TRUE(is_draw(pos)) << "the hundredth ply";
  // Mate on the hundredth ply is still mate.
  Position mated = zolt_test::load_position("1Q5k/8/6K1/8/8/8/8/8 b - - 100 80");
  EXPECT_FALSE(is_draw(mated));
  Position checked = zolt_test::load_position("7k/1Q6/6K1/8/8/8/8/8 b - - 100 80");
  EXPECT_TRUE(is_draw(checked)) << "not in check, not mated";
}

// The engine's own move after a search is played with the key kept, with or
// without a table, so the position's key is right for the next search.
TEST(Table, TheBoardKeepsItsKeyAcrossSearchesWithAndWithoutTable) {
  zolt_test::reset_search_state();
  Position pos = zolt_test::load_position(zolt_test::START_FEN);
  deadline = clock_ms() + NO_TIME_LIMIT;
  uci_depth_limit = 3;
  for (int megabytes : {0, 1, 0}) {
    resize_table(megabytes);
    stop_search = 0;
    run_uci_search(pos, 0);
    EXPECT_EQ(pos.key, position_key(pos)) << megabytes;
  }
  uci_depth_limit = 0;
  resize_table(0);
}
