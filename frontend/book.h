// The opening book: a Polyglot .bin file of 16-byte entries sorted by the
// position key (position/key.h), looked up by binary search in the file
// itself, and the choice of a legal move among the entries of a position.
// The settings that Zolt.cfg gives (own_book, book_depth, book_file_name)
// live with the configuration reader; the front ends ask the book through
// ask_book only.
#pragma once

#include <cstdint>

#include "position/board.h"

namespace zolt {

// BestBookMove: 1 plays the entry of the highest weight (the first of
// equals), 0 (the default) chooses at random in proportion to the weights.
extern int best_book_move;

// The most entries of one key that are looked at; a position has fewer legal moves.
constexpr int MAX_BOOK_ENTRIES = MAX_MOVES;

struct BookEntry {
  uint64_t key;
  uint32_t move;    // the format's 16 bits: to file 0-2, to rank 3-5, from file 6-8, from rank 9-11, promotion 12-14
  uint32_t weight;  // 16 bits
  uint32_t learn;
};

// The book's answer for a position.
struct BookChoice {
  Move move;       // a legal move of the position
  int32_t weight;  // the chosen entry's weight
  int32_t total;   // the sum of the weights of the position's playable entries
};

enum BookAnswer {
  BOOK_NO_MOVE,  // search: the book is off or does not apply, or has no playable entry here
  BOOK_MOVE,     // play choice.move
  BOOK_PROBLEM,  // search, after telling the user book_problem_text() (given once per problem)
};

// The one question of the front ends before a search. The book applies when
// own_book is on, Chess960 is off and the position's full-move number is at
// most book_depth (0: no limit). The file is opened when first needed and
// stays open; a file that cannot be opened or read, or is no book (empty, a
// size that is not a multiple of 16, keys that a lookup finds out of order)
// is a problem, reported once, after which the book is off until the file
// name is set again.
BookAnswer ask_book(Position& pos, BookChoice& choice);
const char* book_problem_text();

// The playable entry of the highest weight for pos (the reply announced as
// the ponder move): false when there is none or the book does not apply.
bool book_best_move(Position& pos, Move& move);

// Sets book_file_name and forgets the open file and any problem, so the next
// question opens the named file afresh.
void set_book_file(const char* name);

// The entries of key in the book file, in file order (at most max); -1 on a
// problem (book_problem_text() says which). Opens the file when needed.
int book_entries(uint64_t key, BookEntry* entries, int max);

// The legal move of pos that an entry's move names (castling as the king
// taking its own rook, promotions by piece), or a move whose from is
// NO_SQUARE when none does.
Move book_entry_move(Position& pos, uint32_t entry_move);

// The format's 16-bit form of a legal move of pos.
uint32_t book_move_code(const Move& move);

// Seeds the random choice (it is seeded from the clock otherwise).
void seed_book_random(uint64_t seed);

}  // namespace zolt
