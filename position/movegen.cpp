// The three legal move generators and the line table they share.
//
// One template serves all three: MODE selects whether moves are written to
// the list, only counted, or restricted to captures and promotions. The order
// of emission is fixed: castling, king steps, then the piece list slot by
// slot with each piece's targets in its own ray order.
//
// Legality: king moves and en-passant captures are always tried in place.
// Out of check, one walk along the king's eight lines finds the pinned
// pieces; every other piece moves without a trial. In check, every move is
// tried.
//
// The colour sets of position/occupancy.h find the first piece along a ray
// where the squares before it are not emitted one by one: in the line walks,
// the capture generator and the counting of a free slider's moves.
#include "position/movegen.h"

#include "eval/tables.h"
#include "position/attacks.h"
#include "position/occupancy.h"
#include "position/state.h"

namespace zolt {

namespace {

enum Mode { ALL_MOVES, COUNT_ONLY, CAPTURES_ONLY };

// A ray: its step on the mailbox and its index in KING_DIRECTIONS.
struct Ray {
  int step;
  int direction;
};

constexpr Ray ray(int step) { return {step, direction_index(step)}; }

constexpr Ray WHITE_BISHOP_RAYS[4] = {ray(-11), ray(-9), ray(9), ray(11)};
constexpr Ray BLACK_BISHOP_RAYS[4] = {ray(9), ray(11), ray(-11), ray(-9)};
constexpr Ray WHITE_ROOK_RAYS[4] = {ray(-10), ray(1), ray(-1), ray(10)};
constexpr Ray BLACK_ROOK_RAYS[4] = {ray(1), ray(-1), ray(10), ray(-10)};
constexpr Ray WHITE_QUEEN_RAYS[8] = {ray(-10), ray(-11), ray(-9), ray(-1), ray(1), ray(10), ray(9), ray(11)};
constexpr Ray BLACK_QUEEN_RAYS[8] = {ray(1), ray(-1), ray(10), ray(-10), ray(9), ray(11), ray(-11), ray(-9)};

template <int C>
inline bool is_enemy(int32_t p) {
  // OFF_BOARD is positive, so black's test must exclude it; white's need not.
  return C == WHITE ? p < 0 : p > 0 && p < OFF_BOARD;
}

template <int C>
inline bool empty_or_enemy(int32_t p) {
  return C == WHITE ? p <= 0 : static_cast<uint32_t>(p) < static_cast<uint32_t>(OFF_BOARD);
}

constexpr int MAX_PINS = 8;  // one per direction from the king

// Columns and ranks as bit sets (bit 0 is a8, bit 63 h1).
constexpr Bitboard FILE_A_BITS = 0x0101010101010101;
constexpr Bitboard FILE_H_BITS = 0x8080808080808080;
constexpr Bitboard EIGHTH_RANK_BITS = Bitboard{0xff};
constexpr Bitboard WHITE_SEVENTH_RANK_BITS = Bitboard{0xff} << 8;
constexpr Bitboard SIXTH_RANK_BITS = Bitboard{0xff} << 16;
constexpr Bitboard THIRD_RANK_BITS = Bitboard{0xff} << 40;
constexpr Bitboard BLACK_SEVENTH_RANK_BITS = Bitboard{0xff} << 48;
constexpr Bitboard FIRST_RANK_BITS = Bitboard{0xff} << 56;

// White pawns reaching rank 6 or beyond, black pawns rank 3 or beyond.
constexpr Square WHITE_ADVANCE_LIMIT = 49;
constexpr Square BLACK_ADVANCE_LIMIT = 70;

// The ordering square-table terms of one piece on its square: the row of its
// code and the term of the square it leaves.
struct SquareTerms {
  const int32_t* row;
  int32_t from_term;
};

// Each part of a generator writes its moves from `out` on and returns how
// many it kept; the count stays in a register, and in counting mode nothing
// is written at all. A SCORE generator also writes each move's ordering
// score (see MoveScoreTerms).
template <int C, int MODE, bool SCORE = false>
struct Generator {
  Position& pos;
  int32_t* board;
  Move* list;
  Square king;
  Bitboard occupied;  // both colours
  Bitboard enemies;
  bool in_check;
  // Own pieces pinned to the king; looked for only when not in check.
  Square pinned_squares[MAX_PINS];
  int pin_count = 0;
  MoveScoreTerms terms{};

  Generator(Position& p, Move* l, const MoveScoreTerms* t = nullptr) : pos(p), board(p.board), list(l) {
    if (t) terms = *t;
    king = C == WHITE ? p.white_king : p.black_king;
    enemies = p.occupied[colour_index(-C)];
    occupied = enemies | p.occupied[colour_index(C)];
    // The same answer as the full attack test on the king; the line walks
    // also find the pins.
    const Bitboard* them = p.pieces[colour_index(-C)];
    const Bitboard contact = (occupancy_tables.reach[KNIGHT][king] & them[KNIGHT]) |
                             (occupancy_tables.pawn_reach[colour_index(C)][king] & them[PAWN]) |
                             (occupancy_tables.reach[KING][king] & them[KING]);
    in_check = contact || scan_lines();
  }

  static inline SquareTerms square_terms(int32_t code, Square from) {
    if (!SCORE) return {nullptr, 0};
    const int32_t* row = ordering_square_table[code];
    return {row, row[from]};
  }

  // What a move's ordering score is made of: the mover's square terms, the
  // piece it takes and its bonus. Worked out only for a record that is written.
  struct ScoreParts {
    SquareTerms sq;
    int32_t target;
    int32_t bonus;
  };

  // The square-table gain less the value taken (piece_value[EMPTY] is 0), plus the bonus.
  static inline int32_t score_of(const ScoreParts& p, Square to) {
    return p.sq.row[to] - p.sq.from_term - piece_value[p.target] * C + p.bonus;
  }

  // The bonuses; the capture generator's scores take none.
  inline int32_t capture_term() const { return MODE == CAPTURES_ONLY ? 0 : terms.capture; }
  inline int32_t advance_term() const { return MODE == CAPTURES_ONLY ? 0 : terms.pawn_advance; }
  inline int32_t promotion_term() const { return MODE == CAPTURES_ONLY ? 0 : terms.queen_promotion; }
  inline int32_t capture_bonus(int32_t target) const { return target != EMPTY ? capture_term() : 0; }

  // Writes the record in any case but keeps it only when taken: the list has
  // room to spare, and the common case needs no branch on the target square.
  // Captures are the rare case in the capture generator, so it writes only
  // the records it keeps.
  static inline void put_if(bool taken, Move* out, int& k, Square from, Square to, int32_t captured, int kind,
                            const ScoreParts& score) {
    if (MODE == CAPTURES_ONLY && !taken) return;
    if (MODE != COUNT_ONLY) {
      Move& m = out[k];
      m.from = from;
      m.to = to;
      m.captured = captured;
      m.kind = kind;
      if (SCORE) m.score = score_of(score, to);
    }
    k += taken;
  }

  static inline void put(Move* out, int& k, Square from, Square to, int32_t captured, int kind,
                         const ScoreParts& score) {
    put_if(true, out, k, from, to, captured, kind, score);
  }

  // Queen, rook, bishop, knight; only the queen promotion takes its own bonus.
  inline void put_promotions(Move* out, int& k, Square from, Square to, int32_t captured) {
    const int queen = C == WHITE ? KIND_WHITE_PROMOTE_QUEEN : KIND_BLACK_PROMOTE_QUEEN;
    if (MODE == COUNT_ONLY) {
      k += 4;
      return;
    }
    const SquareTerms sq = square_terms(C * PAWN, from);
    const int32_t other_bonus = captured != EMPTY ? capture_term() : advance_term();
    put(out, k, from, to, captured, queen, {sq, board[to], promotion_term()});
    for (int i = 1; i < 4; ++i) put(out, k, from, to, captured, queen + i, {sq, board[to], other_bonus});
  }

  // The trial tests ask the colour sets about the position after the move,
  // leaving the board as it is.
  inline bool exposes(Square from, Square to) const {
    return attacked_with<-C>(pos, king, (occupied ^ square_bit(from)) | square_bit(to), square_bit(to));
  }

  inline bool king_safe_on(Square t) const { return !attacked_with<-C>(pos, t, occupied & ~square_bit(king)); }

  int castling(Move* out) {
    int k = 0;
    const int32_t king_moved = C == WHITE ? pos.white_king_moved : pos.black_king_moved;
    if (king_moved || in_check) return k;
    const int32_t h_moved = C == WHITE ? pos.white_h_rook_moved : pos.black_h_rook_moved;
    const int32_t a_moved = C == WHITE ? pos.white_a_rook_moved : pos.black_a_rook_moved;
    const int king_kind = C == WHITE ? KIND_WHITE_CASTLE_KING : KIND_BLACK_CASTLE_KING;
    const int queen_kind = king_kind + 1;
    if (!chess960) {
      const Square e = C == WHITE ? E1 : E8;
      // Rights read in Chess960 mode may belong to a king elsewhere on the
      // back rank; the standard moves always start on e1/e8.
      if (king != e) return k;
      const Square a = e - 4, b = e - 3, c = e - 2, d = e - 1, f = e + 1, g = e + 2, h = e + 3;
      if (board[f] == EMPTY && board[g] == EMPTY && board[h] == C * ROOK && !h_moved &&
          king_safe_on(f) && king_safe_on(g))
        put(out, k, e, g, 0, king_kind, {square_terms(C * KING, e), board[g], 0});
      if (board[b] == EMPTY && board[c] == EMPTY && board[d] == EMPTY && board[a] == C * ROOK && !a_moved &&
          king_safe_on(d) && king_safe_on(c))
        put(out, k, e, c, 0, queen_kind, {square_terms(C * KING, e), board[c], 0});
      return k;
    }
    const Square h_rook = castle_rook_square[C == WHITE ? WHITE_H_ROOK : BLACK_H_ROOK];
    const Square a_rook = castle_rook_square[C == WHITE ? WHITE_A_ROOK : BLACK_A_ROOK];
    if (!h_moved && board[h_rook] == C * ROOK &&
        (C == WHITE ? castle960_white_king_side(pos) : castle960_black_king_side(pos)))
      put(out, k, king, h_rook, 0, king_kind, {square_terms(C * KING, king), board[h_rook], 0});
    if (!a_moved && board[a_rook] == C * ROOK &&
        (C == WHITE ? castle960_white_queen_side(pos) : castle960_black_queen_side(pos)))
      put(out, k, king, a_rook, 0, queen_kind, {square_terms(C * KING, king), board[a_rook], 0});
    return k;
  }

  int king_steps(Move* out) {
    int k = 0;
    if (MODE == CAPTURES_ONLY && !(occupancy_tables.reach[KING][king] & enemies)) return k;
    if (MODE == COUNT_ONLY) {
      // A count needs no order: only the squares not held by own pieces.
      const Bitboard own_squares = pos.occupied[colour_index(C)];
      for (Bitboard steps = occupancy_tables.reach[KING][king] & ~own_squares; steps; steps &= steps - 1)
        k += king_safe_on(lowest_square(steps));
      return k;
    }
    const SquareTerms sq = square_terms(C * KING, king);
    for (int d : KING_DIRECTIONS) {
      const Square t = king + d;
      const int32_t target = board[t];
      if (MODE == CAPTURES_ONLY ? is_enemy<C>(target) : empty_or_enemy<C>(target)) {
        if (king_safe_on(t)) put(out, k, king, t, target, KIND_NORMAL, {sq, target, capture_bonus(target)});
      }
    }
    return k;
  }

  // Walks the eight lines from the king. An enemy slider that moves along
  // the line and is met first gives check (the result); met behind exactly
  // one own piece, it pins that piece.
  bool scan_lines() {
    bool check = false;
    const Bitboard* them = pos.pieces[colour_index(-C)];
    const Bitboard straight_sliders = them[ROOK] | them[QUEEN], diagonal_sliders = them[BISHOP] | them[QUEEN];
#pragma GCC unroll 8
    for (int i = 0; i < 8; ++i) {
      const int d = KING_DIRECTIONS[i];
      const int32_t slider = i < 4 ? ROOK : BISHOP;  // the first four directions are straight
      const Bitboard line = occupancy_tables.ray[king][i];
      // Without an enemy slider that moves along it, a line holds no check and no pin.
      if (!(line & (i < 4 ? straight_sliders : diagonal_sliders))) continue;
      Bitboard pieces = line & occupied;
      const int first_bit = nearest_bit(pieces, d);
      const Square t = occupancy_tables.square_of[first_bit];
      const int32_t first = board[t] * -C;  // enemy pieces positive, own pieces negative
      if (first == QUEEN || first == slider) {
        check = true;
        continue;
      }
      if (first > -PAWN) continue;  // an enemy piece shields the king
      pieces ^= Bitboard{1} << first_bit;
      if (!pieces) continue;
      const int32_t behind = board[occupancy_tables.square_of[nearest_bit(pieces, d)]] * -C;
      if (behind == QUEEN || behind == slider) pinned_squares[pin_count++] = t;
    }
    return check;
  }

  inline bool pinned(Square s) const {
    for (int i = 0; i < pin_count; ++i)
      if (pinned_squares[i] == s) return true;
    return false;
  }

  // One candidate move of a non-king piece onto a square that passed the
  // target test `ok`. A FREE piece (not pinned, king not in check) cannot
  // expose its king; any other piece's move is tried in place.
  template <bool FREE>
  inline void consider(bool ok, Move* out, int& k, Square from, Square to, int32_t captured, const ScoreParts& score) {
    if (FREE)
      put_if(ok, out, k, from, to, captured, KIND_NORMAL, score);
    else if (ok && !exposes(from, to))
      put(out, k, from, to, captured, KIND_NORMAL, score);
  }

  // The same for a move that is seldom there (a pawn's double step or
  // capture): a branch past it is cheaper than writing its record anyway.
  template <bool FREE>
  inline void consider_seldom(bool ok, Move* out, int& k, Square from, Square to, int32_t captured,
                              const ScoreParts& score) {
    if (MODE == COUNT_ONLY)
      consider<FREE>(ok, out, k, from, to, captured, score);
    else if (ok && (FREE || !exposes(from, to)))
      put(out, k, from, to, captured, KIND_NORMAL, score);
  }

  template <bool FREE>
  inline void consider_promotions(bool ok, Move* out, int& k, Square from, Square to, int32_t captured) {
    if (ok && (FREE || !exposes(from, to))) put_promotions(out, k, from, to, captured);
  }

  // A capture onto the en-passant square; always tried, since it also
  // empties the captured pawn's square.
  inline void en_passant(Move* out, int& k, Square from, Square to) {
    if (board[to] != EMPTY) return;
    if (C == WHITE ? to >= 49 : to <= 70) return;
    const Square victim = to + 10 * C;  // the pawn taken stands behind the target square
    const Bitboard after = (occupied ^ square_bit(from) ^ square_bit(victim)) | square_bit(to);
    if (!attacked_with<-C>(pos, king, after, square_bit(victim)))
      put(out, k, from, to, -C * PAWN, KIND_EN_PASSANT, {square_terms(C * PAWN, from), EMPTY, capture_term()});
  }

  template <bool FREE>
  int pawn(Square s, Move* out) {
    int k = 0;
    const int up = C == WHITE ? -10 : 10;
    const bool on_seventh = C == WHITE ? s < 39 : s > 80;
    // The +-9 diagonal comes before the +-11 one for both colours.
    const Square near_diagonal = s + up + C, far_diagonal = s + up - C;
    const int32_t near_target = board[near_diagonal], far_target = board[far_diagonal];
    const SquareTerms sq = square_terms(C * PAWN, s);
    if (!on_seventh) {
      if (MODE != CAPTURES_ONLY) {
        const bool on_second = C == WHITE ? s > 80 : s < 39;
        const bool single = board[s + up] == EMPTY;
        const bool advance = C == WHITE ? s + up < WHITE_ADVANCE_LIMIT : s + up > BLACK_ADVANCE_LIMIT;
        consider<FREE>(single, out, k, s, s + up, EMPTY, {sq, EMPTY, advance ? advance_term() : 0});
        consider_seldom<FREE>(single & on_second & (board[s + 2 * up] == EMPTY), out, k, s, s + 2 * up, EMPTY,
                              {sq, EMPTY, 0});
      }
      consider_seldom<FREE>(is_enemy<C>(near_target), out, k, s, near_diagonal, near_target,
                            {sq, near_target, capture_term()});
      if (near_diagonal == pos.ep_square) en_passant(out, k, s, near_diagonal);
      consider_seldom<FREE>(is_enemy<C>(far_target), out, k, s, far_diagonal, far_target,
                            {sq, far_target, capture_term()});
      if (far_diagonal == pos.ep_square) en_passant(out, k, s, far_diagonal);
      return k;
    }
    consider_promotions<FREE>(board[s + up] == EMPTY, out, k, s, s + up, EMPTY);
    consider_promotions<FREE>(is_enemy<C>(near_target), out, k, s, near_diagonal, near_target);
    consider_promotions<FREE>(is_enemy<C>(far_target), out, k, s, far_diagonal, far_target);
    return k;
  }

  template <bool FREE>
  int knight(Square s, Move* out) {
    int k = 0;
    if (MODE == CAPTURES_ONLY && !(occupancy_tables.reach[KNIGHT][s] & enemies)) return k;
    const SquareTerms sq = square_terms(C * KNIGHT, s);
#pragma GCC unroll 8
    for (int d : KNIGHT_OFFSETS) {
      const Square t = s + d;
      const int32_t target = board[t];
      consider<FREE>(MODE == CAPTURES_ONLY ? is_enemy<C>(target) : empty_or_enemy<C>(target), out, k, s, t, target,
                     {sq, target, capture_bonus(target)});
    }
    return k;
  }

  // The first piece along a ray from s, NO_SQUARE when it runs to the edge.
  inline Square first_piece_from(Square s, const Ray& r, int& bit) const {
    const Bitboard pieces = occupancy_tables.ray[s][r.direction] & occupied;
    if (!pieces) return NO_SQUARE;
    bit = nearest_bit(pieces, r.step);
    return occupancy_tables.square_of[bit];
  }

  // A free slider's move count: the empty squares of each ray, plus the
  // piece that ends it when it is an enemy. The slider stands on s, bit from_bit.
  template <int RAY_COUNT>
  int count_slider(Square s, int from_bit, const Ray (&rays)[RAY_COUNT]) const {
    int k = 0;
#pragma GCC unroll 8
    for (const Ray& r : rays) {
      const Bitboard pieces = occupancy_tables.ray[s][r.direction] & occupied;
      if (!pieces) {
        k += occupancy_tables.ray_length[s][r.direction];
        continue;
      }
      const int bit = nearest_bit(pieces, r.step);
      k += occupancy_tables.distance[from_bit][bit] - 1 + static_cast<int>(enemies >> bit & 1);
    }
    return k;
  }

  // A slider's captures: only the first piece of each ray can be taken.
  template <bool FREE, int RAY_COUNT>
  int slider_captures(int32_t piece, Square s, const Ray (&rays)[RAY_COUNT], Move* out) {
    int k = 0;
    const Bitboard in_reach = occupancy_tables.reach[piece][s] & enemies;
    if (!in_reach) return k;
    const SquareTerms sq = square_terms(C * piece, s);
#pragma GCC unroll 8
    for (const Ray& r : rays) {
      if (!(occupancy_tables.ray[s][r.direction] & in_reach)) continue;
      int bit = 0;
      const Square t = first_piece_from(s, r, bit);
      const int32_t target = board[t];
      consider<FREE>(is_enemy<C>(target), out, k, s, t, target, {sq, target, capture_term()});
    }
    return k;
  }

  template <bool FREE, int RAY_COUNT>
  int slider(int32_t piece, Square s, const Ray (&rays)[RAY_COUNT], Move* out) {
    if (MODE == CAPTURES_ONLY) return slider_captures<FREE>(piece, s, rays, out);
    if (MODE == COUNT_ONLY && FREE) return count_slider(s, bit_index_of(s), rays);
    int k = 0;
    const SquareTerms sq = square_terms(C * piece, s);
#pragma GCC unroll 8
    for (const Ray& r : rays) {
      const int d = r.step;
      Square t = s + d;
      while (board[t] == EMPTY) {
        if (MODE != CAPTURES_ONLY) consider<FREE>(true, out, k, s, t, EMPTY, {sq, EMPTY, 0});
        t += d;
      }
      const int32_t target = board[t];
      consider<FREE>(is_enemy<C>(target), out, k, s, t, target, {sq, target, capture_term()});
    }
    return k;
  }

  template <bool FREE>
  int piece_moves(int32_t piece, Square s, Move* out) {
    // Pawns are the most common pieces: tested first.
    if (piece == PAWN) return pawn<FREE>(s, out);
    switch (piece) {
      case KNIGHT:
        return knight<FREE>(s, out);
      case BISHOP:
        return slider<FREE>(BISHOP, s, C == WHITE ? WHITE_BISHOP_RAYS : BLACK_BISHOP_RAYS, out);
      case ROOK:
        return slider<FREE>(ROOK, s, C == WHITE ? WHITE_ROOK_RAYS : BLACK_ROOK_RAYS, out);
      default:
        return slider<FREE>(QUEEN, s, C == WHITE ? WHITE_QUEEN_RAYS : BLACK_QUEEN_RAYS, out);
    }
  }

  // The pieces that may have a capture or promotion, as a mask of their
  // slots: every bishop, rook and queen (their rays are tested one by one),
  // a knight with an enemy piece in reach, a pawn with an enemy piece or the
  // en-passant square on a diagonal ahead, and a pawn about to promote.
  uint32_t capturing_slots() const {
    const Bitboard* own = pos.pieces[colour_index(C)];
    const Bitboard targets = enemies | square_bit(pos.ep_square);
    // The pawns that attack a target: white pawns from the row below it
    // (higher bits), black pawns from the row above; a pawn one file left of
    // a target is 7 bits from it for white and 9 for black.
    const Bitboard left_of = targets & ~FILE_A_BITS, right_of = targets & ~FILE_H_BITS;
    const Bitboard attackers = C == WHITE ? (left_of << 7) | (right_of << 9) : (left_of >> 9) | (right_of >> 7);
    const Bitboard seventh = C == WHITE ? WHITE_SEVENTH_RANK_BITS : BLACK_SEVENTH_RANK_BITS;
    Bitboard candidates = (own[PAWN] & (attackers | seventh)) | own[BISHOP] | own[ROOK] | own[QUEEN];
    for (Bitboard knights = own[KNIGHT]; knights; knights &= knights - 1) {
      const int bit = __builtin_ctzll(knights);
      if (occupancy_tables.reach[KNIGHT][occupancy_tables.square_of[bit]] & enemies) candidates |= Bitboard{1} << bit;
    }
    uint32_t slots = 0;
    for (; candidates; candidates &= candidates - 1)
      slots |= 1u << pos.slot_of[lowest_square(candidates)];
    return slots;
  }

  // The moves of the piece in one slot (none for an empty one). In check, or
  // when the piece may be pinned, each move is tried.
  inline int slot_moves(int slot, bool all_free, const int32_t* line_from_king, Move* out) {
    const Square s = pos.slot_square[slot];
    const int32_t piece = board[s] * C;
    // The capture generator visits only live slots.
    if (MODE != CAPTURES_ONLY && (piece < PAWN || piece > QUEEN)) return 0;
    if (!all_free && (in_check || (line_from_king[s] != 0 && pinned(s)))) return piece_moves<false>(piece, s, out);
    return piece_moves<true>(piece, s, out);
  }

  // The pawn moves of a side that is not in check and has no pinned piece,
  // counted set-wise: pushes, double pushes and captures, a promotion
  // counting four; en-passant captures are tried one by one.
  int count_free_pawn_moves() {
    const Bitboard pawns = pos.pieces[colour_index(C)][PAWN];
    const Bitboard empty = ~occupied;
    // White pawns move to lower bits, one row being 8; a capture towards the
    // a-file is 9 bits away for white and 7 for black.
    Bitboard single, double_push, towards_a, towards_h;
    if (C == WHITE) {
      single = (pawns >> 8) & empty;
      double_push = ((single & THIRD_RANK_BITS) >> 8) & empty;
      towards_a = ((pawns & ~FILE_A_BITS) >> 9) & enemies;
      towards_h = ((pawns & ~FILE_H_BITS) >> 7) & enemies;
    } else {
      single = (pawns << 8) & empty;
      double_push = ((single & SIXTH_RANK_BITS) << 8) & empty;
      towards_a = ((pawns & ~FILE_A_BITS) << 7) & enemies;
      towards_h = ((pawns & ~FILE_H_BITS) << 9) & enemies;
    }
    const Bitboard last_rank = C == WHITE ? EIGHTH_RANK_BITS : FIRST_RANK_BITS;
    int k = count_bits(single & ~last_rank) + count_bits(double_push) + count_bits(towards_a & ~last_rank) +
            count_bits(towards_h & ~last_rank);
    if ((single | towards_a | towards_h) & last_rank)
      k += 4 * (count_bits(single & last_rank) + count_bits(towards_a & last_rank) + count_bits(towards_h & last_rank));
    const Square ep = pos.ep_square;
    if (ep != NO_SQUARE) {
      // The pawns that would take on ep stand on the diagonals behind it.
      const int behind = C == WHITE ? 10 : -10;
      const Square takers[2] = {ep + behind - 1, ep + behind + 1};
      for (const Square s : takers)
        if (board[s] == C * PAWN) en_passant(nullptr, k, s, ep);
    }
    return k;
  }

  // The moves of every free slider in the set.
  template <int RAY_COUNT>
  int count_sliders(Bitboard sliders, const Ray (&rays)[RAY_COUNT]) const {
    int k = 0;
    for (; sliders; sliders &= sliders - 1) {
      const int bit = __builtin_ctzll(sliders);
      k += count_slider(occupancy_tables.square_of[bit], bit, rays);
    }
    return k;
  }

  // All moves but the king's of a side that is not in check and has no
  // pinned piece: the sets give each piece's count, in any order (so either
  // colour's ray lists will do).
  int count_free_moves() {
    const Bitboard* own = pos.pieces[colour_index(C)];
    const Bitboard own_squares = pos.occupied[colour_index(C)];
    int k = count_free_pawn_moves();
    for (Bitboard knights = own[KNIGHT]; knights; knights &= knights - 1)
      k += count_bits(occupancy_tables.reach[KNIGHT][lowest_square(knights)] & ~own_squares);
    return k + count_sliders(own[BISHOP], WHITE_BISHOP_RAYS) + count_sliders(own[ROOK], WHITE_ROOK_RAYS) +
           count_sliders(own[QUEEN], WHITE_QUEEN_RAYS);
  }

  // Where the next record goes once n have been kept (nowhere when counting).
  inline Move* after(int n) const { return MODE == COUNT_ONLY ? nullptr : list + n; }

  int run() {
    int n = 0;
    if (MODE != CAPTURES_ONLY) n += castling(after(n));
    n += king_steps(after(n));
    const int first = C == WHITE ? FIRST_WHITE_SLOT : FIRST_BLACK_SLOT;
    const int last = C == WHITE ? LAST_WHITE_SLOT : LAST_BLACK_SLOT;
    // Out of check, only a pinned piece can uncover an attack on its king;
    // usually there is none, and every piece moves freely. A piece that
    // shares no line with its king cannot be pinned.
    const bool all_free = !in_check && pin_count == 0;
    const int32_t* line_from_king = line_table[king];
    if (MODE == CAPTURES_ONLY) {
      // Only the pieces that may take something, still in slot order.
      for (uint32_t slots = capturing_slots(); slots; slots &= slots - 1)
        n += slot_moves(__builtin_ctz(slots), all_free, line_from_king, after(n));
      return n;
    }
    if (MODE == COUNT_ONLY && all_free) return n + count_free_moves();
    for (int slot = first; slot <= last; ++slot) n += slot_moves(slot, all_free, line_from_king, after(n));
    return n;
  }
};

template <int MODE, bool SCORE = false>
int generate(Position& pos, Move* list, const MoveScoreTerms* terms = nullptr) {
  if (pos.side == WHITE) return Generator<WHITE, MODE, SCORE>(pos, list, terms).run();
  return Generator<BLACK, MODE, SCORE>(pos, list, terms).run();
}

}  // namespace

int generate_moves(Position& pos, Move* list) { return generate<ALL_MOVES>(pos, list); }
int count_moves(Position& pos) { return generate<COUNT_ONLY>(pos, nullptr); }
int generate_captures(Position& pos, Move* list) { return generate<CAPTURES_ONLY>(pos, list); }
int generate_scored_moves(Position& pos, Move* list, const MoveScoreTerms& terms) {
  return generate<ALL_MOVES, true>(pos, list, &terms);
}
int generate_scored_captures(Position& pos, Move* list) {
  const MoveScoreTerms none{};
  return generate<CAPTURES_ONLY, true>(pos, list, &none);
}

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
