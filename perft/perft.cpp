// Perft and divide: node counts of the legal move tree and their breakdown
// per root move. The walker is cumulative: it returns the number of legal
// moves at its node and adds every child's return value into perft_sum, so
// one walk counts several depths and a classical count is the difference of
// two walks. The last ply is counted with count_moves, without making the
// leaf moves.
#include "perft/perft.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "frontend/notation.h"
#include "position/key.h"
#include "position/makemove.h"
#include "position/movegen.h"
#include "search/clock.h"

namespace zolt {

uint64_t perft_sum, perft_upper_total, perft_lower_total;
uint64_t divide_upper[MAX_MOVES], divide_lower[MAX_MOVES];
int max_perft_depth = PERFT_DEPTH_LIMIT;

namespace {

constexpr int DEPTH_TEXT_LIMIT = 15;

constexpr int PERFT_COLUMN = 5;
constexpr int PERFT2_COLUMN = 6;
constexpr int DIVIDE_COLUMN = 7;

// The decimal number at a fixed column of the command line: blanks skipped,
// optional sign, digits up to the first non-digit, at most 15 characters
// looked at; 0 when there are no digits or the line is shorter.
int depth_at_column(const char* line, int column) {
  const int length = static_cast<int>(strlen(line));
  if (length <= column) return 0;
  const char* text = line + column;
  int i = 0;
  while (i < DEPTH_TEXT_LIMIT && text[i] == ' ') ++i;
  int sign = 1;
  if (i < DEPTH_TEXT_LIMIT && (text[i] == '-' || text[i] == '+')) sign = text[i++] == '-' ? -1 : 1;
  long long value = 0;
  while (i < DEPTH_TEXT_LIMIT && text[i] >= '0' && text[i] <= '9') {
    if (value <= 1000000000LL) value = value * 10 + (text[i] - '0');
    ++i;
  }
  if (value > 1000000000LL) value = 1000000000LL;
  return static_cast<int>(sign * value);
}

double seconds_between(int64_t t0, int64_t t1) { return static_cast<double>(t1 - t0) / 1000.0; }

uint64_t classical_count(Position& pos, int depth) {
  if (depth == 1) return static_cast<uint64_t>(count_moves(pos));
  Move list[MAX_MOVES];
  const int n = generate_moves(pos, list);
  uint64_t nodes = 0;
  for (int i = 0; i < n; ++i) {
    make_move(pos, list[i]);
    // The level above the leaves counts its children's moves directly.
    nodes += depth == 2 ? static_cast<uint64_t>(count_moves(pos)) : classical_count(pos, depth - 1);
    unmake_move(pos);
  }
  return nodes;
}

void print_move_squares(const Move& m) {
  print_square_chars(m.from);
  print_square_chars(m.to);
}

// One line per move with the count 1, for depth 1 of divide and divide2.
int print_moves_with_one(Position& pos) {
  Move list[MAX_MOVES];
  const int n = generate_moves(pos, list);
  for (int i = 0; i < n; ++i) {
    print_move_squares(list[i]);
    printf(" %d\n", 1);
  }
  return n;
}

// Cumulative counts per root move, 1 .. depth plies below each child.
int divide_pass(Position& pos, int depth, uint64_t* per_move, uint64_t& total) {
  Move list[MAX_MOVES];
  const int n = generate_moves(pos, list);
  if (n <= 0) return n;
  for (int i = 0; i < n; ++i) {
    make_move(pos, list[i]);
    const int r = perft(pos, depth - 1);
    const uint64_t c = perft_sum + static_cast<uint64_t>(r);
    per_move[i] = c;
    total += c;
    unmake_move(pos);
    perft_sum = 0;
  }
  return n;
}

}  // namespace

int perft(Position& pos, int depth) {
  if (depth == 0) return count_moves(pos);
  Move list[MAX_MOVES];
  const int n = generate_moves(pos, list);
  if (n <= 0) return n;
  for (int i = 0; i < n; ++i) {
    make_move(pos, list[i]);
    const int r = perft(pos, depth - 1);
    perft_sum += static_cast<uint64_t>(r);
    unmake_move(pos);
  }
  return n;
}

int perft_pair(Position& pos, int k) {
  const int r = perft(pos, k);
  perft_upper_total = static_cast<uint64_t>(r) + perft_sum;
  perft_sum = 0;
  perft(pos, k - 1);
  perft_lower_total = static_cast<uint64_t>(r) + perft_sum;
  perft_sum = perft_lower_total;
  return r;
}

int divide_one_level(Position& pos, int depth) {
  Move list[MAX_MOVES];
  const int n = generate_moves(pos, list);
  if (n <= 0) return n;
  for (int i = 0; i < n; ++i) {
    print_move_squares(list[i]);
    make_move(pos, list[i]);
    const int r = perft(pos, depth - 1);
    const uint64_t c = perft_sum + static_cast<uint64_t>(r);
    perft_upper_total += c;
    printf(" %" PRIu64 "\n", c);
    unmake_move(pos);
    perft_sum = 0;
  }
  return n;
}

int divide_upper_pass(Position& pos, int depth) { return divide_pass(pos, depth, divide_upper, perft_upper_total); }

int divide_lower_pass(Position& pos, int depth) {
  Move list[MAX_MOVES];
  const int n = divide_pass(pos, depth, divide_lower, perft_lower_total);
  if (n <= 0) return n;  // no root move: no table and no totals
  generate_moves(pos, list);
  printf("\n");
  for (int i = 0; i < n; ++i) {
    print_move_squares(list[i]);
    printf(" %" PRIu64 "\n", divide_upper[i] - divide_lower[i]);
  }
  printf("\nMoves: %u", static_cast<unsigned>(n));
  printf("\nNodes: %" PRIu64, perft_upper_total - perft_lower_total);
  return n;
}

uint64_t perft_count(Position& pos, int depth) {
  const KeyTrackingScope no_keys(0);
  if (depth <= 0) return 1;
  return classical_count(pos, depth);
}

// Depth 1 of "perft" and "perft2": the number of legal moves and its time.
static void print_perft_one(Position& pos) {
  Move list[MAX_MOVES];
  const int64_t t0 = clock_ms();
  const int r = generate_moves(pos, list);
  const int64_t t1 = clock_ms();
  printf("\nPerft (1): %lu nodes", static_cast<unsigned long>(r));
  printf(", Time: %3.3f s", seconds_between(t0, t1));
}

// Refuses a depth out of range and answers depth 1 itself; otherwise runs
// perft_pair for the depth and returns the seconds it took. Negative when the
// command has nothing more to print.
double timed_perft_pair(Position& pos, int depth, const char* command) {
  if (depth <= 0 || depth > max_perft_depth) {
    printf("\nwrong input for %s\n", command);
    return -1;
  }
  if (depth == 1) {
    print_perft_one(pos);
    return -1;
  }
  const int64_t t0 = clock_ms();
  perft_pair(pos, depth - 1);
  return seconds_between(t0, clock_ms());
}

void command_perft(Position& pos, const char* line) {
  const KeyTrackingScope no_keys(0);
  const int depth = depth_at_column(line, PERFT_COLUMN);
  perft_sum = perft_upper_total = perft_lower_total = 0;
  const double seconds = timed_perft_pair(pos, depth, "perft");
  if (seconds < 0) return;
  printf("\nPerft (%ld): %" PRIu64 " nodes", static_cast<long>(depth), perft_upper_total - perft_lower_total);
  printf(", Time: %3.3f s", seconds);
}

void command_perft2(Position& pos, const char* line) {
  const KeyTrackingScope no_keys(0);
  const int depth = depth_at_column(line, PERFT2_COLUMN);
  perft_sum = perft_upper_total = 0;
  const double seconds = timed_perft_pair(pos, depth, "perft2");
  if (seconds < 0) return;
  printf("\nPerft (2): %ld total nodes: %" PRIu64, static_cast<long>(depth), perft_upper_total);
  printf(", Time: %3.3f s", seconds);
}

void command_divide(Position& pos, const char* line) {
  const KeyTrackingScope no_keys(0);
  const int depth = depth_at_column(line, DIVIDE_COLUMN);
  memset(divide_upper, 0, sizeof divide_upper);
  memset(divide_lower, 0, sizeof divide_lower);
  perft_sum = perft_upper_total = perft_lower_total = 0;
  if (depth <= 0 || depth > max_perft_depth) {
    printf("\nwrong input for divide\n");
    return;
  }
  if (depth == 1) {
    printf("\n");
    const int n = print_moves_with_one(pos);
    printf("Moves: %d\n", n);
    return;
  }
  if (depth == 2) {
    const int n = divide_one_level(pos, 1);
    printf("Moves: %d\n", n);
    printf("Nodes: %" PRIu64 "\n", perft_upper_total);
    return;
  }
  divide_upper_pass(pos, depth - 1);
  perft_sum = 0;
  divide_lower_pass(pos, depth - 2);
}

void command_divide2(Position& pos, const char* line) {
  const KeyTrackingScope no_keys(0);
  const int depth = depth_at_column(line, DIVIDE_COLUMN);
  perft_sum = perft_upper_total = 0;
  printf("\n");
  if (depth <= 0 || depth > max_perft_depth) return;
  if (depth == 1) {
    const int n = print_moves_with_one(pos);
    printf("Nodes: %d\n", n);
    return;
  }
  const int n = divide_one_level(pos, depth - 1);
  printf("Nodes: %" PRIu64 "\n", static_cast<uint64_t>(n) + perft_upper_total);
}

}  // namespace zolt
