// The UCI loop over arbitrary input. Searches end at their first look at the
// input, which by then is exhausted, so every input runs quickly whatever its
// "go" asks for.
#include "eval/tables.h"
#include "frontend/uci.h"
#include "fuzz_support.h"
#include "position/state.h"

using namespace zolt_fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  prepare_process("uci");
  zolt::set_default_piece_values();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  InScratchDirectory scratch;
  feed_standard_input(data, size);
  zolt::undo_top = 0;
  zolt::ply = 0;
  zolt::run_uci_loop();
  return 0;
}
