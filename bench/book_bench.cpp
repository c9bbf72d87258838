// Book lookups on Debian's gnuchess book (Google Benchmark): the whole
// question of a front end (key, binary search in the file, the entries'
// moves matched to the legal moves, the choice) for positions in the book
// and out of it, and the lookup of a key alone.
// Usage: book_bench [book file] [Google Benchmark flags]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

#include "eval/tables.h"
#include "frontend/book.h"
#include "frontend/config_log.h"
#include "frontend/fen.h"
#include "position/key.h"
#include "position/movegen.h"
#include "position/state.h"

using namespace zolt;

namespace {

const char* const DEBIAN_BOOK = "/usr/share/games/gnuchess/book.bin";

// In the book: the start, 1. e4 c5, a Ruy Lopez; out of it: a middle game.
const char* const POSITIONS[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "rnbqkbnr/pp1ppppp/8/2p5/4P3/8/PPPP1PPP/RNBQKBNR w KQkq c6 0 2",
    "r1bqkbnr/1ppp1ppp/p1n5/1B2p3/4P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 0 4",
    "r1b2rk1/2q1bppp/p2p1n2/np2p3/3PP3/5N1P/PPBN1PP1/R1BQR1K1 w - - 0 12",
};

Position position_of(int index) {
  Position pos;
  reset_position(pos);
  load_fen(POSITIONS[index], pos);
  undo_top = 0;
  return pos;
}

void ask_book_for(benchmark::State& state) {
  Position pos = position_of(static_cast<int>(state.range(0)));
  BookChoice choice;
  for (auto _ : state) {
    if (ask_book(pos, choice) == BOOK_PROBLEM) {
      state.SkipWithError(book_problem_text());
      return;
    }
    benchmark::DoNotOptimize(choice);
  }
  state.counters["in_book"] = ask_book(pos, choice) == BOOK_MOVE;
}

void entries_of_key(benchmark::State& state) {
  const uint64_t key = position_key(position_of(static_cast<int>(state.range(0))));
  BookEntry entries[MAX_BOOK_ENTRIES];
  for (auto _ : state) {
    const int n = book_entries(key, entries, MAX_BOOK_ENTRIES);
    if (n < 0) {
      state.SkipWithError(book_problem_text());
      return;
    }
    benchmark::DoNotOptimize(entries[0]);
  }
}

BENCHMARK(ask_book_for)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(entries_of_key)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  const char* book = DEBIAN_BOOK;
  if (argc > 1 && argv[1][0] != '-') {
    book = argv[1];
    --argc;
    ++argv;
  }
  FILE* file = fopen(book, "rb");
  if (!file) {
    fprintf(stderr, "book_bench: cannot open %s (apt-get install gnuchess-book)\n", book);
    return 1;
  }
  fclose(file);
  build_line_table();
  set_book_file(book);
  own_book = 1;
  best_book_move = 0;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
