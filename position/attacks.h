// Is a square attacked by a colour; check tests; trial tests that move a
// piece or the king in place and put it back; Chess960 castling tests.
//
// The two base tests are inline: every generator calls them for every king
// move and every move of a piece that shares a line with its king.
#pragma once

#include "position/board.h"

namespace zolt {

// Walks from s in step d over empty squares and returns the first piece met
// (OFF_BOARD at the edge).
inline int32_t first_piece_on_ray(const int32_t* board, Square s, int d) {
  Square t = s + d;
  while (board[t] == EMPTY) t += d;
  return board[t];
}

inline int square_attacked_by_black(const int32_t* board, Square s) {
  if (board[s - 12] == -KNIGHT || board[s - 19] == -KNIGHT || board[s - 21] == -KNIGHT ||
      board[s - 8] == -KNIGHT || board[s + 12] == -KNIGHT || board[s + 19] == -KNIGHT ||
      board[s + 21] == -KNIGHT || board[s + 8] == -KNIGHT)
    return 1;
  // Black pawns capture towards rank 1, so they attack from the rank above.
  if (board[s - 9] == -PAWN || board[s - 11] == -PAWN) return 1;
  if (board[s - 11] == -KING || board[s - 10] == -KING || board[s - 9] == -KING ||
      board[s - 1] == -KING || board[s + 11] == -KING || board[s + 10] == -KING ||
      board[s + 9] == -KING || board[s + 1] == -KING)
    return 1;
  int32_t p = first_piece_on_ray(board, s, -11);
  if (p == -BISHOP || p == -QUEEN) return 1;
  p = first_piece_on_ray(board, s, -9);
  if (p == -BISHOP || p == -QUEEN) return 1;
  p = first_piece_on_ray(board, s, 9);
  if (p == -BISHOP || p == -QUEEN) return 1;
  p = first_piece_on_ray(board, s, 11);
  if (p == -BISHOP || p == -QUEEN) return 1;
  p = first_piece_on_ray(board, s, 10);
  if (p == -ROOK || p == -QUEEN) return 1;
  p = first_piece_on_ray(board, s, -10);
  if (p == -ROOK || p == -QUEEN) return 1;
  p = first_piece_on_ray(board, s, 1);
  if (p == -ROOK || p == -QUEEN) return 1;
  p = first_piece_on_ray(board, s, -1);
  return p == -ROOK || p == -QUEEN;
}

inline int square_attacked_by_white(const int32_t* board, Square s) {
  if (board[s + 12] == KNIGHT || board[s + 19] == KNIGHT || board[s + 8] == KNIGHT ||
      board[s + 21] == KNIGHT || board[s - 12] == KNIGHT || board[s - 19] == KNIGHT ||
      board[s - 21] == KNIGHT || board[s - 8] == KNIGHT)
    return 1;
  // White pawns attack from the rank below.
  if (board[s + 9] == PAWN || board[s + 11] == PAWN) return 1;
  if (board[s + 9] == KING || board[s + 10] == KING || board[s + 11] == KING ||
      board[s + 1] == KING || board[s - 9] == KING || board[s - 10] == KING ||
      board[s - 1] == KING || board[s - 11] == KING)
    return 1;
  int32_t p = first_piece_on_ray(board, s, 9);
  if (p == BISHOP || p == QUEEN) return 1;
  p = first_piece_on_ray(board, s, 11);
  if (p == BISHOP || p == QUEEN) return 1;
  p = first_piece_on_ray(board, s, -11);
  if (p == BISHOP || p == QUEEN) return 1;
  p = first_piece_on_ray(board, s, -9);
  if (p == BISHOP || p == QUEEN) return 1;
  p = first_piece_on_ray(board, s, -10);
  if (p == ROOK || p == QUEEN) return 1;
  p = first_piece_on_ray(board, s, 1);
  if (p == ROOK || p == QUEEN) return 1;
  p = first_piece_on_ray(board, s, -1);
  if (p == ROOK || p == QUEEN) return 1;
  p = first_piece_on_ray(board, s, 10);
  return p == ROOK || p == QUEEN;
}

// Attack test by the enemy of colour c (c = WHITE asks whether black attacks).
template <int C>
inline int attacked_by_enemy(const int32_t* board, Square s) {
  return C == WHITE ? square_attacked_by_black(board, s) : square_attacked_by_white(board, s);
}

int side_in_check(const Position& pos);
int white_king_attacked_at(Position& pos, Square k, Square t);
int black_king_attacked_at(Position& pos, Square k, Square t);
int white_move_exposes_king(Position& pos, Square from, Square to);
int black_move_exposes_king(Position& pos, Square from, Square to);
int castle960_white_king_side(Position& pos);
int castle960_white_queen_side(Position& pos);
int castle960_black_king_side(Position& pos);
int castle960_black_queen_side(Position& pos);

}  // namespace zolt
