#include "search/alphabeta.h"

#include <cstring>

#include "position/attacks.h"
#include "position/key.h"
#include "position/makemove.h"
#include "position/movegen.h"
#include "position/state.h"
#include "search/clock.h"
#include "search/draw.h"
#include "search/driver.h"
#include "search/multipv.h"
#include "search/ordering.h"
#include "search/quiesce.h"
#include "search/timecontrol.h"
#include "search/tt.h"

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

namespace {

// A table move is tried first: its score puts it above every other.
constexpr int TABLE_MOVE_SCORE = 2147483647;

// Makes the table's move (when it is among the legal moves) the one tried
// first; returns the index of the first move, as given or the table's.
int put_table_move_first(Move* list, int n, int first, const Move& table_move) {
  if (table_move.from == NO_SQUARE) return first;
  for (int i = 0; i < n; ++i)
    if (same_move(list[i], table_move)) {
      list[i].score = TABLE_MOVE_SCORE;
      return i;
    }
  return first;
}

// A null move: the other side moves; with the table on, the key follows.
void flip_side(Position& pos, bool with_table) {
  if (with_table) pos.key ^= en_passant_key(pos);
  pos.side = -pos.side;
  if (with_table) pos.key ^= en_passant_key(pos) ^ POLYGLOT_RANDOM[WHITE_TO_MOVE_RANDOM];
}

// The moves of a node that is not a leaf: null move, extensions, the move
// loop. With the table, its move is tried first and best_move receives the
// move that cut off or raised alpha last.
template <bool WITH_TABLE>
int search_moves(Position& pos, int alpha, int beta, int depth, PvLine& pv, bool root, const Move& table_move,
                 Move& best_move) {
  PvLine line;
  const int in_check = side_in_check(pos);

  if (info_countdown < 0 && !stop_search) {
    if (uci_currmove_info) print_currmove_info();
    if (console_progress_info) print_progress_line();
    info_countdown = REPORT_INTERVAL;
  }

  // Null move: let the opponent move twice; if that still fails high, so will a real move.
  if (depth >= NULL_MOVE_MIN_DEPTH && !last_move_noisy && !in_check && !pos.endgame) {
    ++null_move_calls;
    const uint64_t key = pos.key;
    flip_side(pos, WITH_TABLE);
    const int r = -alpha_beta(pos, -beta, 1 - beta, depth - NULL_MOVE_DEPTH_CUT, line);
    pos.side = -pos.side;
    if (WITH_TABLE) pos.key = key;
    if (r >= beta) {
      ++null_move_cutoffs;
      return beta;
    }
  }

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
  if (WITH_TABLE) first = put_table_move_first(list, n, first, table_move);
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
      if (WITH_TABLE) best_move = move;
      return beta;
    }
    if (r > alpha) {
      raise_alpha(alpha, r, pv, move, line);
      if (WITH_TABLE) best_move = move;
    }
  }
  return alpha;
}

// A node with the table: its entry may settle the node (never at the root,
// which must give a move and a line), or give the move to try first; what
// the search found is stored on the way out.
int search_with_table(Position& pos, int alpha, int beta, int depth, PvLine& pv, bool root) {
  Move table_move{};
  if (const TableEntry* entry = probe_table(pos.key)) {
    if (!root && entry->depth >= depth) {
      const int score = score_from_table(entry->score, ply);
      const bool fits = entry->bound == BOUND_EXACT || (entry->bound == BOUND_LOWER && score >= beta) ||
                        (entry->bound == BOUND_UPPER && score <= alpha);
      if (fits) return score >= beta ? beta : score <= alpha ? alpha : score;
    }
    // Copied: the searches below may overwrite the entry.
    table_move.from = entry->from;
    table_move.to = entry->to;
    table_move.kind = entry->kind;
  }
  Move best_move{};
  const int v = search_moves<true>(pos, alpha, beta, depth, pv, root, table_move, best_move);
  if (stop_search) return v;
  // A MultiPV pass that leaves moves out at the root finds no value of the
  // root position; its entry must keep line 1's result and move.
  if (root && excluded_root_move_count > 0) return v;
  const TableBound bound = v >= beta ? BOUND_LOWER : v > alpha ? BOUND_EXACT : BOUND_UPPER;
  store_table(pos.key, depth, score_to_table(v, ply), bound, best_move);
  return v;
}

}  // namespace

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

  // The root itself, not a null-move search below it (which also stands at ply 0).
  const bool root = ply == 0 && depth == iteration_depth;
  const bool with_table = table_in_use();
  // The draw rules, with the table: this test also covers the quiescence
  // search's first position, and below it every move is a capture or a
  // promotion, after which no earlier position can come again.
  if (with_table && !root && is_draw(pos)) return 0;

  if (depth <= 0 || ply > LAST_SEARCHING_PLY) {
    const int lazy = pos.material * pos.side;
    if (iteration_depth < FIRST_QUIESCENT_ITERATION || lazy >= LAZY_MARGIN) return lazy;
    PvLine line;
    return quiesce(pos, alpha, beta, line);
  }
  if (with_table) return search_with_table(pos, alpha, beta, depth, pv, root);
  Move unused;  // neither read nor written without the table
  return search_moves<false>(pos, alpha, beta, depth, pv, root, unused, unused);
}

}  // namespace zolt
