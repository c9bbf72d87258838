// The three legal move generators and the line table they share.
//
// One template serves all three: MODE selects whether moves are written to
// the list, only counted, or restricted to captures and promotions. The order
// of emission is fixed: castling, king steps, then the piece list slot by
// slot with each piece's targets in its own ray order.
#include "position/movegen.h"

#include "position/attacks.h"
#include "position/state.h"

namespace zolt {

namespace {

enum Mode { ALL_MOVES, COUNT_ONLY, CAPTURES_ONLY };

constexpr int WHITE_BISHOP_RAYS[4] = {-11, -9, 9, 11};
constexpr int BLACK_BISHOP_RAYS[4] = {9, 11, -11, -9};
constexpr int WHITE_ROOK_RAYS[4] = {-10, 1, -1, 10};
constexpr int BLACK_ROOK_RAYS[4] = {1, -1, 10, -10};
constexpr int WHITE_QUEEN_RAYS[8] = {-10, -11, -9, -1, 1, 10, 9, 11};
constexpr int BLACK_QUEEN_RAYS[8] = {1, -1, 10, -10, 9, 11, -11, -9};

template <int C>
inline bool is_enemy(int32_t p) {
  // OFF_BOARD is positive, so black's test must exclude it; white's need not.
  return C == WHITE ? p < 0 : p > 0 && p < OFF_BOARD;
}

template <int C>
inline bool empty_or_enemy(int32_t p) {
  return C == WHITE ? p <= 0 : static_cast<uint32_t>(p) < static_cast<uint32_t>(OFF_BOARD);
}

template <int C, int MODE>
struct Generator {
  Position& pos;
  int32_t* board;
  Move* list;
  int n = 0;
  Square king;
  bool in_check;

  Generator(Position& p, Move* l) : pos(p), board(p.board), list(l) {
    king = C == WHITE ? p.white_king : p.black_king;
    in_check = attacked_by_enemy<C>(board, king);
  }

  inline void add(Square from, Square to, int32_t captured, int kind) {
    if (MODE != COUNT_ONLY) {
      Move& m = list[n];
      m.from = from;
      m.to = to;
      m.captured = captured;
      m.kind = kind;
    }
    ++n;
  }

  inline void add_promotions(Square from, Square to, int32_t captured) {
    const int queen = C == WHITE ? KIND_WHITE_PROMOTE_QUEEN : KIND_BLACK_PROMOTE_QUEEN;
    if (MODE == COUNT_ONLY) {
      n += 4;
      return;
    }
    for (int i = 0; i < 4; ++i) add(from, to, captured, queen + i);
  }

  // Moving the piece on from to to (not a king move, not en passant) leaves
  // the own king attacked. Done in place and undone at once.
  inline bool exposes(Square from, Square to) {
    const int32_t kept = board[to];
    board[to] = board[from];
    board[from] = EMPTY;
    const bool result = attacked_by_enemy<C>(board, king);
    board[from] = board[to];
    board[to] = kept;
    return result;
  }

  inline bool king_safe_on(Square t) {
    const int32_t kept = board[t];
    board[king] = EMPTY;
    board[t] = C * KING;
    const bool safe = !attacked_by_enemy<C>(board, t);
    board[t] = kept;
    board[king] = C * KING;
    return safe;
  }

  void castling() {
    const int32_t king_moved = C == WHITE ? pos.white_king_moved : pos.black_king_moved;
    if (king_moved || in_check) return;
    const int32_t h_moved = C == WHITE ? pos.white_h_rook_moved : pos.black_h_rook_moved;
    const int32_t a_moved = C == WHITE ? pos.white_a_rook_moved : pos.black_a_rook_moved;
    const int king_kind = C == WHITE ? KIND_WHITE_CASTLE_KING : KIND_BLACK_CASTLE_KING;
    const int queen_kind = king_kind + 1;
    if (!chess960) {
      const Square e = C == WHITE ? E1 : E8;
      // Rights read in Chess960 mode may belong to a king elsewhere on the
      // back rank; the standard moves always start on e1/e8.
      if (king != e) return;
      const Square a = e - 4, b = e - 3, c = e - 2, d = e - 1, f = e + 1, g = e + 2, h = e + 3;
      if (board[f] == EMPTY && board[g] == EMPTY && board[h] == C * ROOK && !h_moved &&
          king_safe_on(f) && king_safe_on(g))
        add(e, g, 0, king_kind);
      if (board[b] == EMPTY && board[c] == EMPTY && board[d] == EMPTY && board[a] == C * ROOK && !a_moved &&
          king_safe_on(d) && king_safe_on(c))
        add(e, c, 0, queen_kind);
      return;
    }
    const Square h_rook = castle_rook_square[C == WHITE ? WHITE_H_ROOK : BLACK_H_ROOK];
    const Square a_rook = castle_rook_square[C == WHITE ? WHITE_A_ROOK : BLACK_A_ROOK];
    if (!h_moved && board[h_rook] == C * ROOK &&
        (C == WHITE ? castle960_white_king_side(pos) : castle960_black_king_side(pos)))
      add(king, h_rook, 0, king_kind);
    if (!a_moved && board[a_rook] == C * ROOK &&
        (C == WHITE ? castle960_white_queen_side(pos) : castle960_black_queen_side(pos)))
      add(king, a_rook, 0, queen_kind);
  }

  void king_steps() {
    for (int d : KING_DIRECTIONS) {
      const Square t = king + d;
      const int32_t target = board[t];
      if (MODE == CAPTURES_ONLY ? is_enemy<C>(target) : empty_or_enemy<C>(target)) {
        if (king_safe_on(t)) add(king, t, target, KIND_NORMAL);
      }
    }
  }

  // Whether the piece on s, which shares a line with its king, is pinned: it
  // is the first piece from the king along that line and an enemy slider of
  // the line's kind stands behind it. Pieces that are not pinned move freely
  // when the king is not in check.
  inline bool pinned(Square s, int step) {
    const int d = s > king ? step : -step;
    Square t = king + d;
    while (board[t] == EMPTY) t += d;
    if (t != s) return false;
    t += d;
    while (board[t] == EMPTY) t += d;
    const int32_t p = board[t] * -C;  // positive for an enemy piece
    if (step == 1 || step == 10) return p == ROOK || p == QUEEN;
    return p == BISHOP || p == QUEEN;
  }

  // A move of a piece that may be pinned (or any move while in check) is
  // tried; a free piece's moves are added without a trial.
  inline void add_checked(bool free, Square from, Square to, int32_t captured) {
    if (free || !exposes(from, to)) add(from, to, captured, KIND_NORMAL);
  }

  inline void add_promotions_checked(bool free, Square from, Square to, int32_t captured) {
    if (free || !exposes(from, to)) add_promotions(from, to, captured);
  }

  inline void en_passant(Square from, Square to) {
    if (to != pos.ep_square || board[to] != EMPTY) return;
    if (C == WHITE ? to >= 49 : to <= 70) return;
    const bool exposed = C == WHITE ? white_move_exposes_king(pos, from, to) : black_move_exposes_king(pos, from, to);
    if (!exposed) add(from, to, -C * PAWN, KIND_EN_PASSANT);
  }

  void pawn(Square s, bool free) {
    const int up = C == WHITE ? -10 : 10;
    const bool on_seventh = C == WHITE ? s < 39 : s > 80;
    // The +-9 diagonal comes before the +-11 one for both colours.
    const Square near_diagonal = s + up + C, far_diagonal = s + up - C;
    if (!on_seventh) {
      if (MODE != CAPTURES_ONLY && board[s + up] == EMPTY) {
        add_checked(free, s, s + up, EMPTY);
        const bool on_second = C == WHITE ? s > 80 : s < 39;
        if (on_second && board[s + 2 * up] == EMPTY) add_checked(free, s, s + 2 * up, EMPTY);
      }
      if (is_enemy<C>(board[near_diagonal])) add_checked(free, s, near_diagonal, board[near_diagonal]);
      if (pos.ep_square) en_passant(s, near_diagonal);
      if (is_enemy<C>(board[far_diagonal])) add_checked(free, s, far_diagonal, board[far_diagonal]);
      if (pos.ep_square) en_passant(s, far_diagonal);
      return;
    }
    if (board[s + up] == EMPTY) add_promotions_checked(free, s, s + up, EMPTY);
    if (is_enemy<C>(board[near_diagonal])) add_promotions_checked(free, s, near_diagonal, board[near_diagonal]);
    if (is_enemy<C>(board[far_diagonal])) add_promotions_checked(free, s, far_diagonal, board[far_diagonal]);
  }

  void knight(Square s, bool free) {
    for (int d : KNIGHT_OFFSETS) {
      const Square t = s + d;
      const int32_t target = board[t];
      if (MODE == CAPTURES_ONLY ? is_enemy<C>(target) : empty_or_enemy<C>(target))
        add_checked(free, s, t, target);
    }
  }

  template <int RAY_COUNT>
  void slider(Square s, bool free, const int (&rays)[RAY_COUNT]) {
    for (int d : rays) {
      Square t = s + d;
      while (board[t] == EMPTY) {
        if (MODE != CAPTURES_ONLY) add_checked(free, s, t, EMPTY);
        t += d;
      }
      if (is_enemy<C>(board[t])) add_checked(free, s, t, board[t]);
    }
  }

  int run() {
    if (MODE != CAPTURES_ONLY) castling();
    king_steps();
    const int first = C == WHITE ? FIRST_WHITE_SLOT : FIRST_BLACK_SLOT;
    const int last = C == WHITE ? LAST_WHITE_SLOT : LAST_BLACK_SLOT;
    const int32_t* line_from_king = line_table[king];
    for (int slot = first; slot <= last; ++slot) {
      const Square s = pos.slot_square[slot];
      const int32_t piece = board[s] * C;
      if (piece < PAWN || piece > QUEEN) continue;
      // A piece that shares no line with its king cannot uncover an attack on
      // it; one that does is tried move by move only when it is pinned.
      const int line = line_from_king[s];
      const bool free = !in_check && (line == 0 || !pinned(s, line));
      switch (piece) {
        case PAWN:
          pawn(s, free);
          break;
        case KNIGHT:
          knight(s, free);
          break;
        case BISHOP:
          slider(s, free, C == WHITE ? WHITE_BISHOP_RAYS : BLACK_BISHOP_RAYS);
          break;
        case ROOK:
          slider(s, free, C == WHITE ? WHITE_ROOK_RAYS : BLACK_ROOK_RAYS);
          break;
        default:
          slider(s, free, C == WHITE ? WHITE_QUEEN_RAYS : BLACK_QUEEN_RAYS);
          break;
      }
    }
    return n;
  }
};

template <int MODE>
int generate(Position& pos, Move* list) {
  if (pos.side == WHITE) return Generator<WHITE, MODE>(pos, list).run();
  return Generator<BLACK, MODE>(pos, list).run();
}

}  // namespace

int generate_moves(Position& pos, Move* list) { return generate<ALL_MOVES>(pos, list); }
int count_moves(Position& pos) { return generate<COUNT_ONLY>(pos, nullptr); }
int generate_captures(Position& pos, Move* list) { return generate<CAPTURES_ONLY>(pos, list); }

void build_line_table() {
  for (auto& row : line_table)
    for (auto& entry : row) entry = 0;
  for (Square k = A8; k <= H1; ++k) {
    if (EMPTY_BOARD[k] == OFF_BOARD) continue;
    for (int d : KING_DIRECTIONS) {
      const int step = d < 0 ? -d : d;
      for (Square s = k + d; EMPTY_BOARD[s] != OFF_BOARD; s += d) line_table[k][s] = step;
    }
  }
}

}  // namespace zolt
