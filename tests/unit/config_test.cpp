#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "eval/tables.h"
#include "frontend/config_log.h"
#include "temp_directory.h"

using namespace zolt;

namespace {

// Runs read_config on a Zolt.cfg with the given text in a fresh directory,
// starting from the start-up defaults.
class ConfigTest : public zolt_test::InTempDirectory {
 protected:
  void SetUp() override {
    enter_temp_directory("config");
    set_default_piece_values();
    logging = 0;
    strcpy(log_file_name, "Zolt.log");
    nullmove_depth = 2;
    ponder = own_book = book_depth = hash_size = 0;
  }
  void TearDown() override {
    // Later tests in the same process expect the start-up values and main tables.
    set_default_piece_values();
    Position scratch{};
    reset_position(scratch);
    leave_temp_directory();
  }
  void read(const std::string& text) {
    std::ofstream(dir_ + "/Zolt.cfg") << text;
    testing::internal::CaptureStdout();
    EXPECT_EQ(read_config(), 0);
    output_ = testing::internal::GetCapturedStdout();
  }
  std::string output_;
};

}  // namespace

TEST_F(ConfigTest, MissingFileWarnsAndKeepsDefaults) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(read_config(), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "warning: couldn't open Zolt.cfg");
  EXPECT_EQ(piece_value[PAWN], 100);
  EXPECT_EQ(logging, 0);
}

TEST_F(ConfigTest, PieceValuesBlackNegatedMissingEqualsIsZero) {
  read("BlackQueen=950\nBlackKnight = 280\nWhitePawn\nWhiteRook=  510 # comment\nWhiteQueen=abc\n");
  EXPECT_EQ(output_, "loading: Zolt.cfg");
  EXPECT_EQ(piece_value[-QUEEN], -950);
  EXPECT_EQ(piece_value[-KNIGHT], -280);
  EXPECT_EQ(piece_value[PAWN], 0);
  EXPECT_EQ(piece_value[ROOK], 510);
  EXPECT_EQ(piece_value[QUEEN], 0);
  EXPECT_EQ(piece_value[KNIGHT], 300);
  EXPECT_EQ(piece_value[KING], KING_VALUE);
}

TEST_F(ConfigTest, CommentsAndIndentedLinesAreIgnored) {
  read("#WhitePawn=5\n WhitePawn=6\n\twhitepawn=7\nwhatever\n");
  EXPECT_EQ(piece_value[PAWN], 100);
}

TEST_F(ConfigTest, NullmoveTakesOnlyDepthsUpToNine) {
  read("Nullmove=12\n");
  EXPECT_EQ(nullmove_depth, 2);
  read("Nullmove\n");
  EXPECT_EQ(nullmove_depth, 2);
  read("Nullmove=0\n");
  EXPECT_EQ(nullmove_depth, 0);
  read("Nullmove=9\n");
  EXPECT_EQ(nullmove_depth, 9);
}

TEST_F(ConfigTest, LoggingFlagFromFirstCharacter) {
  const char* on[] = {"Logging=TRUE\n", "Logging=1\n", "Logging= true\n"};
  const char* off[] = {"Logging=yes\n", "Logging=false\n", "Logging\n", "Logging=\n"};
  for (const char* text : on) {
    logging = 0;
    read(text);
    EXPECT_EQ(logging, 1) << text;
  }
  for (const char* text : off) {
    logging = 1;
    read(text);
    EXPECT_EQ(logging, 0) << text;
  }
}

TEST_F(ConfigTest, LogfileNameEndsAtBlankOrLineEnd) {
  read("Logfile=my log.txt\n");
  EXPECT_STREQ(log_file_name, "my");
  read("Logfile = engine.log\r\n");
  EXPECT_STREQ(log_file_name, "engine.log");
  read("Logfile\n");
  EXPECT_STREQ(log_file_name, "engine.log");
  read("Logfile=   \n");
  EXPECT_STREQ(log_file_name, "");
  read("Logfile=" + std::string(300, 'x') + "\n");
  EXPECT_EQ(strlen(log_file_name), 241u);  // what fits in one 249-character line after the key
}

TEST_F(ConfigTest, PresenceKeysAndReportedNumbers) {
  read("OwnBook\nPonder=no\nBookDepth=7\nHashSize=64\n");
  EXPECT_EQ(own_book, 1);
  EXPECT_EQ(ponder, 1);
  EXPECT_EQ(book_depth, 7);
  EXPECT_EQ(hash_size, 64);
}

TEST_F(ConfigTest, OwnBookReadsItsValue) {
  struct Case {
    const char* line;
    int own_book;
  } cases[] = {{"OwnBook=false\n", 0}, {"OwnBook = OFF\r\n", 0}, {"OwnBook=0\n", 0}, {"OwnBook=no\n", 0},
               {"OwnBook=true\n", 1}, {"OwnBook=1\n", 1}, {"OwnBook=on\n", 1}, {"OwnBook=\n", 1},
               {"OwnBook\n", 1}, {"OwnBook=falsely\n", 1}};
  for (const Case& c : cases) {
    own_book = 1 - c.own_book;
    read(c.line);
    EXPECT_EQ(own_book, c.own_book) << c.line;
  }
}

TEST_F(ConfigTest, BookFileIsReadLikeLogfile) {
  const std::string saved = book_file_name;
  read("BookFile= /usr/share/games/gnuchess/book.bin rest\n");
  EXPECT_STREQ(book_file_name, "/usr/share/games/gnuchess/book.bin");
  read("BookFile\n");
  EXPECT_STREQ(book_file_name, "/usr/share/games/gnuchess/book.bin");
  read("BookFile=my book.bin\r\n");
  EXPECT_STREQ(book_file_name, "my");
  snprintf(book_file_name, sizeof book_file_name, "%s", saved.c_str());
}

TEST_F(ConfigTest, HugeNumbersAreClamped) {
  // A piece value stops at the king's, so sums over a board of such pieces
  // stay inside 32 bits; reported counts stop at the int range.
  read("WhitePawn=99999999999999999999\nBlackQueen=10000000\nHash=99999999999999999999\n");
  EXPECT_EQ(piece_value[PAWN], KING_VALUE);
  EXPECT_EQ(piece_value[-QUEEN], -KING_VALUE);
  EXPECT_EQ(hash_size, 2147483647);
  // Thirty-two such pawns on a board: the material sum stays exact.
  Position pos{};
  reset_position(pos);
  int64_t expected = 0;
  for (int rank = 3; rank <= 6; ++rank)
    for (int file = 0; file < 8; ++file) {
      Square s = make_square(file, rank);
      pos.board[s] = PAWN;
      expected += int64_t{KING_VALUE} + piece_square_table[PAWN][s];
    }
  prepare_evaluation(pos);
  EXPECT_EQ(pos.material, expected);
}

TEST_F(ConfigTest, ASecondEqualsSignAppendsItsDigits) {
  read("WhiteBishop=3=2\nBlackRook = 5 = 1 0\nNullmove=1=2\nBookDepth=4=\n");
  EXPECT_EQ(piece_value[BISHOP], 32);
  EXPECT_EQ(piece_value[-ROOK], -51);
  EXPECT_EQ(nullmove_depth, 2);  // 12 is above the bound
  EXPECT_EQ(book_depth, 4);
}
