// The console over arbitrary input: the whole prompt loop, from start-up to
// the end of input, including "uci", which hands the rest to the UCI loop.
// Searches end at their first look at the input, which by then is exhausted,
// and perft depths are capped, so every input runs quickly.
#include "frontend/shell.h"
#include "fuzz_support.h"
#include "perft/perft.h"

using namespace zolt_fuzz;

namespace {

constexpr int FUZZ_PERFT_DEPTH = 3;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  prepare_process("console");
  zolt::max_perft_depth = FUZZ_PERFT_DEPTH;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  run_front_end_over(data, size, [] { zolt::run_console(); });
  return 0;
}
