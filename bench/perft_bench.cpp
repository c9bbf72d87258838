// Perft speed: the classical node count of one position to a fixed depth,
// timed inside the process. Prints one line: the node count, the wall and CPU
// milliseconds of the count and the process's peak resident set size, as
// "<nodes> nodes <wall> ms wall <cpu> ms cpu <rss> kB peak rss".
// Usage: perft_bench <depth> <fen>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/measure.h"
#include "eval/tables.h"
#include "frontend/fen.h"
#include "perft/perft.h"
#include "position/movegen.h"

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
  const int64_t wall0 = zolt_bench::wall_us(), cpu0 = zolt_bench::cpu_us();
  const uint64_t nodes = zolt::perft_count(pos, depth);
  const int64_t wall = zolt_bench::wall_us() - wall0, cpu = zolt_bench::cpu_us() - cpu0;
  printf("%" PRIu64 " nodes %.1f ms wall %.1f ms cpu %ld kB peak rss\n", nodes, wall / 1000.0, cpu / 1000.0,
         zolt_bench::peak_rss_kb());
  return 0;
}
