// Playing a generated move and taking it back through the undo stack.
#pragma once

#include "position/board.h"

namespace zolt {

void make_move(Position& pos, const Move& move);
void unmake_move(Position& pos);

}  // namespace zolt
