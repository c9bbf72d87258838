// Generation order, legality decisions and the agreement of the three generators.
#include <gtest/gtest.h>

#include <algorithm>

#include "movegen_helpers.h"

namespace {

using namespace zolt;
using zolt_test::legal_moves;
using zolt_test::position_from;
using Moves = std::vector<std::string>;

bool contains(const Moves& moves, const std::string& m) { return std::find(moves.begin(), moves.end(), m) != moves.end(); }

TEST(MoveGen, StartPositionOrder) {
  Position pos = position_from("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  const Moves expected = {"a2a3", "a2a4", "b2b3", "b2b4", "c2c3", "c2c4", "d2d3", "d2d4", "e2e3", "e2e4",
                          "f2f3", "f2f4", "g2g3", "g2g4", "h2h3", "h2h4", "b1c3", "b1a3", "g1h3", "g1f3"};
  EXPECT_EQ(legal_moves(pos), expected);
  EXPECT_EQ(count_moves(pos), 20);
  Move list[MAX_MOVES];
  EXPECT_EQ(generate_captures(pos, list), 0);
}

TEST(MoveGen, BlackRayOrderAndKingFirst) {
  Position pos = position_from("8/8/8/3q4/8/8/8/K6k b - - 0 1");
  const Moves moves = legal_moves(pos);
  ASSERT_GE(moves.size(), 6u);
  EXPECT_EQ(moves[0], "h1g1");  // king steps +1 (off board), -1, +10 (off), -10 ...
  EXPECT_EQ(moves[1], "h1h2");
  EXPECT_EQ(moves[2], "h1g2");
  EXPECT_EQ(moves[3], "d5e5");  // queen: +1 ray first
}

TEST(MoveGen, PinnedPieceHasNoMoves) {
  Position pos = position_from("4r2k/8/8/8/8/8/4B3/4K3 w - - 0 1");
  for (const auto& m : legal_moves(pos)) EXPECT_NE(m.substr(0, 2), "e2") << m;
  EXPECT_EQ(count_moves(pos), 4);  // d1 d2 f1 f2
}

TEST(MoveGen, EnPassantThatExposesKingThroughCapturedPawn) {
  Position pos = position_from("7k/5b2/8/3pP3/8/8/K7/8 w - d6 0 1");
  ASSERT_EQ(pos.ep_square, make_square(3, 6));
  EXPECT_FALSE(contains(legal_moves(pos), "e5d6/6"));
  pos = position_from("7k/8/8/3pP3/8/8/K7/8 w - d6 0 1");
  EXPECT_TRUE(contains(legal_moves(pos), "e5d6/6"));
}

TEST(MoveGen, PromotionsComeAsFourRecords) {
  Position pos = position_from("3r3k/4P3/8/8/8/8/8/K7 w - - 0 1");
  const Moves moves = legal_moves(pos);
  const Moves expected = {"e7e8/7", "e7e8/8", "e7e8/9", "e7e8/10", "e7d8/7", "e7d8/8", "e7d8/9", "e7d8/10"};
  auto at = std::search(moves.begin(), moves.end(), expected.begin(), expected.end());
  EXPECT_NE(at, moves.end());
  Move list[MAX_MOVES];
  EXPECT_EQ(generate_captures(pos, list), 8);  // push and capture promotions, nothing else
}

struct CastlingCase {
  const char* fen;
  bool king_side;
  bool queen_side;
};

TEST(MoveGen, StandardCastlingConditions) {
  const CastlingCase cases[] = {
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", true, true},
      {"r3k2r/5r2/8/8/8/8/8/R3K2R w KQkq - 0 1", false, true},   // f1 attacked
      {"r3k2r/6r1/8/8/8/8/8/R3K2R w KQkq - 0 1", false, true},   // g1 attacked
      {"r3k2r/1r6/8/8/8/8/8/R3K2R w KQkq - 0 1", true, true},    // b1 attacked is fine
      {"r3k2r/3r4/8/8/8/8/8/R3K2R w KQkq - 0 1", true, false},   // d1 attacked
      {"r3k2r/4r3/8/8/8/8/8/R3K2R w KQkq - 0 1", false, false},  // in check
      {"r3k2r/8/8/8/8/8/8/RN2K1NR w KQkq - 0 1", false, false},  // occupied
      {"r3k2r/8/8/8/8/8/8/R3K2R w Kkq - 0 1", true, false},      // right gone
  };
  for (const auto& c : cases) {
    Position pos = position_from(c.fen);
    const Moves moves = legal_moves(pos);
    EXPECT_EQ(contains(moves, "e1g1/2"), c.king_side) << c.fen;
    EXPECT_EQ(contains(moves, "e1c1/3"), c.queen_side) << c.fen;
    EXPECT_EQ(count_moves(pos), static_cast<int>(moves.size())) << c.fen;
  }
  Position pos = position_from("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1");
  const Moves moves = legal_moves(pos);
  EXPECT_EQ(moves[0], "e8g8/4");
  EXPECT_EQ(moves[1], "e8c8/5");
}

TEST(MoveGen, Chess960KingTakesRookCastling) {
  chess960 = 1;
  Position pos = position_from("4k3/8/8/8/8/8/8/RK6 w A - 0 1");
  const Moves moves = legal_moves(pos);
  EXPECT_EQ(moves.at(0), "b1a1/3");
  EXPECT_EQ(count_moves(pos), static_cast<int>(moves.size()));
  chess960 = 0;
}

// Rights read in Chess960 mode for a king off e1, with the mode switched off
// before the next search: the standard rules must not castle from an empty e1.
TEST(MoveGen, StandardCastlingNeedsTheKingOnE1) {
  chess960 = 1;
  Position pos = position_from("r4k1r/8/8/8/8/8/8/R4K1R w HAha - 0 1");
  chess960 = 0;
  for (int side : {WHITE, BLACK}) {
    pos.side = side;
    const Moves moves = legal_moves(pos);
    for (const auto& m : moves) EXPECT_EQ(m.find('/'), std::string::npos) << m;
    EXPECT_EQ(count_moves(pos), static_cast<int>(moves.size()));
  }
}

TEST(MoveGen, InCheckOnlyEvasions) {
  Position pos = position_from("4k3/8/8/8/1b6/8/8/R3K1NR w K - 0 1");
  // No castling and no interposition reaches d2 or c3; d2 itself is attacked.
  EXPECT_EQ(legal_moves(pos), (Moves{"e1f1", "e1d1", "e1e2", "e1f2"}));
}

}  // namespace
