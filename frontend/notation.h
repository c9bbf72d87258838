// Text forms of squares and moves, and the matcher from move text to a legal move.
#pragma once

#include "position/board.h"

namespace zolt {

extern Move shared_move_list[MAX_MOVES];

void print_square(Square s);
void log_square(Square s);
void print_square_chars(Square s);
const char* square_name(Square s);
void print_promotion_suffix(int kind);
void print_promotion_letter(int kind);
void log_promotion_letter(int kind);
void print_move_list(int count, Position pos, const Move* list);
// Index into shared_move_list of the legal move the text names, or -1.
int match_move_text(const char* text, Position pos);

}  // namespace zolt
