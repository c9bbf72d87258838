// The transposition table: what the search learnt about a position (its
// score with a bound, the depth that score was searched to, the best move)
// kept under the position's key, so that a position met again, by
// transposition or in the next iteration, need not be searched afresh.
// Its size is the "Hash" setting in megabytes; with 0 there is no table and
// the search runs exactly as without one.
#pragma once

#include <cstdint>

#include "position/board.h"

namespace zolt {

constexpr int MAX_TABLE_MB = 4096;

enum TableBound : uint8_t { BOUND_NONE = 0, BOUND_UPPER = 1, BOUND_LOWER = 2, BOUND_EXACT = 3 };

// One entry: 16 bytes, four to a 64-byte bucket.
struct TableEntry {
  uint32_t check;  // the key's high half; the low half chose the bucket
  int32_t score;   // mate scores counted from this position
  uint8_t from;
  uint8_t to;
  int8_t kind;
  int8_t depth;
  uint8_t bound;
  uint8_t generation;  // the search that wrote it
  uint16_t unused;
};

// The table's size in megabytes now (0: no table). Set by resize_table.
extern int table_megabytes;
inline bool table_in_use() { return table_megabytes > 0; }

// Makes a table of `megabytes` (clamped to 0 .. MAX_TABLE_MB), empty. When
// the machine cannot give that much, the largest size that could be had is
// used (halving down to 1 MB, else none); returns the size made.
int resize_table(int megabytes);
// Empties the table.
void clear_table();
// Called when a search starts: entries of earlier searches become the first
// to be replaced.
void new_table_search();

// The entry stored for key, or nullptr.
const TableEntry* probe_table(uint64_t key);
// Stores what a search of depth found; `move` may be an empty move (from 0).
void store_table(uint64_t key, int depth, int score, TableBound bound, const Move& move);
// Entries of the current search per mille, counted over the first thousand.
int table_fill_per_mille();

// Mate scores in the table count from the position stored, in the search from the root.
int score_to_table(int score, int ply);
int score_from_table(int score, int ply);

}  // namespace zolt
