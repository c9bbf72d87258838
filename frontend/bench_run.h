// zolt bench: fixed-depth searches over a built-in set of positions, for the
// testing frameworks that check a build by its node count.
#pragma once

namespace zolt {

// The depth of "zolt bench" without a depth; and the deepest one allowed.
constexpr int BENCH_DEFAULT_DEPTH = 6;
constexpr int BENCH_MAX_DEPTH = 63;

// Searches every bench position to depth (1 .. BENCH_MAX_DEPTH) from a fresh
// search state, through the search the UCI "go depth" runs, with its reports
// silenced and standard input left alone. Prints a line per position and, as
// its last line, "<N> nodes <M> nps": N the nodes of all the searches (the
// same on every machine and build), M their speed. Returns the exit status.
int run_bench(int depth);

}  // namespace zolt
