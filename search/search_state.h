// What a search resets at its start, in one place for every caller: the UCI
// driver, zolt bench, the benchmarks and the tests.
#pragma once

namespace zolt {

// What a search leaves behind for the next one.
enum class SearchHistory {
  // Kept: the last best line (move ordering reads it, entry by entry, at
  // every ply), the last root score (it turns the mate killers on) and the
  // noisiness of the last move made. The UCI "go" searches keep them.
  KEEP,
  // Forgotten as well, so that a search depends on its position and its
  // limits alone: zolt bench, the benchmarks and the tests.
  FORGET,
};

// Clears the node counts and the statistics, the best root move and its
// fallback, and the killers; with FORGET also the history above, the stop
// flag and the ply counter.
void reset_search_state(SearchHistory history);

}  // namespace zolt
