// Piece values and piece-square tables, their reset and the preparation
// run before every search.
#pragma once

#include "position/board.h"

namespace zolt {

constexpr int32_t KING_VALUE = 9999999;

// Indexed by piece code -7..+7.
extern int32_t piece_value_storage[15];
inline int32_t* const piece_value = piece_value_storage + 7;

// Indexed [piece code -7..+7][square].
extern int32_t piece_square_storage[15][BOARD_SIZE];
extern int32_t ordering_square_storage[15][BOARD_SIZE];
inline int32_t (*const piece_square_table)[BOARD_SIZE] = piece_square_storage + 7;
inline int32_t (*const ordering_square_table)[BOARD_SIZE] = ordering_square_storage + 7;

void set_default_piece_values();
void reset_position(Position& pos);
void prepare_evaluation(Position& pos);

}  // namespace zolt
