// Iterative deepening: the UCI search, the console reply and the console analysis.
#pragma once

#include <cstdint>

#include "position/board.h"
#include "search/alphabeta.h"

namespace zolt {

extern int console_progress_info;  // console searches print a periodic progress line
extern int uci_currmove_info;      // UCI searches print the periodic current-move line
extern int uci_reports;            // 0: the UCI search prints no info lines and no bestmove (zolt bench)

extern Move saved_best_move;  // fallback move when an iteration is interrupted
extern int uci_last_score;    // result of the UCI driver's last root call
extern int64_t search_start;  // clock reading when the search started

// The console reply searches iterations 1 .. depth_bound - 1 (depth_bound
// lives with console play); the UCI search up to 63 or uci_depth_limit.
constexpr int MAX_ITERATION_DEPTH = 64;  // exclusive

// Call after set_uci_time_budget. Prints the info lines and "bestmove"; plays
// the move on pos unless infinite. With MultiPV above 1 each depth prints its
// best lines (search/multipv.h). A "go infinite" search (uci_infinite) prints
// "bestmove" only once a line has stopped it, after its last depth too.
void run_uci_search(Position& pos, int infinite);
// The caller sets stop_search = 0 and the deadline and prints the table
// header first. Prints one table line per iteration; returns the engine's
// reply for the caller to play. With no legal move at the root it searches
// nothing and returns a move whose from is 0 (the caller prints the result).
Move run_console_reply(Position& pos);
// The caller sets stop_search = 0 and the deadline and prints the table
// header first. Prints one table line per iteration; plays nothing. Always
// one line per depth: MultiPV is a UCI option only, for the interfaces that
// show several lines; the console's table stays one row per depth.
void run_console_analysis(Position& pos);

// The periodic reports printed from inside the tree.
void print_currmove_info();
void print_progress_line();

}  // namespace zolt
