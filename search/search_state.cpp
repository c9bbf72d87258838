#include "search/search_state.h"

#include "position/state.h"
#include "search/alphabeta.h"
#include "search/driver.h"
#include "search/ordering.h"
#include "search/quiesce.h"

namespace zolt {

void reset_search_state(SearchHistory history) {
  search_nodes = 0;
  qs_nodes = 0;
  first_move_cutoffs = other_cutoffs = null_move_calls = null_move_cutoffs = 0;
  root_best_move = Move{};
  saved_best_move = Move{};
  for (int i = 0; i < MAX_PLY; ++i) killer1[i] = killer2[i] = mate_killer[i] = Move{};
  if (history == SearchHistory::KEEP) return;
  root_pv = PvLine{};
  last_root_score = 0;
  last_move_noisy = 0;
  stop_search = 0;
  ply = 0;
}

}  // namespace zolt
