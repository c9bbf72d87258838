// Which squares each colour occupies, as 64-bit sets per colour and per
// colour and piece type, kept beside the mailbox by make and unmake. The
// generators use the sets to find the first piece along a ray in a few
// instructions instead of stepping over every empty square, and to test
// attacks on a square without touching the board; the mailbox stays the
// board every other part reads.
//
// Bit i is the playing square of row i / 8 and column i % 8 from a8, so a8 is
// bit 0 and h1 bit 63: a larger mailbox square is always a larger bit, and
// along a ray of positive step the nearest piece is the lowest bit set.
#pragma once

#include <cstdint>

#include "position/board.h"

namespace zolt {

using Bitboard = uint64_t;

// The eight directions, in the order of KING_DIRECTIONS.
constexpr int DIRECTION_COUNT = 8;

constexpr int bit_index_of(Square s) { return (s / 10 - 2) * 8 + s % 10 - 1; }
constexpr bool on_playing_area(Square s) { return s >= A8 && s <= H1 && s % 10 >= 1 && s % 10 <= 8; }

// Index of a ray step in KING_DIRECTIONS.
constexpr int direction_index(int step) {
  for (int i = 0; i < DIRECTION_COUNT; ++i)
    if (KING_DIRECTIONS[i] == step) return i;
  return -1;
}

struct OccupancyTables {
  Bitboard bit[BOARD_SIZE];                  // the square's bit, 0 off the playing area
  Square square_of[64];                      // the mailbox square of each bit
  Bitboard ray[BOARD_SIZE][DIRECTION_COUNT];  // squares strictly beyond s, to the edge
  int8_t ray_length[BOARD_SIZE][DIRECTION_COUNT];
  int8_t distance[64][64];  // king steps between two squares
  // The squares a piece of each type on s attacks on an empty board (the
  // pawn row unused), and those a white [0] or black [1] pawn attacks.
  Bitboard reach[KING + 1][BOARD_SIZE];
  Bitboard pawn_reach[2][BOARD_SIZE];

  constexpr OccupancyTables() : bit(), square_of(), ray(), ray_length(), distance(), reach(), pawn_reach() {
    for (Square s = 0; s < BOARD_SIZE; ++s) {
      if (!on_playing_area(s)) continue;
      bit[s] = Bitboard{1} << bit_index_of(s);
      square_of[bit_index_of(s)] = s;
    }
    for (Square s = 0; s < BOARD_SIZE; ++s) {
      if (!on_playing_area(s)) continue;
      for (int d = 0; d < DIRECTION_COUNT; ++d) {
        for (Square t = s + KING_DIRECTIONS[d]; on_playing_area(t); t += KING_DIRECTIONS[d]) {
          ray[s][d] |= bit[t];
          ++ray_length[s][d];
        }
        // The first four directions are straight, the last four diagonal.
        reach[d < 4 ? ROOK : BISHOP][s] |= ray[s][d];
        reach[QUEEN][s] |= ray[s][d];
        if (on_playing_area(s + KING_DIRECTIONS[d])) reach[KING][s] |= bit[s + KING_DIRECTIONS[d]];
      }
      for (int offset : KNIGHT_OFFSETS)
        if (on_playing_area(s + offset)) reach[KNIGHT][s] |= bit[s + offset];
      for (int side = 0; side < 2; ++side)
        for (int column_step = -1; column_step <= 1; column_step += 2) {
          const Square t = s + (side == 0 ? -10 : 10) + column_step;
          if (on_playing_area(t)) pawn_reach[side][s] |= bit[t];
        }
    }
    for (int i = 0; i < 64; ++i)
      for (int j = 0; j < 64; ++j) {
        const int rows = i / 8 > j / 8 ? i / 8 - j / 8 : j / 8 - i / 8;
        const int columns = i % 8 > j % 8 ? i % 8 - j % 8 : j % 8 - i % 8;
        distance[i][j] = static_cast<int8_t>(rows > columns ? rows : columns);
      }
  }
};

inline constexpr OccupancyTables occupancy_tables{};

inline Bitboard square_bit(Square s) { return occupancy_tables.bit[s]; }

// Index of a colour's set in Position::occupied: white 0, black 1.
constexpr int colour_index(int colour) { return colour == WHITE ? 0 : 1; }

// The bit of the piece nearest to the ray's start among `pieces`, a set that
// is not empty and lies on one ray of the given step.
inline int nearest_bit(Bitboard pieces, int step) {
  return step > 0 ? __builtin_ctzll(pieces) : 63 - __builtin_clzll(pieces);
}

// The mailbox square of the lowest bit of a set that is not empty.
inline Square lowest_square(Bitboard set) { return occupancy_tables.square_of[__builtin_ctzll(set)]; }

inline Bitboard all_occupied(const Position& pos) { return pos.occupied[0] | pos.occupied[1]; }

// The number of squares in a set.
inline int count_bits(Bitboard x) {
  x = x - ((x >> 1) & 0x5555555555555555);
  x = (x & 0x3333333333333333) + ((x >> 2) & 0x3333333333333333);
  x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0f;
  return static_cast<int>((x * 0x0101010101010101) >> 56);
}

inline int piece_type(int32_t code) { return code < 0 ? -code : code; }

// Whether a slider in `sliders` attacks s along one of the rays from
// FIRST_DIRECTION to FIRST_DIRECTION + 3: the first piece on the ray is one.
template <int FIRST_DIRECTION>
inline bool slider_attacks(Square s, Bitboard sliders, Bitboard occupied) {
#pragma GCC unroll 4
  for (int d = FIRST_DIRECTION; d < FIRST_DIRECTION + 4; ++d) {
    const Bitboard line = occupancy_tables.ray[s][d];
    if (!(line & sliders)) continue;
    if (Bitboard{1} << nearest_bit(line & occupied, KING_DIRECTIONS[d]) & sliders) return true;
  }
  return false;
}

// Whether the pieces of colour BY, less those on `removed`, attack s when the
// occupied squares are `occupied` (every attacker must be among them). A
// trial move is tested without playing it: pass the occupancy after it and
// the square of the piece it would take; the piece sets stay the position's.
template <int BY>
inline bool attacked_with(const Position& pos, Square s, Bitboard occupied, Bitboard removed = 0) {
  const Bitboard* by = pos.pieces[colour_index(BY)];
  const Bitboard kept = ~removed;
  const Bitboard contact = (occupancy_tables.reach[KNIGHT][s] & by[KNIGHT]) |
                           (occupancy_tables.pawn_reach[colour_index(-BY)][s] & by[PAWN]) |
                           (occupancy_tables.reach[KING][s] & by[KING]);
  if (contact & kept) return true;
  const Bitboard straight = (by[ROOK] | by[QUEEN]) & kept;
  const Bitboard diagonal = (by[BISHOP] | by[QUEEN]) & kept;
  // The first four directions are straight, the last four diagonal.
  return (occupancy_tables.reach[ROOK][s] & straight && slider_attacks<0>(s, straight, occupied)) ||
         (occupancy_tables.reach[BISHOP][s] & diagonal && slider_attacks<4>(s, diagonal, occupied));
}

// Fills every set from the board; for a position written square by square.
void rebuild_occupancy(Position& pos);

}  // namespace zolt
