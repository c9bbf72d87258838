// Position keys: a 64-bit pseudo-random generator built from a 15-bit linear
// congruential generator, the key tables and the key of a position computed
// from scratch. The tables are never filled, so every key is 0.
#include "search/keys.h"

namespace zolt {

uint64_t zobrist_keys[13][BOARD_SIZE];
uint64_t ep_keys[BOARD_SIZE];
uint64_t side_key;
uint64_t key_history[1024];

namespace {

// The classic 15-bit generator: the same sequence in every run and on every
// platform, starting from state 1.
uint32_t generator_state = 1;

uint64_t random15() {
  generator_state = generator_state * 214013u + 2531011u;
  return (generator_state >> 16) & 0x7fff;
}

constexpr int WHITE_KEY_ROW_OFFSET = 6;  // white pieces use rows 7..12, black rows 1..6

}  // namespace

void reset_random64() { generator_state = 1; }

uint64_t random64() {
  uint64_t a = random15();
  uint64_t b = random15();
  uint64_t c = random15();
  return ((a << 15) ^ b) << 15 ^ c;
}

void compute_hash_key(Position& pos) {
  uint64_t key = 0;
  for (int slot = FIRST_WHITE_SLOT; slot <= LAST_BLACK_SLOT; ++slot) {
    Square s = pos.slot_square[slot];
    if (s == NO_SQUARE) continue;
    PieceCode c = pos.board[s];
    key ^= c < 0 ? zobrist_keys[-c][s] : zobrist_keys[c + WHITE_KEY_ROW_OFFSET][s];
  }
  key ^= zobrist_keys[KING][pos.black_king] ^ zobrist_keys[KING + WHITE_KEY_ROW_OFFSET][pos.white_king];
  if (pos.ep_square != NO_SQUARE) key ^= ep_keys[pos.ep_square];
  if (pos.side == BLACK) key ^= side_key;
  pos.hash_key = key;
}

}  // namespace zolt
