// Console play: move entry and the engine's reply, new, undo, st, sd, analyze.
#pragma once

#include "position/board.h"

namespace zolt {

extern int depth_bound;

void command_new(Position& pos);
// "hash N": the transposition table becomes N megabytes; "hash" alone tells its size.
void command_hash(const char* line);
void command_undo(Position& pos);
void command_st(const char* line);
void command_sd(const char* line);
void command_analyze(Position& pos);
// A word that is no command: a move in coordinate notation, answered by the engine.
void command_move_entry(Position& pos, const char* word);

}  // namespace zolt
