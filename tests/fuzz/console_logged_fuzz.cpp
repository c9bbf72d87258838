// The console over arbitrary input, as console_fuzz.cpp, but with a Zolt.cfg
// that switches logging on, so every command also writes its log lines (the
// received UCI lines, board copies, search statistics) to a log file.
#include <cstdio>

#include "frontend/shell.h"
#include "fuzz_support.h"
#include "perft/perft.h"

using namespace zolt_fuzz;

namespace {

constexpr int FUZZ_PERFT_DEPTH = 3;

void write_logging_config() {
  InScratchDirectory scratch;
  FILE* file = fopen("Zolt.cfg", "w");
  require(file != nullptr, "creating Zolt.cfg");
  fputs("Logging=true\nLogfile=fuzz.log\n", file);
  fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  prepare_process("console_logged");
  write_logging_config();
  zolt::max_perft_depth = FUZZ_PERFT_DEPTH;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  run_front_end_over(data, size, [] { zolt::run_console(); });
  return 0;
}
