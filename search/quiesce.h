// The quiescence search over captures and promotions below the horizon.
#pragma once

#include <cstdint>

#include "position/board.h"
#include "search/alphabeta.h"

namespace zolt {

extern uint64_t qs_nodes;           // calls of quiesce; cleared by the UCI driver
extern int qsearch_poll_countdown;  // calls until the next poll; starts at 0

int quiesce(Position& pos, int alpha, int beta, PvLine& pv);

}  // namespace zolt
