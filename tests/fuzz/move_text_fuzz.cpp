// match_move_text over arbitrary text in a handful of positions chosen by the
// first byte (castling both ways, en passant, promotions, Chess960 castling).
// A match must name a legal move of the position whose text it recognised.
#include "eval/tables.h"
#include "frontend/fen.h"
#include "frontend/notation.h"
#include "fuzz_support.h"
#include "position/movegen.h"
#include "position/state.h"

using namespace zolt;
using namespace zolt_fuzz;

namespace {

struct Setting {
  const char* fen;
  int chess960;
};

const Setting SETTINGS[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 0},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 0},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/Pp2P3/2N2Q1p/1PPBBPPP/R3K2R b KQkq a3 0 1", 0},
    {"n1n5/PPPk4/8/8/8/8/4Kppp/5N1N w - - 0 1", 0},
    {"n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1", 0},
    {"1r2k1r1/pppppppp/8/8/8/8/PPPPPPPP/1R2K1R1 w GBgb - 0 1", 1},
    {"rk5r/8/8/8/8/8/8/RK5R w HAha - 0 1", 1},
    {"4k3/8/8/2pP4/8/8/8/4K3 w - c6 0 1", 0},
};
constexpr int SETTING_COUNT = sizeof SETTINGS / sizeof SETTINGS[0];

Position pos;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  prepare_process("move_text");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const Setting& setting = SETTINGS[data[0] % SETTING_COUNT];
  chess960 = setting.chess960;
  reset_position(pos);
  require(load_fen(setting.fen, pos) == 0, "the fixed positions load");
  const char* text = terminated_text(data + 1, size - 1);
  const int index = match_move_text(text, pos);
  if (index < 0) return 0;
  Move legal[MAX_MOVES];
  const int count = generate_moves(pos, legal);
  require(index < count, "the matched index lies in the legal move list");
  const Move& m = shared_move_list[index];
  require(m.from == legal[index].from && m.to == legal[index].to && m.kind == legal[index].kind,
          "the matched move is the legal move at that index");
  return 0;
}
