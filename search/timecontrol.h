// Time budget from the "go" line, the deadline and the input poll that stops a search.
#pragma once

#include <cstdint>

namespace zolt {

constexpr int64_t NO_TIME_LIMIT = 99999999999LL;   // console analysis and fixed depth
constexpr int64_t INFINITE_BUDGET = 9999999999LL;  // "go infinite"
constexpr int64_t STOP_MARGIN_MS = 50;             // a search stops this long before its deadline

extern int64_t time_limit_ms;  // time allowed for one move (milliseconds)
extern int64_t deadline;       // clock value at which the running search must stop

// Values of the last "go" line in milliseconds, 0 when absent.
extern int32_t uci_wtime, uci_btime, uci_winc, uci_binc, uci_movetime;
// "go depth N" with 1 <= N <= 63: the UCI search runs iterations 1..N with no
// time limit; 0 when the last "go" gave no such depth.
extern int uci_depth_limit;

// Reads a "go" line for the side to move (+1 / -1): sets the values above,
// time_limit_ms and the deadline, clears stop_search and logs the settings;
// returns nonzero when "infinite" was given.
int set_uci_time_budget(const char* line, int side);

// Looks at the first complete line waiting on standard input (through the
// shared input buffer) and returns 1 when it asks the running search to stop.
//   "stop", lines beginning "sto", "top", "exi", and an empty line: consumed, stop;
//   lines beginning "pos": stop, left for the front end to execute afterwards;
//   "quit" and the end of input: stop, left for the front end (which then ends);
//   "isready": answered "readyok" at once, consumed, the search goes on;
//   anything else: consumed without effect.
// The front end reads a line left waiting after the search returns, so a
// "quit" or the end of input still ends the program.
int poll_input();

}  // namespace zolt
