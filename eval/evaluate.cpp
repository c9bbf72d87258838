#include "eval/evaluate.h"

namespace zolt {

namespace {

constexpr int SHELTER_PAWN_BONUS = 5;
constexpr int KING_SIDE_CASTLED_BONUS = 5;   // king on g1 / g8
constexpr int QUEEN_SIDE_CASTLED_BONUS = 8;  // king on c1 / c8

// Pawns on the three squares in front of the white king (towards rank 8).
int white_shelter(const Position& pos) {
  const Square k = pos.white_king;
  int bonus = 0;
  if (pos.board[k - 10] == PAWN) bonus += SHELTER_PAWN_BONUS;
  if (pos.board[k - 11] == PAWN) bonus += SHELTER_PAWN_BONUS;
  if (pos.board[k - 9] == PAWN) bonus += SHELTER_PAWN_BONUS;
  if (k == G1) bonus += KING_SIDE_CASTLED_BONUS;
  if (k == C1) bonus += QUEEN_SIDE_CASTLED_BONUS;
  return bonus;
}

// Pawns on the three squares in front of the black king (towards rank 1).
int black_shelter(const Position& pos) {
  const Square k = pos.black_king;
  int bonus = 0;
  if (pos.board[k + 10] == -PAWN) bonus += SHELTER_PAWN_BONUS;
  if (pos.board[k + 11] == -PAWN) bonus += SHELTER_PAWN_BONUS;
  if (pos.board[k + 9] == -PAWN) bonus += SHELTER_PAWN_BONUS;
  if (k == G8) bonus += KING_SIDE_CASTLED_BONUS;
  if (k == C8) bonus += QUEEN_SIDE_CASTLED_BONUS;
  return bonus;
}

// Only minor pieces left, too few to mate: a lone bishop or nothing against a
// lone bishop or nothing, or at most two knights a side with no bishop.
// Counts fall on captures only, so a promoted pawn still counts as a pawn.
bool bare_minor_draw(const Position& pos) {
  // Usually some pawn, rook or queen is left: one test for all six counts.
  if (piece_count_of(pos, PAWN) | piece_count_of(pos, -PAWN) | piece_count_of(pos, ROOK) |
      piece_count_of(pos, -ROOK) | piece_count_of(pos, QUEEN) | piece_count_of(pos, -QUEEN))
    return false;
  const int white_bishops = piece_count_of(pos, BISHOP), black_bishops = piece_count_of(pos, -BISHOP);
  const int white_knights = piece_count_of(pos, KNIGHT), black_knights = piece_count_of(pos, -KNIGHT);
  if (white_bishops <= 1 && black_bishops <= 1 && white_knights == 0 && black_knights == 0) return true;
  return white_bishops == 0 && black_bishops == 0 && white_knights <= 2 && black_knights <= 2;
}

}  // namespace

int evaluate(const Position& pos) {
  int shelter = 0;  // white's view
  if (pos.endgame == 0) shelter = white_shelter(pos) - black_shelter(pos);
  if (bare_minor_draw(pos)) return 0;
  return (pos.material + shelter) * pos.side;
}

}  // namespace zolt
