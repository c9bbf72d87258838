#include "position/key.h"

namespace zolt {

int key_tracking = 1;
uint64_t key_stack[UNDO_STACK_SIZE];

namespace {

constexpr int SQUARES_PER_KIND = 64;

// Polyglot's piece kinds: black pawn 0, white pawn 1, black knight 2, ...,
// white king 11.
int polyglot_kind(PieceCode code) { return 2 * ((code < 0 ? -code : code) - 1) + (code > 0 ? 1 : 0); }

int polyglot_file(Square s) { return s % 10 - 1; }
int polyglot_rank(Square s) { return 9 - s / 10; }  // a1's rank is 0

struct PieceKeys {
  uint64_t keys[2 * KING + 1][BOARD_SIZE];  // by code + KING; row EMPTY stays 0
  PieceKeys() : keys{} {
    for (PieceCode code = -KING; code <= KING; ++code) {
      if (code == EMPTY) continue;
      for (int rank = 1; rank <= 8; ++rank)
        for (int file = 0; file < 8; ++file) {
          const Square s = make_square(file, rank);
          keys[code + KING][s] =
              POLYGLOT_RANDOM[SQUARES_PER_KIND * polyglot_kind(code) + 8 * polyglot_rank(s) + polyglot_file(s)];
        }
    }
  }
};

struct CastlingKeys {
  uint64_t keys[64];  // by the packed flags (a set bit is a right gone)
  CastlingKeys() : keys{} {
    for (int flags = 0; flags < 64; ++flags) {
      const bool white_king = flags & 1, black_king = flags & 2;
      const bool white_h = flags & 4, white_a = flags & 8, black_h = flags & 16, black_a = flags & 32;
      uint64_t key = 0;
      if (!white_king && !white_h) key ^= POLYGLOT_RANDOM[CASTLING_RANDOM];
      if (!white_king && !white_a) key ^= POLYGLOT_RANDOM[CASTLING_RANDOM + 1];
      if (!black_king && !black_h) key ^= POLYGLOT_RANDOM[CASTLING_RANDOM + 2];
      if (!black_king && !black_a) key ^= POLYGLOT_RANDOM[CASTLING_RANDOM + 3];
      keys[flags] = key;
    }
  }
};

const PieceKeys piece_keys;
const CastlingKeys castling_keys;

}  // namespace

const uint64_t (&PIECE_KEYS)[2 * KING + 1][BOARD_SIZE] = piece_keys.keys;
const uint64_t (&CASTLING_KEYS)[64] = castling_keys.keys;

uint64_t en_passant_file_key(const Position& pos) {
  const Square ep = pos.ep_square;
  // The pawn that made the double step stands one rank beyond the square
  // it passed, seen from the side to move.
  const Square pawn = ep + 10 * pos.side;
  const PieceCode own_pawn = pos.side * PAWN;
  if (pos.board[pawn - 1] != own_pawn && pos.board[pawn + 1] != own_pawn) return 0;
  return POLYGLOT_RANDOM[EN_PASSANT_RANDOM + polyglot_file(ep)];
}

uint64_t position_key(const Position& pos) {
  uint64_t key = 0;
  for (int rank = 1; rank <= 8; ++rank)
    for (int file = 0; file < 8; ++file) {
      const Square s = make_square(file, rank);
      key ^= piece_key(pos.board[s], s);
    }
  return key ^ castling_key(pack_castling(pos)) ^ en_passant_key(pos) ^ side_to_move_key(pos);
}

}  // namespace zolt
