// Iterative deepening: the UCI search, the console reply and the console analysis.
#pragma once

#include "position/board.h"

namespace zolt {

extern int console_progress_info;  // console searches print a periodic progress line
extern int uci_currmove_info;      // UCI searches print the periodic current-move line

// Prints the info lines and "bestmove"; plays the move on pos unless infinite.
void run_uci_search(Position& pos, int infinite);
// Returns the engine's reply; the caller plays and announces it.
Move run_console_reply(Position& pos);
// Analyses until stopped; plays nothing.
void run_console_analysis(Position& pos);

}  // namespace zolt
