// The console: prompt loop, command table, board display and help.
#pragma once

#include "position/board.h"

namespace zolt {

extern const char* const VERSION;
extern Position console_position;

void print_board(const Position& pos);
void log_board(const Position& pos);
void print_help();
// Reads a decimal number at a fixed column of the line (at most 15 characters, blanks skipped, optional sign).
int number_at_column(const char* line, int column);
// The prompt loop; returns the exit status.
int run_console();

}  // namespace zolt
