// Time budget from the "go" line, the deadline and the input poll that stops a search.
#pragma once

#include <cstdint>

namespace zolt {

constexpr int64_t NO_TIME_LIMIT = 99999999999LL;

extern int64_t time_limit_ms;  // time allowed for one move (milliseconds)
extern int64_t deadline;       // clock value at which the running search must stop

// Reads a "go" line for the side to move (+1 / -1): sets time_limit_ms and the
// deadline; returns nonzero when "infinite" was given.
int set_uci_time_budget(const char* line, int side);

// 1 when a waiting input line asks the running search to stop, else 0.
int poll_input();

}  // namespace zolt
