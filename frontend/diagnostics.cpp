// Console diagnostics: each prints one view of the engine's internal state of
// the console position in a fixed format.
#include "frontend/diagnostics.h"

#include <cinttypes>
#include <cstdio>
#include <initializer_list>

#include "eval/evaluate.h"
#include "eval/tables.h"
#include "frontend/notation.h"
#include "frontend/shell.h"
#include "position/movegen.h"
#include "position/state.h"
#include "search/keys.h"
#include "search/ordering.h"

namespace zolt {

namespace {

constexpr Square E4 = 65;
constexpr int FIRST_BISHOP_DIRECTION = 4;  // KING_DIRECTIONS: 0..3 rook steps, 4..7 bishop steps

// Pieces of colour `side` (+1 / -1) that attack `target`, counting every
// slider of a battery along a line.
int attacker_count(const int32_t* board, Square target, int side) {
  int count = 0;
  // A pawn captures towards the opponent: white pawns from the rank below, black from the rank above.
  int pawn_origin_step = side == WHITE ? 10 : -10;
  for (int file_step : {-1, 1})
    if (board[target + pawn_origin_step + file_step] == side * PAWN) ++count;
  for (int jump : KNIGHT_OFFSETS)
    if (board[target + jump] == side * KNIGHT) ++count;
  for (int step : KING_DIRECTIONS)
    if (board[target + step] == side * KING) ++count;
  for (int d = 0; d < 8; ++d) {
    int step = KING_DIRECTIONS[d];
    PieceCode slider = d >= FIRST_BISHOP_DIRECTION ? BISHOP : ROOK;
    for (Square s = target + step;; s += step) {
      PieceCode c = board[s];
      if (c == EMPTY) continue;
      if (c == side * slider || c == side * QUEEN) {
        ++count;
        continue;
      }
      break;  // the border, an enemy piece or one of ours that does not move along this line
    }
  }
  return count;
}

// A castling right whose king and rook flags are clear and whose rook stands in its corner.
int castling_available(const Position& pos, int king_flag, int rook_flag, Square corner, PieceCode rook) {
  return king_flag == 0 && rook_flag == 0 && pos.board[corner] == rook ? 1 : 0;
}

}  // namespace

void command_attack(Position& pos) {
  printf("\nBlack attackers on E4: %d\n", attacker_count(pos.board, E4, BLACK));
  printf("\nWhite attackers on E4: %d\n", attacker_count(pos.board, E4, WHITE));
}

void command_rand(Position& pos) {
  printf("\nRand gives back: %" PRIu64 "\n", random64());
  compute_hash_key(pos);
  printf("\nkey von P(2): %" PRIu64 "\n", pos.hash_key);
}

void command_h_stack(const Position& pos) {
  int top = pos.moves_made;
  if (top >= UNDO_STACK_SIZE) top = UNDO_STACK_SIZE - 1;
  for (int i = top; i >= 0; --i) printf("\nHashkey: %" PRIu64, key_history[i]);
}

void command_eval(const Position& pos) { printf("\nevalnega: %2.2f", static_cast<double>(evaluate(pos))); }

void command_values() {
  printf("\nPiece values:");
  printf("\nwhite pawn: %d", piece_value[PAWN]);
  printf("\nwhite knight: %d", piece_value[KNIGHT]);
  printf("\nwhite bishop: %d", piece_value[BISHOP]);
  printf("\nwhite rook: %d", piece_value[ROOK]);
  printf("\nwhite queen: %d", piece_value[QUEEN]);
  printf("\nblack queen: %d", -piece_value[-QUEEN]);
  printf("\nblack rook: %d", -piece_value[-ROOK]);
  printf("\nblack bishop: %d", -piece_value[-BISHOP]);
  printf("\nblack knight: %d", -piece_value[-KNIGHT]);
  printf("\nblack pawn: %d", -piece_value[-PAWN]);
}

void command_show(Position& pos) {
  Move list[MAX_MOVES];
  int n = generate_moves(pos, list);
  printf("\n%d legal moves: ", n);
  print_move_list(n, pos, list);
}

void command_info(const Position& pos) {
  printf("King W: %d", pos.white_king);
  print_square_chars(pos.white_king);
  printf("\nKing B: %d", pos.black_king);
  print_square_chars(pos.black_king);
  printf("\nEP: %d", pos.ep_square);
  print_square(pos.ep_square);
  printf(pos.side == WHITE ? " white" : " black");
  printf("\ncastling w: Q=%d K=%d", castling_available(pos, pos.white_king_moved, pos.white_a_rook_moved, A1, ROOK),
         castling_available(pos, pos.white_king_moved, pos.white_h_rook_moved, H1, ROOK));
  printf("\ncastling b: q=%d k=%d", castling_available(pos, pos.black_king_moved, pos.black_a_rook_moved, A8, -ROOK),
         castling_available(pos, pos.black_king_moved, pos.black_h_rook_moved, H8, -ROOK));
  printf("\n       K   k RH");
  printf("\n moved [%d][%d][%d]", pos.white_king_moved, pos.black_king_moved, pos.white_h_rook_moved);
  printf("\n       RA  rh ra");
  printf("\n moved [%d][%d][%d]", pos.white_a_rook_moved, pos.black_h_rook_moved, pos.black_a_rook_moved);
  printf("\nply: %d", pos.game_ply);
  printf("\n50 moves: %d", pos.fifty);
}

void command_stack() {
  if (undo_stack[0].from == 0) return;
  int last = console_position.game_ply - 2;
  // Only entries that are in use hold moves; the rest may be stale or never written.
  if (last > undo_top - 1) last = undo_top - 1;
  for (int i = 0; i <= last; ++i) {
    const Move& m = undo_stack[i];
    printf("\nvon: %d nach: %d", m.from, m.to);
    printf(" [%d ", i);
    print_square_chars(m.from);
    print_square_chars(m.to);
    printf("]");
  }
}

void command_sort(Position& pos) {
  Move list[MAX_MOVES];
  int n = generate_moves(pos, list);
  // Scored as the search scores its root moves. Game moves made and taken
  // back between searches shift the ply counter (two undos after a reply
  // leave it at -1), and the killer tables must not be read at such a ply.
  const int saved_ply = ply;
  ply = 0;
  score_moves(list, n, pos);
  ply = saved_ply;
  sort_moves(list, n);
  printf("\nMoves sorted for Alpha-Beta");
  printf("\n%d legal moves\n", n);
  for (int i = n - 1; i >= 0; --i) {
    printf("\n");
    print_square_chars(list[i].from);
    print_square_chars(list[i].to);
    if (list[i].kind > KIND_EN_PASSANT) print_promotion_suffix(list[i].kind);
    printf(" value: %3d", list[i].score);
  }
}

}  // namespace zolt
