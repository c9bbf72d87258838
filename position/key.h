// Position keys in the Polyglot scheme: a 64-bit key of the pieces, the
// castling rights, the en-passant file and the side to move. Opening books in
// the .bin format are keyed by it, and the transposition table and the
// repetition test use the same key.
#pragma once

#include <cstdint>

#include "position/board.h"
#include "position/state.h"

namespace zolt {

constexpr int POLYGLOT_RANDOM_COUNT = 781;
extern const uint64_t POLYGLOT_RANDOM[POLYGLOT_RANDOM_COUNT];

// Where the parts of the key start among the random numbers.
constexpr int CASTLING_RANDOM = 768;  // white short, white long, black short, black long
constexpr int EN_PASSANT_RANDOM = 772;  // + file
constexpr int WHITE_TO_MOVE_RANDOM = 780;

// The numbers of the pieces by code + KING and square (row EMPTY all 0),
// and of the castling rights by the six flags packed by pack_castling.
extern const uint64_t (&PIECE_KEYS)[2 * KING + 1][BOARD_SIZE];
extern const uint64_t (&CASTLING_KEYS)[64];

// The number of a piece (0 for an empty square) on a square.
inline uint64_t piece_key(PieceCode code, Square square) { return PIECE_KEYS[code + KING][square]; }
inline uint64_t castling_key(int32_t packed_flags) { return CASTLING_KEYS[packed_flags & 63]; }
// The en-passant file's number, only when a pawn of the side to move stands
// beside the pawn that has just made the double step.
uint64_t en_passant_file_key(const Position& pos);
inline uint64_t en_passant_key(const Position& pos) { return pos.ep_square == NO_SQUARE ? 0 : en_passant_file_key(pos); }
inline uint64_t side_to_move_key(const Position& pos) {
  return pos.side == WHITE ? POLYGLOT_RANDOM[WHITE_TO_MOVE_RANDOM] : 0;
}

// The key of a position computed from scratch.
uint64_t position_key(const Position& pos);

// While on (the default), make_move and unmake_move keep `Position::key` up
// to date and key_stack holds, for every undo entry, the key of the position
// before its move. A search that uses no key (no table) and perft switch it
// off for their run.
extern int key_tracking;
extern uint64_t key_stack[UNDO_STACK_SIZE];

// Switches key tracking off (or on) for a scope and restores it afterwards.
class KeyTrackingScope {
 public:
  explicit KeyTrackingScope(int on) : saved_(key_tracking) { key_tracking = on; }
  ~KeyTrackingScope() { key_tracking = saved_; }
  KeyTrackingScope(const KeyTrackingScope&) = delete;
  KeyTrackingScope& operator=(const KeyTrackingScope&) = delete;

 private:
  int saved_;
};

}  // namespace zolt
