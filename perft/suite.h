#pragma once

#include <cstdint>

#include "position/board.h"

namespace zolt {

constexpr int MAX_SUITE_DEPTH = 100;
constexpr int64_t MISSING_COUNT = -100;  // expected count of a depth the line does not give

// Reads the ";D<digit> <count>" entries of a suite line into expected[1 ..
// MAX_SUITE_DEPTH] (MISSING_COUNT where absent); returns the last depth given,
// 0 for none.
int parse_depth_entries(const char* line, uint64_t* expected);

// The "testmovegen" command: runs perftsuite.epd, writes log_epd.txt.
void run_perft_suite(Position& pos);

}  // namespace zolt
