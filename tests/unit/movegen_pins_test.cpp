// Pins and checks along the king's lines: which pieces may move freely and
// which must be tried. Counts are Stockfish's perft 1 and perft 3.
#include <gtest/gtest.h>

#include "movegen_helpers.h"
#include "perft/perft.h"

namespace {

using namespace zolt;
using zolt_test::position_from;

struct PinCase {
  const char* fen;
  int moves;        // legal moves
  uint64_t depth3;  // perft 3
};

const PinCase PIN_CASES[] = {
    {"4r1k1/8/8/8/8/8/4R3/4K3 w - - 0 1", 10, 1775},       // rook pinned on its file still moves along it
    {"4r1k1/8/8/8/8/4B3/4B3/4K3 w - - 0 1", 24, 5740},     // two own pieces between: neither is pinned
    {"4b1k1/8/8/8/8/8/4B3/4K3 w - - 0 1", 13, 1887},       // a bishop behind on a file pins nothing
    {"6k1/7q/8/8/8/8/1B6/K7 w - - 0 1", 9, 1849},          // queen off the diagonal
    {"6k1/8/8/8/8/2b5/3P4/4K3 w - - 0 1", 5, 504},         // pinned pawn may only take the pinner
    {"6k1/8/8/1b6/2P5/3K4/8/8 w - - 0 1", 8, 709},         // pawn pinned diagonally may take the pinner, not push
    {"4k3/4n3/8/8/4Q3/8/8/4K3 b - - 0 1", 4, 1018},        // black knight pinned by a queen on the file
    {"k7/1n6/8/3B4/8/8/8/4K3 b - - 0 1", 2, 260},          // black knight pinned on the long diagonal
    {"4k3/8/8/8/r2P1K2/8/8/8 w - - 0 1", 8, 930},          // pawn pinned on its rank cannot push
    {"8/8/8/KP5r/8/8/8/7k w - - 0 1", 4, 328},             // pawn pinned by a distant rook on the rank
    {"4k3/8/8/q1pP2K1/8/8/8/8 w - c6 0 1", 9, 1245},       // en passant with a queen on the rank
};

TEST(MoveGenPins, CountsAgreeWithStockfishAndAcrossGenerators) {
  for (const PinCase& c : PIN_CASES) {
    Position pos = position_from(c.fen);
    const Position before = pos;
    Move list[MAX_MOVES];
    EXPECT_EQ(generate_moves(pos, list), c.moves) << c.fen;
    EXPECT_EQ(count_moves(pos), c.moves) << c.fen;
    EXPECT_EQ(perft_count(pos, 3), c.depth3) << c.fen;
    EXPECT_TRUE(zolt_test::same_position(before, pos)) << c.fen;
  }
}

}  // namespace
