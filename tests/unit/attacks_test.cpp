// Attack tests and the trial tests that must restore the board.
#include <gtest/gtest.h>

#include <cstring>

#include "movegen_helpers.h"
#include "position/attacks.h"
#include "position/occupancy.h"

namespace {

using namespace zolt;
using zolt_test::position_from;

TEST(Attacks, PawnsAttackDiagonallyForward) {
  int32_t board[BOARD_SIZE];
  memcpy(board, EMPTY_BOARD, sizeof board);
  board[make_square(4, 5)] = -PAWN;  // e5
  board[make_square(4, 4)] = PAWN;   // e4 (blocks nothing: pawns attack diagonally)
  EXPECT_TRUE(square_attacked_by_black(board, make_square(3, 4)));   // d4
  EXPECT_TRUE(square_attacked_by_black(board, make_square(5, 4)));   // f4
  EXPECT_FALSE(square_attacked_by_black(board, make_square(4, 4)));  // e4
  EXPECT_FALSE(square_attacked_by_black(board, make_square(3, 6)));  // d6: behind the pawn
  EXPECT_TRUE(square_attacked_by_white(board, make_square(3, 5)));   // d5
  EXPECT_TRUE(square_attacked_by_white(board, make_square(5, 5)));   // f5
  EXPECT_FALSE(square_attacked_by_white(board, make_square(4, 5)));
}

TEST(Attacks, SlidersStopAtTheFirstPiece) {
  int32_t board[BOARD_SIZE];
  memcpy(board, EMPTY_BOARD, sizeof board);
  board[A1] = -QUEEN;
  board[make_square(2, 1)] = PAWN;  // c1 blocks the rank
  EXPECT_TRUE(square_attacked_by_black(board, B1));
  EXPECT_FALSE(square_attacked_by_black(board, D1));
  EXPECT_TRUE(square_attacked_by_black(board, make_square(7, 8)));  // h8 along the diagonal
  EXPECT_TRUE(square_attacked_by_black(board, A8));
}

TEST(Attacks, KingTrialRestoresBoard) {
  Position pos = position_from("5r1k/8/8/8/8/8/8/4K3 w - - 0 1");
  const Position before = pos;
  EXPECT_EQ(white_king_attacked_at(pos, E1, F1), 1);
  EXPECT_EQ(white_king_attacked_at(pos, E1, D1), 0);
  EXPECT_TRUE(zolt_test::same_position(before, pos));
}

TEST(Attacks, EnPassantThatUncoversRankAttackIsExposing) {
  Position pos = position_from("4k3/8/8/KPp4r/8/8/8/8 w - c6 0 1");
  ASSERT_EQ(pos.ep_square, make_square(2, 6));
  const Position before = pos;
  EXPECT_EQ(white_move_exposes_king(pos, make_square(1, 5), make_square(2, 6)), 1);
  EXPECT_EQ(white_move_exposes_king(pos, make_square(1, 5), make_square(1, 6)), 0);
  EXPECT_TRUE(zolt_test::same_position(before, pos));
}

class Castle960Test : public ::testing::Test {
 protected:
  void SetUp() override { chess960 = 1; }
  void TearDown() override { chess960 = 0; }
};

TEST_F(Castle960Test, KingOnGNeedsOnlyFEmptyAndGSafe) {
  Position pos = position_from("4k3/8/8/8/8/8/8/6KR w H - 0 1");
  EXPECT_EQ(castle960_white_king_side(pos), 1);
  pos = position_from("4k3/8/8/8/8/8/8/5NKR w H - 0 1");
  EXPECT_EQ(castle960_white_king_side(pos), 0);
}

TEST_F(Castle960Test, KingOnBWithRookOnA) {
  Position pos = position_from("3rk3/8/8/8/8/8/8/RK6 w A - 0 1");  // d1 attacked: only the rook crosses it
  EXPECT_EQ(castle960_white_queen_side(pos), 1);
  pos = position_from("2r1k3/8/8/8/8/8/8/RK6 w A - 0 1");  // c1 attacked
  EXPECT_EQ(castle960_white_queen_side(pos), 0);
  pos = position_from("4k3/8/8/8/8/8/8/RK1N4 w A - 0 1");  // d1 occupied
  EXPECT_EQ(castle960_white_queen_side(pos), 0);
}

// The castling rook on b1 shields c1 from the enemy rook on a1 only until it
// moves to d1: the king must not castle into that check.
TEST_F(Castle960Test, DestinationJudgedWithRookLifted) {
  Position pos = position_from("4k3/8/8/8/8/8/8/rRK5 w B - 0 1");
  ASSERT_EQ(castle_rook_square[WHITE_A_ROOK], B1);
  const Position before = pos;
  EXPECT_EQ(castle960_white_queen_side(pos), 0);
  EXPECT_TRUE(zolt_test::same_position(before, pos));
  for (const auto& m : zolt_test::legal_moves(pos)) EXPECT_EQ(m.find("/3"), std::string::npos) << m;
  Move list[MAX_MOVES];
  EXPECT_EQ(count_moves(pos), generate_moves(pos, list));
  // Black's mirror image.
  pos = position_from("Rrk5/8/8/8/8/8/8/4K3 b b - 0 1");
  EXPECT_EQ(castle960_black_queen_side(pos), 0);
}

TEST_F(Castle960Test, KingSideRookBetweenKingAndAttacker) {
  // Rook on g1 hides nothing here, but the enemy rook on h1 would attack g1
  // once the castling rook has left it.
  Position pos = position_from("4k3/8/8/8/8/8/8/5KRr w G - 0 1");
  EXPECT_EQ(castle960_white_king_side(pos), 0);
}


// The attack test on the piece sets and the one that walks the board agree
// on every square of every suite position, for both colours, and also after
// each legal move (which exercises the sets kept by make and unmake).
void expect_set_test_agrees(const Position& pos, const std::string& where) {
  const Bitboard occupied = all_occupied(pos);
  for (Square s = A8; s <= H1; ++s) {
    if (pos.board[s] == OFF_BOARD) continue;
    EXPECT_EQ(attacked_with<WHITE>(pos, s, occupied), square_attacked_by_white(pos.board, s) != 0) << where << " " << s;
    EXPECT_EQ(attacked_with<BLACK>(pos, s, occupied), square_attacked_by_black(pos.board, s) != 0) << where << " " << s;
  }
}

TEST(Attacks, SetTestAgreesWithBoardWalk) {
  for (const char* file : {"perftsuite.epd", "chess960.epd"}) {
    chess960 = std::string(file) == "chess960.epd";
    for (const auto& line : zolt_test::read_lines(std::string(ZOLT_TEST_DATA) + "/" + file)) {
      Position pos = position_from(line);
      expect_set_test_agrees(pos, line);
      Move list[MAX_MOVES];
      const int n = generate_moves(pos, list);
      for (int i = 0; i < n; ++i) {
        make_move(pos, list[i]);
        expect_set_test_agrees(pos, line + " " + zolt_test::move_text(list[i]));
        unmake_move(pos);
      }
    }
  }
  chess960 = 0;
}
}  // namespace
