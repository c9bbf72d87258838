// Position keys: the 64-bit random generator, the key tables and the key history.
#pragma once

#include <cstdint>

#include "position/board.h"

namespace zolt {

extern uint64_t zobrist_keys[13][BOARD_SIZE];
extern uint64_t ep_keys[BOARD_SIZE];
extern uint64_t side_key;
extern uint64_t key_history[1024];

uint64_t random64();
// Puts the generator back to its start state, as at program start (for tests).
void reset_random64();
void compute_hash_key(Position& pos);

}  // namespace zolt
