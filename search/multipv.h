// MultiPV: the UCI search reports the best few root moves of each depth.
//
// Line 1 of a depth is the ordinary root search. Each further line searches
// the root again with the full window and with the first moves of the lines
// already found left out, through the root-move filter that "searchmoves"
// uses. The lines are then ordered best first.
#pragma once

#include "position/board.h"
#include "search/alphabeta.h"

namespace zolt {

constexpr int MIN_MULTIPV = 1;
constexpr int MAX_MULTIPV = 64;
constexpr int DEFAULT_MULTIPV = 1;

// The "MultiPV" option: how many lines a UCI search reports per depth.
extern int multipv;

// The root moves the running pass leaves out: the first moves of the lines
// found so far at this depth. Empty outside the passes of lines 2 and on.
extern Move excluded_root_moves[MAX_MULTIPV];
extern int excluded_root_move_count;

// Drops the excluded moves from the list, keeping the order of the rest;
// returns how many are left.
int drop_excluded_root_moves(Move* list, int n);

// One reported line of a depth: its score and its moves.
struct RootLine {
  int score;
  PvLine pv;
};

// The lines of the last depth, best first.
extern RootLine root_lines[MAX_MULTIPV];
extern int root_line_count;

// After the line-1 search of a depth (its score v, its line in root_pv):
// searches up to wanted - 1 further lines at that depth, stopping early when
// the search is told to stop (an interrupted pass adds no line), and orders
// the lines found best first (a stable order: equal scores keep the order in
// which they were found). Leaves root_pv and root_best_move on the best line,
// so the next depth starts from it. Returns the number of lines.
int search_root_lines(Position& pos, int depth, int v, int wanted);

}  // namespace zolt
