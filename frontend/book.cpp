// The opening book in the Polyglot .bin format: the file, the lookup by
// binary search over its entries, the mapping of an entry's move to a legal
// move and the choice among the playable entries.
#include "frontend/book.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "frontend/config_log.h"
#include "position/key.h"
#include "position/movegen.h"
#include "position/state.h"
#include "search/clock.h"
#include "search/platform.h"

namespace zolt {

int best_book_move = 0;

namespace {

constexpr int ENTRY_SIZE = 16;
// A lookup reads a few entries at scattered places: a small buffer keeps
// each read short, and still holds all the entries of one key in a row.
constexpr int READ_BUFFER_SIZE = 1024;
constexpr int PROBLEM_TEXT_SIZE = 400;

// The format's promotion numbers.
constexpr uint32_t PROMOTE_KNIGHT = 1, PROMOTE_BISHOP = 2, PROMOTE_ROOK = 3, PROMOTE_QUEEN = 4;

enum FileState { NOT_OPEN, OPEN, FAILED };

FileState file_state = NOT_OPEN;
FILE* book_file = nullptr;
int64_t entry_count = 0;
char read_buffer[READ_BUFFER_SIZE];
char problem_text[PROBLEM_TEXT_SIZE] = "";
bool problem_unreported = false;
uint64_t random_state = 0;

void close_book_file() {
  if (book_file) fclose(book_file);
  book_file = nullptr;
  entry_count = 0;
}

// Records a problem with the file; the book is off until the name is set again.
void fail(const char* reason) {
  snprintf(problem_text, sizeof problem_text, "book file %s %s", book_file_name, reason);
  close_book_file();
  file_state = FAILED;
  problem_unreported = true;
}

uint64_t big_endian(const unsigned char* bytes, int count) {
  uint64_t value = 0;
  for (int i = 0; i < count; ++i) value = value << 8 | bytes[i];
  return value;
}

// The next entry from the file's position; false at the end or on an error.
bool read_next_entry(BookEntry& entry) {
  unsigned char bytes[ENTRY_SIZE];
  if (fread(bytes, 1, ENTRY_SIZE, book_file) != ENTRY_SIZE) return false;
  entry.key = big_endian(bytes, 8);
  entry.move = static_cast<uint32_t>(big_endian(bytes + 8, 2));
  entry.weight = static_cast<uint32_t>(big_endian(bytes + 10, 2));
  entry.learn = static_cast<uint32_t>(big_endian(bytes + 12, 4));
  return true;
}

bool read_entry(int64_t index, BookEntry& entry) {
  return platform_seek(book_file, index * ENTRY_SIZE) == 0 && read_next_entry(entry);
}

bool open_book_file() {
  book_file = fopen(book_file_name, "rb");
  if (!book_file) {
    fail("cannot be opened");
    return false;
  }
  setvbuf(book_file, read_buffer, _IOFBF, READ_BUFFER_SIZE);
  const int64_t size = platform_file_size(book_file);
  if (size < 0) {
    fail("cannot be read");
    return false;
  }
  if (size == 0 || size % ENTRY_SIZE != 0) {
    fail(size == 0 ? "is empty" : "is no book: its size is not a multiple of 16 bytes");
    return false;
  }
  entry_count = size / ENTRY_SIZE;
  BookEntry first, last;
  if (!read_entry(0, first) || !read_entry(entry_count - 1, last)) {
    fail("cannot be read");
    return false;
  }
  if (first.key > last.key) {
    fail("is no book: its keys are out of order");
    return false;
  }
  file_state = OPEN;
  return true;
}

bool book_file_ready() {
  if (file_state == NOT_OPEN) open_book_file();
  return file_state == OPEN;
}

constexpr int64_t READ_FAILED = -1;
constexpr int64_t OUT_OF_ORDER = -2;

// Index of the first entry whose key is at least key (entry_count when
// there is none). Every key read must lie between the keys already read
// below and above it, else the file is not sorted.
int64_t first_entry_at_least(uint64_t key) {
  int64_t low = 0, high = entry_count;
  uint64_t low_key = 0, high_key = UINT64_MAX;  // keys of entries low - 1 and high, as far as known
  while (low < high) {
    const int64_t middle = low + (high - low) / 2;
    BookEntry entry;
    if (!read_entry(middle, entry)) return READ_FAILED;
    if (entry.key < low_key || entry.key > high_key) return OUT_OF_ORDER;
    if (entry.key < key) {
      low = middle + 1;
      low_key = entry.key;
    } else {
      high = middle;
      high_key = entry.key;
    }
  }
  return low;
}

int lookup_failed(int64_t why) {
  fail(why == OUT_OF_ORDER ? "is no book: its keys are out of order" : "cannot be read");
  return -1;
}

uint32_t square_code(Square s) {
  const uint32_t file = static_cast<uint32_t>((s - 21) % 10);
  const uint32_t rank = static_cast<uint32_t>(7 - (s - 21) / 10);
  return rank << 3 | file;
}

uint32_t promotion_code(int kind) {
  switch (kind) {
    case KIND_WHITE_PROMOTE_QUEEN: case KIND_BLACK_PROMOTE_QUEEN: return PROMOTE_QUEEN;
    case KIND_WHITE_PROMOTE_QUEEN + 1: case KIND_BLACK_PROMOTE_QUEEN + 1: return PROMOTE_ROOK;
    case KIND_WHITE_PROMOTE_QUEEN + 2: case KIND_BLACK_PROMOTE_QUEEN + 2: return PROMOTE_BISHOP;
    case KIND_WHITE_PROMOTE_KNIGHT: case KIND_BLACK_PROMOTE_KNIGHT: return PROMOTE_KNIGHT;
    default: return 0;
  }
}

// The format writes castling as the king taking its own rook.
Square castling_rook_square(int kind) {
  switch (kind) {
    case KIND_WHITE_CASTLE_KING: return H1;
    case KIND_WHITE_CASTLE_QUEEN: return A1;
    case KIND_BLACK_CASTLE_KING: return H8;
    case KIND_BLACK_CASTLE_QUEEN: return A8;
    default: return NO_SQUARE;
  }
}

uint64_t next_random() {
  if (random_state == 0) {
    int on_stack = 0;
    seed_book_random(static_cast<uint64_t>(time(nullptr)) << 32 ^ static_cast<uint64_t>(clock_ms()) ^
                     reinterpret_cast<uintptr_t>(&on_stack));
  }
  // splitmix64
  uint64_t z = (random_state += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

struct Candidate {
  Move move;
  int32_t weight;
};

// The entries of pos with a weight above 0 that name a legal move, in file
// order; -1 on a problem with the file.
int playable_entries(Position& pos, Candidate* candidates) {
  BookEntry entries[MAX_BOOK_ENTRIES];
  const int n = book_entries(position_key(pos), entries, MAX_BOOK_ENTRIES);
  if (n <= 0) return n;
  Move legal[MAX_MOVES];
  const int legal_count = generate_moves(pos, legal);
  int count = 0;
  for (int i = 0; i < n; ++i) {
    if (entries[i].weight == 0) continue;
    for (int j = 0; j < legal_count; ++j) {
      if (book_move_code(legal[j]) != entries[i].move) continue;
      candidates[count++] = Candidate{legal[j], static_cast<int32_t>(entries[i].weight)};
      break;
    }
  }
  return count;
}

int heaviest(const Candidate* candidates, int n) {
  int best = 0;
  for (int i = 1; i < n; ++i)
    if (candidates[i].weight > candidates[best].weight) best = i;
  return best;
}

int drawn_by_weight(const Candidate* candidates, int n, int32_t total) {
  int64_t point = static_cast<int64_t>(next_random() % static_cast<uint64_t>(total));
  for (int i = 0; i < n; ++i) {
    point -= candidates[i].weight;
    if (point < 0) return i;
  }
  return n - 1;
}

bool book_applies(const Position& pos) {
  return own_book && !chess960 && file_state != FAILED && (book_depth <= 0 || full_move_number(pos) <= book_depth);
}

}  // namespace

void set_book_file(const char* name) {
  snprintf(book_file_name, sizeof book_file_name, "%s", name);
  close_book_file();
  file_state = NOT_OPEN;
  problem_text[0] = 0;
  problem_unreported = false;
}

int book_entries(uint64_t key, BookEntry* entries, int max) {
  if (!book_file_ready()) return -1;
  const int64_t first = first_entry_at_least(key);
  if (first < 0) return lookup_failed(first);
  if (first == entry_count || platform_seek(book_file, first * ENTRY_SIZE) != 0) return 0;
  int count = 0;
  for (int64_t i = first; i < entry_count && count < max; ++i) {
    BookEntry entry;
    if (!read_next_entry(entry)) return lookup_failed(READ_FAILED);
    if (entry.key < key) return lookup_failed(OUT_OF_ORDER);
    if (entry.key != key) break;
    entries[count++] = entry;
  }
  return count;
}

uint32_t book_move_code(const Move& move) {
  const Square to = castling_rook_square(move.kind) != NO_SQUARE ? castling_rook_square(move.kind) : move.to;
  return promotion_code(move.kind) << 12 | square_code(move.from) << 6 | square_code(to);
}

Move book_entry_move(Position& pos, uint32_t entry_move) {
  Move legal[MAX_MOVES];
  const int n = generate_moves(pos, legal);
  for (int i = 0; i < n; ++i)
    if (book_move_code(legal[i]) == entry_move) return legal[i];
  return Move{};
}

BookAnswer ask_book(Position& pos, BookChoice& choice) {
  if (problem_unreported) {
    problem_unreported = false;
    return BOOK_PROBLEM;
  }
  if (!book_applies(pos)) return BOOK_NO_MOVE;
  Candidate candidates[MAX_BOOK_ENTRIES];
  const int n = playable_entries(pos, candidates);
  if (n < 0) {
    problem_unreported = false;
    return BOOK_PROBLEM;
  }
  if (n == 0) return BOOK_NO_MOVE;
  int32_t total = 0;
  for (int i = 0; i < n; ++i) total += candidates[i].weight;
  const int chosen = best_book_move ? heaviest(candidates, n) : drawn_by_weight(candidates, n, total);
  choice = BookChoice{candidates[chosen].move, candidates[chosen].weight, total};
  return BOOK_MOVE;
}

const char* book_problem_text() { return problem_text; }

bool book_best_move(Position& pos, Move& move) {
  if (!own_book || chess960 || file_state == FAILED) return false;
  Candidate candidates[MAX_BOOK_ENTRIES];
  const int n = playable_entries(pos, candidates);
  if (n <= 0) return false;
  move = candidates[heaviest(candidates, n)].move;
  return true;
}

void seed_book_random(uint64_t seed) { random_state = seed ? seed : 1; }

}  // namespace zolt
