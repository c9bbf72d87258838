#pragma once

#include "position/board.h"

namespace zolt {

// The "testmovegen" command: runs perftsuite.epd, writes log_epd.txt.
void run_perft_suite(Position& pos);

}  // namespace zolt
