// The draw rules the search knows while the table is on: repetition and the
// fifty-move rule.
#pragma once

#include "position/board.h"

namespace zolt {

// True when pos repeats a position (the same side to move) of the game and
// search line since the last capture or pawn move, or when the fifty-move
// rule has run out and the side to move is not mated. Reads the keys that
// make_move keeps (position/key.h).
bool is_draw(Position& pos);

}  // namespace zolt
