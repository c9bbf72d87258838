// The opening book over book files that the tests write: the lookup, the
// move mapping, the choice, when the book applies, hostile files, a file of
// more than 4 GB, and Debian's gnuchess book where it is installed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "frontend/book.h"
#include "frontend/config_log.h"
#include "frontend/notation.h"
#include "movegen_helpers.h"
#include "position/key.h"
#include "position/state.h"
#include "temp_directory.h"

namespace {

using namespace zolt;

const char* const START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
const char* const GNUCHESS_BOOK = "/usr/share/games/gnuchess/book.bin";

// The format's move of from, to (square names) and promotion number.
uint32_t code(const char* from, const char* to, uint32_t promotion = 0) {
  auto square = [](const char* s) { return static_cast<uint32_t>((s[1] - '1') << 3 | (s[0] - 'a')); };
  return promotion << 12 | square(from) << 6 | square(to);
}

std::string entry_bytes(uint64_t key, uint32_t move, uint32_t weight) {
  std::string bytes;
  for (int shift = 56; shift >= 0; shift -= 8) bytes += static_cast<char>(key >> shift);
  bytes += static_cast<char>(move >> 8);
  bytes += static_cast<char>(move);
  bytes += static_cast<char>(weight >> 8);
  bytes += static_cast<char>(weight);
  bytes += std::string(4, '\0');
  return bytes;
}

std::string move_text(const Move& m) {
  char text[MOVE_TEXT_CHARS];
  coordinate_move_text(m, text);
  return text;
}

// Each test runs in a fresh directory with the book on, random choice, no
// depth limit and the book file book.bin there.
class BookTest : public zolt_test::InTempDirectory {
 protected:
  void SetUp() override {
    enter_temp_directory("book");
    own_book = 1;
    book_depth = 0;
    best_book_move = 0;
    chess960 = 0;
    set_book_file("book.bin");
    seed_book_random(12345);
  }
  void TearDown() override {
    own_book = 0;
    set_book_file("book.bin");
    leave_temp_directory();
  }
  void write_book(const std::string& bytes, const char* name = "book.bin") {
    FILE* file = fopen(name, "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    fclose(file);
  }
  // ask_book's answer for the FEN; the chosen move's text in *move.
  BookAnswer ask(const char* fen, std::string* move = nullptr, BookChoice* choice = nullptr) {
    Position pos = zolt_test::position_from(fen);
    BookChoice c{};
    const BookAnswer answer = ask_book(pos, c);
    if (move) *move = answer == BOOK_MOVE ? move_text(c.move) : "";
    if (choice) *choice = c;
    return answer;
  }
};

uint64_t key_of(const char* fen) { return position_key(zolt_test::position_from(fen)); }

}  // namespace

TEST_F(BookTest, LookupFindsEveryKeyAmongManyInFileOrder) {
  // 1000 keys with up to three entries each, the first and the last key included.
  std::string bytes;
  for (uint64_t k = 1; k <= 1000; ++k)
    for (uint32_t e = 0; e < k % 4; ++e) bytes += entry_bytes(k * 0x9E3779B97F4A7ULL, e, static_cast<uint32_t>(k));
  write_book(bytes);
  BookEntry entries[MAX_BOOK_ENTRIES];
  for (uint64_t k = 1; k <= 1000; ++k) {
    const int n = book_entries(k * 0x9E3779B97F4A7ULL, entries, MAX_BOOK_ENTRIES);
    ASSERT_EQ(n, static_cast<int>(k % 4)) << k;
    for (int e = 0; e < n; ++e) {
      EXPECT_EQ(entries[e].move, static_cast<uint32_t>(e));
      EXPECT_EQ(entries[e].weight, static_cast<uint32_t>(k));
    }
    EXPECT_EQ(book_entries(k * 0x9E3779B97F4A7ULL + 1, entries, MAX_BOOK_ENTRIES), 0);
  }
  EXPECT_EQ(book_entries(0, entries, MAX_BOOK_ENTRIES), 0);
  EXPECT_EQ(book_entries(UINT64_MAX, entries, MAX_BOOK_ENTRIES), 0);
}

TEST_F(BookTest, CastlingAndPromotionsMapToTheLegalMoves) {
  const char* castles = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
  Position pos = zolt_test::position_from(castles);
  EXPECT_EQ(book_entry_move(pos, code("e1", "h1")).kind, KIND_WHITE_CASTLE_KING);
  EXPECT_EQ(book_entry_move(pos, code("e1", "a1")).kind, KIND_WHITE_CASTLE_QUEEN);
  EXPECT_EQ(book_entry_move(pos, code("e1", "g1")).from, NO_SQUARE);  // not the format's castling
  pos = zolt_test::position_from("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1");
  EXPECT_EQ(book_entry_move(pos, code("e8", "h8")).kind, KIND_BLACK_CASTLE_KING);
  EXPECT_EQ(book_entry_move(pos, code("e8", "a8")).kind, KIND_BLACK_CASTLE_QUEEN);

  pos = zolt_test::position_from("1n5k/P7/8/8/8/8/p7/7K w - - 0 1");
  const std::map<uint32_t, std::string> white = {{1, "a7a8n"}, {2, "a7a8b"}, {3, "a7a8r"}, {4, "a7a8q"}};
  for (const auto& [promotion, text] : white) {
    EXPECT_EQ(move_text(book_entry_move(pos, code("a7", "a8", promotion))), text);
    EXPECT_EQ(move_text(book_entry_move(pos, code("a7", "b8", promotion))), "a7b8" + text.substr(4));
  }
  EXPECT_EQ(book_entry_move(pos, code("a7", "a8")).from, NO_SQUARE);  // a promotion names its piece
  EXPECT_EQ(book_entry_move(pos, code("a7", "a8", 5)).from, NO_SQUARE);
  pos = zolt_test::position_from("1n5k/P7/8/8/8/8/p7/7K b - - 0 1");
  EXPECT_EQ(move_text(book_entry_move(pos, code("a2", "a1", 1))), "a2a1n");
  EXPECT_EQ(move_text(book_entry_move(pos, code("a2", "a1", 4))), "a2a1q");

  // Every legal move's code names it again, in the positions of the key file's kind.
  for (const char* fen : {START_FEN, castles, "r3k2r/8/8/3pP3/8/8/8/R3K2R w KQkq d6 0 1"}) {
    pos = zolt_test::position_from(fen);
    Move list[MAX_MOVES];
    const int n = generate_moves(pos, list);
    for (int i = 0; i < n; ++i) {
      const Move back = book_entry_move(pos, book_move_code(list[i]));
      EXPECT_EQ(back.from, list[i].from);
      EXPECT_EQ(back.to, list[i].to);
      EXPECT_EQ(back.kind, list[i].kind);
    }
  }
}

TEST_F(BookTest, BestBookMoveTakesTheHeaviestAndTheFirstOfEquals) {
  const uint64_t start = key_of(START_FEN);
  write_book(entry_bytes(start, code("d2", "d4"), 30) + entry_bytes(start, code("e2", "e4"), 50) +
             entry_bytes(start, code("c2", "c4"), 50) + entry_bytes(start, code("g1", "f3"), 10));
  best_book_move = 1;
  std::string move;
  BookChoice choice;
  ASSERT_EQ(ask(START_FEN, &move, &choice), BOOK_MOVE);
  EXPECT_EQ(move, "e2e4");
  EXPECT_EQ(choice.weight, 50);
  EXPECT_EQ(choice.total, 140);
  Position pos = zolt_test::position_from(START_FEN);
  Move best;
  ASSERT_TRUE(book_best_move(pos, best));
  EXPECT_EQ(move_text(best), "e2e4");
}

TEST_F(BookTest, RandomChoiceFollowsTheWeightsOfThePlayableEntriesOnly) {
  const uint64_t start = key_of(START_FEN);
  // Weight 0, a move that is not legal and a castling without the right are never played.
  write_book(entry_bytes(start, code("e2", "e4"), 100) + entry_bytes(start, code("d2", "d4"), 300) +
             entry_bytes(start, code("g1", "f3"), 0) + entry_bytes(start, code("e2", "e5"), 500) +
             entry_bytes(start, code("e1", "h1"), 500) + entry_bytes(start, code("c2", "c4"), 600));
  std::map<std::string, int> seen;
  const int draws = 4000;
  for (int i = 0; i < draws; ++i) {
    std::string move;
    BookChoice choice;
    ASSERT_EQ(ask(START_FEN, &move, &choice), BOOK_MOVE);
    EXPECT_EQ(choice.total, 1000);
    ++seen[move];
  }
  ASSERT_EQ(seen.size(), 3u);
  // Shares of 10%, 30% and 60%, within a margin far beyond the spread of 4000 draws.
  EXPECT_NEAR(seen["e2e4"], draws * 0.1, draws * 0.04);
  EXPECT_NEAR(seen["d2d4"], draws * 0.3, draws * 0.04);
  EXPECT_NEAR(seen["c2c4"], draws * 0.6, draws * 0.04);
}

TEST_F(BookTest, DepthChess960AndTheSwitchDecideWhetherTheBookIsAsked) {
  const char* after_three = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 3";
  const char* black_at_three = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 3";
  const uint64_t start = key_of(START_FEN);
  ASSERT_EQ(key_of(after_three), start);  // the move number is not part of the key
  write_book(entry_bytes(start, code("e2", "e4"), 1) + entry_bytes(key_of(black_at_three), code("e7", "e5"), 1));
  book_depth = 3;
  EXPECT_EQ(ask(after_three), BOOK_MOVE);
  EXPECT_EQ(ask(black_at_three), BOOK_MOVE);
  book_depth = 2;
  EXPECT_EQ(ask(after_three), BOOK_NO_MOVE);
  EXPECT_EQ(ask(black_at_three), BOOK_NO_MOVE);
  EXPECT_EQ(ask(START_FEN), BOOK_MOVE);
  book_depth = 0;
  chess960 = 1;
  EXPECT_EQ(ask(START_FEN), BOOK_NO_MOVE);
  chess960 = 0;
  own_book = 0;
  EXPECT_EQ(ask(START_FEN), BOOK_NO_MOVE);
  own_book = 1;
  // A position that is not in the book ends nothing: the next one is asked again.
  EXPECT_EQ(ask("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"), BOOK_NO_MOVE);
  EXPECT_EQ(ask(START_FEN), BOOK_MOVE);
}

TEST_F(BookTest, HostileFilesAreReportedOnceAndSwitchTheBookOff) {
  const uint64_t start = key_of(START_FEN);
  const std::string good = entry_bytes(start, code("e2", "e4"), 1);
  struct Case {
    const char* what;
    std::string bytes;
    const char* message;
  } cases[] = {
      {"empty", "", "book file book.bin is empty"},
      {"one byte", "x", "book file book.bin is no book: its size is not a multiple of 16 bytes"},
      {"truncated entry", good + good.substr(0, 15), "book file book.bin is no book: its size is not a multiple of 16 bytes"},
      {"first key above the last", entry_bytes(start + 1, 0, 1) + good, "book file book.bin is no book: its keys are out of order"},
      // First and last key in order, the middle out of it, where the binary
      // search looks and where the entries of the key are read.
      {"unsorted where the search looks", entry_bytes(1, 0, 1) + entry_bytes(UINT64_MAX - 1, 0, 1) +
                                              entry_bytes(2, 0, 1) + good + entry_bytes(5, 0, 1) +
                                              entry_bytes(UINT64_MAX, 0, 1),
       "book file book.bin is no book: its keys are out of order"},
      {"unsorted after the key's entries", entry_bytes(1, 0, 1) + entry_bytes(2, 0, 1) + entry_bytes(3, 0, 1) +
                                               good + entry_bytes(0x10, 0, 1) + entry_bytes(UINT64_MAX, 0, 1),
       "book file book.bin is no book: its keys are out of order"},
  };
  for (const Case& c : cases) {
    set_book_file("book.bin");
    write_book(c.bytes);
    EXPECT_EQ(ask(START_FEN), BOOK_PROBLEM) << c.what;
    EXPECT_STREQ(book_problem_text(), c.message) << c.what;
    EXPECT_EQ(ask(START_FEN), BOOK_NO_MOVE) << c.what;  // told once; the book is off
    // Setting the name again reads the file again.
    write_book(good);
    EXPECT_EQ(ask(START_FEN), BOOK_NO_MOVE) << c.what;
    set_book_file("book.bin");
    EXPECT_EQ(ask(START_FEN), BOOK_MOVE) << c.what;
  }
  set_book_file("missing.bin");
  EXPECT_EQ(ask(START_FEN), BOOK_PROBLEM);
  EXPECT_STREQ(book_problem_text(), "book file missing.bin cannot be opened");
  EXPECT_EQ(ask(START_FEN), BOOK_NO_MOVE);
}

TEST_F(BookTest, EntriesThatNameNoLegalMoveAreSkipped) {
  // Another position's moves under this key (a collision), a move off the
  // board's pieces and a promotion of a piece the format does not have.
  const uint64_t start = key_of(START_FEN);
  write_book(entry_bytes(start, code("e7", "e5"), 9) + entry_bytes(start, code("e3", "e4"), 9) +
             entry_bytes(start, code("h2", "h4", 7), 9) + entry_bytes(start, 0xFFFF, 9));
  EXPECT_EQ(ask(START_FEN), BOOK_NO_MOVE);
  Position pos = zolt_test::position_from(START_FEN);
  Move move;
  EXPECT_FALSE(book_best_move(pos, move));
}

// Offsets past 4 GB: a sparse file of zero entries (key 0, sorted) with the
// start position's entries at its end.
TEST_F(BookTest, ReadsEntriesBeyondFourGigabytes) {
  const int64_t zero_entries = (int64_t{5} << 30) / 16;
  FILE* file = fopen("book.bin", "wb");
  ASSERT_NE(file, nullptr);
  fclose(file);
  ASSERT_EQ(truncate("book.bin", zero_entries * 16), 0);
  file = fopen("book.bin", "ab");
  ASSERT_NE(file, nullptr);
  const std::string tail = entry_bytes(key_of(START_FEN), code("b1", "c3"), 7) + entry_bytes(UINT64_MAX, 0, 1);
  ASSERT_EQ(fwrite(tail.data(), 1, tail.size(), file), tail.size());
  fclose(file);
  std::string move;
  ASSERT_EQ(ask(START_FEN, &move), BOOK_MOVE) << book_problem_text();
  EXPECT_EQ(move, "b1c3");
}

TEST_F(BookTest, DebianGnuchessBook) {
  if (access(GNUCHESS_BOOK, R_OK) != 0) GTEST_SKIP() << GNUCHESS_BOOK << " not installed (gnuchess-book)";
  set_book_file(GNUCHESS_BOOK);
  BookEntry entries[MAX_BOOK_ENTRIES];
  EXPECT_GE(book_entries(key_of(START_FEN), entries, MAX_BOOK_ENTRIES), 5);
  // Book lines followed with random choice stay legal and in the book for a few moves.
  for (int game = 0; game < 20; ++game) {
    Position pos = zolt_test::position_from(START_FEN);
    int book_moves = 0;
    for (int ply = 0; ply < 16; ++ply) {
      BookChoice choice;
      const BookAnswer answer = ask_book(pos, choice);
      ASSERT_NE(answer, BOOK_PROBLEM) << book_problem_text();
      if (answer == BOOK_NO_MOVE) break;
      ASSERT_GT(choice.weight, 0);
      ASSERT_LE(choice.weight, choice.total);
      ASSERT_GE(match_move_text(move_text(choice.move).c_str(), pos), 0) << move_text(choice.move);
      make_move(pos, choice.move);
      ++book_moves;
    }
    EXPECT_GE(book_moves, 4) << "game " << game;
    undo_top = 0;
  }
}
