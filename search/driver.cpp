#include "search/driver.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "eval/tables.h"
#include "frontend/config_log.h"
#include "frontend/notation.h"
#include "frontend/play.h"
#include "position/attacks.h"
#include "position/key.h"
#include "position/makemove.h"
#include "position/movegen.h"
#include "position/state.h"
#include "search/clock.h"
#include "search/multipv.h"
#include "search/ordering.h"
#include "search/quiesce.h"
#include "search/search_state.h"
#include "search/timecontrol.h"
#include "search/tt.h"

namespace zolt {

int console_progress_info = 1;
int uci_currmove_info = 0;
int uci_reports = 1;
Move saved_best_move;
int uci_last_score = 0;
int64_t search_start = 0;

namespace {

constexpr int UCI_WINDOW = 20;
constexpr int CONSOLE_WINDOW = 50;
constexpr int UCI_FIRST_POLL = 256;
constexpr int REPLY_FIRST_POLL = 16384;
constexpr int ANALYSIS_FIRST_POLL = 4096;
constexpr int UCI_FIRST_REPORT = 16384;
// Report lines wrap before every ninth move of a line, indented under the line column.
constexpr int MOVES_PER_REPORT_ROW = 9;
constexpr int REPLY_INDENT = 29;
constexpr int ANALYSIS_INDENT = 30;

int32_t low_word(uint64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

bool is_mate_score(int v) { return v > MATE_BOUND || v < -MATE_BOUND; }
int mate_moves(int v) { return (MATE - abs(v)) / 2 + 1; }

int64_t elapsed_ms() { return clock_ms() - search_start; }

// Nodes per second; 0 while no millisecond has passed.
double nodes_per_second(int64_t t) { return t > 0 ? search_nodes * 1000.0 / t : 0.0; }

bool is_promotion(int kind) { return kind > KIND_EN_PASSANT; }

// The upper-case letter for white promotions, lower-case for black.
char promotion_piece_char(int kind) {
  switch (kind) {
    case 7: return 'Q';
    case 17: return 'q';
    case 8: return 'R';
    case 18: return 'r';
    case 9: return 'B';
    case 19: return 'b';
    case 10: return 'N';
    case 20: return 'n';
    default: return 0;
  }
}

void search_root(Position& pos, int alpha, int beta, int depth, int& v) {
  ply = 0;
  iteration_depth = depth;
  v = alpha_beta(pos, alpha, beta, depth, root_pv);
}

// What a search with the table needs for its run: keys kept by make and
// unmake, and its own generation of entries. Without the table no key is
// kept while the search runs (the tree is unmade in full, so the position's
// key is the same afterwards).
class TableSearchScope {
 public:
  TableSearchScope() : keys_(table_in_use()) {
    if (table_in_use()) new_table_search();
  }

 private:
  KeyTrackingScope keys_;
};

// A move played on the board for good keeps the key, whatever the search did.
void make_game_move(Position& pos, const Move& move) {
  const KeyTrackingScope keys(1);
  make_move(pos, move);
}

// ---- UCI reports ----

void print_uci_score(int v) {
  if (!is_mate_score(v))
    printf("score cp %d ", v);
  else if (v > 0)
    printf("score mate %d ", mate_moves(v));
  else
    printf("score mate -%d ", mate_moves(v));
}

void log_uci_score(int v) {
  if (!is_mate_score(v))
    fprintf(log_file, "score cp %d", v);
  else if (v > 0)
    fprintf(log_file, "score mate %d ", mate_moves(v));
  else
    fprintf(log_file, "score mate -%d ", mate_moves(v));
}

// line_number is the MultiPV line's number, 0 for a search of one line
// (which prints no "multipv" field).
void print_info_line(int reported_depth, int v, int64_t t, const PvLine& line, int line_number) {
  if (!uci_reports) return;
  printf("info depth %d ", reported_depth);
  printf("seldepth %d ", reported_seldepth + reported_depth);
  printf("nodes %" PRIu64 " ", search_nodes);
  printf("nps %.0f ", nodes_per_second(t));
  if (line_number > 0) printf("multipv %d ", line_number);
  print_uci_score(v);
  if (table_in_use()) printf("hashfull %d ", table_fill_per_mille());
  printf("time %d pv ", static_cast<int>(t));
  for (int i = 0; i < line.count; ++i) {
    const Move& m = line.moves[i];
    print_square(m.from);
    print_square(m.to);
    if (is_promotion(m.kind)) print_promotion_letter(m.kind);
    printf(" ");
  }
  printf("\n");
  fflush(stdout);
}

// The log copy repeats the nps and time of the line it copies.
void log_info_line(int reported_depth, int v, int alpha, int beta, int64_t t, const PvLine& line, int line_number) {
  if (!log_file) return;
  fprintf(log_file, "<<< SENT TO GUI <<< ");
  fprintf(log_file, "depth %d ", reported_depth);
  fprintf(log_file, "nps %.0f ", nodes_per_second(t));
  fprintf(log_file, "infos alpha beta: ");
  fprintf(log_file, "\nalpha: %d", alpha);
  fprintf(log_file, "\nbeta: %d\n", beta);
  if (line_number > 0) fprintf(log_file, "multipv %d ", line_number);
  log_uci_score(v);
  fprintf(log_file, " time %d", static_cast<int>(t));
  fprintf(log_file, " pv ");
  for (int i = 0; i < line.count; ++i) {
    const Move& m = line.moves[i];
    log_square(m.from);
    log_square(m.to);
    if (is_promotion(m.kind)) log_promotion_letter(m.kind);
    fprintf(log_file, " ");
  }
  fprintf(log_file, "\n");
  fflush(log_file);
}

void log_fail_high(int beta, int v, int depth) {
  if (!log_file) return;
  fprintf(log_file, "\nfail high: beta: %d, value: %d, depth: %d\n", beta, v, depth);
  fflush(log_file);
}

void log_fail_low(int alpha, int v, int depth) {
  if (!log_file) return;
  fprintf(log_file, "\nfail low: alpha: %d, value: %d, depth: %d\n", alpha, v, depth);
  fflush(log_file);
}

void log_statistics_and_bestmove(bool searched, const Move& reply) {
  if (!log_file) return;
  fprintf(log_file, "\n{additional infos} ");
  fprintf(log_file, "search nodes %d\n", low_word(search_nodes));
  fprintf(log_file, "QS-nodes: %d\n", low_word(qs_nodes));
  fprintf(log_file, "null move calls: %d\n", null_move_calls);
  fprintf(log_file, "null move cut-off: %d\n", null_move_cutoffs);
  fprintf(log_file, "first moves beta nodes: %d\n", first_move_cutoffs);
  fprintf(log_file, "other beta-cutoffs: %d\n", other_cutoffs);
  if (searched) {
    const int cutoffs = first_move_cutoffs + other_cutoffs;
    fprintf(log_file, "cut-off ratio %f\n", cutoffs > 0 ? static_cast<double>(first_move_cutoffs) / cutoffs : 0.0);
  }
  fprintf(log_file, "<<< SENT TO GUI <<< ");
  fprintf(log_file, "bestmove ");
  log_square(root_best_move.from);
  log_square(root_best_move.to);
  if (is_promotion(root_best_move.kind)) log_promotion_letter(root_best_move.kind);
  if (reply.from != 0) {
    fprintf(log_file, " ponder ");
    log_square(reply.from);
    log_square(reply.to);
    if (is_promotion(reply.kind)) log_promotion_letter(reply.kind);
  }
  fprintf(log_file, "\n");
  fflush(log_file);
}

// The info lines of a completed depth and their log copies: the one line of
// root_pv, or with MultiPV the lines found, numbered from 1.
void report_uci_depth(int reported_depth, int v, int alpha, int beta, bool several_lines) {
  const int64_t t = elapsed_ms();
  if (!several_lines) {
    print_info_line(reported_depth, v, t, root_pv, 0);
    log_info_line(reported_depth, v, alpha, beta, t, root_pv, 0);
    return;
  }
  for (int i = 0; i < root_line_count; ++i) {
    print_info_line(reported_depth, root_lines[i].score, t, root_lines[i].pv, i + 1);
    log_info_line(reported_depth, root_lines[i].score, alpha, beta, t, root_lines[i].pv, i + 1);
  }
}

// The root move list entry with the squares and kind of move; the last entry
// when there is none (so only a legal move is ever played).
const Move& legal_root_move(const Move& move, const Move* root_moves, int n) {
  for (int i = 0; i < n; ++i)
    if (same_move(root_moves[i], move))
      return root_moves[i];
  return root_moves[n - 1];
}

// The line of the last completed UCI iteration: the one an interrupted
// iteration cannot spoil.
PvLine completed_pv;

bool mate_limit_reached(int v) { return uci_mate_limit > 0 && v > MATE_BOUND && mate_moves(v) <= uci_mate_limit; }

// The reply the last completed line expects to best, looked up among the
// legal replies; a move whose from is 0 when the line holds none.
Move expected_reply(const Position& pos, const Move& best) {
  if (completed_pv.count == 0 || !same_move(completed_pv.moves[0], best)) return Move{};
  // A line cut short by the table: the table's move after the best move, if legal.
  if (completed_pv.count < 2 && !table_in_use()) return Move{};
  Position after = pos;
  make_move(after, best);
  Move replies[MAX_MOVES];
  const int n = generate_moves(after, replies);
  Move wanted{};
  if (completed_pv.count >= 2) {
    wanted = completed_pv.moves[1];
  } else if (const TableEntry* entry = probe_table(after.key)) {
    wanted.from = entry->from;
    wanted.to = entry->to;
    wanted.kind = entry->kind;
  }
  unmake_move(after);
  if (wanted.from == NO_SQUARE) return Move{};
  for (int i = 0; i < n; ++i)
    if (same_move(replies[i], wanted)) return replies[i];
  return Move{};
}

// ---- console reports ----

void print_report_line(const Position& pos, int indent, bool mark_black_to_move) {
  Position copy = pos;
  if (mark_black_to_move && copy.side == BLACK) printf("... ");
  const int count = root_pv.count;
  for (int i = 0; i < count; ++i) {
    if (i > 0 && i % MOVES_PER_REPORT_ROW == 0) printf("\n%*s", indent, "");
    print_report_notation_move(copy, root_pv.moves[i]);
  }
  for (int i = 0; i < count; ++i) unmake_move(copy);
}

void print_console_report(const Position& pos, int depth, int v, bool analysis) {
  printf("%3d ", depth);
  printf("%11d", low_word(search_nodes));
  printf(" ");
  if (is_mate_score(v)) {
    printf("   ");
    printf(v > 0 ? "+" : "-");
    printf("M%d", mate_moves(v));
  } else {
    printf("%6.2f", v / 100.0);
  }
  const double seconds = elapsed_ms() / 1000.0;
  if (analysis)
    printf("%7.2f ", seconds);
  else
    printf("%6.2f ", seconds);
  if (analysis && depth == 1) root_pv.count = 1;
  print_report_line(pos, analysis ? ANALYSIS_INDENT : REPLY_INDENT, analysis);
  printf("\n");
  fflush(stdout);
}

// The console iterations: a fail-high and then, separately, a fail-low below
// the window's alpha are each searched again with the full window.
int console_iteration(Position& pos, int alpha, int beta, int depth) {
  int v;
  search_root(pos, alpha, beta, depth, v);
  last_root_score = v;
  if (v >= beta) {
    search_root(pos, -INFINITE_SCORE, INFINITE_SCORE, depth, v);
    last_root_score = v;
  }
  if (v <= alpha) {
    search_root(pos, -INFINITE_SCORE, INFINITE_SCORE, depth, v);
    last_root_score = v;
  }
  return v;
}

}  // namespace

void print_currmove_info() {
  // Before the first root move of a MultiPV pass no root move is under way.
  if (current_move_number == 0) return;
  printf("info depth %d ", iteration_depth);
  printf("nodes %" PRIu64 " ", search_nodes);
  print_uci_score(uci_last_score);
  printf("nps %.0f ", nodes_per_second(elapsed_ms()));
  printf("currmove ");
  print_square(current_root_move.from);
  print_square(current_root_move.to);
  if (const char c = promotion_piece_char(current_root_move.kind)) printf("%c", c);
  printf(" currmovenumber %d", current_move_number);
  printf("\n");
  fflush(stdout);
}

void print_progress_line() {
  printf("%3d ", iteration_depth);
  printf("%11d", low_word(search_nodes));
  printf(" ");
  printf("%6.2f", last_improving_score / 100.0);
  printf("%7.2f ", elapsed_ms() / 1000.0);
  print_square(root_pv.moves[0].from);
  print_square(root_pv.moves[0].to);
  if (const char c = promotion_piece_char(root_best_move.kind)) printf("%c", c);
  if (iteration_depth > 3) {
    printf("          \b\b\b\b\b\b\b\b\b\b");
    printf(" [%d/%d]", current_move_number, root_move_count);
  }
  printf("\r");
  fflush(stdout);
}

void run_uci_search(Position& pos, int infinite) {
  search_poll_countdown = UCI_FIRST_POLL;
  info_countdown = UCI_FIRST_REPORT;
  prepare_evaluation(pos);
  search_nodes = 0;
  qs_nodes = 0;
  Move root_moves[MAX_MOVES];
  const int n = keep_root_moves(root_moves, generate_moves(pos, root_moves));
  search_start = clock_ms();
  reset_search_state(SearchHistory::KEEP);
  completed_pv.count = 0;

  const int depth_limit = uci_depth_limit ? uci_depth_limit + 1 : MAX_ITERATION_DEPTH;
  const int wanted_lines = multipv < n ? multipv : n;
  int alpha = -INFINITE_SCORE, beta = INFINITE_SCORE;
  bool searched = false;
  const TableSearchScope table_scope;
  for (int d = 1; n > 0 && d < depth_limit && !stop_search;) {
    searched = true;
    saved_best_move = root_best_move;
    if (wanted_lines > 1) current_move_number = 0;
    int v;
    search_root(pos, alpha, beta, d, v);
    if (v >= beta || v <= alpha) {
      if (v >= beta)
        log_fail_high(beta, v, d);
      else
        log_fail_low(alpha, v, d);
      search_root(pos, -INFINITE_SCORE, INFINITE_SCORE, d, v);
    }
    ++d;
    uci_last_score = v;
    if (stop_search) break;  // an interrupted iteration is not reported
    if (wanted_lines > 1) {
      search_root_lines(pos, d - 1, v, wanted_lines);
      v = uci_last_score = root_lines[0].score;
      // A depth cut short in a later line still answers with its best finished line.
      saved_best_move = root_best_move;
    }
    alpha = v - UCI_WINDOW;
    beta = v + UCI_WINDOW;
    report_uci_depth(d, v, alpha, beta, wanted_lines > 1);
    completed_pv = root_pv;
    if (mate_limit_reached(v)) break;
  }
  // A ponder search that has run out of iterations keeps its answer until
  // the interface says "ponderhit" or "stop"; an infinite search answers
  // only after "stop" (or "quit", or the end of input).
  const bool interrupted = stop_search;
  wait_while_pondering();
  if (uci_infinite) wait_for_stop();

  if (interrupted) {
    root_best_move = saved_best_move;
    if (root_best_move.from == 0 && n > 0) root_best_move = root_moves[n - 1];
  }
  Move reply{};
  if (n > 0) {
    root_best_move = legal_root_move(root_best_move, root_moves, n);
    reply = expected_reply(pos, root_best_move);
    if (!infinite) make_game_move(pos, root_best_move);
  }
  if (!uci_reports) return;
  printf("bestmove ");
  print_square(root_best_move.from);
  print_square(root_best_move.to);
  if (is_promotion(root_best_move.kind)) print_promotion_letter(root_best_move.kind);
  if (reply.from != 0) {
    printf(" ponder ");
    print_square(reply.from);
    print_square(reply.to);
    if (is_promotion(reply.kind)) print_promotion_letter(reply.kind);
  }
  printf("\n");
  fflush(stdout);
  log_statistics_and_bestmove(searched, reply);
}

Move run_console_reply(Position& pos) {
  search_poll_countdown = REPLY_FIRST_POLL;
  prepare_evaluation(pos);
  Move root_moves[MAX_MOVES];
  const int n = generate_moves(pos, root_moves);
  search_start = clock_ms();
  search_nodes = 0;
  root_pv.count = 1;
  if (n == 0) return Move{};
  const TableSearchScope table_scope;

  int alpha = -INFINITE_SCORE, beta = INFINITE_SCORE;
  for (int d = 1; d < depth_bound && !stop_search; ++d) {
    const int v = console_iteration(pos, alpha, beta, d);
    alpha = v - CONSOLE_WINDOW;
    beta = v + CONSOLE_WINDOW;
    // An interrupted iteration is not reported; its line still decides the move played.
    if (stop_search) break;
    print_console_report(pos, d, v, false);
    saved_best_move = root_pv.moves[0];
  }
  const Move& reply = stop_search ? root_pv.moves[0] : root_best_move;
  return legal_root_move(reply, root_moves, n);
}

void run_console_analysis(Position& pos) {
  search_poll_countdown = ANALYSIS_FIRST_POLL;
  prepare_evaluation(pos);
  Move root_moves[MAX_MOVES];
  const int n = generate_moves(pos, root_moves);
  search_start = clock_ms();
  search_nodes = 0;
  if (n == 0) return;
  const TableSearchScope table_scope;

  int alpha = -INFINITE_SCORE, beta = INFINITE_SCORE;
  bool line_shown = true;
  for (int d = 1; d < MAX_ITERATION_DEPTH && !stop_search && line_shown; ++d) {
    saved_best_move = root_best_move;
    const int v = console_iteration(pos, alpha, beta, d);
    alpha = v - CONSOLE_WINDOW;
    beta = v + CONSOLE_WINDOW;
    if (stop_search) break;  // an interrupted iteration is not reported
    print_console_report(pos, d, v, true);
    line_shown = root_pv.count > 0;
  }
}

}  // namespace zolt
