// Move ordering: ordering scores, the Shell sort and the killer tables.
#pragma once

#include "position/board.h"

namespace zolt {

constexpr int MAX_PLY = 64;  // entries of the per-ply tables and of a line

// Quiet moves that caused a beta cut-off at each ply: killer1 the newest,
// killer2 the one before; mate_killer the last cut-off seen while the last
// root result was a mate. Only from and to are compared.
extern Move killer1[MAX_PLY];
extern Move killer2[MAX_PLY];
extern Move mate_killer[MAX_PLY];

// Writes the ordering score of the n moves of a main-search list.
void score_moves(Move* list, int n, const Position& pos);
// Writes the ordering score of the n moves of a quiescence list.
void score_captures(Move* list, int n, const Position& pos);
// The legal moves (captures) in generation order, each with the score that
// generate_moves (generate_captures) followed by score_moves (score_captures)
// gives it; the count is returned, and first is set to unique_best_move of
// the list.
int generate_ordered_moves(Position& pos, Move* list, int& first);
int generate_ordered_captures(Position& pos, Move* list, int& first);
// Sorts ascending by score (Shell sort with halving gaps; it fixes the order
// of equal scores and with it the search order).
void sort_moves(Move* list, int n);

// Index of the move with the highest score when no other move has that score,
// else -1. Any sort puts such a move last, so it can be searched before the
// list is sorted, and the sort is saved whenever it already cuts off.
int unique_best_move(const Move* list, int n);

// A quiet move cut off at ply: it becomes killer1, the old killer1 killer2.
void record_killer(const Move& move, int at_ply);

}  // namespace zolt
