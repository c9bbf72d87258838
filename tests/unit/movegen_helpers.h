// Shared set-up for the move generation, make/unmake, FEN and perft tests.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "eval/tables.h"
#include "frontend/fen.h"
#include "position/board.h"
#include "position/makemove.h"
#include "position/movegen.h"
#include "position/occupancy.h"
#include "position/state.h"

namespace zolt_test {

// A position loaded the way the front ends load one: reset, then FEN.
inline zolt::Position position_from(const std::string& fen) {
  static bool line_table_built = false;
  if (!line_table_built) {
    zolt::build_line_table();
    line_table_built = true;
  }
  zolt::set_default_piece_values();
  zolt::Position pos;
  memset(&pos, 0, sizeof pos);
  zolt::reset_position(pos);
  zolt::undo_top = 0;
  zolt::ply = 0;
  EXPECT_EQ(zolt::load_fen(fen.c_str(), pos), 0) << fen << ": " << zolt::fen_error();
  return pos;
}

// Every field of the record except endgame, which each make recomputes and
// unmake leaves as the last make set it.
inline bool same_position(const zolt::Position& a, const zolt::Position& b) {
  zolt::Position c = b;
  c.endgame = a.endgame;
  return memcmp(a.board, c.board, sizeof a.board) == 0 && memcmp(a.slot_of, c.slot_of, sizeof a.slot_of) == 0 &&
         memcmp(a.slot_square, c.slot_square, sizeof a.slot_square) == 0 &&
         memcmp(a.piece_count, c.piece_count, sizeof a.piece_count) == 0 && a.white_king == c.white_king &&
         a.black_king == c.black_king && a.ep_square == c.ep_square && a.side == c.side &&
         zolt::pack_castling(a) == zolt::pack_castling(c) && a.hash_key == c.hash_key && a.key == c.key &&
         a.material == c.material && a.game_ply == c.game_ply && a.moves_made == c.moves_made &&
         a.fifty == c.fifty && a.occupied[0] == c.occupied[0] && a.occupied[1] == c.occupied[1] &&
         memcmp(a.pieces, c.pieces, sizeof a.pieces) == 0;
}

// The colour sets say what the board says.
inline bool occupancy_matches_board(const zolt::Position& pos) {
  zolt::Position rebuilt = pos;
  zolt::rebuild_occupancy(rebuilt);
  return rebuilt.occupied[0] == pos.occupied[0] && rebuilt.occupied[1] == pos.occupied[1] &&
         memcmp(rebuilt.pieces, pos.pieces, sizeof pos.pieces) == 0;
}

inline std::string square_text(zolt::Square s) {
  return std::string(1, static_cast<char>('a' + s % 10 - 1)) + static_cast<char>('8' - (s / 10 - 2));
}

// "e2e4" style text of a move, with the kind appended when it is not 0.
inline std::string move_text(const zolt::Move& m) {
  std::string text = square_text(m.from) + square_text(m.to);
  if (m.kind != 0) text += "/" + std::to_string(m.kind);
  return text;
}

inline std::vector<std::string> legal_moves(zolt::Position& pos) {
  zolt::Move list[zolt::MAX_MOVES];
  const int n = zolt::generate_moves(pos, list);
  std::vector<std::string> texts;
  for (int i = 0; i < n; ++i) texts.push_back(move_text(list[i]));
  return texts;
}

inline std::vector<std::string> read_lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line))
    if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace zolt_test
