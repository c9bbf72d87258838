// Search speed: fixed-depth UCI searches over middle-game positions.
// Prints the time to depth (CPU milliseconds of a fresh "go depth d" search
// for every d up to the bench depth, so each figure is what a search started
// from scratch needs to finish that depth), then per position the nodes (main
// plus quiescence), wall and CPU milliseconds and nodes per CPU second at the
// bench depth, the totals, and the process's peak resident set size.
// Usage: search_bench [depth] [fen ...]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "eval/tables.h"
#include "frontend/fen.h"
#include "position/movegen.h"
#include "position/state.h"
#include "search/alphabeta.h"
#include "search/driver.h"
#include "search/quiesce.h"
#include "search/search_state.h"
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
constexpr int MAX_BENCH_DEPTH = 20;

// The search polls standard input: give it an empty pipe that stays open.
void quiet_standard_input() {
  int fds[2];
  if (pipe(fds) == 0) dup2(fds[0], 0);
}

struct Result {
  uint64_t nodes;
  int64_t wall_us;
  int64_t cpu_us;
};

double per_second(uint64_t count, int64_t us) { return us > 0 ? count * 1e6 / us : 0.0; }

// One search from a freshly loaded position, with every value the search
// carries between "go" commands reset, so the figures depend only on the
// position and the depth.
Result search(const char* fen, int depth) {
  Position pos;
  set_default_piece_values();
  reset_position(pos);
  undo_top = 0;
  if (load_fen(fen, pos) < 0) {
    fprintf(stderr, "bad FEN: %s\n", fen);
    exit(1);
  }
  reset_search_state(SearchHistory::FORGET);
  const std::string go = "go depth " + std::to_string(depth) + "\n";
  set_uci_time_budget(go.c_str(), pos.side);

  const int64_t wall0 = zolt_bench::wall_us(), cpu0 = zolt_bench::cpu_us();
  run_uci_search(pos, 0);
  const int64_t wall = zolt_bench::wall_us() - wall0, cpu = zolt_bench::cpu_us() - cpu0;
  return {search_nodes + qs_nodes, wall, cpu};
}

void print_depth_header(int depth) {
  printf("position");
  for (int d = 1; d <= depth; ++d) printf("%10s%d", "d", d);
  printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const int depth = argc > 1 ? atoi(argv[1]) : DEFAULT_DEPTH;
  if (depth < 1 || depth > MAX_BENCH_DEPTH) {
    fprintf(stderr, "depth must be 1..%d\n", MAX_BENCH_DEPTH);
    return 2;
  }
  std::vector<const char*> fens;
  for (int i = 2; i < argc; ++i) fens.push_back(argv[i]);
  if (fens.empty()) fens.assign(std::begin(POSITIONS), std::end(POSITIONS));

  quiet_standard_input();
  build_line_table();
  uci_currmove_info = 0;
  console_progress_info = 0;
  uci_reports = 0;  // the search's own reports are silenced; the bench prints its table

  printf("time to depth (CPU ms of a fresh search to depth d)\n");
  print_depth_header(depth);
  std::vector<Result> at_depth;
  std::vector<int64_t> depth_sums(depth + 1, 0);
  for (size_t i = 0; i < fens.size(); ++i) {
    printf("%8zu", i + 1);
    Result r{};
    for (int d = 1; d <= depth; ++d) {
      r = search(fens[i], d);
      depth_sums[d] += r.cpu_us;
      printf(" %10.1f", r.cpu_us / 1000.0);
      fflush(stdout);
    }
    printf("\n");
    at_depth.push_back(r);
  }
  printf("     sum");
  for (int d = 1; d <= depth; ++d) printf(" %10.1f", depth_sums[d] / 1000.0);
  printf("\n\n");

  Result total{};
  for (size_t i = 0; i < fens.size(); ++i) {
    const Result& r = at_depth[i];
    total.nodes += r.nodes;
    total.wall_us += r.wall_us;
    total.cpu_us += r.cpu_us;
    printf("position %zu depth %d nodes %llu wall_ms %.1f cpu_ms %.1f nps_cpu %.0f  %s\n", i + 1, depth,
           static_cast<unsigned long long>(r.nodes), r.wall_us / 1000.0, r.cpu_us / 1000.0,
           per_second(r.nodes, r.cpu_us), fens[i]);
  }
  printf("total depth %d nodes %llu wall_ms %.1f cpu_ms %.1f nps_cpu %.0f nps_wall %.0f\n", depth,
         static_cast<unsigned long long>(total.nodes), total.wall_us / 1000.0, total.cpu_us / 1000.0,
         per_second(total.nodes, total.cpu_us), per_second(total.nodes, total.wall_us));
  printf("peak_rss_kb %ld\n", zolt_bench::peak_rss_kb());
  return 0;
}
