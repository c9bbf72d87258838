#include "search/alphabeta.h"

#include <cstring>

#include "position/attacks.h"
#include "position/makemove.h"
#include "position/movegen.h"
#include "position/state.h"
#include "search/clock.h"
#include "search/driver.h"
#include "search/multipv.h"
#include "search/ordering.h"
#include "search/quiesce.h"
#include "search/timecontrol.h"

namespace zolt {

int iteration_depth = 0;
int search_poll_countdown = 0;
int info_countdown = 0;
int last_root_score = 0;
PvLine root_pv;

int stop_search = 0;
uint64_t search_nodes = 0;
int null_move_calls = 0;
int null_move_cutoffs = 0;
int first_move_cutoffs = 0;
int other_cutoffs = 0;
int last_improving_score = 0;
Move root_best_move;
Move current_root_move;
int current_move_number = 0;
int root_move_count = 0;
int reported_seldepth = 0;

namespace {

constexpr int POLL_INTERVAL = 1024;       // nodes between polls after the first
constexpr int REPORT_INTERVAL = 262144;   // nodes between progress reports
constexpr int FIRST_QUIESCENT_ITERATION = 6;  // earlier iterations score leaves by material alone
constexpr int LAZY_MARGIN = 1000;         // this far ahead, a leaf needs no quiescence search
constexpr int NULL_MOVE_MIN_DEPTH = 4;    // a null move needs more than 3 plies left
constexpr int NULL_MOVE_DEPTH_CUT = 4;    // the null-move search is this much shallower
// The deepest ply at which a node still searches moves: every per-ply table
// and line has room for one more entry below it.
constexpr int LAST_SEARCHING_PLY = MAX_PLY - 2;

}  // namespace

int poll_says_stop() {
  const int stop_requested = poll_input();
  const bool node_limit_reached = uci_node_limit != 0 && search_nodes >= uci_node_limit;
  if (clock_ms() + stop_margin_ms > deadline || stop_requested || node_limit_reached) {
    stop_search = 1;
    return 1;
  }
  return 0;
}

// Puts move in front of the child's line.
void extend_line(PvLine& pv, const Move& move, const PvLine& child) {
  int count = child.count < MAX_PLY - 1 ? child.count : MAX_PLY - 1;
  pv.moves[0] = move;
  memcpy(pv.moves + 1, child.moves, count * sizeof(Move));
  pv.count = count + 1;
}

// A move that cut off at the current ply: quiet moves become killers; while
// the last root result was a mate the move also becomes the mate killer.
void record_cutoff(const Move& move) {
  if (move.captured == 0) record_killer(move, ply);
  if (last_root_score > MATE_BOUND || last_root_score < -MATE_BOUND) mate_killer[ply] = move;
}

void note_root_best(const Move& move) {
  root_best_move.from = move.from;
  root_best_move.to = move.to;
  root_best_move.captured = move.captured;
  root_best_move.kind = move.kind;
}

void raise_alpha(int& alpha, int r, PvLine& pv, const Move& move, const PvLine& child) {
  alpha = r;
  last_improving_score = r;
  extend_line(pv, move, child);
  if (ply == 0) note_root_best(move);
}

int alpha_beta(Position& pos, int alpha, int beta, int depth, PvLine& pv) {
  --search_poll_countdown;
  --info_countdown;
  pv.count = 0;
  if (alpha > MATE - 1 - ply) return alpha;
  if (search_poll_countdown < 0) {
    if (poll_says_stop()) return alpha;
    search_poll_countdown = POLL_INTERVAL;
  }
  reported_seldepth = iteration_depth;

  PvLine line;
  if (depth <= 0 || ply > LAST_SEARCHING_PLY) {
    const int lazy = pos.material * pos.side;
    if (iteration_depth < FIRST_QUIESCENT_ITERATION || lazy >= LAZY_MARGIN) return lazy;
    return quiesce(pos, alpha, beta, line);
  }
  const int in_check = side_in_check(pos);

  if (info_countdown < 0 && !stop_search) {
    if (uci_currmove_info) print_currmove_info();
    if (console_progress_info) print_progress_line();
    info_countdown = REPORT_INTERVAL;
  }

  // Null move: let the opponent move twice; if that still fails high, so will a real move.
  if (depth >= NULL_MOVE_MIN_DEPTH && !last_move_noisy && !in_check && !pos.endgame) {
    ++null_move_calls;
    pos.side = -pos.side;
    const int r = -alpha_beta(pos, -beta, 1 - beta, depth - NULL_MOVE_DEPTH_CUT, line);
    pos.side = -pos.side;
    if (r >= beta) {
      ++null_move_cutoffs;
      return beta;
    }
  }

  // The root itself, not a null-move search below it (which also stands at ply 0).
  const bool root = ply == 0 && depth == iteration_depth;
  Move list[MAX_MOVES];
  // Highest score first: a unique best is tried before sorting the rest.
  int first;
  int n = generate_ordered_moves(pos, list, first);
  if (n == 0) return in_check ? ply - MATE : 0;
  // The root searches the moves of "searchmoves" less those MultiPV has
  // already reported at this depth; the single-reply extension counts the
  // former, so every line of a depth is searched equally deep.
  int reply_count = n;
  if (root && (search_root_move_count > 0 || excluded_root_move_count > 0)) {
    reply_count = keep_root_moves(list, n);
    n = drop_excluded_root_moves(list, reply_count);
    first = unique_best_move(list, n);
  }
  if (first < 0) sort_moves(list, n);
  if (reply_count == 1 || in_check) ++depth;

  for (int i = n - 1, tried = 1; i >= 0; --i, ++tried) {
    if (tried == 2 && first >= 0) sort_moves(list, n);
    const Move& move = tried == 1 && first >= 0 ? list[first] : list[i];
    if (root) {
      current_move_number = tried;
      root_move_count = n;
      current_root_move = move;
    }
    make_move(pos, move);
    ++search_nodes;
    const int r = -alpha_beta(pos, -beta, -alpha, depth - 1, line);
    unmake_move(pos);
    // Early in a search (fewer nodes than moves here) a fail-high only raises alpha.
    if (r >= beta && search_nodes > static_cast<uint64_t>(n)) {
      record_cutoff(move);
      if (tried == 1)
        ++first_move_cutoffs;
      else
        ++other_cutoffs;
      return beta;
    }
    if (r > alpha) raise_alpha(alpha, r, pv, move, line);
  }
  return alpha;
}

}  // namespace zolt
