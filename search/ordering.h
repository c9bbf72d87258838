// Move ordering: ordering scores, the Shell sort and the killer tables.
#pragma once

#include "position/board.h"

namespace zolt {

constexpr int MAX_PLY = 64;

extern Move killer1[MAX_PLY];
extern Move killer2[MAX_PLY];
extern Move mate_killer[MAX_PLY];

void score_moves(Move* list, int n, const Position& pos);
void score_captures(Move* list, int n, const Position& pos);
void sort_moves(Move* list, int n);

}  // namespace zolt
