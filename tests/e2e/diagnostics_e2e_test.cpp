// Console diagnostics through the real binary.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "harness.h"

using zolt_test::run_zolt;

namespace {

const std::string PROMPT = "\nzolt: ";

// The output of the command on the second-to-last input line: what follows its prompt.
std::string reply_to(const std::string& input) {
  auto r = run_zolt(input);
  size_t start = r.output.find("warning: couldn't open Zolt.cfg\n");
  return start == std::string::npos ? r.output : r.output.substr(start + 32);
}

int count_of(const std::string& text, const std::string& needle) {
  int n = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

}  // namespace

TEST(Diagnostics, InfoAtStart) {
  EXPECT_EQ(reply_to("info\n"), PROMPT +
                                    "King W: 95e1\nKing B: 25e8\nEP: 0 white"
                                    "\ncastling w: Q=1 K=1\ncastling b: q=1 k=1"
                                    "\n       K   k RH\n moved [0][0][0]\n       RA  rh ra\n moved [0][0][0]"
                                    "\nply: 1\n50 moves: 0" +
                                    PROMPT);
}

TEST(Diagnostics, InfoShowsRightsFlagsAndEnPassant) {
  std::string out = reply_to("setboard r3k3/8/8/8/3Pp3/8/8/4K2R b Kq d3 7 30\ninfo\n");
  EXPECT_NE(out.find("King W: 95e1\nKing B: 25e8\nEP: 74d3 black"
                     "\ncastling w: Q=0 K=1\ncastling b: q=1 k=0"
                     "\n       K   k RH\n moved [0][0][0]\n       RA  rh ra\n moved [1][1][0]"
                     "\nply: 60\n50 moves: 7" +
                     PROMPT),
            std::string::npos)
      << out;
}

TEST(Diagnostics, RandFirstValueAndKeyZeroThenHistory) {
  // The generator written out: state * 214013 + 2531011, output bits 16..30, from state 1.
  uint32_t state = 1;
  uint64_t parts[3];
  for (uint64_t& part : parts) {
    state = state * 214013u + 2531011u;
    part = (state >> 16) & 0x7fff;
  }
  uint64_t first = ((parts[0] << 15 ^ parts[1]) << 15) ^ parts[2];
  EXPECT_EQ(reply_to("rand\nh_stack\n"), PROMPT + "\nRand gives back: " + std::to_string(first) +
                                             "\n\nkey von P(2): 0\n" + PROMPT + "\nHashkey: 0" + PROMPT);
}

TEST(Diagnostics, ValuesDefaults) {
  EXPECT_EQ(reply_to("values\n"), PROMPT +
                                      "\nPiece values:\nwhite pawn: 100\nwhite knight: 300\nwhite bishop: 325"
                                      "\nwhite rook: 500\nwhite queen: 900\nblack queen: 900\nblack rook: 500"
                                      "\nblack bishop: 325\nblack knight: 300\nblack pawn: 100" +
                                      PROMPT);
}

TEST(Diagnostics, AttackCountsBatteriesAndStopsAtBlockers) {
  auto attack = [](const std::string& fen, int black, int white) {
    std::string input = fen.empty() ? "attack\n" : "setboard " + fen + "\nattack\n";
    std::string out = reply_to(input);
    std::string expected = "\nBlack attackers on E4: " + std::to_string(black) + "\n\nWhite attackers on E4: " +
                           std::to_string(white) + "\n" + PROMPT;
    EXPECT_NE(out.find(expected), std::string::npos) << fen << "\n" << out;
  };
  attack("", 0, 0);
  attack("4k3/8/8/8/8/8/6B1/4K2Q w - - 0 1", 0, 2);
  attack("4k3/8/8/8/8/5p2/6B1/4K2Q w - - 0 1", 0, 0);
  // Black: pawns d5 and f5, knight c3, queen and rook stacked on the e-file, king f4 beside e4.
  attack("4r3/4q3/8/3p1p2/5k2/2n5/8/K7 w - - 0 1", 6, 0);
  // White: knight g5 and pawn d3 count; the rook e1 is blocked by the pawn e2
  // and the bishop b1 by the pawn d3.
  attack("4k3/8/8/6N1/8/3P4/4P3/1B2R1K1 w - - 0 1", 0, 2);
}

TEST(Diagnostics, StackIsEmptyAtStart) {
  EXPECT_EQ(reply_to("stack\n"), PROMPT + PROMPT);
}

TEST(Diagnostics, StackAndKeyHistoryAfterAGameMoveAndReply) {
  std::string out = reply_to("sd 2\ne2e4\nstack\nh_stack\n");
  size_t stack_at = out.rfind(PROMPT + "\nvon: ");
  ASSERT_NE(stack_at, std::string::npos) << out;
  std::string tail = out.substr(stack_at);
  EXPECT_EQ(tail.rfind(PROMPT + "\nvon: 85 nach: 65 [0 e2e4]\nvon: ", 0), 0u) << tail;
  EXPECT_EQ(count_of(tail, "\nvon: "), 2);
  EXPECT_NE(tail.find("]" + PROMPT + "\nHashkey: 0\nHashkey: 0\nHashkey: 0" + PROMPT), std::string::npos) << tail;
}

TEST(Diagnostics, ShowAndSortWithoutLegalMoves) {
  // Black is checkmated.
  std::string out = reply_to("setboard 7k/6Q1/6K1/8/8/8/8/8 b - - 0 1\nshow\nsort\n");
  EXPECT_NE(out.find(PROMPT + "\n0 legal moves: "), std::string::npos) << out;
  EXPECT_NE(out.find(PROMPT + "\nMoves sorted for Alpha-Beta\n0 legal moves\n" + PROMPT), std::string::npos) << out;
}

TEST(Diagnostics, SortListsEveryMoveHighestScoreFirst) {
  std::string out = reply_to("sort\n");
  ASSERT_NE(out.find("\nMoves sorted for Alpha-Beta\n20 legal moves\n"), std::string::npos) << out;
  EXPECT_EQ(count_of(out, " value: "), 20);
}

TEST(Diagnostics, EvalChangesSignWithTheSideToMove) {
  // No search has run, so the kept material is still the zeroed start value;
  // the rest of the evaluation must still be symmetric between the sides.
  std::string white = reply_to("setboard 6k1/5ppp/8/8/8/8/8/4K3 w - - 0 1\neval\n");
  std::string black = reply_to("setboard 6k1/5ppp/8/8/8/8/8/4K3 b - - 0 1\neval\n");
  size_t w = white.rfind("\nevalnega: "), b = black.rfind("\nevalnega: ");
  ASSERT_NE(w, std::string::npos) << white;
  ASSERT_NE(b, std::string::npos) << black;
  double white_value = std::stod(white.substr(w + 11)), black_value = std::stod(black.substr(b + 11));
  EXPECT_EQ(white_value, -black_value);
  EXPECT_NE(white.find(".00" + PROMPT, w), std::string::npos);
}
