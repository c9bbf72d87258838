#include "search/draw.h"

#include "position/attacks.h"
#include "position/key.h"
#include "position/movegen.h"
#include "position/state.h"

namespace zolt {

namespace {
constexpr int FIFTY_MOVE_PLIES = 100;
}

bool is_draw(Position& pos) {
  if (pos.fifty >= FIFTY_MOVE_PLIES) return !side_in_check(pos) || count_moves(pos) > 0;
  // key_stack[i] is the position before undo entry i's move; the same side
  // was to move two, four, ... entries back. Nothing before the last
  // capture or pawn move can come again, and entries from before the
  // position was loaded belong to another game.
  const int reversible = pos.fifty < pos.moves_made ? pos.fifty : pos.moves_made;
  const int oldest = undo_top > reversible ? undo_top - reversible : 0;
  for (int i = undo_top - 2; i >= oldest; i -= 2)
    if (key_stack[i] == pos.key) return true;
  return false;
}

}  // namespace zolt
