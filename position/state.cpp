#include "position/state.h"

namespace zolt {

Move undo_stack[UNDO_STACK_SIZE];
int undo_top = 0;
int ply = 0;
int fullmove_number = 1;
int last_move_noisy = 0;
int chess960 = 0;
Square castle_rook_square[4] = {A1, H1, A8, H8};
Square king_start_square[2] = {E1, E8};
int32_t line_table[BOARD_SIZE][BOARD_SIZE];

#define BORDER_ROW 7, 7, 7, 7, 7, 7, 7, 7, 7, 7
#define PLAY_ROW 7, 0, 0, 0, 0, 0, 0, 0, 0, 7
const int32_t EMPTY_BOARD[BOARD_SIZE] = {BORDER_ROW, BORDER_ROW, PLAY_ROW, PLAY_ROW, PLAY_ROW, PLAY_ROW,
                                         PLAY_ROW,   PLAY_ROW,   PLAY_ROW, PLAY_ROW, BORDER_ROW, BORDER_ROW};
#undef BORDER_ROW
#undef PLAY_ROW

}  // namespace zolt
