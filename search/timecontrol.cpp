#include "search/timecontrol.h"

#include <cstdio>
#include <cstring>

#include "frontend/config_log.h"
#include "frontend/notation.h"
#include "search/alphabeta.h"
#include "search/clock.h"
#include "search/input.h"

namespace zolt {

int64_t time_limit_ms = 15000;
int64_t deadline = 0;
int64_t stop_margin_ms = STOP_MARGIN_MS;
int32_t uci_wtime = 0, uci_btime = 0, uci_winc = 0, uci_binc = 0, uci_movetime = 0;
int uci_depth_limit = 0;
uint64_t uci_node_limit = 0;
int uci_mate_limit = 0;
int pondering = 0;
int64_t ponder_budget_ms = 0;
int uci_infinite = 0;
Move search_root_moves[MAX_MOVES];
int search_root_move_count = 0;
int search_reads_input = 1;
int32_t move_overhead_ms = 0;

void start_deadline(int64_t budget_ms) {
  deadline = clock_ms() + budget_ms;
  stop_margin_ms = budget_ms >= 2 * STOP_MARGIN_MS ? STOP_MARGIN_MS : budget_ms / 2 + 1;
}

namespace {

// Budget of a "go" line before its fields are read; marks "not infinite".
constexpr int64_t UNSET_BUDGET = 6000;
// Keywords are looked for at these starting positions of the line.
constexpr int KEYWORD_SCAN_LENGTH = 64;
// Distance from a keyword's start to its number: "movetime ", "wtime ", "winc ".
constexpr int MOVETIME_NUMBER_OFFSET = 9;
constexpr int TIME_NUMBER_OFFSET = 6;
constexpr int INC_NUMBER_OFFSET = 5;
// Games are played in moves of this many, or this many with an increment.
constexpr int MOVES_PER_BUDGET = 30;
constexpr int MOVES_PER_BUDGET_WITH_INC = 40;
constexpr int MAX_GO_DEPTH = 63;
constexpr uint64_t MAX_GO_NODES = 1ULL << 62;
constexpr int MAX_GO_MATE = 31;  // deeper mates lie beyond the reported mate scores
constexpr int MOVE_TEXT_SIZE = 8;  // the longest move text is five characters

// The decimal number at position at of the line: digits up to the first
// other character; 0 when at lies outside the line or holds no digit.
int32_t number_at(const char* line, int length, int at) {
  int64_t value = 0;
  for (int i = at; i < length && line[i] >= '0' && line[i] <= '9'; ++i) {
    value = value * 10 + (line[i] - '0');
    if (value > INT32_MAX) return INT32_MAX;
  }
  return static_cast<int32_t>(value);
}

// The "mo" of the word searchmoves is no movetime.
bool inside_searchmoves(const char* line, int i) {
  static const char PREFIX[] = "search";
  const int n = sizeof PREFIX - 1;
  return i >= n && memcmp(line + i - n, PREFIX, n) == 0;
}

bool keyword_at(const char* line, int length, int i, const char* two) {
  return i + 1 < length && line[i] == two[0] && line[i + 1] == two[1] && !inside_searchmoves(line, i);
}

// Every occurrence counts and the last one wins.
void scan_keyword(const char* line, int length, const char* two, int offset, int32_t& value) {
  for (int i = 0; i < KEYWORD_SCAN_LENGTH && i < length; ++i)
    if (keyword_at(line, length, i, two)) value = number_at(line, length, i + offset);
}

bool is_separator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Index just past the word (standing after a separator, and followed by one
// or by the end of the line), or -1 when the line has no such word.
int after_word(const char* line, int length, const char* word) {
  const int n = static_cast<int>(strlen(word));
  for (int i = 1; i + n <= length; ++i) {
    if (!is_separator(line[i - 1]) || memcmp(line + i, word, n) != 0) continue;
    if (i + n == length || is_separator(line[i + n])) return i + n;
  }
  return -1;
}

// N of a "word N" field of the line, 0 when there is none.
uint64_t field_value(const char* line, int length, const char* word, uint64_t max) {
  int at = after_word(line, length, word);
  if (at < 0 || at >= length || !is_separator(line[at])) return 0;
  uint64_t value = 0;
  for (int i = at + 1; i < length && line[i] >= '0' && line[i] <= '9'; ++i) {
    value = value * 10 + (line[i] - '0');
    if (value > max) return max;
  }
  return value;
}

// Reads the limits of the line that are not clock fields. A search limited
// by depth, nodes or mate alone runs without a time limit; a ponder search
// runs without one until "ponderhit", and then with the budget of the line.
void read_search_limits(const char* line, int length) {
  const int depth = static_cast<int>(field_value(line, length, "depth", MAX_GO_DEPTH + 1));
  uci_depth_limit = depth >= 1 && depth <= MAX_GO_DEPTH ? depth : 0;
  uci_node_limit = field_value(line, length, "nodes", MAX_GO_NODES);
  uci_mate_limit = static_cast<int>(field_value(line, length, "mate", MAX_GO_MATE));
  if ((uci_depth_limit || uci_node_limit || uci_mate_limit) && time_limit_ms == 0) time_limit_ms = NO_TIME_LIMIT;
  pondering = after_word(line, length, "ponder") >= 0;
  ponder_budget_ms = time_limit_ms;
  if (pondering) time_limit_ms = NO_TIME_LIMIT;
}

bool is_go_keyword(const char* word, int length) {
  static const char* const KEYWORDS[] = {"wtime", "btime", "winc", "binc", "movestogo", "depth", "nodes",
                                         "mate", "movetime", "infinite", "ponder", "searchmoves"};
  for (const char* keyword : KEYWORDS)
    if (static_cast<int>(strlen(keyword)) == length && memcmp(word, keyword, length) == 0) return true;
  return false;
}

bool already_listed(const Move& move) {
  for (int i = 0; i < search_root_move_count; ++i)
    if (same_move(search_root_moves[i], move)) return true;
  return false;
}

// The legal moves named after "searchmoves", up to the next keyword; illegal
// ones are passed over.
void read_search_moves(const char* line, int length, const Position& pos) {
  search_root_move_count = 0;
  int at = after_word(line, length, "searchmoves");
  if (at < 0) return;
  while (at < length) {
    while (at < length && is_separator(line[at])) ++at;
    const int start = at;
    while (at < length && !is_separator(line[at])) ++at;
    const int word_length = at - start;
    if (word_length == 0) break;
    if (is_go_keyword(line + start, word_length)) break;
    if (word_length >= MOVE_TEXT_SIZE) continue;
    char text[MOVE_TEXT_SIZE] = {0};
    memcpy(text, line + start, word_length);
    const int index = match_move_text(text, pos);
    if (index >= 0 && !already_listed(shared_move_list[index]))
      search_root_moves[search_root_move_count++] = shared_move_list[index];
  }
}

// The share of the clock (time left, increment) one move may spend.
int64_t clock_share(int32_t time, int32_t inc) {
  int64_t budget;
  // Summed in 64 bits: a clock and an increment near the int range must not wrap.
  if (inc > 0)
    budget = time > 0 ? int64_t{time} / MOVES_PER_BUDGET_WITH_INC + inc : inc;
  else
    budget = time / MOVES_PER_BUDGET;
  // Never spend more than half of what is left on the clock.
  if (time > 0 && budget > time / 2) budget = time / 2;
  return budget;
}

// The share of the clock after the overhead is taken off it, and at least
// the smallest budget; a clock not given keeps its budget (the increment).
int64_t budget_from_clock(int32_t time, int32_t inc, int32_t overhead) {
  if (overhead <= 0 || time <= 0) return clock_share(time, inc);
  const int32_t left = time > overhead ? time - overhead : 0;
  const int64_t budget = left > 0 ? clock_share(left, inc) : 0;
  return budget > MIN_OVERHEAD_BUDGET_MS ? budget : MIN_OVERHEAD_BUDGET_MS;
}

int32_t low_word(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

void log_time_settings() {
  if (!log_file) return;
  fprintf(log_file, "{additional infos}\n");
  fprintf(log_file, "Timesettings: \n");
  fprintf(log_file, "calctime: %d\n", low_word(time_limit_ms));
  fprintf(log_file, "search_time 2 (search-start): %d\n", low_word(deadline - clock_ms()));
  fprintf(log_file, "white time: %d\n", uci_wtime);
  fprintf(log_file, "black time: %d\n", uci_btime);
  fprintf(log_file, "white inc time: %d\n", uci_winc);
  fprintf(log_file, "black inc time: %d\n", uci_binc);
  fflush(log_file);
}

}  // namespace

int set_uci_time_budget(const char* line, int side) {
  const int length = static_cast<int>(strlen(line));
  time_limit_ms = UNSET_BUDGET;
  uci_wtime = uci_btime = uci_winc = uci_binc = uci_movetime = 0;
  stop_search = 0;
  int infinite = 0;
  if (length > 4 && line[3] == 'i' && line[4] == 'n') {
    time_limit_ms = INFINITE_BUDGET;
    infinite = 1;
  }
  scan_keyword(line, length, "mo", MOVETIME_NUMBER_OFFSET, uci_movetime);
  scan_keyword(line, length, "wt", TIME_NUMBER_OFFSET, uci_wtime);
  scan_keyword(line, length, "wi", INC_NUMBER_OFFSET, uci_winc);
  scan_keyword(line, length, "bt", TIME_NUMBER_OFFSET, uci_btime);
  scan_keyword(line, length, "bi", INC_NUMBER_OFFSET, uci_binc);

  if (uci_movetime == 0 && time_limit_ms == UNSET_BUDGET)
    time_limit_ms = side == WHITE ? budget_from_clock(uci_wtime, uci_winc, move_overhead_ms)
                                  : budget_from_clock(uci_btime, uci_binc, move_overhead_ms);
  if (uci_movetime > 0) time_limit_ms = uci_movetime;
  if (infinite) time_limit_ms = INFINITE_BUDGET;

  read_search_limits(line, length);
  uci_infinite = infinite;
  start_deadline(time_limit_ms);
  log_time_settings();
  return infinite;
}

int read_go_line(const char* line, const Position& pos) {
  const int infinite = set_uci_time_budget(line, pos.side);
  read_search_moves(line, static_cast<int>(strlen(line)), pos);
  return infinite;
}

int keep_root_moves(Move* list, int n) {
  if (search_root_move_count == 0) return n;
  int kept = 0;
  for (int i = 0; i < n; ++i) {
    const Move& m = list[i];
    for (int k = 0; k < search_root_move_count; ++k) {
      if (same_move(search_root_moves[k], m)) {
        list[kept++] = m;
        break;
      }
    }
  }
  return kept > 0 ? kept : n;
}

namespace {

bool starts_with(const char* text, int length, const char* prefix) {
  const int n = static_cast<int>(strlen(prefix));
  return length >= n && memcmp(text, prefix, n) == 0;
}

// The command word of the line is exactly word.
bool word_is(const char* text, int length, const char* word) {
  const int n = static_cast<int>(strlen(word));
  return starts_with(text, length, word) && (length == n || text[n] == ' ' || text[n] == '\t');
}

void log_received(const char* text, int length) {
  if (!log_file) return;
  fprintf(log_file, ">>> RECEIVED FROM GUI >>> ");
  fprintf(log_file, "%.*s\n", length, text);
  fflush(log_file);
}

int stop_now() {
  deadline = 0;
  return 1;
}

}  // namespace

int poll_input() {
  // A search told to stop keeps polling while it unwinds; the lines behind the
  // one that stopped it are the front end's to read.
  if (stop_search) return 1;
  if (!search_reads_input || !input_available()) return 0;
  const char* text;
  const int length = input_peek_line(&text);
  if (length < 0) return input_at_end() ? stop_now() : 0;
  // Lines the front end must still execute are left in the buffer.
  if (starts_with(text, length, "pos") || word_is(text, length, "quit")) return stop_now();

  log_received(text, length);
  const bool stop = length == 0 || starts_with(text, length, "sto") || starts_with(text, length, "top") ||
                    starts_with(text, length, "exi");
  const bool ready_query = word_is(text, length, "isready");
  const bool ponder_hit = word_is(text, length, "ponderhit");
  input_take_line();
  if (ready_query) {
    printf("readyok\n");
    fflush(stdout);
  }
  // The opponent played the move pondered on: from now on this is the
  // ordinary search of its "go" line, its clock counted from here.
  if (ponder_hit && pondering) {
    pondering = 0;
    start_deadline(ponder_budget_ms);
  }
  return stop ? stop_now() : 0;
}

namespace {

// Reads the input as the poll does until a line stops the search or, while
// `until_ponderhit`, "ponderhit" ends the ponder phase.
void wait_reading_input(bool until_ponderhit) {
  while (!stop_search && (!until_ponderhit || pondering)) {
    input_wait_line();
    if (poll_input()) stop_search = 1;
  }
}

}  // namespace

void wait_while_pondering() {
  wait_reading_input(true);
  pondering = 0;
}

void wait_for_stop() { wait_reading_input(false); }

}  // namespace zolt
