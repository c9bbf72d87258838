// Is a square attacked by a colour; check tests; trial tests that move a
// piece or the king in place and put it back; Chess960 castling tests.
#pragma once

#include "position/board.h"

namespace zolt {

int square_attacked_by_black(const int32_t* board, Square s);
int square_attacked_by_white(const int32_t* board, Square s);
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
