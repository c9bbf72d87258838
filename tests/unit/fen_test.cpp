// FEN reading, writing, mending and refusals.
#include <gtest/gtest.h>

#include <cstring>

#include "movegen_helpers.h"
#include "search/keys.h"

namespace {

using namespace zolt;
using zolt_test::position_from;

std::string fen_of(const Position& pos) {
  char buffer[FEN_BUFFER_SIZE];
  write_fen(pos, buffer);
  return buffer;
}

TEST(Fen, StartPositionRoundTrip) {
  Position pos = position_from("setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  EXPECT_EQ(fen_of(pos), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - ");
  EXPECT_EQ(pos.game_ply, 1);
  EXPECT_EQ(pos.moves_made, 0);
  EXPECT_EQ(key_history[0], pos.hash_key);
  EXPECT_EQ(pos.slot_square[1], make_square(0, 2));   // a2 pawn takes the first white slot
  EXPECT_EQ(pos.slot_square[9], A1);
  EXPECT_EQ(pos.slot_square[16], A8);
  EXPECT_EQ(pos.slot_square[23], make_square(0, 7));
  EXPECT_EQ(pos.white_king, E1);
  EXPECT_EQ(pos.black_king, E8);
}

TEST(Fen, ClocksAndSide) {
  Position pos = position_from("8/8/8/8/8/8/8/K6k b - - 12 40");
  EXPECT_EQ(pos.side, BLACK);
  EXPECT_EQ(pos.fifty, 12);
  EXPECT_EQ(pos.game_ply, 80);
  EXPECT_EQ(fullmove_number, 40);
  EXPECT_EQ(pos.ep_square, 0);
  EXPECT_EQ(pack_castling(pos), 63);
  pos = position_from("4k3/8/8/8/8/8/8/4K3 w - - 16 26");
  EXPECT_EQ(pos.ep_square, 0);
  EXPECT_EQ(pos.fifty, 16);
  EXPECT_EQ(fullmove_number, 26);
}

TEST(Fen, EnPassantFormsAndMending) {
  // The bare file means rank 6 with white to move and rank 3 with black.
  EXPECT_EQ(position_from("4k3/8/8/4p3/8/8/8/4K3 w - e 0 1").ep_square, make_square(4, 6));
  EXPECT_EQ(position_from("4k3/8/8/8/4P3/8/8/4K3 b - e 0 1").ep_square, make_square(4, 3));
  EXPECT_EQ(position_from("4k3/8/8/4p3/8/8/8/4K3 w - e6 0 1").ep_square, make_square(4, 6));
  // Dropped: no pawn in front, square behind occupied, wrong rank for the side.
  EXPECT_EQ(position_from("4k3/8/8/8/8/8/8/4K3 w - e6 0 1").ep_square, 0);
  EXPECT_EQ(position_from("4k3/4n3/8/4p3/8/8/8/4K3 w - e6 0 1").ep_square, 0);
  EXPECT_EQ(position_from("4k3/8/8/8/4P3/8/8/4K3 w - e3 0 1").ep_square, 0);
}

TEST(Fen, CastlingLettersInOrderOnly) {
  Position pos = position_from("r3k2r/8/8/8/8/8/8/R3K2R w kq - 3 9");
  EXPECT_EQ(fen_of(pos), "r3k2r/8/8/8/8/8/8/R3K2R w kq - ");
  EXPECT_EQ(pos.fifty, 3);
  // "q" before "k": "k" has been tried already, so only the queen side
  // right is read, and the leftover "k" makes both clocks read as 0.
  pos = position_from("r3k2r/8/8/8/8/8/8/R3K2R w qk - 3 9");
  EXPECT_EQ(fen_of(pos), "r3k2r/8/8/8/8/8/8/R3K2R w q - ");
  EXPECT_EQ(pos.fifty, 0);
  pos = position_from("r3k2r/8/8/8/8/8/8/R3K2R w Qk - 3 9");
  EXPECT_EQ(fen_of(pos), "r3k2r/8/8/8/8/8/8/R3K2R w Qk - ");
}

TEST(Fen, ImpossibleCastlingLettersAreDropped) {
  Position pos = position_from("r3k3/8/8/8/8/8/8/R4K1R w KQq - 0 1");  // white king off e1, no h8 rook
  EXPECT_EQ(pos.white_king_moved, 1);
  EXPECT_EQ(pos.black_king_moved, 0);
  EXPECT_EQ(pos.black_a_rook_moved, 0);
  EXPECT_EQ(pos.black_h_rook_moved, 1);
  EXPECT_EQ(fen_of(pos), "r3k3/8/8/8/8/8/8/R4K1R w q - ");
}

TEST(Fen, BoardWithoutSeparators) {
  Position a = position_from("rnbqkbnrpppppppp8888PPPPPPPPRNBQKBNR w KQkq - 0 1");
  Position b = position_from("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  EXPECT_TRUE(zolt_test::same_position(a, b));
}

TEST(Fen, Chess960Letters) {
  chess960 = 1;
  Position pos = position_from("r3k2r/8/8/8/8/8/8/R3K2R w HAha - 0 1");
  EXPECT_EQ(castle_rook_square[WHITE_H_ROOK], H1);
  EXPECT_EQ(castle_rook_square[WHITE_A_ROOK], A1);
  EXPECT_EQ(castle_rook_square[BLACK_H_ROOK], H8);
  EXPECT_EQ(castle_rook_square[BLACK_A_ROOK], A8);
  EXPECT_EQ(pack_castling(pos), 0);
  // Written back with the standard letters: every right here has its king and
  // rook on the standard squares.
  EXPECT_EQ(fen_of(pos), "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - ");
  // The inner letter "B" is an a-side rook with the king on c1.
  pos = position_from("1r1k4/8/8/8/8/8/8/1RK4R w HBb - 0 1");
  EXPECT_EQ(castle_rook_square[WHITE_A_ROOK], B1);
  EXPECT_EQ(castle_rook_square[WHITE_H_ROOK], H1);
  EXPECT_EQ(castle_rook_square[BLACK_A_ROOK], B8);
  EXPECT_EQ(king_start_square[0], C1);
  EXPECT_EQ(king_start_square[1], D8);
  // Rights held off the standard squares write no letter.
  EXPECT_EQ(pos.white_king_moved + pos.white_h_rook_moved + pos.white_a_rook_moved, 0);
  EXPECT_EQ(fen_of(pos), "1r1k4/8/8/8/8/8/8/1RK4R w - - ");
  // Dropped: an h-side letter for a rook left of the king, a letter without a rook.
  pos = position_from("4k3/8/8/8/8/8/8/6RK w GA - 0 1");
  EXPECT_EQ(pack_castling(pos), 63);
  chess960 = 0;
}

// The forms GUIs write in Chess960 mode: KQkq name the outermost rook on each
// side of the king (X-FEN), file letters name the rook itself, in any order.
TEST(Fen, Chess960StandardLettersNameTheOutermostRook) {
  chess960 = 1;
  Position pos = position_from("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  EXPECT_EQ(castle_rook_square[WHITE_H_ROOK], H1);
  EXPECT_EQ(castle_rook_square[WHITE_A_ROOK], A1);
  EXPECT_EQ(castle_rook_square[BLACK_H_ROOK], H8);
  EXPECT_EQ(castle_rook_square[BLACK_A_ROOK], A8);
  EXPECT_EQ(pack_castling(pos), 0);
  EXPECT_EQ(pos.fifty, 0);
  EXPECT_EQ(pos.game_ply, 1);
  // Array BBQNNRKR: rooks on f1 and h1, king g1; the clocks after the field are read.
  pos = position_from("bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w KQkq - 3 9");
  EXPECT_EQ(castle_rook_square[WHITE_H_ROOK], H1);
  EXPECT_EQ(castle_rook_square[WHITE_A_ROOK], F1);
  EXPECT_EQ(castle_rook_square[BLACK_H_ROOK], H8);
  EXPECT_EQ(castle_rook_square[BLACK_A_ROOK], F8);
  EXPECT_EQ(king_start_square[0], G1);
  EXPECT_EQ(pos.fifty, 3);
  EXPECT_EQ(pos.game_ply, 17);
  // Two rooks on one side: K is the outer one (h1), not g1.
  pos = position_from("4k3/8/8/8/8/8/8/1K4RR w K - 0 1");
  EXPECT_EQ(castle_rook_square[WHITE_H_ROOK], H1);
  EXPECT_EQ(pos.white_h_rook_moved, 0);
  EXPECT_EQ(pos.white_a_rook_moved, 1);
  // Mixed forms and any order: Q for the a-side, g for black's inner h-side rook.
  pos = position_from("r3k1rr/8/8/8/8/8/8/R3K2R w gQHq - 0 1");
  EXPECT_EQ(castle_rook_square[WHITE_H_ROOK], H1);
  EXPECT_EQ(castle_rook_square[WHITE_A_ROOK], A1);
  EXPECT_EQ(castle_rook_square[BLACK_H_ROOK], G8);
  EXPECT_EQ(castle_rook_square[BLACK_A_ROOK], A8);
  EXPECT_EQ(pack_castling(pos), 0);
  // A letter with no rook on that side of the king gives no right.
  pos = position_from("2k5/8/8/8/8/8/8/R3K3 w KQ - 0 1");
  EXPECT_EQ(castle_rook_square[WHITE_A_ROOK], A1);
  EXPECT_EQ(pos.white_h_rook_moved, 1);
  EXPECT_EQ(pos.white_a_rook_moved, 0);
  chess960 = 0;
  // Standard mode keeps its rule: K needs the king on e1 and the rook on h1.
  pos = position_from("4k3/8/8/8/8/8/8/4K1RR w K - 0 1");
  EXPECT_EQ(pos.white_h_rook_moved, 0);
  pos = position_from("4k3/8/8/8/8/8/8/4K1R1 w K - 0 1");
  EXPECT_EQ(pos.white_h_rook_moved, 1);
}

struct Refusal {
  const char* fen;
  const char* why;
};

TEST(Fen, RefusalsChangeNothing) {
  const Refusal refusals[] = {
      {"8/8/8/8/8/8/8/4K3 w - - 0 1", "king"},
      {"4k3/8/8/8/8/8/8/3KK3 w - - 0 1", "king"},
      {"4k3/8/8/8/8/8/8/8 w - - 0 1", "king"},
      {"4k3/8/8/8/8/N7/PPPPPPPP/NNNNKNNN w - - 0 1", "15"},
      {"4k3/8/8/8/8/8/8/4R1K1 w - - 0 1", "check"},
      {"4k2P/8/8/8/8/8/8/4K3 w - - 0 1", "rank"},
      {"4k3/8/8/8/8/8/8/p3K3 w - - 0 1", "rank"},
  };
  Position pos = position_from("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 7 33");
  const Position before = pos;
  const uint64_t key = key_history[0];
  for (const auto& r : refusals) {
    EXPECT_EQ(load_fen(r.fen, pos), -1) << r.fen;
    EXPECT_NE(std::string(fen_error()).find(r.why), std::string::npos) << fen_error();
    EXPECT_TRUE(zolt_test::same_position(before, pos)) << r.fen;
    EXPECT_EQ(fullmove_number, 33);
    EXPECT_EQ(key_history[0], key);
    EXPECT_EQ(castle_rook_square[WHITE_H_ROOK], H1);
    EXPECT_EQ(king_start_square[0], E1);
  }
  // Fifteen pieces besides the king is the limit, not a refusal.
  EXPECT_EQ(load_fen("4k3/8/8/8/8/8/PPPPPPPP/NNN1KNNN w - - 0 1", pos), 0);
}

TEST(Fen, ConsoleFenCommandText) {
  Position pos = position_from("8/8/8/8/8/8/8/K6k b - - 12 40");
  testing::internal::CaptureStdout();
  print_fen_command(pos);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nfen: 8/8/8/8/8/8/8/K6k b - - 12 40\n");
}

}  // namespace
