// The Zolt.cfg reader over arbitrary file contents. Whatever the file holds,
// the settings stay inside their ranges: piece values no larger than the
// king's, the null-move depth 0..9, flags 0 or 1, a terminated log file name.
#include <cstdio>
#include <cstring>

#include "eval/tables.h"
#include "frontend/config_log.h"
#include "fuzz_support.h"

using namespace zolt;
using namespace zolt_fuzz;

namespace {

constexpr int MAX_NULLMOVE_DEPTH = 9;

void write_config(const uint8_t* data, size_t size) {
  FILE* file = fopen("Zolt.cfg", "wb");
  require(file != nullptr, "creating Zolt.cfg");
  require(fwrite(data, 1, size, file) == size, "writing Zolt.cfg");
  fclose(file);
}

void check_settings() {
  for (PieceCode p = PAWN; p <= QUEEN; ++p) {
    require(piece_value[p] >= 0 && piece_value[p] <= KING_VALUE, "white piece value in range");
    require(piece_value[-p] <= 0 && piece_value[-p] >= -KING_VALUE, "black piece value in range");
  }
  require(nullmove_depth >= 0 && nullmove_depth <= MAX_NULLMOVE_DEPTH, "null-move depth in range");
  require(logging == 0 || logging == 1, "logging is a flag");
  require(own_book == 0 || own_book == 1, "own book is a flag");
  require(ponder == 0 || ponder == 1, "ponder is a flag");
  require(hash_size >= 0 && book_depth >= 0, "counts are not negative");
  require(memchr(log_file_name, 0, sizeof log_file_name) != nullptr, "the log file name is terminated");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  prepare_process("config");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  InScratchDirectory scratch;
  write_config(data, size < MAX_INPUT ? size : MAX_INPUT);
  set_default_piece_values();
  nullmove_depth = 2;
  logging = own_book = ponder = 0;
  hash_size = book_depth = 0;
  read_config();
  check_settings();
  return 0;
}
