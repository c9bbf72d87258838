// Global state that belongs with the position: the undo stack, the ply
// counter, the castling geometry and the line table.
#pragma once

#include "position/board.h"

namespace zolt {

constexpr int UNDO_STACK_SIZE = 1024;
// A game move is refused when it would leave fewer free undo entries than
// this, so a search from the resulting position can never overflow the stack.
constexpr int UNDO_RESERVE = 128;

extern Move undo_stack[UNDO_STACK_SIZE];
extern int undo_top;  // index of the next free entry
extern int ply;       // moves made since the search root
extern int fullmove_number;
extern int last_move_noisy;  // the last move made captured something or had a nonzero kind
extern int chess960;

// Starting squares of the castling rooks: white a-side, white h-side, black a-side, black h-side.
constexpr int WHITE_A_ROOK = 0, WHITE_H_ROOK = 1, BLACK_A_ROOK = 2, BLACK_H_ROOK = 3;
extern Square castle_rook_square[4];
// Starting squares of the white [0] and black [1] king for castling.
extern Square king_start_square[2];

// line_table[k][s]: 1 same rank, 10 same file, 9 or 11 same diagonal, 0 otherwise (and for s == k).
extern int32_t line_table[BOARD_SIZE][BOARD_SIZE];

// The empty board: 0 on the playing area, OFF_BOARD on the border.
extern const int32_t EMPTY_BOARD[BOARD_SIZE];

// True while a game move may still be pushed without eating into the search's reserve.
inline bool undo_room_for_game_move() { return undo_top < UNDO_STACK_SIZE - UNDO_RESERVE; }

}  // namespace zolt
