#include "position/occupancy.h"

namespace zolt {

void rebuild_occupancy(Position& pos) {
  for (int c = 0; c < 2; ++c) {
    pos.occupied[c] = 0;
    for (Bitboard& set : pos.pieces[c]) set = 0;
  }
  for (Square s = A8; s <= H1; ++s) {
    const int32_t p = pos.board[s];
    if (p == EMPTY || p == OFF_BOARD) continue;
    const int c = colour_index(p > 0 ? WHITE : BLACK);
    pos.occupied[c] |= square_bit(s);
    pos.pieces[c][piece_type(p)] |= square_bit(s);
  }
}

}  // namespace zolt
