#pragma once

#include "position/board.h"

namespace zolt {

// Static value in centipawns from the side to move's point of view.
int evaluate(const Position& pos);

}  // namespace zolt
