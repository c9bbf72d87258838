// A perft-suite line as the suite runner takes it: the ";D<depth> <count>"
// entries and the FEN at its start. The last depth is a single digit
// and the FEN is read or refused cleanly.
#include <cstdio>

#include "eval/tables.h"
#include "frontend/fen.h"
#include "fuzz_support.h"
#include "perft/suite.h"
#include "position/movegen.h"

using namespace zolt;
using namespace zolt_fuzz;

namespace {

constexpr int SUITE_LINE_SIZE = 250;  // the runner reads lines of at most 249 characters
uint64_t expected[MAX_SUITE_DEPTH + 1];
char line[SUITE_LINE_SIZE];
Position pos;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  prepare_process("suite_line");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = terminated_text(data, size);
  snprintf(line, sizeof line, "%s", text);
  const int last_depth = parse_depth_entries(line, expected);
  require(last_depth >= 0 && last_depth <= 9, "the last depth is a single digit");
  reset_position(pos);
  if (load_fen(line, pos) == 0) {
    Move moves[MAX_MOVES];
    require(count_moves(pos) == generate_moves(pos, moves), "both counters agree on a suite position");
  }
  return 0;
}
