// Placeholder so the library links; replaced by the real implementation.
#include "frontend/notation.h"
namespace zolt {
Move shared_move_list[MAX_MOVES];
void print_square(Square) {}
void log_square(Square) {}
void print_square_chars(Square) {}
const char* square_name(Square) { return ""; }
void print_promotion_suffix(int) {}
void print_promotion_letter(int) {}
void log_promotion_letter(int) {}
void print_move_list(int, Position, const Move*) {}
int match_move_text(const char*, Position) { return -1; }
}
