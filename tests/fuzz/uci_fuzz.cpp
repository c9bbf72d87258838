// The UCI loop over arbitrary input. Searches end at their first look at the
// input, which by then is exhausted, so every input runs quickly whatever its
// "go" asks for.
#include "eval/tables.h"
#include "frontend/uci.h"
#include "fuzz_support.h"

using namespace zolt_fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  prepare_process("uci");
  zolt::set_default_piece_values();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  run_front_end_over(data, size, zolt::run_uci_loop);
  return 0;
}
