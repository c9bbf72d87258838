#include "frontend/bench_run.h"

#include <cinttypes>
#include <cstdio>
#include <string>

#include "eval/tables.h"
#include "frontend/fen.h"
#include "position/movegen.h"
#include "position/state.h"
#include "search/alphabeta.h"
#include "search/clock.h"
#include "search/driver.h"
#include "search/platform.h"
#include "search/quiesce.h"
#include "search/search_state.h"
#include "search/timecontrol.h"

namespace zolt {

namespace {

// Openings, middlegames, endgames and mates (the last six), both sides to move.
const char* const BENCH_POSITIONS[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 2",
    "rnbqkb1r/pp2pppp/3p1n2/8/3NP3/8/PPP2PPP/RNBQKB1R w KQkq - 1 5",
    "r1bqkbnr/pppp1ppp/2n5/1B2p3/4P3/5N2/PPPP1PPP/RNBQK2R b KQkq - 3 3",
    "rnbqk2r/ppp1ppbp/3p1np1/8/2PPP3/2N5/PP3PPP/R1BQKBNR w KQkq - 0 5",
    "rnbqkb1r/ppp2ppp/4pn2/3p4/2PP4/2N5/PP2PPPP/R1BQKBNR w KQkq - 0 4",
    "r1bqkbnr/pp1ppppp/2n5/2p5/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 10",
    "4rrk1/pp1n3p/3q2pQ/2p1pb2/2PP4/2P3N1/P2B2PP/4RRK1 b - - 7 19",
    "rq3rk1/ppp2ppp/1bnpb3/3N2B1/3NP3/7P/PPPQ1PP1/2KR3R w - - 7 14",
    "r1bq1r1k/1pp1n1pp/1p1p4/4p2Q/4Pp2/1BNP4/PPP2PPP/3R1RK1 w - - 2 14",
    "r3r1k1/2p2ppp/p1p1bn2/8/1q2P3/2NPQN2/PPP3PP/R4RK1 b - - 2 15",
    "r1bbk1nr/pp3p1p/2n5/1N4p1/2Np1B2/8/PPP2PPP/2KR1B1R w kq - 0 13",
    "r1bq1rk1/ppp1nppp/4n3/3p3Q/3P4/1BP1B3/PP1N2PP/R4RK1 w - - 1 16",
    "4r1k1/r1q2ppp/ppp2n2/4P3/5Rb1/1N1BQ3/PPP3PP/R5K1 w - - 1 17",
    "2rqkb1r/ppp2p2/2npb1p1/1N1Nn2p/2P1PP2/8/PP2B1PP/R1BQK2R b KQ - 0 11",
    "r1bq1r1k/b1p1npp1/p2p3p/1p6/3PP3/1B2NN2/PP3PPP/R2Q1RK1 w - - 1 16",
    "3r1rk1/p5pp/bpp1pp2/8/q1PP1P2/b3P3/P2NQRPP/1R2B1K1 b - - 6 22",
    "r1q2rk1/2p1bppp/2Pp4/p6b/Q1PNp3/4B3/PP1R1PPP/2K4R w - - 2 18",
    "4k2r/1pb2ppp/1p2p3/1R1p4/3P4/2r1PN2/P4PPP/1R4K1 b - - 3 22",
    "3q2k1/pb3p1p/4pbp1/2r5/PpN2N2/1P2P2P/5PP1/Q2R2K1 b - - 4 26",
    "2rq1rk1/pp1bppbp/3p1np1/4n3/3NP3/1BN1BP2/PPPQ2PP/2KR3R w - - 0 12",
    "6k1/6p1/6Pp/ppp5/3pn2P/1P3K2/1PP2P2/8 b - - 3 54",
    "3b4/5kp1/1p1p1p1p/pP1PpP1P/P1P1P3/3KN3/8/8 w - - 0 1",
    "2K5/p7/7P/5pR1/8/5k2/r7/8 w - - 0 1",
    "8/6pk/1p6/8/PP3p1p/5P2/4KP1q/3Q4 w - - 0 1",
    "7k/3p2pp/4q3/8/4Q3/5Kp1/P6b/8 w - - 0 1",
    "8/2p5/8/2kPKp1p/2p4P/2P5/3P4/8 w - - 0 1",
    "8/1p3pp1/7p/5P1P/2k3P1/8/2K2P2/8 w - - 0 1",
    "8/pp2r1k1/2p1p3/3pP2p/1P1P1P1P/P5KR/8/8 w - - 0 1",
    "5k2/7R/4P2p/5K2/p1r2P1p/8/8/8 b - - 0 1",
    "6k1/6p1/P6p/r1N5/5p2/7P/1b3PP1/4R1K1 w - - 0 1",
    "8/8/1P6/5pr1/8/4R3/7k/2K5 w - - 0 1",
    "8/5P1k/8/8/8/8/6p1/K7 w - - 0 1",
    "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1",
    "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4",
    "7k/8/5K2/8/8/8/8/6R1 w - - 0 1",
    "r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 10",
    "r1b1kb1r/pppp1ppp/5q2/4n3/3KP3/2N3PN/PPP4P/R1BQ1BR1 b kq - 0 1",
    "r5rk/5p1p/5R2/4B3/8/8/7P/7K w - - 0 1",
};
constexpr int BENCH_POSITION_COUNT = sizeof BENCH_POSITIONS / sizeof BENCH_POSITIONS[0];

// The settings of a program that read no Zolt.cfg, and a search that talks to nobody.
void prepare_bench() {
  platform_start();
  build_line_table();
  set_default_piece_values();
  chess960 = 0;
  console_progress_info = 0;
  uci_currmove_info = 0;
  uci_reports = 0;
  search_reads_input = 0;
}

// One "go depth" search of the position from a fresh search state; its nodes
// (main and quiescence search), or -1 when the position cannot be loaded.
int64_t bench_search(const char* fen, const std::string& go) {
  Position pos;
  reset_position(pos);
  undo_top = 0;
  if (load_fen(fen, pos) < 0) return -1;
  reset_search_state(SearchHistory::FORGET);
  read_go_line(go.c_str(), pos);
  run_uci_search(pos, 0);
  return static_cast<int64_t>(search_nodes + qs_nodes);
}

}  // namespace

int run_bench(int depth) {
  prepare_bench();
  const std::string go = "go depth " + std::to_string(depth) + "\n";
  const int64_t start = clock_ms();
  uint64_t total = 0;
  for (int i = 0; i < BENCH_POSITION_COUNT; ++i) {
    const int64_t nodes = bench_search(BENCH_POSITIONS[i], go);
    if (nodes < 0) {
      fprintf(stderr, "bench: invalid FEN: %s\n", BENCH_POSITIONS[i]);
      return 1;
    }
    total += static_cast<uint64_t>(nodes);
    printf("position %2d/%d depth %d: %" PRId64 "\n", i + 1, BENCH_POSITION_COUNT, depth, nodes);
    fflush(stdout);
  }
  const int64_t elapsed = clock_ms() - start;
  const uint64_t nps = total * 1000 / static_cast<uint64_t>(elapsed > 0 ? elapsed : 1);
  printf("%" PRIu64 " nodes %" PRIu64 " nps\n", total, nps);
  return 0;
}

}  // namespace zolt
