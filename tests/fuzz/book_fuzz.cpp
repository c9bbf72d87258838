// The opening-book reader over arbitrary book files. The first byte picks
// the choice (best or random) and whether the entries are sorted by key
// before the file is written (so lookups reach deep into well-formed files
// as well as into disordered ones); the rest is the file. Whatever the file
// holds, a lookup returns only entries of the key asked for, at most as many
// as asked; a book move is a legal move of the position with a weight above
// 0 and at most the sum; a problem comes with its text and is told once.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "eval/tables.h"
#include "frontend/book.h"
#include "frontend/config_log.h"
#include "frontend/fen.h"
#include "fuzz_support.h"
#include "position/key.h"
#include "position/movegen.h"
#include "position/state.h"

using namespace zolt;
using namespace zolt_fuzz;

namespace {

constexpr size_t ENTRY_SIZE = 16;
constexpr int LOOKUP_MAX = 8;  // a small limit, so long runs of one key are cut

// The start, and positions before castling and promotions of the seed books.
const char* const POSITIONS[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4",
    "r4rk1/pPpqbppp/2np1n2/4p3/2B1P1b1/5N2/1PPP1PPP/RNBQ1RK1 w - - 1 9",
    "r3kbnr/pppqpppp/2n5/3p1b2/3P1B2/P1N5/1PPQPPPP/R3KBNR b KQkq - 0 5",
    "2kr1bnr/pppqppp1/2n5/3p1b2/3P1B2/PPN5/2PQPPpP/R3KBNR b KQ - 1 10",
};

uint64_t key_at(const uint8_t* bytes) {
  uint64_t key = 0;
  for (int i = 0; i < 8; ++i) key = key << 8 | bytes[i];
  return key;
}

void write_book(const uint8_t* data, size_t size, bool sorted) {
  std::vector<uint8_t> bytes(data, data + size);
  if (sorted) {
    const size_t count = size / ENTRY_SIZE;
    std::vector<std::vector<uint8_t>> entries;
    for (size_t i = 0; i < count; ++i) entries.emplace_back(data + i * ENTRY_SIZE, data + (i + 1) * ENTRY_SIZE);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return key_at(a.data()) < key_at(b.data()); });
    for (size_t i = 0; i < count; ++i) std::copy(entries[i].begin(), entries[i].end(), bytes.begin() + i * ENTRY_SIZE);
  }
  FILE* file = fopen("book.bin", "wb");
  require(file != nullptr, "creating book.bin");
  require(fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size(), "writing book.bin");
  fclose(file);
}

void check_lookup(uint64_t key) {
  BookEntry entries[LOOKUP_MAX];
  const int n = book_entries(key, entries, LOOKUP_MAX);
  require(n >= -1 && n <= LOOKUP_MAX, "entry count in range");
  if (n < 0) require(book_problem_text()[0] != 0, "a problem has a text");
  for (int i = 0; i < n; ++i) require(entries[i].key == key, "only entries of the key");
}

bool is_legal(Position& pos, const Move& move) {
  Move legal[MAX_MOVES];
  const int n = generate_moves(pos, legal);
  for (int i = 0; i < n; ++i)
    if (legal[i].from == move.from && legal[i].to == move.to && legal[i].kind == move.kind) return true;
  return false;
}

void check_choice(const char* fen) {
  Position pos;
  reset_position(pos);
  require(load_fen(fen, pos) == 0, "a test position loads");
  undo_top = 0;
  BookChoice choice;
  const BookAnswer answer = ask_book(pos, choice);
  if (answer == BOOK_PROBLEM) {
    require(book_problem_text()[0] != 0, "a problem has a text");
    require(ask_book(pos, choice) != BOOK_PROBLEM, "a problem is told once");
  }
  if (answer != BOOK_MOVE) return;
  require(is_legal(pos, choice.move), "a book move is legal");
  require(choice.weight > 0 && choice.weight <= choice.total, "the weight is part of the sum");
  Move reply;
  if (book_best_move(pos, reply)) require(is_legal(pos, reply), "the heaviest book move is legal");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  prepare_process("book");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  InScratchDirectory scratch;
  const uint8_t mode = data[0];
  ++data;
  --size;
  if (size > MAX_INPUT) size = MAX_INPUT;
  write_book(data, size, mode & 2);
  own_book = 1;
  chess960 = 0;
  book_depth = 0;
  best_book_move = mode & 1;
  seed_book_random(mode + 1);
  set_book_file("book.bin");
  if (size >= ENTRY_SIZE) {
    check_lookup(key_at(data));
    check_lookup(key_at(data + (size / ENTRY_SIZE / 2) * ENTRY_SIZE));
    check_lookup(key_at(data) + 1);
  }
  set_book_file("book.bin");
  for (const char* fen : POSITIONS) check_choice(fen);
  return 0;
}
