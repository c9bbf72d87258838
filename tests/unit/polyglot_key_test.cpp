// The position key against the Polyglot format's published keys, read from
// the format's own test file.
#include <gtest/gtest.h>

#include <cinttypes>
#include <fstream>
#include <string>

#include "movegen_helpers.h"
#include "frontend/notation.h"
#include "position/key.h"

namespace {

using namespace zolt;

const char* const KEYS_FILE = ZOLT_TEST_DATA "/polyglot_keys.txt";

bool play(Position& pos, const char* text) {
  const int index = match_move_text(text, pos);
  if (index < 0) return false;
  make_move(pos, shared_move_list[index]);
  return true;
}

}  // namespace

TEST(PolyglotKey, EveryPositionOfTheKeysFile) {
  std::ifstream in(KEYS_FILE);
  ASSERT_TRUE(in) << KEYS_FILE;
  int checked = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    const size_t separator = line.find(';');
    ASSERT_NE(separator, std::string::npos) << line;
    const std::string fen = line.substr(0, separator - 1);
    const uint64_t expected = std::stoull(line.substr(separator + 1), nullptr, 16);
    Position pos = zolt_test::position_from(fen);
    EXPECT_EQ(position_key(pos), expected) << fen;
    EXPECT_EQ(pos.key, expected) << fen << " (key set by the FEN reader)";
    ++checked;
  }
  EXPECT_GE(checked, 9);
}

// The same positions reached by playing the moves keep the same key.
TEST(PolyglotKey, KeptKeyAfterMovesEqualsTheLoadedKey) {
  Position pos = zolt_test::position_from("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  for (const char* text : {"e2e4", "d7d5", "e4e5", "f7f5", "e1e2", "e8f7"}) {
    ASSERT_TRUE(play(pos, text)) << text;
  }
  const Position loaded = zolt_test::position_from("rnbq1bnr/ppp1pkpp/8/3pPp2/8/8/PPPPKPPP/RNBQ1BNR w - - 0 4");
  EXPECT_EQ(pos.key, 0xfdd303c946bdd9ULL);
  EXPECT_EQ(loaded.key, 0xfdd303c946bdd9ULL);
}
