// Time budget from the "go" line, the deadline and the input poll that stops a search.
#pragma once

#include <cstdint>

#include "position/board.h"

namespace zolt {

constexpr int64_t NO_TIME_LIMIT = 99999999999LL;   // console analysis and fixed depth
constexpr int64_t INFINITE_BUDGET = 9999999999LL;  // "go infinite"
constexpr int64_t STOP_MARGIN_MS = 50;             // a search stops this long before its deadline

extern int64_t time_limit_ms;   // time allowed for one move (milliseconds)
extern int64_t deadline;        // clock value at which the running search must stop
extern int64_t stop_margin_ms;  // the search stops once the clock is this close to the deadline

// Starts the clock of a search with the budget: the deadline and the stop
// margin, which is STOP_MARGIN_MS for budgets of twice that and more and a
// little over half of a smaller budget, so a small budget is partly spent
// and never overrun.
void start_deadline(int64_t budget_ms);

// "Move Overhead": milliseconds taken off the clock of the side to move
// before its budget is computed, the time an interface needs to pass a move
// on. With an overhead the budget is never below MIN_OVERHEAD_BUDGET_MS;
// 0 (the default) leaves the budget the clock's alone.
extern int32_t move_overhead_ms;
constexpr int32_t MAX_MOVE_OVERHEAD_MS = 5000;
constexpr int64_t MIN_OVERHEAD_BUDGET_MS = 10;

// Values of the last "go" line in milliseconds, 0 when absent.
extern int32_t uci_wtime, uci_btime, uci_winc, uci_binc, uci_movetime;
// "go depth N" with 1 <= N <= 63: the UCI search runs iterations 1..N with no
// time limit; 0 when the last "go" gave no such depth.
extern int uci_depth_limit;
// "go nodes N": the search stops at the first poll once search_nodes >= N; 0: no limit.
extern uint64_t uci_node_limit;
// "go mate N": the search ends once it has found a mate in at most N moves; 0: none.
extern int uci_mate_limit;
// "go ponder": 1 while the search ponders, without a time limit, until
// "ponderhit" (the search goes on with ponder_budget_ms from then) or "stop".
extern int pondering;
extern int64_t ponder_budget_ms;
// "go infinite": 1 when the last "go" line asked for it; such a search
// answers only after "stop" (or "quit", or the end of input).
extern int uci_infinite;
// "go searchmoves m1 m2 ...": the legal root moves named, in generation
// order; the root searches only these. 0 moves: every legal move.
extern Move search_root_moves[MAX_MOVES];
extern int search_root_move_count;

// Reads a "go" line for the side to move (+1 / -1): sets the values above
// (all but the root moves), time_limit_ms and the deadline, clears
// stop_search and logs the settings; returns nonzero when "infinite" was given.
int set_uci_time_budget(const char* line, int side);
// The whole "go" line for pos: the time budget and limits above, and the
// root moves of "searchmoves". Returns nonzero when "infinite" was given.
int read_go_line(const char* line, const Position& pos);
// Keeps the moves of list that the root may search (all of them without
// "searchmoves"), in their order; returns their number.
int keep_root_moves(Move* list, int n);

// 0: the search never looks at standard input, so nothing there can stop or
// disturb it (zolt bench); 1 by default.
extern int search_reads_input;

// Looks at the first complete line waiting on standard input (through the
// shared input buffer) and returns 1 when it asks the running search to stop.
//   "stop", lines beginning "sto", "top", "exi", and an empty line: consumed, stop;
//   lines beginning "pos": stop, left for the front end to execute afterwards;
//   "quit" and the end of input: stop, left for the front end (which then ends);
//   "isready": answered "readyok" at once, consumed, the search goes on;
//   "ponderhit": consumed; a pondering search goes on with its time budget;
//   anything else: consumed without effect.
// The front end reads a line left waiting after the search returns, so a
// "quit" or the end of input still ends the program.
int poll_input();

// After a pondering search has finished its iterations: waits, reading the
// input as the poll does, until "ponderhit" or a line that stops the search.
void wait_while_pondering();

// After an infinite search has finished its iterations: waits, reading the
// input as the poll does (so "isready" is answered), until a line that stops
// the search.
void wait_for_stop();

}  // namespace zolt
