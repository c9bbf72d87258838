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
// The coordinate text of a move as UCI writes it ("e2e4", "a7a8q") in text,
// which holds MOVE_TEXT_CHARS characters.
constexpr int MOVE_TEXT_CHARS = 6;
void coordinate_move_text(const Move& m, char* text);
// The "show" listing: piece letter, capture mark, destination and check,
// mate or stalemate mark of each move.
void print_move_list(int count, Position pos, const Move* list);
// Index into shared_move_list of the legal move the text names, or -1.
int match_move_text(const char* text, Position pos);
// One move of a principal variation in report notation ("Nf3 ", "e4xd5 ",
// "0_0 ", "e8=Q+ "), then made on copy, which the caller unmakes later.
void print_report_notation_move(Position& copy, const Move& m);
// The piece letter of the list and report notations ("" for pawns).
const char* notation_piece_letter(PieceCode p);

}  // namespace zolt
