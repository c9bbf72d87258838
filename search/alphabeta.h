// The main alpha-beta search and the globals it shares with the driver and
// the reports.
#pragma once

#include <cstdint>

#include "position/board.h"
#include "search/ordering.h"

namespace zolt {

constexpr int MATE = 9999999;
// Scores beyond this are mates within MAX_PLY plies.
constexpr int MATE_BOUND = MATE - MAX_PLY;  // 9999935
constexpr int INFINITE_SCORE = MATE;

// The best line below a node: a count and up to MAX_PLY moves.
struct PvLine {
  int32_t count;
  Move moves[MAX_PLY];
};

// Set by the driver before a root call.
extern int iteration_depth;
extern int search_poll_countdown;  // nodes until the next input/time poll
extern int info_countdown;         // nodes until the next progress report
extern int last_root_score;        // previous root result (console drivers store it)
extern PvLine root_pv;             // the driver's best line; ordering reads it

// Written by the search.
extern int stop_search;  // 1 once a poll decided to stop; cleared by whoever starts a search
extern uint64_t search_nodes;
extern int null_move_calls;
extern int null_move_cutoffs;
extern int first_move_cutoffs;
extern int other_cutoffs;
extern int last_improving_score;
extern Move root_best_move;
extern Move current_root_move;
extern int current_move_number;
extern int root_move_count;
extern int reported_seldepth;

// Negamax score of pos from the side to move's view; depth is the remaining
// depth in plies; pv receives the best line below this node.
int alpha_beta(Position& pos, int alpha, int beta, int depth, PvLine& pv);

// One poll of input and clock: 1 when the search must stop (stop_search is then set).
int poll_says_stop();

// Bookkeeping shared with the quiescence search.
void extend_line(PvLine& pv, const Move& move, const PvLine& child);  // pv = move + child
void record_cutoff(const Move& move);    // killers after a beta cut-off at the current ply
void note_root_best(const Move& move);   // root_best_move takes from, to, captured, kind
// A move scored r > alpha: alpha becomes r and the line becomes move + child
// (and at the root the move becomes the best so far).
void raise_alpha(int& alpha, int r, PvLine& pv, const Move& move, const PvLine& child);

}  // namespace zolt
