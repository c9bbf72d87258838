// The board, the position record and the move record.
//
// The board is a 10x12 mailbox: rows 2..9 and columns 1..8 are the playing
// area, everything else is an OFF_BOARD border, so every knight jump and ray
// step from a playing square stays inside the array.  a8 = 21 ... h8 = 28,
// a1 = 91 ... h1 = 98; square 0 is a border cell and means "no square".
#pragma once

#include <cstdint>

namespace zolt {

using Square = int32_t;
using PieceCode = int32_t;

constexpr int BOARD_SIZE = 120;
constexpr Square NO_SQUARE = 0;

// Piece codes: the sign is the colour, the magnitude the type.
constexpr PieceCode EMPTY = 0;
constexpr PieceCode PAWN = 1;
constexpr PieceCode KNIGHT = 2;
constexpr PieceCode BISHOP = 3;
constexpr PieceCode ROOK = 4;
constexpr PieceCode QUEEN = 5;
constexpr PieceCode KING = 6;
constexpr PieceCode OFF_BOARD = 7;

constexpr int WHITE = 1;
constexpr int BLACK = -1;

// Squares named in the castling, en-passant and display rules.
constexpr Square A8 = 21, B8 = 22, C8 = 23, D8 = 24, E8 = 25, F8 = 26, G8 = 27, H8 = 28;
constexpr Square A1 = 91, B1 = 92, C1 = 93, D1 = 94, E1 = 95, F1 = 96, G1 = 97, H1 = 98;

constexpr int KNIGHT_OFFSETS[8] = {19, -19, 8, -8, 12, -12, 21, -21};
constexpr int KING_DIRECTIONS[8] = {1, -1, 10, -10, 9, -9, 11, -11};

// Move kinds.
constexpr int KIND_NORMAL = 0;
constexpr int KIND_WHITE_CASTLE_KING = 2;
constexpr int KIND_WHITE_CASTLE_QUEEN = 3;
constexpr int KIND_BLACK_CASTLE_KING = 4;
constexpr int KIND_BLACK_CASTLE_QUEEN = 5;
constexpr int KIND_EN_PASSANT = 6;
constexpr int KIND_WHITE_PROMOTE_QUEEN = 7;   // 8 rook, 9 bishop, 10 knight
constexpr int KIND_WHITE_PROMOTE_KNIGHT = 10;
constexpr int KIND_BLACK_PROMOTE_QUEEN = 17;  // 18 rook, 19 bishop, 20 knight
constexpr int KIND_BLACK_PROMOTE_KNIGHT = 20;

// Castling-right loss codes, written to an undo entry's kind by king and rook moves.
constexpr int LOST_WHITE_BOTH = -1;
constexpr int LOST_WHITE_KING_SIDE = -2;
constexpr int LOST_WHITE_QUEEN_SIDE = -3;
constexpr int LOST_BLACK_BOTH = -4;
constexpr int LOST_BLACK_KING_SIDE = -5;
constexpr int LOST_BLACK_QUEEN_SIDE = -6;

// Piece-list slots: 1..15 white, 16..30 black; slot 0 is scratch.
constexpr int SLOT_COUNT = 31;
constexpr int FIRST_WHITE_SLOT = 1;
constexpr int LAST_WHITE_SLOT = 15;
constexpr int FIRST_BLACK_SLOT = 16;
constexpr int LAST_BLACK_SLOT = 30;

constexpr int MAX_MOVES = 256;  // capacity of every move list

// One record for a generated move and for an undo entry.
struct Move {
  int32_t from;
  int32_t to;
  int32_t captured;
  int32_t score;
  int32_t kind;
  int32_t saved_fifty;
  int32_t captured_slot;
  int32_t saved_material;
  // Undo entries only: what the move overwrote, so unmake restores it exactly.
  int32_t saved_ep_square;
  int32_t saved_castling;  // the six castling flags, bit i = flag i of castle_flags()
};

struct Position {
  int32_t board[BOARD_SIZE];
  int32_t slot_of[BOARD_SIZE];
  int32_t slot_square[SLOT_COUNT];
  int32_t piece_count[11];  // by code -5..+5, index code + 5
  int32_t endgame;
  int32_t white_king;
  int32_t black_king;
  int32_t ep_square;
  int32_t side;
  int32_t white_king_moved;
  int32_t black_king_moved;
  int32_t white_h_rook_moved;
  int32_t white_a_rook_moved;
  int32_t black_h_rook_moved;
  int32_t black_a_rook_moved;
  uint64_t hash_key;
  uint64_t key;  // the Polyglot key (position/key.h), kept by make and unmake
  int32_t material;
  int32_t game_ply;
  int32_t moves_made;
  int32_t fifty;
  // The occupied squares of white [0] and black [1], all and by piece type
  // (index PAWN..KING; row 0 stays empty). See position/occupancy.h.
  uint64_t occupied[2];
  uint64_t pieces[2][KING + 1];
};

// The six castling flags packed into one integer (bit set = right gone).
inline int32_t pack_castling(const Position& pos) {
  return pos.white_king_moved | pos.black_king_moved << 1 | pos.white_h_rook_moved << 2 |
         pos.white_a_rook_moved << 3 | pos.black_h_rook_moved << 4 | pos.black_a_rook_moved << 5;
}

inline void unpack_castling(Position& pos, int32_t flags) {
  pos.white_king_moved = flags & 1;
  pos.black_king_moved = flags >> 1 & 1;
  pos.white_h_rook_moved = flags >> 2 & 1;
  pos.white_a_rook_moved = flags >> 3 & 1;
  pos.black_h_rook_moved = flags >> 4 & 1;
  pos.black_a_rook_moved = flags >> 5 & 1;
}

inline int piece_count_of(const Position& pos, PieceCode code) { return pos.piece_count[code + 5]; }

// The same move: the squares and the kind (the other fields are scores and saved state).
inline bool same_move(const Move& a, const Move& b) { return a.from == b.from && a.to == b.to && a.kind == b.kind; }

// The full-move number of the position, as FEN counts it.
inline int full_move_number(const Position& pos) {
  return pos.side == WHITE ? (pos.game_ply + 1) / 2 : pos.game_ply / 2;
}

// Square of file f (0 = a .. 7 = h) on rank r (1..8).
constexpr Square make_square(int file, int rank) { return 21 + file + 10 * (8 - rank); }

}  // namespace zolt
