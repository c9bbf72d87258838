// Search speed: fixed-depth UCI searches over middle-game positions, printing
// per position the depth, nodes (main plus quiescence), milliseconds and
// nodes per second, and the totals. Usage: search_bench [depth] [fen ...]
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "eval/tables.h"
#include "frontend/fen.h"
#include "position/movegen.h"
#include "position/state.h"
#include "search/alphabeta.h"
#include "search/clock.h"
#include "search/driver.h"
#include "search/quiesce.h"
#include "search/timecontrol.h"

using namespace zolt;

namespace {

const char* const POSITIONS[] = {
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8",
    "r2q1rk1/pp1nbppp/2p1pn2/3p1b2/2PP4/1QN1PN2/PP2BPPP/R1B2RK1 w - - 0 9",
    "r1bqk2r/pp2bppp/2n1pn2/2pp4/3P4/2PBPN2/PP1N1PPP/R1BQK2R w KQkq - 0 7",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "2rq1rk1/pp1bppbp/3p1np1/4n3/3NP3/1BN1BP2/PPPQ2PP/2KR3R w - - 0 12",
    "r1b2rk1/2q1bppp/p2p1n2/np2p3/3PP3/5N1P/PPBN1PP1/R1BQR1K1 w - - 0 12",
};

constexpr int DEFAULT_DEPTH = 7;

// The search polls standard input: give it an empty pipe that stays open.
void quiet_standard_input() {
  int fds[2];
  if (pipe(fds) == 0) dup2(fds[0], 0);
}

struct Result {
  uint64_t nodes;
  int64_t ms;
};

Result search(const char* fen, int depth) {
  Position pos;
  set_default_piece_values();
  reset_position(pos);
  undo_top = 0;
  if (load_fen(fen, pos) < 0) {
    fprintf(stderr, "bad FEN: %s\n", fen);
    exit(1);
  }
  root_pv.count = 0;
  last_root_score = 0;
  const std::string go = "go depth " + std::to_string(depth) + "\n";
  set_uci_time_budget(go.c_str(), pos.side);

  // The search's own reports go to /dev/null; the bench prints its table.
  fflush(stdout);
  const int saved_stdout = dup(1);
  const int null_fd = open("/dev/null", O_WRONLY);
  dup2(null_fd, 1);
  const int64_t start = clock_ms();
  run_uci_search(pos, 0);
  const int64_t ms = clock_ms() - start;
  fflush(stdout);
  dup2(saved_stdout, 1);
  close(saved_stdout);
  close(null_fd);
  return {search_nodes + qs_nodes, ms};
}

}  // namespace

int main(int argc, char** argv) {
  const int depth = argc > 1 ? atoi(argv[1]) : DEFAULT_DEPTH;
  std::vector<const char*> fens;
  for (int i = 2; i < argc; ++i) fens.push_back(argv[i]);
  if (fens.empty()) fens.assign(std::begin(POSITIONS), std::end(POSITIONS));

  quiet_standard_input();
  build_line_table();
  uci_currmove_info = 0;
  console_progress_info = 0;

  uint64_t total_nodes = 0;
  int64_t total_ms = 0;
  for (const char* fen : fens) {
    const Result r = search(fen, depth);
    total_nodes += r.nodes;
    total_ms += r.ms;
    printf("depth %d nodes %llu time %lld ms nps %.0f  %s\n", depth, static_cast<unsigned long long>(r.nodes),
           static_cast<long long>(r.ms), r.ms > 0 ? r.nodes * 1000.0 / r.ms : 0.0, fen);
  }
  printf("total nodes %llu time %lld ms nps %.0f\n", static_cast<unsigned long long>(total_nodes),
         static_cast<long long>(total_ms), total_ms > 0 ? total_nodes * 1000.0 / total_ms : 0.0);
  return 0;
}
