// Perft speed: the classical node count of one position to a fixed depth,
// timed inside the process. Prints "nodes milliseconds".
// Usage: perft_bench <depth> <fen>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "eval/tables.h"
#include "frontend/fen.h"
#include "perft/perft.h"
#include "position/movegen.h"
#include "search/clock.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: %s <depth> <fen>\n", argv[0]);
    return 2;
  }
  const int depth = atoi(argv[1]);
  zolt::build_line_table();
  zolt::set_default_piece_values();
  zolt::Position pos;
  memset(&pos, 0, sizeof pos);
  zolt::reset_position(pos);
  if (zolt::load_fen(argv[2], pos) != 0) {
    fprintf(stderr, "invalid FEN: %s\n", zolt::fen_error());
    return 1;
  }
  const int64_t t0 = zolt::clock_ms();
  const uint64_t nodes = zolt::perft_count(pos, depth);
  const int64_t t1 = zolt::clock_ms();
  printf("%" PRIu64 " %" PRId64 "\n", nodes, t1 - t0);
  return 0;
}
