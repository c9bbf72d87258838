#include "position/occupancy.h"

namespace zolt {

void rebuild_occupancy(Position& pos) {
  pos.occupied[0] = pos.occupied[1] = 0;
  for (Square s = A8; s <= H1; ++s) {
    const int32_t p = pos.board[s];
    if (p == EMPTY || p == OFF_BOARD) continue;
    pos.occupied[colour_index(p > 0 ? WHITE : BLACK)] |= square_bit(s);
  }
}

}  // namespace zolt
