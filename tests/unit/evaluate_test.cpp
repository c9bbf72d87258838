#include <gtest/gtest.h>

#include "eval/evaluate.h"
#include "search_helpers.h"

using namespace zolt;
using zolt_test::load_position;

namespace {

constexpr int KEPT = 1234;  // a recognisable kept score

int eval_with_kept(Position pos, int endgame) {
  pos.material = KEPT;
  pos.endgame = endgame;
  return evaluate(pos);
}

}  // namespace

TEST(Evaluate, BareMinorPiecesAreDrawn) {
  for (const char* fen : {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "4k3/8/8/8/8/8/8/2B1K3 w - - 0 1",
                          "2b1k3/8/8/8/8/8/8/2B1K3 b - - 0 1", "3bk3/8/8/8/8/8/8/2B1K3 w - - 0 1",
                          "4k3/8/8/8/8/8/8/1N2K3 w - - 0 1", "1n2k1n1/8/8/8/8/8/8/1N2K1N1 w - - 0 1"}) {
    EXPECT_EQ(eval_with_kept(load_position(fen), 1), 0) << fen;
    EXPECT_EQ(eval_with_kept(load_position(fen), 0), 0) << fen;  // overrides the king terms
  }
}

TEST(Evaluate, MaterialThatCanMateIsScored) {
  for (const char* fen : {"4k3/8/8/8/8/8/8/1NN1K1N1 w - - 0 1",  // three knights
                          "4k3/8/8/8/8/8/8/1n2KB2 w - - 0 1",    // bishop against knight
                          "4k3/8/8/8/8/8/8/2B1KB2 w - - 0 1",    // two bishops
                          "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1"})    // a pawn
    EXPECT_EQ(eval_with_kept(load_position(fen), 1), KEPT) << fen;
}

TEST(Evaluate, PromotedPawnStillCountsAsPawn) {
  // The pawn becomes a bishop: king and bishop against king on the board, but
  // the counts still hold a pawn, so the draw rule does not apply.
  Position pos = load_position("4k3/P7/8/8/8/8/8/4K3 w - - 0 1");
  ASSERT_TRUE(zolt_test::make_named_move(pos, A8 + 10, A8, KIND_WHITE_PROMOTE_QUEEN + 2));
  EXPECT_EQ(eval_with_kept(pos, 1), -KEPT);
}

TEST(Evaluate, KingShelterAndCastledSquares) {
  const char* castled_short = "4k3/8/8/8/8/8/5PPP/6K1 w - - 0 1";
  EXPECT_EQ(eval_with_kept(load_position(castled_short), 0), KEPT + 20);
  EXPECT_EQ(eval_with_kept(load_position("4k3/8/8/8/8/8/5PPP/6K1 b - - 0 1"), 0), -(KEPT + 20));
  // Directly after loading the position is flagged as an endgame: no king terms.
  EXPECT_EQ(eval_with_kept(load_position(castled_short), 1), KEPT);

  EXPECT_EQ(eval_with_kept(load_position("4k3/8/8/8/8/8/1PP5/2K5 w - - 0 1"), 0), KEPT + 18);
  EXPECT_EQ(eval_with_kept(load_position("4k3/8/8/8/8/8/1PPP4/2K5 w - - 0 1"), 0), KEPT + 23);
  // Black's terms count against white; pawns behind the king do not count.
  EXPECT_EQ(eval_with_kept(load_position("6k1/5ppp/8/8/8/8/8/4K3 w - - 0 1"), 0), KEPT - 20);
  EXPECT_EQ(eval_with_kept(load_position("2k5/8/8/8/8/8/P7/4K3 w - - 0 1"), 0), KEPT - 8);
  EXPECT_EQ(eval_with_kept(load_position("4k3/8/8/8/8/8/8/4K3 w - - 0 1"), 0), 0);  // drawn still
  EXPECT_EQ(eval_with_kept(load_position("4k3/8/8/8/8/8/3PK3/8 w - - 0 1"), 0), KEPT);
}
