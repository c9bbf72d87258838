// Placeholder so the library links; replaced by the real implementation.
#include "eval/tables.h"
namespace zolt {
int32_t piece_value_storage[15];
int32_t piece_square_storage[15][BOARD_SIZE];
int32_t ordering_square_storage[15][BOARD_SIZE];
void set_default_piece_values() {}
void reset_position(Position&) {}
void prepare_evaluation(Position&) {}
}
