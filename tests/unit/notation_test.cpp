// Square and move texts and the move-text matcher.
#include <gtest/gtest.h>

#include "frontend/notation.h"
#include "movegen_helpers.h"

namespace {

using namespace zolt;
using zolt_test::position_from;

template <typename F>
std::string printed(F f) {
  testing::internal::CaptureStdout();
  f();
  return testing::internal::GetCapturedStdout();
}

int matched_kind(const char* text, const Position& pos) {
  const int i = match_move_text(text, pos);
  return i < 0 ? -1 : shared_move_list[i].kind;
}

TEST(Notation, MatcherPromotionLetters) {
  Position pos = position_from("7k/4P3/8/8/8/8/8/K7 w - - 0 1");
  EXPECT_EQ(matched_kind("e7e8", pos), 7);
  EXPECT_EQ(matched_kind("e7e8n", pos), 10);
  EXPECT_EQ(matched_kind("e7e8N", pos), 10);
  EXPECT_EQ(matched_kind("e7e8r", pos), 8);
  EXPECT_EQ(matched_kind("e7e8b", pos), 9);
  EXPECT_EQ(matched_kind("e7e8x", pos), 7);
  // A letter after a move that is not a promotion still names that move.
  const int i = match_move_text("a1b1n", pos);
  ASSERT_GE(i, 0);
  EXPECT_EQ(zolt_test::move_text(shared_move_list[i]), "a1b1");
}

TEST(Notation, MatcherRefusals) {
  Position pos = position_from("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  EXPECT_EQ(match_move_text("E2E4", pos), -1);
  EXPECT_EQ(match_move_text("e2e", pos), -1);
  EXPECT_EQ(match_move_text("", pos), -1);
  EXPECT_EQ(match_move_text("e2e5", pos), -1);
  EXPECT_EQ(match_move_text("e2e4 ", pos), 9);
  EXPECT_EQ(match_move_text("e2e4\n", pos), 9);
  EXPECT_EQ(match_move_text("e2e4xyz", pos), 9);
  Position mate = position_from("7k/6Q1/6K1/8/8/8/8/8 b - - 0 1");
  EXPECT_EQ(match_move_text("h8g8", mate), -1);
}

TEST(Notation, Chess960CastlingIsKingToRook) {
  chess960 = 1;
  Position pos = position_from("rnbqkbnr/pppppppp/8/8/8/8/8/R3K2R w HA - 0 1");
  EXPECT_EQ(matched_kind("e1h1", pos), KIND_WHITE_CASTLE_KING);
  EXPECT_EQ(matched_kind("e1a1", pos), KIND_WHITE_CASTLE_QUEEN);
  EXPECT_EQ(match_move_text("e1g1", pos), -1);
  chess960 = 0;
}

TEST(Notation, SquareAndPromotionTexts) {
  EXPECT_EQ(printed([] { print_square(0); }), "");
  EXPECT_EQ(printed([] { print_square(21); }), "a8");
  EXPECT_EQ(printed([] { print_square(98); }), "h1");
  EXPECT_EQ(printed([] { print_square(29); }), "");
  EXPECT_STREQ(square_name(65), "e4");
  EXPECT_EQ(printed([] { print_promotion_suffix(17); }), "=Q");
  EXPECT_EQ(printed([] { print_promotion_suffix(18); }), "=r");
  EXPECT_EQ(printed([] { print_promotion_suffix(10); }), "=N");
  EXPECT_EQ(printed([] { print_promotion_suffix(0); }), "");
  EXPECT_EQ(printed([] { print_promotion_letter(17); }), "q");
  EXPECT_EQ(printed([] { print_promotion_letter(18); }), "r");
  EXPECT_EQ(printed([] { print_promotion_letter(6); }), "");
}

std::string listing(const char* fen) {
  Position pos = position_from(fen);
  Move list[MAX_MOVES];
  const int n = generate_moves(pos, list);
  return printed([&] { print_move_list(n, pos, list); });
}

TEST(Notation, ListNotationMarks) {
  EXPECT_EQ(listing("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"),
            "\na3 a4 b3 b4 c3 c4 d3 d4 e3 e4 f3 f4 g3 g4 h3 h4 Nc3 Na3 Nh3 Nf3 \n");
  // Castling, capture-promotions with check marks, rook rays up first.
  EXPECT_EQ(listing("3rk3/4P3/8/8/8/8/8/4K2R w K - 0 1"),
            "\nK 0-0  Kf1 Ke2 Kf2 e7xQd8+ e7xRd8+ e7xBd8 e7xNd8 Rh2 Rh3 Rh4 Rh5 Rh6 Rh7 Rh8+ Rg1 Rf1 \n");
  // En passant shows only its (empty) destination square.
  EXPECT_NE(listing("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1").find(" e6 d6 \n"), std::string::npos);
  EXPECT_NE(listing("6k1/5ppp/8/8/8/8/8/R3K3 w - - 0 1").find(" Ra8# "), std::string::npos);
  EXPECT_NE(listing("k7/8/8/1Q6/8/8/8/4K3 w - - 0 1").find(" Qb6S "), std::string::npos);
}

TEST(Notation, ReportNotation) {
  Position pos = position_from("3rk3/4P3/8/8/8/8/8/4K2R w K - 0 1");
  Move list[MAX_MOVES];
  const int n = generate_moves(pos, list);
  std::string text;
  for (int i = 0; i < n; ++i) {
    Position copy = pos;
    text += printed([&] { print_report_notation_move(copy, list[i]); });
    unmake_move(copy);
  }
  EXPECT_EQ(text, "0_0 Kf1 Ke2 Kf2 e7xd8=Q+ e7xd8=R+ e7xd8=B e7xd8=N Rh2 Rh3 Rh4 Rh5 Rh6 Rh7 Rh8+ Rg1 Rf1 ");
}

}  // namespace
