#include <gtest/gtest.h>

#include <cstring>

#include "eval/tables.h"
#include "position/state.h"

using namespace zolt;

namespace {

// Places the pieces of a FEN board field on an empty board; kings are recorded.
Position board_from(const char* field) {
  Position pos;
  memset(&pos, 0, sizeof pos);
  memcpy(pos.board, EMPTY_BOARD, sizeof pos.board);
  const char* letters = " PNBRQK";
  int rank = 8, file = 0;
  for (const char* p = field; *p; ++p) {
    if (*p == '/') {
      --rank;
      file = 0;
    } else if (*p >= '1' && *p <= '8') {
      file += *p - '0';
    } else {
      char upper = *p & ~0x20;
      int type = static_cast<int>(strchr(letters, upper) - letters);
      PieceCode code = *p == upper ? type : -type;
      Square s = make_square(file++, rank);
      pos.board[s] = code;
      if (code == KING) pos.white_king = s;
      if (code == -KING) pos.black_king = s;
    }
  }
  pos.side = WHITE;
  return pos;
}

Square mirror(Square s) { return (11 - s / 10) * 10 + s % 10; }  // same file, rank 9 - r

class TablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    set_default_piece_values();
    Position scratch;
    reset_position(scratch);
  }
};

}  // namespace

TEST_F(TablesTest, DefaultValuesAreSignedByColourAndZeroOffBoard) {
  const int expected[15] = {0, -9999999, -900, -500, -325, -300, -100, 0, 100, 300, 325, 500, 900, 9999999, 0};
  for (int code = -7; code <= 7; ++code) EXPECT_EQ(piece_value[code], expected[code + 7]) << code;
}

TEST_F(TablesTest, RowsAreMirroredBetweenColoursAndZeroOnBorder) {
  EXPECT_EQ(mirror(make_square(4, 1)), make_square(4, 8));
  EXPECT_EQ(mirror(make_square(0, 3)), make_square(0, 6));
  for (int type = PAWN; type <= KING; ++type)
    for (Square s = 0; s < BOARD_SIZE; ++s) {
      if (EMPTY_BOARD[s] == OFF_BOARD) {
        EXPECT_EQ(piece_square_table[type][s], 0);
        EXPECT_EQ(piece_square_table[-type][s], 0);
        continue;
      }
      EXPECT_EQ(piece_square_table[-type][mirror(s)], piece_square_table[type][s]) << type << " " << s;
      EXPECT_EQ(ordering_square_table[type][s], piece_square_table[type][s]);
    }
  for (Square s = 0; s < BOARD_SIZE; ++s) {
    EXPECT_EQ(piece_square_table[0][s], 0);
    EXPECT_EQ(piece_square_table[OFF_BOARD][s], 0);
    EXPECT_EQ(piece_square_table[-OFF_BOARD][s], 0);
  }
  // Spot values from the tables: king home squares, knight corners, bishop a2/h3, rook d1.
  EXPECT_EQ(piece_square_table[KING][G1], 16);
  EXPECT_EQ(piece_square_table[KING][C1], 14);
  EXPECT_EQ(piece_square_table[-KING][G8], 16);
  EXPECT_EQ(piece_square_table[KNIGHT][A8], -7);
  EXPECT_EQ(piece_square_table[BISHOP][make_square(0, 2)], 26);
  EXPECT_EQ(piece_square_table[BISHOP][make_square(7, 3)], 26);
  EXPECT_EQ(piece_square_table[ROOK][D1], 3);
  EXPECT_EQ(piece_square_table[PAWN][make_square(4, 4)], 30);
  EXPECT_EQ(piece_square_table[QUEEN][make_square(6, 7)], -2);
}

TEST_F(TablesTest, StartPositionMaterialIsZeroAndNothingSwitches) {
  Position pos = board_from("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
  pos.material = 12345;
  prepare_evaluation(pos);
  EXPECT_EQ(pos.material, 0);
  EXPECT_EQ(piece_square_table[KING][G1], 16);
  EXPECT_EQ(piece_square_table[-KING][G8], 16);
}

TEST_F(TablesTest, MaterialCountsValuesAndSquares) {
  // White knight f3 (300 + 22) and pawn e4 (100 + 30) against a black rook a8
  // (500 + 0: black's a8 mirrors white's a1).
  Position pos = board_from("r3k3/8/8/8/4P3/5N2/8/4K3");
  prepare_evaluation(pos);
  int kings = piece_square_table[KING][E1] - piece_square_table[-KING][E8];
  EXPECT_EQ(pos.material, 322 + 130 - 500 + kings);
}

TEST_F(TablesTest, QueenlessSideBelowThresholdSwitchesOpponentKingAndPawns) {
  // White: rook, bishop, knight = 1125 and no queen; black has a queen.
  Position pos = board_from("3qk3/pppp4/8/8/8/8/8/RBN1K3");
  prepare_evaluation(pos);
  // Black king d4 (mirrored from white's d5 entry): endgame 15, main -20.
  EXPECT_EQ(piece_square_table[-KING][make_square(3, 4)], 15);
  EXPECT_EQ(piece_square_table[-PAWN][make_square(0, 2)], 20);
  EXPECT_EQ(piece_square_table[KING][make_square(3, 5)], -20);
  EXPECT_EQ(piece_square_table[PAWN][make_square(0, 7)], 10);
  // The ordering copy is never switched.
  EXPECT_EQ(ordering_square_table[-KING][make_square(3, 4)], -20);

  // The switch stays through later preparations; a reset undoes it.
  Position start = board_from("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
  prepare_evaluation(start);
  EXPECT_EQ(piece_square_table[-KING][make_square(3, 4)], 15);
  reset_position(start);
  EXPECT_EQ(piece_square_table[-KING][make_square(3, 4)], -20);
  EXPECT_EQ(piece_square_table[-PAWN][make_square(0, 2)], 10);
}

TEST_F(TablesTest, MaterialIsComputedWithRowsInForceBeforeTheSwitch) {
  Position pos = board_from("4k3/8/8/8/8/8/8/6K1");
  prepare_evaluation(pos);
  // Main rows: white king g1 16, black king e8 -8.
  EXPECT_EQ(pos.material, 24);
  // Both sides are bare, so both king rows have switched: g1 0, e8 2.
  prepare_evaluation(pos);
  EXPECT_EQ(pos.material, -2);
}

TEST_F(TablesTest, ThresholdAndQueenBlockTheSwitch) {
  // White two rooks, bishop, knight = 1625: nothing switches for black.
  Position pos = board_from("3qk3/8/8/8/8/8/8/RBN1K2R");
  prepare_evaluation(pos);
  EXPECT_EQ(piece_square_table[-KING][make_square(3, 4)], -20);
  // Black keeps its queen, so white's rows stay main as well.
  EXPECT_EQ(piece_square_table[KING][make_square(3, 5)], -20);

  // A lone queen keeps the opponent's tables main although it is below 1500.
  Position queen_only = board_from("4k3/8/8/8/8/8/8/3QK3");
  prepare_evaluation(queen_only);
  EXPECT_EQ(piece_square_table[-KING][make_square(3, 4)], -20);
  EXPECT_EQ(piece_square_table[KING][make_square(3, 5)], 15);  // black has nothing
}

TEST_F(TablesTest, ResetEmptiesBoardAndClearsState) {
  Position pos = board_from("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
  pos.white_king_moved = pos.black_a_rook_moved = 1;
  pos.ep_square = 45;
  pos.game_ply = 7;
  pos.fifty = 3;
  pos.side = BLACK;
  reset_position(pos);
  EXPECT_EQ(memcmp(pos.board, EMPTY_BOARD, sizeof pos.board), 0);
  EXPECT_EQ(pos.white_king_moved + pos.black_a_rook_moved + pos.ep_square + pos.game_ply + pos.fifty, 0);
  EXPECT_EQ(pos.side, WHITE);
  EXPECT_EQ(pos.white_king, E1);  // not found on the empty board: kept
}
