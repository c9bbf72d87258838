#include "search/ordering.h"

#include <cstdint>
#include <cstring>

#include "eval/tables.h"
#include "position/movegen.h"
#include "position/state.h"
#include "search/alphabeta.h"

namespace zolt {

Move killer1[MAX_PLY];
Move killer2[MAX_PLY];
Move mate_killer[MAX_PLY];

namespace {

// Bonuses of score_moves, the first that applies wins.
constexpr int KILLER1_BONUS = 360;
constexpr int KILLER2_BONUS = 365;
constexpr int QUEEN_PROMOTION_BONUS = 600;
constexpr int CAPTURE_BONUS = 300;
constexpr int PAWN_ADVANCE_BONUS = 340;
constexpr int MATE_KILLER_BONUS = 370;
constexpr int BEST_LINE_BONUS = 900;
// Killers of two plies earlier, for moves still scoring below KILLER1_BONUS.
constexpr int OLD_KILLER1_BONUS = 340;
constexpr int OLD_KILLER2_BONUS = 345;
constexpr int OLD_MATE_KILLER_BONUS = 350;

constexpr int64_t LOW_HALF = 0xffffffff;  // the index half of a sort key
// Lists up to this long are cheaper to sort in place than through keys.
constexpr int SHORT_LIST = 8;

// White pawns reaching rank 6 or beyond, black pawns rank 3 or beyond.
constexpr Square WHITE_ADVANCE_LIMIT = 49;
constexpr Square BLACK_ADVANCE_LIMIT = 70;

// The from and to squares of a table entry, read once per list (the list
// writes could otherwise alias the tables and force a reload per move).
struct SquarePair {
  Square from, to;
  explicit SquarePair(const Move& m) : from(m.from), to(m.to) {}
  bool matches(const Move& m) const { return m.from == from && m.to == to; }
};

// Square-table gain of the mover plus the value of what it takes.
inline int base_score(const Move& m, const Position& pos) {
  const PieceCode p = pos.board[m.from];
  const PieceCode v = pos.board[m.to];
  return ordering_square_table[p][m.to] - ordering_square_table[p][m.from] - piece_value[v] * pos.side;
}

inline bool pawn_advance(PieceCode p, Square to) {
  return (p == PAWN && to < WHITE_ADVANCE_LIMIT) || (p == -PAWN && to > BLACK_ADVANCE_LIMIT);
}

// The bonuses the scoring generators add themselves.
constexpr MoveScoreTerms GENERATED_TERMS = {QUEEN_PROMOTION_BONUS, CAPTURE_BONUS, PAWN_ADVANCE_BONUS};

// Bit (to & 63) for the destination of each move a bonus depends on: a move
// whose bit is clear matches none of them.
inline uint64_t destination_bit(const SquarePair& p) { return uint64_t{1} << (p.to & 63); }

// The moves of the tables that score_moves compares at this ply.
struct PlyTables {
  SquarePair k1, k2, mate, best;
  bool old_killers;
  SquarePair old_k1, old_k2, old_mate;
  uint64_t destinations;

  explicit PlyTables(int earlier)
      : k1(killer1[ply]), k2(killer2[ply]), mate(mate_killer[ply]), best(root_pv.moves[ply]), old_killers(ply > 2),
        old_k1(killer1[earlier]), old_k2(killer2[earlier]), old_mate(mate_killer[earlier]) {
    destinations = destination_bit(k1) | destination_bit(k2) | destination_bit(mate) | destination_bit(best);
    if (old_killers) destinations |= destination_bit(old_k1) | destination_bit(old_k2) | destination_bit(old_mate);
  }
  PlyTables() : PlyTables(ply > 2 ? ply - 2 : 0) {}

  bool may_match(const Move& m) const { return destinations >> (m.to & 63) & 1; }

  __attribute__((always_inline)) int score(const Move& m, const Position& pos) const {
    int bonus;
    if (k1.matches(m))
      bonus = KILLER1_BONUS;
    else if (k2.matches(m))
      bonus = KILLER2_BONUS;
    else if (m.kind == KIND_WHITE_PROMOTE_QUEEN || m.kind == KIND_BLACK_PROMOTE_QUEEN)
      bonus = QUEEN_PROMOTION_BONUS;
    else if (m.captured != 0)
      bonus = CAPTURE_BONUS;
    else if (pawn_advance(pos.board[m.from], m.to))
      bonus = PAWN_ADVANCE_BONUS;
    else if (mate.matches(m))
      bonus = MATE_KILLER_BONUS;
    else if (best.matches(m))
      bonus = BEST_LINE_BONUS;
    else
      bonus = 0;
    int score = base_score(m, pos) + bonus;
    if (old_killers && score < KILLER1_BONUS) {
      if (old_k1.matches(m))
        score += OLD_KILLER1_BONUS;
      else if (old_k2.matches(m))
        score += OLD_KILLER2_BONUS;
      else if (old_mate.matches(m))
        score += OLD_MATE_KILLER_BONUS;
    }
    return score;
  }
};

// The running answer of unique_best_move over scores seen one by one, the
// first of them given at the start.
struct UniqueBest {
  int best = 0;
  int32_t best_score;
  bool unique = true;

  explicit UniqueBest(int32_t first_score) : best_score(first_score) {}
  void see(int i, int32_t score) {
    if (score > best_score) {
      best = i;
      best_score = score;
      unique = true;
    } else if (score == best_score) {
      unique = false;
    }
  }
  int result() const { return unique ? best : -1; }
};

inline int capture_score(const Move& m, const Position& pos, const SquarePair& best) {
  return base_score(m, pos) + (best.matches(m) ? BEST_LINE_BONUS : 0);
}

}  // namespace

void score_moves(Move* list, int n, const Position& pos) {
  const PlyTables tables;
  for (int i = 0; i < n; ++i) list[i].score = tables.score(list[i], pos);
}

void score_captures(Move* list, int n, const Position& pos) {
  const SquarePair best(root_pv.moves[ply]);
  for (int i = 0; i < n; ++i) list[i].score = capture_score(list[i], pos, best);
}

// The generator has written every score but the table bonuses; only a move
// that may match a table entry is scored again in full.
// Both finish each score and look for the unique best in the same pass.
int generate_ordered_moves(Position& pos, Move* list, int& first) {
  const int n = generate_scored_moves(pos, list, GENERATED_TERMS);
  first = 0;
  if (n == 0) return n;
  const PlyTables tables;
  if (tables.may_match(list[0])) list[0].score = tables.score(list[0], pos);
  UniqueBest best(list[0].score);
  for (int i = 1; i < n; ++i) {
    if (tables.may_match(list[i])) list[i].score = tables.score(list[i], pos);
    best.see(i, list[i].score);
  }
  first = best.result();
  return n;
}

int generate_ordered_captures(Position& pos, Move* list, int& first) {
  const int n = generate_scored_captures(pos, list);
  first = 0;
  if (n == 0) return n;
  const SquarePair line(root_pv.moves[ply]);
  if (line.matches(list[0])) list[0].score += BEST_LINE_BONUS;
  UniqueBest best(list[0].score);
  for (int i = 1; i < n; ++i) {
    if (line.matches(list[i])) list[i].score += BEST_LINE_BONUS;
    best.see(i, list[i].score);
  }
  first = best.result();
  return n;
}

// The Shell sort runs on compact keys (score in the high half, original index
// in the low half, compared by score only) and the records are moved once at
// the end: the same comparisons and exchanges as sorting the records in place,
// so the same order, without shuffling 40-byte records around.
void sort_moves(Move* list, int n) {
  if (n < 2) return;
  if (n <= SHORT_LIST) {
    // Few records: sorted in place, with the same passes.
    for (int gap = n / 2; gap > 0; gap /= 2)
      for (int i = gap; i < n; ++i) {
        if (list[i - gap].score <= list[i].score) continue;
        const Move moving = list[i];
        int j = i - gap;
        for (; j >= 0 && list[j].score > moving.score; j -= gap) list[j + gap] = list[j];
        list[j + gap] = moving;
      }
    return;
  }
  int64_t keys[MAX_MOVES];
  for (int i = 0; i < n; ++i) keys[i] = static_cast<int64_t>(list[i].score) * (int64_t{1} << 32) | i;
  for (int gap = n / 2; gap > 0; gap /= 2) {
    for (int i = gap; i < n; ++i) {
      // Exchanging key i with the greater keys gap before it, one step at a
      // time, is the same as holding it and shifting those keys up. A key
      // scores above it exactly when it exceeds its score with all index bits
      // set. Mostly the key before it is not above it, and nothing moves.
      const int64_t moving = keys[i];
      const int64_t above = moving | LOW_HALF;
      if (keys[i - gap] <= above) continue;
      int j = i - gap;
      for (; j >= 0 && keys[j] > above; j -= gap) keys[j + gap] = keys[j];
      keys[j + gap] = moving;
    }
  }
  Move sorted[MAX_MOVES];
  for (int i = 0; i < n; ++i) sorted[i] = list[keys[i] & LOW_HALF];
  memcpy(list, sorted, n * sizeof(Move));
}

int unique_best_move(const Move* list, int n) {
  if (n == 0) return 0;
  UniqueBest best(list[0].score);
  for (int i = 1; i < n; ++i) best.see(i, list[i].score);
  return best.result();
}

void record_killer(const Move& move, int at_ply) {
  killer2[at_ply] = killer1[at_ply];
  killer1[at_ply] = move;
}

}  // namespace zolt
