#include "search/multipv.h"

#include "position/state.h"

namespace zolt {

int multipv = DEFAULT_MULTIPV;
Move excluded_root_moves[MAX_MULTIPV];
int excluded_root_move_count = 0;
RootLine root_lines[MAX_MULTIPV];
int root_line_count = 0;

namespace {

bool is_excluded(const Move& m) {
  for (int i = 0; i < excluded_root_move_count; ++i)
    if (same_move(excluded_root_moves[i], m)) return true;
  return false;
}

// Insertion sort, highest score first; equal scores keep their order.
void order_lines_best_first() {
  for (int i = 1; i < root_line_count; ++i) {
    const RootLine line = root_lines[i];
    int j = i;
    for (; j > 0 && root_lines[j - 1].score < line.score; --j) root_lines[j] = root_lines[j - 1];
    root_lines[j] = line;
  }
}

}  // namespace

int drop_excluded_root_moves(Move* list, int n) {
  if (excluded_root_move_count == 0) return n;
  int kept = 0;
  for (int i = 0; i < n; ++i)
    if (!is_excluded(list[i])) list[kept++] = list[i];
  return kept;
}

int search_root_lines(Position& pos, int depth, int v, int wanted) {
  root_lines[0].score = v;
  root_lines[0].pv = root_pv;
  root_line_count = 1;
  // A pass that ends without a line (no move left) ends the depth.
  while (root_line_count < wanted && root_lines[root_line_count - 1].pv.count > 0) {
    excluded_root_moves[excluded_root_move_count++] = root_lines[root_line_count - 1].pv.moves[0];
    ply = 0;
    iteration_depth = depth;
    // No root move of this pass is under way until the pass reaches its first one.
    current_move_number = 0;
    const int score = alpha_beta(pos, -INFINITE_SCORE, INFINITE_SCORE, depth, root_pv);
    if (stop_search || root_pv.count == 0) break;
    root_lines[root_line_count].score = score;
    root_lines[root_line_count].pv = root_pv;
    ++root_line_count;
  }
  excluded_root_move_count = 0;
  order_lines_best_first();
  root_pv = root_lines[0].pv;
  note_root_best(root_pv.moves[0]);
  return root_line_count;
}

}  // namespace zolt
