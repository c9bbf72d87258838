#include <gtest/gtest.h>

#include <cstring>

#include "search/keys.h"

using namespace zolt;

namespace {

// The 15-bit generator written out independently: state = state * 214013 +
// 2531011 mod 2^32, output bits 16..30.
struct Lcg {
  uint32_t state = 1;
  uint64_t next() {
    state = static_cast<uint32_t>(static_cast<uint64_t>(state) * 214013 + 2531011);
    return (state >> 16) % 32768;
  }
};

Position two_kings(Square white_king, Square black_king) {
  Position pos;
  memset(&pos, 0, sizeof pos);
  pos.board[white_king] = KING;
  pos.board[black_king] = -KING;
  pos.white_king = white_king;
  pos.black_king = black_king;
  pos.side = WHITE;
  return pos;
}

}  // namespace

TEST(Keys, Random64PacksThreeGeneratorOutputs) {
  reset_random64();
  Lcg lcg;
  for (int i = 0; i < 5; ++i) {
    uint64_t a = lcg.next(), b = lcg.next(), c = lcg.next();
    EXPECT_EQ(random64(), a * 32768 * 32768 + b * 32768 + c);
  }
  reset_random64();
  Lcg again;
  uint64_t a = again.next(), b = again.next(), c = again.next();
  EXPECT_EQ(a, 41u);  // the well-known first value of this generator
  EXPECT_EQ(random64(), (a << 30) | (b << 15) | c);
}

TEST(Keys, EmptyTablesGiveKeyZero) {
  Position pos = two_kings(E1, E8);
  pos.ep_square = 45;
  pos.side = BLACK;
  pos.hash_key = 77;
  compute_hash_key(pos);
  EXPECT_EQ(pos.hash_key, 0u);
}

TEST(Keys, FilledTablesCoverPiecesSideAndEnPassantButNotCastling) {
  for (int row = 0; row < 13; ++row)
    for (int s = 0; s < BOARD_SIZE; ++s) zobrist_keys[row][s] = (static_cast<uint64_t>(row) << 40) ^ (s * 7919u + 1);
  for (int s = 0; s < BOARD_SIZE; ++s) ep_keys[s] = static_cast<uint64_t>(s) << 20;
  side_key = 0xabcdefULL << 30;

  Position pos = two_kings(E1, E8);
  pos.board[A1] = ROOK;
  pos.slot_square[1] = A1;
  pos.board[A8] = -ROOK;
  pos.slot_square[16] = A8;
  pos.slot_square[2] = 0;  // a captured slot is skipped
  compute_hash_key(pos);
  uint64_t expected = zobrist_keys[ROOK + 6][A1] ^ zobrist_keys[ROOK][A8] ^ zobrist_keys[6][E8] ^ zobrist_keys[12][E1];
  EXPECT_EQ(pos.hash_key, expected);

  pos.white_king_moved = pos.black_king_moved = 1;
  compute_hash_key(pos);
  EXPECT_EQ(pos.hash_key, expected);

  pos.side = BLACK;
  pos.ep_square = 75;
  compute_hash_key(pos);
  EXPECT_EQ(pos.hash_key, expected ^ side_key ^ ep_keys[75]);

  memset(zobrist_keys, 0, sizeof zobrist_keys);
  memset(ep_keys, 0, sizeof ep_keys);
  side_key = 0;
}
