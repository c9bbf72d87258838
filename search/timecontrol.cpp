#include "search/timecontrol.h"

#include <cstdio>
#include <cstring>

#include "frontend/config_log.h"
#include "search/alphabeta.h"
#include "search/clock.h"
#include "search/input.h"

namespace zolt {

int64_t time_limit_ms = 15000;
int64_t deadline = 0;
int32_t uci_wtime = 0, uci_btime = 0, uci_winc = 0, uci_binc = 0, uci_movetime = 0;
int uci_depth_limit = 0;

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

bool keyword_at(const char* line, int length, int i, const char* two) {
  return i + 1 < length && line[i] == two[0] && line[i + 1] == two[1];
}

// Every occurrence counts and the last one wins.
void scan_keyword(const char* line, int length, const char* two, int offset, int32_t& value) {
  for (int i = 0; i < KEYWORD_SCAN_LENGTH && i < length; ++i)
    if (keyword_at(line, length, i, two)) value = number_at(line, length, i + offset);
}

// N of a "depth N" word of the line, 0 when there is none.
int depth_field(const char* line, int length) {
  static const char WORD[] = " depth ";
  const int word_length = sizeof WORD - 1;
  for (int i = 0; i + word_length <= length; ++i)
    if (memcmp(line + i, WORD, word_length) == 0) return number_at(line, length, i + word_length);
  return 0;
}

int64_t budget_from_clock(int32_t time, int32_t inc) {
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
    time_limit_ms = side == WHITE ? budget_from_clock(uci_wtime, uci_winc) : budget_from_clock(uci_btime, uci_binc);
  if (uci_movetime > 0) time_limit_ms = uci_movetime;
  if (infinite) time_limit_ms = INFINITE_BUDGET;

  // A fixed depth is searched to the end; only a time field that gives a
  // budget of its own still limits it.
  const int depth = depth_field(line, length);
  uci_depth_limit = depth >= 1 && depth <= MAX_GO_DEPTH ? depth : 0;
  if (uci_depth_limit && time_limit_ms == 0) time_limit_ms = NO_TIME_LIMIT;

  deadline = clock_ms() + time_limit_ms;
  log_time_settings();
  return infinite;
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
  if (!input_available()) return 0;
  const char* text;
  const int length = input_peek_line(&text);
  if (length < 0) return input_at_end() ? stop_now() : 0;
  // Lines the front end must still execute are left in the buffer.
  if (starts_with(text, length, "pos") || word_is(text, length, "quit")) return stop_now();

  log_received(text, length);
  const bool stop = length == 0 || starts_with(text, length, "sto") || starts_with(text, length, "top") ||
                    starts_with(text, length, "exi");
  const bool ready_query = word_is(text, length, "isready");
  input_take_line();
  if (ready_query) {
    printf("readyok\n");
    fflush(stdout);
  }
  return stop ? stop_now() : 0;
}

}  // namespace zolt
