// Check tests and the trial tests that move a piece in place, test, and put
// everything back before returning.
#include "position/attacks.h"

#include "position/occupancy.h"
#include "position/state.h"

namespace zolt {

int side_in_check(const Position& pos) {
  return pos.side == WHITE ? attacked_with<BLACK>(pos, pos.white_king, all_occupied(pos))
                           : attacked_with<WHITE>(pos, pos.black_king, all_occupied(pos));
}

namespace {

template <int C>
int king_attacked_at(Position& pos, Square k, Square t) {
  int32_t& king = C == WHITE ? pos.white_king : pos.black_king;
  const int32_t kept = pos.board[t];
  king = t;
  pos.board[k] = EMPTY;
  pos.board[t] = C * KING;
  const int result = attacked_by_enemy<C>(pos.board, t);
  king = k;
  pos.board[t] = kept;
  pos.board[k] = C * KING;
  return result;
}

template <int C>
int move_exposes_king(Position& pos, Square from, Square to) {
  int32_t* board = pos.board;
  const Square king = C == WHITE ? pos.white_king : pos.black_king;
  const int d = to - from;
  const bool diagonal = C == WHITE ? (d == -9 || d == -11) : (d == 9 || d == 11);
  if (board[from] == C * PAWN && diagonal && board[to] == EMPTY) {
    // En passant: the captured pawn stands behind the target square.
    const Square victim = to + 10 * C;
    board[to] = C * PAWN;
    board[from] = EMPTY;
    board[victim] = EMPTY;
    const int result = attacked_by_enemy<C>(board, king);
    board[from] = C * PAWN;
    board[to] = EMPTY;
    board[victim] = -C * PAWN;
    return result;
  }
  return piece_move_exposes_king<C>(board, king, from, to);
}

// Squares of the back rank of colour C by file (0 = a .. 7 = h).
template <int C>
constexpr Square back_rank(int file) {
  return (C == WHITE ? A1 : A8) + file;
}

bool all_empty(const int32_t* board, Square first, Square last) {
  for (Square s = first; s <= last; ++s)
    if (board[s] != EMPTY) return false;
  return true;
}

template <int C>
bool none_attacked(const int32_t* board, Square first, Square last) {
  for (Square s = first; s <= last; ++s)
    if (attacked_by_enemy<C>(board, s)) return false;
  return true;
}

// The king's destination and path are judged with the king and the castling
// rook lifted: a castling rook standing between an enemy slider and the
// king's destination does not shield it once it has moved.
template <int C>
int castle960_king_side(Position& pos) {
  int32_t* board = pos.board;
  const Square k = king_start_square[C == WHITE ? 0 : 1];
  const Square r = castle_rook_square[C == WHITE ? WHITE_H_ROOK : BLACK_H_ROOK];
  const Square f = back_rank<C>(5), g = back_rank<C>(6), h = back_rank<C>(7);
  const int32_t king_piece = board[k], rook_piece = board[r];
  board[k] = EMPTY;
  board[r] = EMPTY;
  bool ok = !attacked_by_enemy<C>(board, g);
  if (ok) {
    if (k == g && r == h)
      ok = board[f] == EMPTY;
    else
      ok = all_empty(board, k + 1, g) && none_attacked<C>(board, k + 1, f);
  }
  board[r] = rook_piece;
  board[k] = king_piece;
  return ok;
}

template <int C>
int castle960_queen_side(Position& pos) {
  int32_t* board = pos.board;
  const Square k = king_start_square[C == WHITE ? 0 : 1];
  const Square r = castle_rook_square[C == WHITE ? WHITE_A_ROOK : BLACK_A_ROOK];
  const Square a = back_rank<C>(0), b = back_rank<C>(1), c = back_rank<C>(2), d = back_rank<C>(3);
  const int32_t king_piece = board[k], rook_piece = board[r];
  board[k] = EMPTY;
  board[r] = EMPTY;
  bool ok = !attacked_by_enemy<C>(board, c);
  if (ok) {
    if (k == b && r == a) {
      ok = board[c] == EMPTY && board[d] == EMPTY;
    } else if (k == c) {
      ok = board[d] == EMPTY && (r == b || board[b] == EMPTY);
    } else {
      const bool rook_path = r < d ? all_empty(board, r + 1, d) : all_empty(board, d, r - 1);
      ok = rook_path && all_empty(board, c, k - 1) && none_attacked<C>(board, d, k - 1);
    }
  }
  board[r] = rook_piece;
  board[k] = king_piece;
  return ok;
}

}  // namespace

int white_king_attacked_at(Position& pos, Square k, Square t) { return king_attacked_at<WHITE>(pos, k, t); }
int black_king_attacked_at(Position& pos, Square k, Square t) { return king_attacked_at<BLACK>(pos, k, t); }
int white_move_exposes_king(Position& pos, Square from, Square to) { return move_exposes_king<WHITE>(pos, from, to); }
int black_move_exposes_king(Position& pos, Square from, Square to) { return move_exposes_king<BLACK>(pos, from, to); }
int castle960_white_king_side(Position& pos) { return castle960_king_side<WHITE>(pos); }
int castle960_white_queen_side(Position& pos) { return castle960_queen_side<WHITE>(pos); }
int castle960_black_king_side(Position& pos) { return castle960_king_side<BLACK>(pos); }
int castle960_black_queen_side(Position& pos) { return castle960_queen_side<BLACK>(pos); }

}  // namespace zolt
