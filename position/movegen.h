// The legal move generators. Lists need room for MAX_MOVES records.
#pragma once

#include "position/board.h"

namespace zolt {

int generate_moves(Position& pos, Move* list);
int count_moves(Position& pos);
int generate_captures(Position& pos, Move* list);
void build_line_table();

}  // namespace zolt
