// Set-up shared by the evaluation, ordering and search tests.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "eval/tables.h"
#include "frontend/fen.h"
#include "position/board.h"
#include "position/makemove.h"
#include "position/movegen.h"
#include "position/state.h"
#include "search/alphabeta.h"
#include "search/ordering.h"
#include "search/search_state.h"

namespace zolt_test {

inline const char* const START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// The search polls standard input; in-process tests give it an empty pipe
// that stays open, so no poll sees a line or the end of input.
inline void quiet_standard_input() {
  static bool done = false;
  if (done) return;
  int fds[2];
  if (pipe(fds) == 0) {
    dup2(fds[0], 0);
    close(fds[0]);  // the write end stays open for the whole run
  }
  done = true;
}

// Fresh tables and a loaded position, the way a front end prepares one.
inline zolt::Position load_position(const std::string& fen) {
  static bool line_table_built = false;
  if (!line_table_built) {
    zolt::build_line_table();
    line_table_built = true;
  }
  zolt::set_default_piece_values();
  zolt::Position pos;
  zolt::reset_position(pos);
  zolt::undo_top = 0;
  zolt::ply = 0;
  EXPECT_EQ(zolt::load_fen(fen.c_str(), pos), 0) << fen;
  return pos;
}

// Makes the legal move with the given coordinate squares (and kind, when >= 0).
inline bool make_named_move(zolt::Position& pos, zolt::Square from, zolt::Square to, int kind = -1) {
  zolt::Move list[zolt::MAX_MOVES];
  const int n = zolt::generate_moves(pos, list);
  for (int i = 0; i < n; ++i)
    if (list[i].from == from && list[i].to == to && (kind < 0 || list[i].kind == kind)) {
      zolt::make_move(pos, list[i]);
      return true;
    }
  return false;
}

inline void clear_killers() {
  for (int i = 0; i < zolt::MAX_PLY; ++i) zolt::killer1[i] = zolt::killer2[i] = zolt::mate_killer[i] = zolt::Move{};
}

// A clean search state: no killers, no previous line, no stop, no deadline.
inline void reset_search_state() {
  quiet_standard_input();
  zolt::reset_search_state(zolt::SearchHistory::FORGET);
}

}  // namespace zolt_test
