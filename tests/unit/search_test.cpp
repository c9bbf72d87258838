#include <gtest/gtest.h>

#include <string>

#include "eval/evaluate.h"
#include "position/attacks.h"
#include "search/clock.h"
#include "search/driver.h"
#include "search/quiesce.h"
#include "search/timecontrol.h"
#include "search_helpers.h"

using namespace zolt;
using zolt_test::load_position;
using zolt_test::make_named_move;

namespace {

class Search : public ::testing::Test {
 protected:
  void SetUp() override {
    zolt_test::reset_search_state();
    deadline = clock_ms() + NO_TIME_LIMIT;
    search_poll_countdown = 1 << 30;
    info_countdown = 1 << 30;
  }
  void TearDown() override { zolt_test::reset_search_state(); }

  // One root call the way the driver makes it.
  int search(Position& pos, int depth, int alpha = -MATE, int beta = MATE) {
    ply = 0;
    iteration_depth = depth;
    return alpha_beta(pos, alpha, beta, depth, root_pv);
  }

  // Null-move searches the root alone starts at depth 4 (its children have
  // only 3 plies left).
  int root_null_moves(Position& pos, int depth = 4) {
    prepare_evaluation(pos);
    const int before = null_move_calls;
    search(pos, depth);
    return null_move_calls - before;
  }
};

// Plays coordinate moves such as "e2e4" from the current position.
void play(Position& pos, std::initializer_list<const char*> moves) {
  for (const char* m : moves) {
    const Square from = make_square(m[0] - 'a', m[1] - '0');
    const Square to = make_square(m[2] - 'a', m[3] - '0');
    ASSERT_TRUE(make_named_move(pos, from, to)) << m;
  }
}

}  // namespace

TEST_F(Search, MateAndStalemateScores) {
  Position mated = load_position("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3");
  ply = 3;
  iteration_depth = 1;
  EXPECT_EQ(alpha_beta(mated, -MATE, MATE, 1, root_pv), -(9999999 - 3));

  Position stalemate = load_position("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
  stalemate.material = -5000;
  EXPECT_EQ(search(stalemate, 1), 0);
  EXPECT_EQ(search(stalemate, 3), 0);
}

TEST_F(Search, SingleReplyAndCheckAreExtended) {
  // Depth 1 makes each root move once; an extended root also searches replies.
  Position normal = load_position("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1");
  Move list[MAX_MOVES];
  const int n = generate_moves(normal, list);
  search(normal, 1);
  EXPECT_EQ(search_nodes, static_cast<uint64_t>(n));

  Position single = load_position("7k/8/8/8/8/p7/P7/K7 w - - 0 1");
  ASSERT_EQ(generate_moves(single, list), 1);
  ASSERT_FALSE(side_in_check(single));
  search_nodes = 0;
  search(single, 1);
  EXPECT_GT(search_nodes, 1u);

  Position check = load_position("4k3/8/8/8/8/8/8/r3K3 w - - 0 1");
  const int evasions = generate_moves(check, list);
  ASSERT_GT(evasions, 1);
  search_nodes = 0;
  search(check, 1);
  EXPECT_GT(search_nodes, static_cast<uint64_t>(evasions));
}

TEST_F(Search, HorizonScoresMaterialInEarlyIterations) {
  // White's queen can take black's undefended queen.
  Position pos = load_position("4k3/8/8/3q4/8/8/3Q4/4K3 w - - 0 1");
  prepare_evaluation(pos);
  const int kept = pos.material;
  PvLine line;
  iteration_depth = 5;
  EXPECT_EQ(alpha_beta(pos, -MATE, MATE, 0, line), kept);
  pos.side = BLACK;
  EXPECT_EQ(alpha_beta(pos, -MATE, MATE, 0, line), -kept);
  pos.side = WHITE;

  // From the sixth iteration the quiescence search resolves the capture.
  iteration_depth = 6;
  const uint64_t qs_before = qs_nodes;
  EXPECT_GT(alpha_beta(pos, -MATE, MATE, 0, line), kept + 500);
  EXPECT_GT(qs_nodes, qs_before);
  EXPECT_EQ(line.count, 0);  // quiescence moves never enter a line

  // Far enough ahead, the leaf needs no quiescence search.
  pos.material = 1000;
  const uint64_t qs_lazy = qs_nodes;
  EXPECT_EQ(alpha_beta(pos, -MATE, MATE, 0, line), 1000);
  EXPECT_EQ(qs_nodes, qs_lazy);
}

TEST_F(Search, NullMoveOnlyAfterQuietMovesInTheMiddleGame) {
  Position pos = load_position(zolt_test::START_FEN);
  play(pos, {"e2e4"});
  EXPECT_EQ(root_null_moves(pos), 1);
  EXPECT_EQ(root_null_moves(pos, 3), 0);

  Position capture = load_position(zolt_test::START_FEN);
  play(capture, {"e2e4", "d7d5", "e4d5"});
  EXPECT_EQ(root_null_moves(capture), 0);

  Position castled = load_position(zolt_test::START_FEN);
  play(castled, {"e2e4", "e7e5", "g1f3", "b8c6", "f1c4", "f8c5", "e1g1"});
  EXPECT_EQ(root_null_moves(castled), 0);

  Position en_passant = load_position(zolt_test::START_FEN);
  play(en_passant, {"e2e4", "a7a6", "e4e5", "d7d5", "e5d6"});
  EXPECT_EQ(root_null_moves(en_passant), 0);

  Position promoted = load_position("r1bqkbnr/pPpppppp/8/8/8/8/P1PPPPPP/RNBQKBNR w KQkq - 0 1");
  ASSERT_TRUE(make_named_move(promoted, 32, 22, KIND_WHITE_PROMOTE_QUEEN));
  EXPECT_EQ(root_null_moves(promoted), 0);

  Position endgame = load_position("4k3/pppp4/8/8/8/8/PPPP4/4K3 w - - 0 1");
  play(endgame, {"a2a3"});
  ASSERT_EQ(endgame.endgame, 1);
  EXPECT_EQ(root_null_moves(endgame), 0);
}

TEST_F(Search, CutoffsFeedTheKillerTables) {
  Move quiet{}, capture{};
  quiet.from = 92;
  quiet.to = 73;
  capture.from = 65;
  capture.to = 54;
  capture.captured = -PAWN;
  ply = 4;
  record_cutoff(quiet);
  EXPECT_EQ(killer1[4].to, 73);
  record_cutoff(capture);
  EXPECT_EQ(killer1[4].to, 73);
  EXPECT_EQ(killer2[4].to, 0);
  EXPECT_EQ(mate_killer[4].to, 0);

  last_root_score = MATE - 20;  // the last root result was a mate
  record_cutoff(capture);
  EXPECT_EQ(mate_killer[4].to, 54);
  EXPECT_EQ(killer1[4].to, 73);
  ply = 0;
}

TEST_F(Search, RootLineStartsWithTheBestMove) {
  Position pos = load_position("r1bqkbnr/pppp1ppp/2n5/4p3/2B1P3/5Q2/PPPP1PPP/RNB1K1NR w KQkq - 2 3");
  prepare_evaluation(pos);
  const int v = search(pos, 3);
  ASSERT_GT(root_pv.count, 0);
  EXPECT_EQ(root_pv.moves[0].from, root_best_move.from);
  EXPECT_EQ(root_pv.moves[0].to, root_best_move.to);
  // Qxf7 mates.
  EXPECT_EQ(root_best_move.to, F8 + 10);
  EXPECT_EQ(v, MATE - 1);
}

TEST_F(Search, DeepLinesStayInsideThePerPlyTables) {
  // Kings and a few pieces shuffling: extensions and checks can run lines
  // far below the nominal depth; the search must treat ply 63 as a horizon.
  Position pos = load_position("8/8/8/4k3/8/8/2Q5/4K3 w - - 0 1");
  prepare_evaluation(pos);
  ply = 60;
  iteration_depth = 8;
  PvLine line;
  alpha_beta(pos, -MATE, MATE, 8, line);
  EXPECT_EQ(ply, 60);
  EXPECT_LE(line.count, MAX_PLY - 60);
}
