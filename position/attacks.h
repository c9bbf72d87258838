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

// Whether a knight, pawn or king of colour BY attacks s: the attackers that
// strike from a fixed offset.
template <int BY>
inline bool attacked_by_contact(const int32_t* board, Square s) {
  const int32_t knight = BY * KNIGHT, pawn = BY * PAWN, king = BY * KING;
  // Pawns capture forwards, so they attack from the rank behind s as seen
  // from their side: white pawns from the rank below, black from above.
  const int behind = BY == WHITE ? 10 : -10;
  return board[s - 21] == knight || board[s - 19] == knight || board[s - 12] == knight || board[s - 8] == knight ||
         board[s + 8] == knight || board[s + 12] == knight || board[s + 19] == knight || board[s + 21] == knight ||
         board[s + behind - 1] == pawn || board[s + behind + 1] == pawn || board[s - 11] == king ||
         board[s - 10] == king || board[s - 9] == king || board[s - 1] == king || board[s + 1] == king ||
         board[s + 9] == king || board[s + 10] == king || board[s + 11] == king;
}

constexpr int DIAGONAL_STEPS[4] = {-11, -9, 9, 11};
constexpr int STRAIGHT_STEPS[4] = {10, -10, 1, -1};

// Whether a bishop, rook or queen of colour BY attacks s: along each line the
// first piece met decides.
template <int BY>
inline bool attacked_along_lines(const int32_t* board, Square s) {
  const int32_t bishop = BY * BISHOP, rook = BY * ROOK, queen = BY * QUEEN;
#pragma GCC unroll 4
  for (int d : DIAGONAL_STEPS) {
    const int32_t p = first_piece_on_ray(board, s, d);
    if (p == bishop || p == queen) return true;
  }
#pragma GCC unroll 4
  for (int d : STRAIGHT_STEPS) {
    const int32_t p = first_piece_on_ray(board, s, d);
    if (p == rook || p == queen) return true;
  }
  return false;
}

inline int square_attacked_by_black(const int32_t* board, Square s) {
  return attacked_by_contact<BLACK>(board, s) || attacked_along_lines<BLACK>(board, s);
}

inline int square_attacked_by_white(const int32_t* board, Square s) {
  return attacked_by_contact<WHITE>(board, s) || attacked_along_lines<WHITE>(board, s);
}

// Attack test by the enemy of colour c (c = WHITE asks whether black attacks).
template <int C>
inline int attacked_by_enemy(const int32_t* board, Square s) {
  return C == WHITE ? square_attacked_by_black(board, s) : square_attacked_by_white(board, s);
}

// Moving the piece on from to to (not a king move, not en passant) leaves the
// king of colour C on king attacked. Done in place and undone at once.
template <int C>
inline int piece_move_exposes_king(int32_t* board, Square king, Square from, Square to) {
  const int32_t kept = board[to];
  board[to] = board[from];
  board[from] = EMPTY;
  const int result = attacked_by_enemy<C>(board, king);
  board[from] = board[to];
  board[to] = kept;
  return result;
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
