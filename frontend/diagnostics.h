// Console diagnostics that print the engine's internal state.
#pragma once

#include "position/board.h"

namespace zolt {

void command_attack(Position& pos);
void command_rand(Position& pos);
void command_h_stack(const Position& pos);
void command_eval(const Position& pos);
void command_values();
void command_show(Position& pos);
void command_info(const Position& pos);
void command_stack();
void command_sort(Position& pos);

}  // namespace zolt
