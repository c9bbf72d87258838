// The "testmovegen" command: runs every position of perftsuite.epd through
// perft at each depth its line gives and reports computed and expected
// counts, on the console and in log_epd.txt.
#include "perft/suite.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "eval/tables.h"
#include "frontend/fen.h"
#include "frontend/line_reader.h"
#include "perft/perft.h"
#include "position/key.h"
#include "search/clock.h"

namespace zolt {

namespace {

constexpr int SUITE_LINE_SIZE = 250;  // 249 characters and the terminator

struct SuiteTotals {
  int positions = 0;
  int matched = 0;
  int failed = 0;
};

// The decimal count at position at; 0 without digits. A count too large for
// 64 bits stays at the largest value, which no perft walk reaches, so it can
// never match by wrapping around to a small number.
uint64_t count_at(const char* line, int length, int at) {
  uint64_t count = 0;
  for (int j = at; j < length && line[j] >= '0' && line[j] <= '9'; ++j) {
    const uint64_t digit = static_cast<uint64_t>(line[j] - '0');
    count = count > (UINT64_MAX - digit) / 10 ? UINT64_MAX : count * 10 + digit;
  }
  return count;
}

}  // namespace

int parse_depth_entries(const char* line, uint64_t* expected) {
  for (int d = 1; d <= MAX_SUITE_DEPTH; ++d) expected[d] = static_cast<uint64_t>(MISSING_COUNT);
  const int length = static_cast<int>(strlen(line));
  int last_depth = 0;
  for (int i = 0; i + 2 < length; ++i) {
    if (line[i] != ';' || line[i + 1] != 'D' || line[i + 2] < '1' || line[i + 2] > '9') continue;
    const int depth = line[i + 2] - '0';
    expected[depth] = count_at(line, length, i + 4);
    last_depth = depth;
  }
  return last_depth;
}

namespace {

void record(bool ok, FILE* report, SuiteTotals& totals) {
  const char* verdict = ok ? ", OK" : ", FALSE";
  printf("%s", verdict);
  fprintf(report, "%s", verdict);
  if (ok)
    ++totals.matched;
  else
    ++totals.failed;
}

// Each result begins a new line: the line before it goes out whole before
// the count starts, so a long suite shows its progress line by line.
void end_line_before_count() {
  printf("\n");
  fflush(stdout);
}

void check_depth_one(Position& pos, const uint64_t* expected, FILE* report, SuiteTotals& totals) {
  end_line_before_count();
  perft_sum = perft_upper_total = perft_lower_total = 0;
  const int64_t t0 = clock_ms();
  const int r = perft(pos, 1);
  const int64_t t1 = clock_ms();
  const double seconds = static_cast<double>(t1 - t0) / 1000.0;
  const int expected_one = static_cast<int>(expected[1]);
  printf("Perft (1): %i nodes", r);
  fprintf(report, "\nPerft (1): %i nodes", r);
  fprintf(report, ", Time: %2.3f s", seconds);
  fprintf(report, ", [%i]", expected_one);
  printf(", Time: %2.3f s", seconds);
  printf(", [%i]", expected_one);
  record(static_cast<uint64_t>(static_cast<int64_t>(r)) == expected[1], report, totals);
}

void check_depth(Position& pos, int k, const uint64_t* expected, FILE* report, SuiteTotals& totals) {
  end_line_before_count();
  perft_sum = perft_upper_total = perft_lower_total = 0;
  const int64_t t0 = clock_ms();
  perft_pair(pos, k);
  const int64_t t1 = clock_ms();
  const double seconds = static_cast<double>(t1 - t0) / 1000.0;
  const uint64_t n = perft_upper_total - perft_lower_total;
  printf("Perft (%d): %" PRIu64 " nodes", k + 1, n);
  fprintf(report, "\nPerft (%d): %" PRIu64 " nodes", k + 1, n);
  printf(", Time %2.3f s", seconds);
  fprintf(report, ", Time %2.3f s", seconds);
  printf(", [%" PRIu64 "]", expected[k + 1]);
  fprintf(report, ", [%" PRIu64 "]", expected[k + 1]);
  record(n == expected[k + 1], report, totals);
}

void run_line(Position& pos, const char* line, FILE* report, SuiteTotals& totals) {
  uint64_t expected[MAX_SUITE_DEPTH + 1];
  ++totals.positions;
  const int last_depth = parse_depth_entries(line, expected);
  fprintf(report, "\n\nfen: %s", line);
  // Loaded into a copy, so a refused line leaves the console position playable.
  Position candidate = pos;
  reset_position(candidate);
  if (load_fen(line, candidate) != 0) {
    // A refused position runs nothing; each check it asked for counts as failed.
    printf("\ninvalid FEN: %s", fen_error());
    fprintf(report, "\ninvalid FEN: %s", fen_error());
    if (last_depth >= 2) totals.failed += last_depth;
    return;
  }
  pos = candidate;
  char fen[FEN_BUFFER_SIZE];
  write_fen(pos, fen);
  printf("\n\nfen: %s", fen);
  printf("%d", pos.fifty);
  for (int k = 1; k < last_depth; ++k) {
    if (k == 1) check_depth_one(pos, expected, report, totals);
    check_depth(pos, k, expected, report, totals);
  }
}

}  // namespace

void run_perft_suite(Position& pos) {
  const KeyTrackingScope no_keys(0);
  // Binary mode, here and for the suite: the bytes of the files are the same
  // on every platform (no "\r\n" written, no Ctrl-Z ending a file early).
  FILE* report = fopen("log_epd.txt", "wb");
  if (!report) {
    printf("\nerror writing to file");
    return;
  }
  FILE* suite = fopen("perftsuite.epd", "rb");
  if (!suite) {
    printf("\nerror opening file\n");
    if (fclose(report) != 0) printf("\nerror while closing the file\n");
    return;
  }
  SuiteTotals totals;
  char line[SUITE_LINE_SIZE];
  while (read_file_line(suite, line, SUITE_LINE_SIZE)) run_line(pos, line, report, totals);

  printf("\nlog written to log_epd.txt\n");
  printf("\nsummary:\n");
  printf("tested %d different position(s) and made %d perft call(s)\n", totals.positions, totals.matched);
  printf("%d position(s) failed\n", totals.failed);
  fprintf(report, "\n\ntested %d different position(s) and made %d perft call(s)\n", totals.positions,
          totals.matched);
  fprintf(report, "%d position(s) failed", totals.failed);
  if (fclose(suite) != 0) printf("\nerror while closing the file\n");
  if (fclose(report) != 0) printf("\nerror while closing the file\n");
}

}  // namespace zolt
