// A fixed set of fixed-depth searches whose node counts and moves pin the
// search's behaviour: any change to evaluation, ordering, pruning,
// extensions or the iteration scheme moves these numbers.
#include <gtest/gtest.h>

#include <string>

#include "frontend/play.h"
#include "search/clock.h"
#include "search/driver.h"
#include "search/quiesce.h"
#include "search/timecontrol.h"
#include "search_helpers.h"

using namespace zolt;

namespace {

struct SignatureCase {
  const char* fen;
  int depth;
  uint64_t nodes;  // search_nodes + qs_nodes
  const char* bestmove;
};

const SignatureCase CASES[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 7, 322161, "b1c3"},
    {"r1bqkbnr/pppp1ppp/2n5/4p3/3PP3/5N2/PPP2PPP/RNBQKB1R b KQkq d3 0 3", 6, 844196, "e5d4"},
    {"r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8", 6, 1858901, "c4d5"},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 5, 46628, "e2a6"},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 7, 237443, "b4f4"},
    {"2r3k1/pp3pp1/4p2p/3nP3/3P4/P4N1P/1P3PP1/2R3K1 b - - 0 25", 7, 76166, "c8c1"},
    {"8/5P1k/8/8/8/8/6p1/K7 w - - 0 1", 7, 324885, "f7f8q"},
};

std::string search_fixed_depth(const SignatureCase& c, uint64_t& nodes) {
  zolt_test::reset_search_state();
  Position pos = zolt_test::load_position(c.fen);
  const std::string go = "go depth " + std::to_string(c.depth) + "\n";
  set_uci_time_budget(go.c_str(), pos.side);
  testing::internal::CaptureStdout();
  run_uci_search(pos, 0);
  const std::string out = testing::internal::GetCapturedStdout();
  nodes = search_nodes + qs_nodes;
  const size_t at = out.find("bestmove ");
  if (at == std::string::npos) return "<none>";
  // The move alone, without the reply it expects.
  return out.substr(at + 9, out.find_first_of(" \n", at + 9) - at - 9);
}

}  // namespace

TEST(SearchSignature, FixedDepthNodeCountsAndMoves) {
  uint64_t total = 0;
  std::string actual;
  for (const SignatureCase& c : CASES) {
    uint64_t nodes = 0;
    const std::string move = search_fixed_depth(c, nodes);
    total += nodes;
    actual += std::string("    {\"") + c.fen + "\", " + std::to_string(c.depth) + ", " + std::to_string(nodes) +
              ", \"" + move + "\"},\n";
    EXPECT_EQ(nodes, c.nodes) << c.fen;
    EXPECT_EQ(move, c.bestmove) << c.fen;
  }
  if (HasFailure()) printf("actual signature (total %llu):\n%s", static_cast<unsigned long long>(total), actual.c_str());
}

// The console reply keeps its killers and stores each root result, so mate
// killers come into play once a mate is seen.
TEST(SearchSignature, ConsoleReplyWithMateKillers) {
  struct ReplyCase {
    const char* fen;
    int depth;
    uint64_t nodes;
    Square from, to;
  };
  const ReplyCase cases[] = {
      {"r1b1kb1r/pppp1ppp/5q2/4n3/3KP3/2N3PN/PPP4P/R1BQ1BR1 b kq - 0 1", 6, 93399, F8, 53},  // f8c5, mates
      // Searched right after a mate was seen: the mate killers are in play.
      {"2r3k1/pp3pp1/4p2p/3nP3/3P4/P4N1P/1P3PP1/2R3K1 b - - 0 25", 6, 22068, C8, C1},
  };
  const int saved_bound = depth_bound;
  const int saved_progress = console_progress_info;
  console_progress_info = 0;
  zolt_test::reset_search_state();
  for (const ReplyCase& c : cases) {
    Position pos = zolt_test::load_position(c.fen);
    depth_bound = c.depth + 1;
    stop_search = 0;
    deadline = clock_ms() + NO_TIME_LIMIT;
    qs_nodes = 0;
    testing::internal::CaptureStdout();
    const Move reply = run_console_reply(pos);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(search_nodes + qs_nodes, c.nodes) << c.fen;
    EXPECT_EQ(reply.from, c.from) << c.fen;
    EXPECT_EQ(reply.to, c.to) << c.fen;
  }
  depth_bound = saved_bound;
  console_progress_info = saved_progress;
}
