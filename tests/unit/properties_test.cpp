// Properties checked over many positions: the suite positions and random
// playouts from them.
#include <gtest/gtest.h>

#include <random>

#include "movegen_helpers.h"
#include "position/attacks.h"
#include "position/key.h"

namespace {

using namespace zolt;

constexpr int PLAYOUT_PLIES = 40;

bool is_capture_or_promotion(const Move& m) {
  return m.captured != EMPTY || m.kind == KIND_EN_PASSANT || m.kind >= KIND_WHITE_PROMOTE_QUEEN;
}

// Checks one position; returns its legal moves.
int check_position(Position& pos, Move* list, const std::string& where) {
  const int n = generate_moves(pos, list);
  EXPECT_EQ(count_moves(pos), n) << where;

  Move captures[MAX_MOVES];
  const int c = generate_captures(pos, captures);
  int expected = 0;
  for (int i = 0; i < n; ++i) {
    if (!is_capture_or_promotion(list[i])) continue;
    // Same records in the same order.
    if (expected < c) {
      EXPECT_EQ(zolt_test::move_text(captures[expected]), zolt_test::move_text(list[i])) << where;
      EXPECT_EQ(captures[expected].captured, list[i].captured) << where;
    }
    ++expected;
  }
  EXPECT_EQ(c, expected) << where;

  const Position before = pos;
  const int top = undo_top, saved_ply = ply, full = fullmove_number;
  for (int i = 0; i < n; ++i) {
    make_move(pos, list[i]);
    const bool own_king_safe = pos.side == BLACK ? !square_attacked_by_black(pos.board, pos.white_king)
                                                 : !square_attacked_by_white(pos.board, pos.black_king);
    EXPECT_TRUE(own_king_safe) << where << " " << zolt_test::move_text(list[i]);
    EXPECT_TRUE(zolt_test::occupancy_matches_board(pos)) << where << " " << zolt_test::move_text(list[i]);
    EXPECT_EQ(pos.key, position_key(pos)) << where << " " << zolt_test::move_text(list[i]);
    unmake_move(pos);
    EXPECT_TRUE(zolt_test::same_position(before, pos)) << where << " " << zolt_test::move_text(list[i]);
    EXPECT_EQ(undo_top, top);
    EXPECT_EQ(ply, saved_ply);
    EXPECT_EQ(fullmove_number, full);
  }
  return n;
}

void run_playouts(const char* file, bool chess960_mode) {
  chess960 = chess960_mode;
  std::mt19937 random(12345);
  for (const auto& line : zolt_test::read_lines(std::string(ZOLT_TEST_DATA) + "/" + file)) {
    for (int playout = 0; playout < 3; ++playout) {
      Position pos = zolt_test::position_from(line);
      Move list[MAX_MOVES];
      for (int plies = 0; plies < PLAYOUT_PLIES; ++plies) {
        const int n = check_position(pos, list, line + " ply " + std::to_string(plies));
        if (n == 0 || ::testing::Test::HasFailure()) break;
        make_move(pos, list[random() % n]);
        EXPECT_EQ(pos.key, position_key(pos)) << line << " after ply " << plies;
      }
      if (::testing::Test::HasFailure()) break;
    }
  }
  chess960 = 0;
}

}  // namespace

TEST(MoveProperties, StandardPlayouts) { run_playouts("perftsuite.epd", false); }
TEST(MoveProperties, Chess960Playouts) { run_playouts("chess960.epd", true); }
