// Perft and divide: node counts of the legal move tree.
#pragma once

#include <cstdint>

#include "position/board.h"

namespace zolt {

extern uint64_t perft_sum;
extern uint64_t perft_upper_total;
extern uint64_t perft_lower_total;
extern uint64_t divide_upper[MAX_MOVES];
extern uint64_t divide_lower[MAX_MOVES];

// Deeper console requests are refused: the walk would run past the undo stack
// long before it could finish. Harnesses that feed arbitrary commands (the
// fuzzers) lower max_perft_depth so every command returns quickly.
constexpr int PERFT_DEPTH_LIMIT = 64;
extern int max_perft_depth;

int perft(Position& pos, int depth);
int perft_pair(Position& pos, int k);
int divide_one_level(Position& pos, int depth);
int divide_upper_pass(Position& pos, int depth);
int divide_lower_pass(Position& pos, int depth);

// Classical perft count: the number of nodes exactly depth plies below pos.
uint64_t perft_count(Position& pos, int depth);

// Console commands; line is the whole input line.
void command_perft(Position& pos, const char* line);
void command_perft2(Position& pos, const char* line);
void command_divide(Position& pos, const char* line);
void command_divide2(Position& pos, const char* line);

}  // namespace zolt
