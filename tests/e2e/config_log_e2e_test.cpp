// The configuration file and the log, through the real binary.
#include <gtest/gtest.h>

#include <string>

#include "harness.h"

using namespace zolt_test;

namespace {

const std::string PROMPT = "\nzolt: ";

// Runs zolt with the given Zolt.cfg and input in a fresh directory; returns the directory.
std::string run_with_config(const std::string& config, const std::string& input, RunResult* result = nullptr) {
  std::string dir = make_temp_dir();
  write_file(dir, "Zolt.cfg", config);
  RunResult r = run_zolt(input, 20000, dir);
  if (result) *result = r;
  return dir;
}

std::string header_after_date(const std::string& log) {
  size_t newline = log.find('\n');
  return newline == std::string::npos ? "" : log.substr(newline + 1);
}

std::string header_with(const std::string& nullmove, const std::string& own_book, const std::string& values) {
  return "zolt\nquarnwell\nversion: 0.360"
         "\nvalues read from file: Zolt.cfg"
         "\nnullmove set to depth: " +
         nullmove + "\nhashsize: 0 [not yet implemented]\nown book: " + own_book +
         " [not yet implemented]\nuse book to depth: 0 [not yet implemented]\npiece values: " + values;
}

const std::string DEFAULT_VALUES =
    "\nwhite pawn: 100\nwhite knight: 300\nwhite bishop: 325\nwhite rook: 500\nwhite queen: 900"
    "\nblack queen: 900\nblack rook: 500\nblack bishop: 325\nblack knight: 300\nblack pawn: 100";

}  // namespace

TEST(ConfigLog, LogHeaderCommandWordsAndBoardCopy) {
  RunResult r;
  std::string dir = run_with_config("Logging=1\nBlackQueen=950\n", "disp\n  fen extra\n\nquit\n", &r);
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_NE(r.output.find("loading: Zolt.cfg\n" + PROMPT), std::string::npos) << r.output;
  ASSERT_TRUE(file_exists(dir, "Zolt.log"));
  std::string log = read_file(dir, "Zolt.log");
  // "date: " and the 26-character time text (ending in a newline).
  ASSERT_GE(log.size(), 32u);
  EXPECT_EQ(log.substr(0, 6), "date: ");
  EXPECT_EQ(log[30], '\n');
  std::string values =
      "\nwhite pawn: 100\nwhite knight: 300\nwhite bishop: 325\nwhite rook: 500\nwhite queen: 900"
      "\nblack queen: 950\nblack rook: 500\nblack bishop: 325\nblack knight: 300\nblack pawn: 100";
  std::string board =
      "\n\n8   {r}{n}{b}{q}{k}{b}{n}{r}"
      "\n\n7   {p}{p}{p}{p}{p}{p}{p}{p}"
      "\n\n6    .  .  .  .  .  .  .  . "
      "\n\n5    .  .  .  .  .  .  .  . "
      "\n\n4    .  .  .  .  .  .  .  . "
      "\n\n3    .  .  .  .  .  .  .  . "
      "\n\n2   [P][P][P][P][P][P][P][P]"
      "\n\n1   [R][N][B][Q][K][B][N][R]"
      "\n\n     a  b  c  d  e  f  g  h \n\n";
  EXPECT_EQ(header_after_date(log),
            header_with("2", "0", values) + "\nzolt: disp" + board + "\nzolt: fen\nzolt: \nzolt: quit");
}

TEST(ConfigLog, ValuesCommandShowsConfiguredValues) {
  RunResult r;
  run_with_config("BlackQueen=950\nWhitePawn\n#WhiteRook=1\n WhiteKnight=1\nBlackKnight=280\n", "values\n", &r);
  EXPECT_NE(r.output.find("\nPiece values:\nwhite pawn: 0\nwhite knight: 300\nwhite bishop: 325\nwhite rook: 500"
                          "\nwhite queen: 900\nblack queen: 950\nblack rook: 500\nblack bishop: 325"
                          "\nblack knight: 280\nblack pawn: 100" +
                          PROMPT),
            std::string::npos)
      << r.output;
}

TEST(ConfigLog, NullmoveAndOwnBookInTheHeader) {
  std::string dir = run_with_config("Logging=TRUE\nNullmove=12\nOwnBook=false\n", "");
  EXPECT_EQ(header_after_date(read_file(dir, "Zolt.log")), header_with("2", "0", DEFAULT_VALUES));
  dir = run_with_config("Logging=TRUE\nNullmove=0\n", "");
  EXPECT_EQ(header_after_date(read_file(dir, "Zolt.log")), header_with("0", "0", DEFAULT_VALUES));
}

// With the book on, the header names its file and the book lines drop their
// "not yet implemented".
TEST(ConfigLog, OwnBookOnNamesTheBookFile) {
  std::string dir = run_with_config("Logging=TRUE\nOwnBook=true\nBookFile=openings.bin\nBookDepth=12\n", "");
  const std::string header = header_after_date(read_file(dir, "Zolt.log"));
  EXPECT_NE(header.find("\nhashsize: 0 [not yet implemented]\nown book: 1 (book file: openings.bin)"
                        "\nuse book to depth: 12\npiece values: "),
            std::string::npos)
      << header;
  dir = run_with_config("Logging=TRUE\nOwnBook\n", "");
  EXPECT_NE(read_file(dir, "Zolt.log").find("\nown book: 1 (book file: book.bin)\nuse book to depth: 0\n"),
            std::string::npos);
}

TEST(ConfigLog, LoggingSwitch) {
  struct Case {
    const char* config;
    bool log_written;
  } cases[] = {{"Logging=TRUE\n", true}, {"Logging=1\n", true}, {"Logging=yes\n", false},
               {"Logging=false\n", false}, {" Logging=1\n", false}, {"#Logging=1\n", false}};
  for (const Case& c : cases) {
    std::string dir = run_with_config(c.config, "quit\n");
    EXPECT_EQ(file_exists(dir, "Zolt.log"), c.log_written) << c.config;
  }
}

TEST(ConfigLog, LogfileNameStopsAtBlank) {
  std::string dir = run_with_config("Logging=1\nLogfile=my log.txt\n", "quit\n");
  EXPECT_TRUE(file_exists(dir, "my"));
  EXPECT_FALSE(file_exists(dir, "Zolt.log"));
  EXPECT_EQ(read_file(dir, "my").substr(0, 6), "date: ");
}

TEST(ConfigLog, EmptyLogfileNameEndsTheProgramAtStart) {
  RunResult r;
  run_with_config("Logging=1\nLogfile=   \n", "disp\n", &r);
  EXPECT_EQ(r.exit_status, 0);
  const std::string warning = "warning: couldn't open Zolt.cfg";
  EXPECT_EQ(r.output.find(warning), std::string::npos);
  EXPECT_GE(r.output.size(), 25u);
  EXPECT_EQ(r.output.substr(r.output.size() - 25), "\n\nerror creating log file");
  EXPECT_EQ(r.output.find(PROMPT), std::string::npos);
}
