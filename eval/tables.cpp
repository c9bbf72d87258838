// Piece values and piece-square tables: the constant source tables, the live
// table that make and the evaluation read, the ordering copy, the new-game
// reset and the preparation (material recount and endgame switch) run before
// every search.
#include "eval/tables.h"

#include <cstring>

#include "position/occupancy.h"
#include "position/state.h"

namespace zolt {

int32_t piece_value_storage[15];
int32_t piece_square_storage[15][BOARD_SIZE];
int32_t ordering_square_storage[15][BOARD_SIZE];

namespace {

// White's tables, rank 8 first, a-file to h-file within a rank. Black's are
// the same tables mirrored top to bottom.
using SourceTable = int32_t[64];

const SourceTable PAWN_SQUARES = {
    0,  0,  0,  0,  0,  0,  0,  0,   //
    10, 15, 24, 32, 32, 24, 15, 10,  //
    10, 15, 24, 32, 32, 24, 15, 10,  //
    6,  11, 16, 29, 30, 18, 11, 6,   //
    3,  3,  4,  29, 30, 4,  3,  3,   //
    3,  3,  4,  12, 12, 4,  3,  3,   //
    3,  3,  4,  0,  0,  4,  3,  3,   //
    0,  0,  0,  0,  0,  0,  0,  0,
};

const SourceTable KNIGHT_SQUARES = {
    -7, -3, 1,  3,  3,  1,  -3, -7,  //
    2,  6,  14, 20, 20, 14, 6,  2,   //
    6,  14, 28, 32, 32, 28, 14, 6,   //
    8,  18, 30, 32, 32, 30, 18, 8,   //
    8,  18, 26, 30, 30, 26, 18, 8,   //
    6,  14, 22, 26, 26, 22, 14, 6,   //
    2,  6,  14, 20, 20, 14, 6,  2,   //
    -7, -3, 1,  3,  3,  1,  -3, -7,
};

const SourceTable BISHOP_SQUARES = {
    16, 16, 16, 16, 16, 16, 16, 16,  //
    16, 29, 31, 31, 31, 31, 29, 16,  //
    16, 28, 32, 32, 32, 32, 28, 16,  //
    16, 26, 32, 32, 32, 32, 26, 16,  //
    16, 26, 32, 32, 32, 32, 26, 16,  //
    26, 28, 32, 32, 32, 32, 28, 26,  //
    26, 29, 31, 31, 31, 31, 29, 26,  //
    16, 16, 16, 16, 16, 16, 16, 16,
};

const SourceTable ROOK_SQUARES = {
    3,  3,  3,  3,  3,  3,  3,  3,   //
    10, 10, 10, 10, 10, 10, 10, 10,  //
    -2, 0,  0,  0,  0,  0,  0,  -2,  //
    -2, 0,  0,  0,  0,  0,  0,  -2,  //
    -2, 0,  0,  0,  0,  0,  0,  -2,  //
    -2, 0,  0,  0,  0,  0,  0,  -2,  //
    -2, 0,  0,  0,  0,  0,  0,  -2,  //
    0,  0,  0,  3,  3,  0,  0,  0,
};

const SourceTable QUEEN_SQUARES = {
    0,  0,  0,  0, 0, 0,  0,  0,   //
    0,  0,  0,  0, 0, 0,  -2, -2,  //
    0,  0,  0,  0, 0, 0,  -2, -2,  //
    0,  0,  0,  2, 2, 0,  0,  0,   //
    0,  0,  0,  2, 2, 0,  0,  0,   //
    0,  0,  0,  1, 1, 1,  1,  0,   //
    0,  0,  0,  1, 1, 1,  0,  0,   //
    -2, -2, -2, 0, 0, -2, -2, -2,
};

const SourceTable KING_SQUARES = {
    -20, -20, -20, -20, -20, -20, -20, -20,  //
    -20, -20, -20, -20, -20, -20, -20, -20,  //
    -20, -20, -20, -20, -20, -20, -20, -20,  //
    -20, -20, -20, -20, -20, -20, -20, -20,  //
    -20, -20, -20, -20, -20, -20, -20, -20,  //
    -7,  -15, -15, -15, -15, -15, -15, -7,   //
    -5,  -5,  -12, -14, -14, -14, -5,  -5,   //
    3,   3,   14,  -14, -8,  -14, 16,  5,
};

const SourceTable PAWN_ENDGAME_SQUARES = {
    0,  0,  0,  0,  0,  0,  0,  0,   //
    20, 25, 29, 37, 37, 29, 25, 20,  //
    15, 17, 26, 32, 32, 26, 17, 15,  //
    9,  11, 18, 25, 25, 18, 11, 9,   //
    7,  7,  14, 20, 20, 14, 7,  7,   //
    5,  5,  7,  12, 12, 7,  5,  5,   //
    3,  3,  4,  0,  0,  4,  3,  3,   //
    0,  0,  0,  0,  0,  0,  0,  0,
};

const SourceTable KING_ENDGAME_SQUARES = {
    0, 0, 0, 0,  0,  0, 0, 0,  //
    0, 2, 4, 5,  5,  4, 2, 0,  //
    0, 7, 10, 12, 12, 10, 7, 0,  //
    1, 4, 12, 15, 15, 12, 4, 1,  //
    1, 4, 10, 10, 10, 10, 4, 1,  //
    1, 4, 6, 7,  7,  6, 4, 1,  //
    0, 2, 4, 5,  5,  4, 2, 0,  //
    0, 0, 1, 2,  2,  1, 0, 0,
};

// Indexed by piece type 1..6.
const SourceTable* const MAIN_TABLES[7] = {nullptr,         &PAWN_SQUARES, &KNIGHT_SQUARES, &BISHOP_SQUARES,
                                           &ROOK_SQUARES,   &QUEEN_SQUARES, &KING_SQUARES};

constexpr int32_t DEFAULT_VALUES[7] = {0, 100, 300, 325, 500, 900, KING_VALUE};

// Material (kings excluded) below which the opponent's king and pawns switch
// to their endgame tables.
constexpr int32_t ENDGAME_MATERIAL = 1500;

// Writes the mailbox row of piece code `code` from a white source table:
// 0 on the border, black rows mirrored top to bottom.
void fill_row(int32_t* row, const SourceTable& table, PieceCode code) {
  for (int s = 0; s < BOARD_SIZE; ++s) row[s] = 0;
  for (int rank = 1; rank <= 8; ++rank) {
    int source_rank = code > 0 ? rank : 9 - rank;
    for (int file = 0; file < 8; ++file) row[make_square(file, rank)] = table[(8 - source_rank) * 8 + file];
  }
}

}  // namespace

void set_default_piece_values() {
  for (int i = 0; i < 15; ++i) piece_value_storage[i] = 0;
  for (int type = PAWN; type <= KING; ++type) {
    piece_value[type] = DEFAULT_VALUES[type];
    piece_value[-type] = -DEFAULT_VALUES[type];
  }
}

void reset_position(Position& pos) {
  memcpy(pos.board, EMPTY_BOARD, sizeof pos.board);
  rebuild_occupancy(pos);
  for (Square s = A8; s <= H1; ++s) {
    if (pos.board[s] == KING) pos.white_king = s;
    if (pos.board[s] == -KING) pos.black_king = s;
  }
  for (PieceCode code = -OFF_BOARD; code <= OFF_BOARD; ++code) {
    int type = code < 0 ? -code : code;
    if (type >= PAWN && type <= KING) {
      fill_row(piece_square_table[code], *MAIN_TABLES[type], code);
      fill_row(ordering_square_table[code], *MAIN_TABLES[type], code);
    } else {
      memset(piece_square_table[code], 0, sizeof piece_square_table[code]);
      memset(ordering_square_table[code], 0, sizeof ordering_square_table[code]);
    }
  }
  pos.white_king_moved = pos.black_king_moved = 0;
  pos.white_h_rook_moved = pos.white_a_rook_moved = 0;
  pos.black_h_rook_moved = pos.black_a_rook_moved = 0;
  pos.ep_square = 0;
  pos.game_ply = 0;
  pos.fifty = 0;
  pos.side = WHITE;
}

void prepare_evaluation(Position& pos) {
  int32_t material_sum = 0, white_squares = 0, black_squares = 0;
  int32_t white_material = 0, black_material = 0;  // kings excluded
  bool white_queen = false, black_queen = false;
  for (Square s = A8; s <= H1; ++s) {
    PieceCode c = pos.board[s];
    if (c == OFF_BOARD || c == EMPTY) continue;
    material_sum += piece_value[c];
    if (c > 0) {
      white_squares += piece_square_table[c][s];
      if (c != KING) white_material += piece_value[c];
      if (c == QUEEN) white_queen = true;
    } else {
      black_squares += piece_square_table[c][s];
      if (c != -KING) black_material += piece_value[c];
      if (c == -QUEEN) black_queen = true;
    }
  }
  pos.material = white_squares - black_squares + material_sum;

  if (!white_queen && white_material < ENDGAME_MATERIAL) {
    fill_row(piece_square_table[-KING], KING_ENDGAME_SQUARES, -KING);
    fill_row(piece_square_table[-PAWN], PAWN_ENDGAME_SQUARES, -PAWN);
  }
  if (!black_queen && -black_material < ENDGAME_MATERIAL) {
    fill_row(piece_square_table[KING], KING_ENDGAME_SQUARES, KING);
    fill_row(piece_square_table[PAWN], PAWN_ENDGAME_SQUARES, PAWN);
  }
}

}  // namespace zolt
