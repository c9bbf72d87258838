// load_fen over arbitrary text. The first byte picks standard or Chess960
// mode. A refused text must leave the position untouched; an accepted one
// must be a position the move generator and make/unmake handle: both move
// counters agree, no generated move leaves the mover in check, every move is
// undone exactly, and in standard mode the written FEN reads back to itself.
#include <cstring>

#include "eval/tables.h"
#include "frontend/fen.h"
#include "fuzz_support.h"
#include "position/attacks.h"
#include "position/makemove.h"
#include "position/movegen.h"
#include "position/state.h"

using namespace zolt;
using namespace zolt_fuzz;

namespace {

Position pos;
Move moves[MAX_MOVES];

bool mover_in_check(const Position& p) {
  // After a move the side to move is the opponent of the mover.
  return p.side == BLACK ? square_attacked_by_black(p.board, p.white_king) != 0
                         : square_attacked_by_white(p.board, p.black_king) != 0;
}

void check_moves() {
  const int count = generate_moves(pos, moves);
  require(count >= 0 && count <= MAX_MOVES, "move count in range");
  require(count_moves(pos) == count, "count_moves agrees with generate_moves");
  const Position before = pos;
  for (int i = 0; i < count; ++i) {
    make_move(pos, moves[i]);
    require(!mover_in_check(pos), "a generated move leaves the mover's king attacked");
    unmake_move(pos);
    require_same_position(before, pos, "unmake restores the position");
  }
}

void check_round_trip() {
  char first[FEN_BUFFER_SIZE];
  char second[FEN_BUFFER_SIZE];
  write_fen(pos, first);
  Position copy;
  reset_position(copy);
  require(load_fen(first, copy) == 0, "a written FEN reads back");
  write_fen(copy, second);
  require(strcmp(first, second) == 0, "write_fen of the read-back position is the same text");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  prepare_process("fen");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  chess960 = data[0] & 1;
  const char* text = terminated_text(data + 1, size - 1);
  reset_position(pos);
  load_fen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", pos);
  undo_top = 0;
  ply = 0;
  const Position start = pos;
  if (load_fen(text, pos) != 0) {
    require_same_position(start, pos, "a refused FEN leaves the position as it was");
    require(fen_error()[0] != 0, "a refused FEN has a reason");
    return 0;
  }
  check_moves();
  if (!chess960) check_round_trip();
  return 0;
}
