#include "search/quiesce.h"

#include "eval/evaluate.h"
#include "position/attacks.h"
#include "position/makemove.h"
#include "position/movegen.h"
#include "position/state.h"
#include "search/ordering.h"

namespace zolt {

uint64_t qs_nodes = 0;
int qsearch_poll_countdown = 0;

namespace {
constexpr int POLL_INTERVAL = 1024;
}

int quiesce(Position& pos, int alpha, int beta, PvLine& pv) {
  ++qs_nodes;
  pv.count = 0;
  if (--qsearch_poll_countdown < 0) {
    if (poll_says_stop()) return alpha;
    qsearch_poll_countdown = POLL_INTERVAL;
  }
  if (alpha > MATE - 1 - ply) return alpha;
  reported_seldepth = iteration_depth;

  const int stand_pat = evaluate(pos);
  if (stand_pat >= beta) return stand_pat;
  if (stand_pat > alpha) alpha = stand_pat;
  if (ply >= MAX_PLY) return stand_pat;

  Move list[MAX_MOVES];
  // Highest score first: a unique best is tried before sorting the rest.
  int first;
  const int n = generate_ordered_captures(pos, list, first);
  // Quiet evasions are not generated: in check with no capture counts as mate.
  if (n == 0) return side_in_check(pos) ? ply - MATE : alpha;
  if (first < 0) sort_moves(list, n);

  PvLine line;
  for (int i = n - 1, tried = 1; i >= 0; --i, ++tried) {
    if (tried == 2 && first >= 0) sort_moves(list, n);
    const Move& move = tried == 1 && first >= 0 ? list[first] : list[i];
    make_move(pos, move);
    const int r = -quiesce(pos, -beta, 1 - alpha, line);
    unmake_move(pos);
    if (r >= beta && search_nodes > static_cast<uint64_t>(n)) {
      record_cutoff(move);
      return beta;
    }
    if (r > alpha) raise_alpha(alpha, r, pv, move, line);
  }
  return alpha;
}

}  // namespace zolt
