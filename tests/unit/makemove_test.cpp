// Making and unmaking moves: counters, material, piece list, castling rights.
#include <gtest/gtest.h>

#include "eval/tables.h"
#include "movegen_helpers.h"

namespace {

using namespace zolt;
using zolt_test::position_from;
using zolt_test::same_position;

// The generated move with the given text ("e2e4", "e7e8/10").
Move find_move(Position& pos, const std::string& text) {
  Move list[MAX_MOVES];
  const int n = generate_moves(pos, list);
  for (int i = 0; i < n; ++i)
    if (zolt_test::move_text(list[i]) == text) return list[i];
  ADD_FAILURE() << "no move " << text;
  return Move{};
}

void play(Position& pos, const std::string& text) { make_move(pos, find_move(pos, text)); }

TEST(MakeMove, DoubleStepSetsCountersAndUnmakeRestores) {
  Position pos = position_from("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  const Position before = pos;
  const int full = fullmove_number;
  play(pos, "e2e4");
  EXPECT_EQ(pos.ep_square, make_square(4, 3));
  EXPECT_EQ(pos.side, BLACK);
  EXPECT_EQ(pos.fifty, 0);
  EXPECT_EQ(pos.moves_made, 1);
  EXPECT_EQ(pos.game_ply, before.game_ply + 1);
  EXPECT_EQ(fullmove_number, full);
  EXPECT_EQ(undo_top, 1);
  play(pos, "g8f6");
  EXPECT_EQ(fullmove_number, full + 1);
  EXPECT_EQ(pos.ep_square, 0);
  EXPECT_EQ(pos.fifty, 1);
  unmake_move(pos);
  EXPECT_EQ(fullmove_number, full);
  EXPECT_EQ(pos.ep_square, make_square(4, 3));  // restored exactly
  unmake_move(pos);
  EXPECT_TRUE(same_position(before, pos));
  EXPECT_EQ(undo_top, 0);
  EXPECT_EQ(ply, 0);
}

TEST(MakeMove, EnPassantMaterialAndPieceList) {
  Position pos = position_from("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
  pos.material = 0;
  const Position before = pos;
  const Square e5 = make_square(4, 5), d6 = make_square(3, 6), d5 = make_square(3, 5);
  const int pawn_slot = pos.slot_of[e5], victim_slot = pos.slot_of[d5];
  play(pos, "e5d6/6");
  EXPECT_EQ(pos.material, 100 + piece_square_table[PAWN][d6] - piece_square_table[PAWN][e5]);
  EXPECT_EQ(pos.board[d5], EMPTY);
  EXPECT_EQ(pos.slot_square[victim_slot], 0);
  EXPECT_EQ(pos.slot_square[pawn_slot], d6);
  EXPECT_EQ(piece_count_of(pos, -PAWN), 0);
  unmake_move(pos);
  EXPECT_TRUE(same_position(before, pos));
}

TEST(MakeMove, PromotionKeepsSlotAndCountsValue) {
  Position pos = position_from("7k/4P3/8/8/8/8/8/K7 w - - 0 1");
  pos.material = 0;
  const Position before = pos;
  const Square e7 = make_square(4, 7), e8 = make_square(4, 8);
  const int slot = pos.slot_of[e7];
  play(pos, "e7e8/10");
  EXPECT_EQ(pos.board[e8], KNIGHT);
  EXPECT_EQ(pos.slot_of[e8], slot);
  EXPECT_EQ(pos.material, 300 - 100 + piece_square_table[PAWN][e8] - piece_square_table[PAWN][e7]);
  EXPECT_EQ(piece_count_of(pos, PAWN), 1);  // a promoted pawn still counts as a pawn
  unmake_move(pos);
  EXPECT_EQ(pos.board[e7], PAWN);
  EXPECT_TRUE(same_position(before, pos));
}

TEST(MakeMove, CastlingRightLossCodes) {
  Position pos = position_from("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
  const Position before = pos;
  play(pos, "e1f1");
  EXPECT_EQ(undo_stack[0].kind, LOST_WHITE_BOTH);
  EXPECT_EQ(pos.white_king_moved, 1);
  unmake_move(pos);
  EXPECT_TRUE(same_position(before, pos));

  play(pos, "h1g1");
  EXPECT_EQ(undo_stack[0].kind, LOST_WHITE_KING_SIDE);
  EXPECT_EQ(pos.white_h_rook_moved, 1);
  EXPECT_EQ(pos.white_a_rook_moved, 0);
  unmake_move(pos);

  pos = position_from("r3k2r/8/8/8/8/8/8/R3K2R w kq - 0 1");
  play(pos, "a1b1");
  EXPECT_EQ(undo_stack[0].kind, 0);
  EXPECT_EQ(pos.white_a_rook_moved, 1);  // no right held: the flag stays as it was
}

TEST(MakeMove, CastlingMovesRookWithItsSlot) {
  Position pos = position_from("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1");
  const Position before = pos;
  const int rook_slot = pos.slot_of[A8];
  play(pos, "e8c8/5");
  EXPECT_EQ(pos.board[C8], -KING);
  EXPECT_EQ(pos.board[D8], -ROOK);
  EXPECT_EQ(pos.board[A8], EMPTY);
  EXPECT_EQ(pos.black_king, C8);
  EXPECT_EQ(pos.slot_square[rook_slot], D8);
  EXPECT_EQ(pos.black_king_moved, 1);
  unmake_move(pos);
  EXPECT_TRUE(same_position(before, pos));
}

// A capture on a castling rook's square takes that right away, even when a
// rook later comes back to the corner.
TEST(MakeMove, CaptureOnRookSquareTakesTheRight) {
  Position pos = position_from("4k3/8/8/8/8/8/6b1/R3K2R b KQ - 0 1");
  const Position before = pos;
  play(pos, "g2h1");
  EXPECT_EQ(pos.white_h_rook_moved, 1);
  EXPECT_EQ(pos.white_a_rook_moved, 0);
  char fen[FEN_BUFFER_SIZE];
  write_fen(pos, fen);
  EXPECT_STREQ(fen, "4k3/8/8/8/8/8/8/R3K2b w Q - ");
  unmake_move(pos);
  EXPECT_TRUE(same_position(before, pos));
}

TEST(MakeMove, EndgameFlagNeedsExactlyOnePiece) {
  Position pos = position_from("4k3/8/8/8/8/8/8/QQ2K3 w - - 0 1");
  play(pos, "e1e2");
  EXPECT_EQ(pos.endgame, 1);  // two queens are not "exactly one"
  pos = position_from("4k3/8/8/8/8/8/8/Q3K3 w - - 0 1");
  play(pos, "e1e2");
  EXPECT_EQ(pos.endgame, 0);
  pos = position_from("4k3/8/8/8/8/8/8/Q1nbK3 w - - 0 1");
  play(pos, "a1b1");  // takes nothing; the black knight and bishop pair remains
  EXPECT_EQ(pos.endgame, 0);
}

}  // namespace
