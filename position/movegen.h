// The legal move generators. Lists need room for MAX_MOVES records.
#pragma once

#include "position/board.h"

namespace zolt {

int generate_moves(Position& pos, Move* list);
int count_moves(Position& pos);
int generate_captures(Position& pos, Move* list);

// The bonuses a scoring generator adds to a move's ordering score, the first
// that applies: a promotion to a queen, else any capture (en passant
// included), else a pawn move reaching the sixth rank (white) or the third
// (black).
struct MoveScoreTerms {
  int32_t queen_promotion;
  int32_t capture;
  int32_t pawn_advance;
};

// The same lists as generate_moves and generate_captures, in the same order,
// each move's score set to ordering_square_table[p][to] -
// ordering_square_table[p][from] - piece_value[board[to]] * side (p the
// moving piece, board as before the move) plus its bonus; the captures
// take no bonus.
int generate_scored_moves(Position& pos, Move* list, const MoveScoreTerms& terms);
int generate_scored_captures(Position& pos, Move* list);
void build_line_table();

}  // namespace zolt
