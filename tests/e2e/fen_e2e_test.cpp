// FEN read and written back through the console commands setboard and fen.
#include <gtest/gtest.h>

#include <string>

#include "harness.h"

namespace {

const std::string PROMPT = "\nzolt: ";

// The "fen" answer after loading text with setboard.
std::string round_trip(const std::string& fen) {
  auto r = zolt_test::run_zolt("setboard " + fen + "\nfen\nquit\n");
  const size_t at = r.output.rfind("\nfen: ");
  if (at == std::string::npos) return r.output;
  return r.output.substr(at, r.output.find(PROMPT, at) - at);
}

}  // namespace

TEST(FenConsole, RoundTrips) {
  EXPECT_EQ(round_trip("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"),
            "\nfen: r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1\n");
  EXPECT_EQ(round_trip("rnbqkbnr/pppp1ppp/8/8/3pP3/8/PPP2PPP/RNBQKBNR b KQkq e3 0 3"),
            "\nfen: rnbqkbnr/pppp1ppp/8/8/3pP3/8/PPP2PPP/RNBQKBNR b KQkq e3 0 3\n");
  EXPECT_EQ(round_trip("8/8/8/8/8/8/8/K6k b - - 12 40"), "\nfen: 8/8/8/8/8/8/8/K6k b - - 12 40\n");
}

TEST(FenConsole, ContradictedFieldsAreDropped) {
  // No pawn made a double step onto e4; the white king has left e1.
  EXPECT_EQ(round_trip("4k2r/8/8/8/8/8/8/R4K2 b Kk e3 5 20"), "\nfen: 4k2r/8/8/8/8/8/8/R4K2 b k - 5 20\n");
}

TEST(FenConsole, RefusedPositionKeepsTheOldOne) {
  auto r = zolt_test::run_zolt("setboard 8/8/8/8/8/8/8/8 w - - 0 1\nfen\nperft 2\nquit\n");
  EXPECT_NE(r.output.find(PROMPT + "\ninvalid FEN: not exactly one king of each colour" + PROMPT +
                          "\nfen: rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\n"),
            std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find("\nPerft (2): 400 nodes"), std::string::npos);
}
