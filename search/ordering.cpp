#include "search/ordering.h"

#include "eval/tables.h"
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

// White pawns reaching rank 6 or beyond, black pawns rank 3 or beyond.
constexpr Square WHITE_ADVANCE_LIMIT = 49;
constexpr Square BLACK_ADVANCE_LIMIT = 70;

inline bool same_squares(const Move& a, const Move& b) { return a.from == b.from && a.to == b.to; }

// Square-table gain of the mover plus the value of what it takes.
inline int base_score(const Move& m, const Position& pos) {
  const PieceCode p = pos.board[m.from];
  const PieceCode v = pos.board[m.to];
  return ordering_square_table[p][m.to] - ordering_square_table[p][m.from] - piece_value[v] * pos.side;
}

inline bool pawn_advance(PieceCode p, Square to) {
  return (p == PAWN && to < WHITE_ADVANCE_LIMIT) || (p == -PAWN && to > BLACK_ADVANCE_LIMIT);
}

int bonus_at_ply(const Move& m, const Position& pos) {
  if (same_squares(m, killer1[ply])) return KILLER1_BONUS;
  if (same_squares(m, killer2[ply])) return KILLER2_BONUS;
  if (m.kind == KIND_WHITE_PROMOTE_QUEEN || m.kind == KIND_BLACK_PROMOTE_QUEEN) return QUEEN_PROMOTION_BONUS;
  if (m.captured != 0) return CAPTURE_BONUS;
  if (pawn_advance(pos.board[m.from], m.to)) return PAWN_ADVANCE_BONUS;
  if (same_squares(m, mate_killer[ply])) return MATE_KILLER_BONUS;
  if (same_squares(m, root_pv.moves[ply])) return BEST_LINE_BONUS;
  return 0;
}

int old_killer_bonus(const Move& m) {
  const int earlier = ply - 2;
  if (same_squares(m, killer1[earlier])) return OLD_KILLER1_BONUS;
  if (same_squares(m, killer2[earlier])) return OLD_KILLER2_BONUS;
  if (same_squares(m, mate_killer[earlier])) return OLD_MATE_KILLER_BONUS;
  return 0;
}

}  // namespace

void score_moves(Move* list, int n, const Position& pos) {
  for (int i = 0; i < n; ++i) {
    Move& m = list[i];
    int score = base_score(m, pos) + bonus_at_ply(m, pos);
    if (ply > 2 && score < KILLER1_BONUS) score += old_killer_bonus(m);
    m.score = score;
  }
}

void score_captures(Move* list, int n, const Position& pos) {
  for (int i = 0; i < n; ++i) {
    Move& m = list[i];
    m.score = base_score(m, pos) + (same_squares(m, root_pv.moves[ply]) ? BEST_LINE_BONUS : 0);
  }
}

void sort_moves(Move* list, int n) {
  for (int gap = n / 2; gap > 0; gap /= 2) {
    for (int i = gap; i < n; ++i) {
      for (int j = i - gap; j >= 0 && list[j].score > list[j + gap].score; j -= gap) {
        const Move swapped = list[j];
        list[j] = list[j + gap];
        list[j + gap] = swapped;
      }
    }
  }
}

void record_killer(const Move& move, int at_ply) {
  killer2[at_ply] = killer1[at_ply];
  killer1[at_ply] = move;
}

}  // namespace zolt
