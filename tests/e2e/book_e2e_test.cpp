// The opening book through the real binary: books written by PolyGlot's
// make-book from games this test writes, hand-made books for the choice, the
// options and hostile files, a book larger than 4 GB, Debian's gnuchess
// book, and the console's reply from the book.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"

namespace {

using zolt_test::count_of;
using zolt_test::make_temp_dir;
using zolt_test::read_file;
using zolt_test::run_zolt;
using zolt_test::write_file;

// Keys of the format's published positions.
constexpr uint64_t START_KEY = 0x463b96181691fc9cULL;
constexpr uint64_t AFTER_E4_KEY = 0x823c9b50fd114196ULL;

const char* const GNUCHESS_BOOK = "/usr/share/games/gnuchess/book.bin";

uint32_t code(const char* move) {
  auto square = [](const char* s) { return static_cast<uint32_t>((s[1] - '1') << 3 | (s[0] - 'a')); };
  return square(move) << 6 | square(move + 2);
}

std::string entry(uint64_t key, const char* move, uint32_t weight) {
  std::string bytes;
  for (int shift = 56; shift >= 0; shift -= 8) bytes += static_cast<char>(key >> shift);
  const uint32_t m = code(move);
  for (uint32_t v : {m >> 8, m, weight >> 8, weight}) bytes += static_cast<char>(v);
  return bytes + std::string(4, '\0');
}

// A directory with book.bin holding bytes.
std::string dir_with_book(const std::string& bytes, const std::string& config = "") {
  std::string dir = make_temp_dir();
  write_file(dir, "book.bin", bytes);
  if (!config.empty()) write_file(dir, "Zolt.cfg", config);
  return dir;
}

// The engine's output after "uciok" for commands given after the book is switched on.
std::string uci_with_book(const std::string& dir, const std::string& commands) {
  auto result = run_zolt("uci\nsetoption name useInternalOpeningBook value true\n" + commands + "quit\n", 120000, dir);
  EXPECT_EQ(result.exit_status, 0);
  const size_t at = result.output.find("uciok\n");
  return at == std::string::npos ? result.output : result.output.substr(at + 6);
}

std::vector<std::string> lines_starting(const std::string& text, const std::string& prefix) {
  std::vector<std::string> found;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
  return found;
}

const std::string GO = "go wtime 20000 btime 20000\n";

std::string find_polyglot() {
  for (const char* path : {"/usr/games/polyglot", "/usr/bin/polyglot", "/usr/local/bin/polyglot"})
    if (access(path, X_OK) == 0) return path;
  return "";
}

// Two games: white wins the first after castling short and promoting to a
// knight with a capture; black wins the second after castling long and
// promoting to a queen with a capture. make-book keeps the winner's moves
// (the loser's score 0).
const char* const GAMES_PGN =
    "[Event \"book test\"]\n[Site \"?\"]\n[Date \"????.??.??\"]\n[Round \"1\"]\n[White \"w\"]\n[Black \"b\"]\n"
    "[Result \"1-0\"]\n\n"
    "1. e4 e5 2. Nf3 Nc6 3. Bc4 Nf6 4. O-O Be7 5. a4 d6 6. a5 Bg4 7. a6 O-O 8. axb7 Qd7 9. bxa8=N 1-0\n\n"
    "[Event \"book test\"]\n[Site \"?\"]\n[Date \"????.??.??\"]\n[Round \"2\"]\n[White \"w\"]\n[Black \"b\"]\n"
    "[Result \"0-1\"]\n\n"
    "1. d4 d5 2. Nc3 Nc6 3. Bf4 Bf5 4. Qd2 Qd7 5. a3 O-O-O 6. b3 h5 7. Nb1 h4 8. Nc3 h3 9. Nb1 hxg2 "
    "10. Nc3 gxh1=Q 0-1\n\n";

const std::vector<std::string> WHITE_WIN = {"e2e4", "e7e5", "g1f3", "b8c6", "f1c4", "g8f6", "e1g1", "f8e7", "a2a4",
                                            "d7d6", "a4a5", "c8g4", "a5a6", "e8g8", "a6b7", "d8d7", "b7a8n"};
const std::vector<std::string> BLACK_WIN = {"d2d4", "d7d5", "b1c3", "b8c6", "c1f4", "c8f5", "d1d2",
                                            "d8d7", "a2a3", "e8c8", "b2b3", "h7h5", "c3b1", "h5h4",
                                            "b1c3", "h4h3", "c3b1", "h3g2", "b1c3", "g2h1q"};

// For every move of the winner (plies of parity first): the position before
// it, a "go", and the move expected.
void ask_for_each_move(const std::vector<std::string>& game, size_t first, std::string& commands,
                       std::vector<std::string>& expected) {
  for (size_t ply = first; ply < game.size(); ply += 2) {
    std::string line = "position startpos";
    if (ply > 0) line += " moves";
    for (size_t i = 0; i < ply; ++i) line += " " + game[i];
    commands += line + "\n" + GO;
    expected.push_back(game[ply]);
  }
}

}  // namespace

TEST(MadeBook, EveryMoveOfTheWinnersIsPlayedFromTheBook) {
  const std::string polyglot = find_polyglot();
  if (polyglot.empty()) GTEST_SKIP() << "polyglot not installed";
  const std::string dir = make_temp_dir();
  write_file(dir, "games.pgn", GAMES_PGN);
  const std::string make = "cd " + dir + " && " + polyglot +
                           " make-book -pgn games.pgn -bin book.bin -min-game 1 >make-book.txt 2>&1";
  ASSERT_EQ(system(make.c_str()), 0) << read_file(dir, "make-book.txt");
  // One entry per move of the winners.
  ASSERT_EQ(read_file(dir, "book.bin").size(), 16u * 19) << read_file(dir, "make-book.txt");

  std::string commands;
  std::vector<std::string> expected;
  ask_for_each_move(WHITE_WIN, 0, commands, expected);
  ask_for_each_move(BLACK_WIN, 1, commands, expected);
  const std::string reply = uci_with_book(dir, commands);
  const auto book_lines = lines_starting(reply, "info string book move ");
  const auto bestmoves = lines_starting(reply, "bestmove ");
  ASSERT_EQ(book_lines.size(), expected.size()) << reply;
  ASSERT_EQ(bestmoves.size(), expected.size()) << reply;
  EXPECT_EQ(reply.find("info depth"), std::string::npos) << "a book position was searched";
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(book_lines[i], "info string book move " + expected[i] + " weight 2/2");
    EXPECT_EQ(bestmoves[i].substr(0, 9 + expected[i].size()), "bestmove " + expected[i]);
  }
  // The ponder move is the book's reply: here the loser's moves are not in it.
  EXPECT_EQ(bestmoves[0], "bestmove e2e4");
}

TEST(UciBook, RandomChoicePlaysEachBookMoveAndOnlyThose) {
  const std::string dir =
      dir_with_book(entry(START_KEY, "e2e4", 1) + entry(START_KEY, "d2d4", 1) + entry(START_KEY, "g1f3", 0) +
                    entry(START_KEY, "c2c4", 1) + entry(START_KEY, "e2e5", 9));
  std::string commands;
  for (int i = 0; i < 60; ++i) commands += "position startpos\n" + GO;
  std::map<std::string, int> seen;
  for (const std::string& line : lines_starting(uci_with_book(dir, commands), "bestmove ")) ++seen[line];
  EXPECT_EQ(seen, (std::map<std::string, int>{{"bestmove c2c4", seen["bestmove c2c4"]},
                                              {"bestmove d2d4", seen["bestmove d2d4"]},
                                              {"bestmove e2e4", seen["bestmove e2e4"]}}));
  for (const auto& [line, count] : seen) EXPECT_GT(count, 0) << line;
  int total = 0;
  for (const auto& [line, count] : seen) total += count;
  EXPECT_EQ(total, 60);
}

TEST(UciBook, BestBookMoveAndThePonderReply) {
  const std::string dir = dir_with_book(entry(START_KEY, "d2d4", 3) + entry(START_KEY, "e2e4", 5) +
                                        entry(AFTER_E4_KEY, "d7d5", 3) + entry(AFTER_E4_KEY, "e7e5", 4) +
                                        entry(AFTER_E4_KEY, "c7c5", 4));
  const std::string reply = uci_with_book(dir, "setoption name BestBookMove value true\nposition startpos\n" + GO +
                                                   "position startpos moves e2e4 e7e5\n" + GO);
  // The ponder move is the reply of the highest weight, the first of equals;
  // a position out of the book is searched.
  EXPECT_EQ(reply.rfind("info string book move e2e4 weight 5/8\nbestmove e2e4 ponder e7e5\n", 0), 0u) << reply;
  EXPECT_EQ(lines_starting(reply, "bestmove ").size(), 2u);
}

TEST(UciBook, AnalysisFormsOfGoChess960AndBookDepthSearch) {
  const std::string dir = dir_with_book(entry(START_KEY, "e2e4", 1) + entry(AFTER_E4_KEY, "e7e5", 1));
  const std::vector<std::string> SEARCHES = {
      "position startpos\ngo depth 2\n",
      "position startpos\ngo nodes 2000\n",
      "position startpos\ngo mate 1 movetime 200\n",
      "position startpos\ngo searchmoves d2d4 movetime 200\n",
      "position startpos\ngo ponder wtime 20000 btime 20000\nstop\n",
      "position startpos\ngo infinite\nstop\n",
      "setoption name UCI_Chess960 value true\nposition startpos\ngo depth 2\n"
      "setoption name UCI_Chess960 value false\n",
      "setoption name BookDepth value 1\nposition fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 2\n"
      "go depth 2\nsetoption name BookDepth value 0\n",
      "setoption name useInternalOpeningBook value false\nposition startpos\n" + GO,
      "setoption OwnBook false\nposition startpos\ngo depth 2\n",
  };
  for (const std::string& commands : SEARCHES) {
    const std::string reply = uci_with_book(dir, commands);
    EXPECT_EQ(reply.find("book move"), std::string::npos) << commands;
    EXPECT_EQ(lines_starting(reply, "bestmove ").size(), 1u) << commands << reply;
  }
  EXPECT_NE(uci_with_book(dir, "position startpos\ngo searchmoves d2d4 movetime 200\n").find("bestmove d2d4"),
            std::string::npos);
  // A depth or node limit beside a clock belongs to a game: the book answers.
  EXPECT_EQ(uci_with_book(dir, "position startpos\ngo wtime 60000 btime 60000 nodes 5000\n"
                               "position startpos\ngo depth 3 movetime 1000\n"),
            "info string book move e2e4 weight 1/1\nbestmove e2e4 ponder e7e5\n"
            "info string book move e2e4 weight 1/1\nbestmove e2e4 ponder e7e5\n");
  // Within the depth, and switched off and on again, the book answers.
  const std::string reply = uci_with_book(
      dir, "setoption name BookDepth value 1\nposition startpos moves e2e4\n" + GO +
               "setoption name useInternalOpeningBook value false\nsetoption name useInternalOpeningBook value true\n"
               "position startpos\n" + GO + "setoption OwnBook false\nsetoption OwnBook true\nposition startpos\n" + GO);
  EXPECT_EQ(reply, "info string book move e7e5 weight 1/1\nbestmove e7e5\n"
                   "info string book move e2e4 weight 1/1\nbestmove e2e4 ponder e7e5\n"
                   "info string book move e2e4 weight 1/1\nbestmove e2e4 ponder e7e5\n");
}

TEST(UciBook, BadFilesAreToldOnceAndTheEngineSearches) {
  const std::string good = entry(START_KEY, "e2e4", 1);
  const std::string dir = make_temp_dir();
  write_file(dir, "empty.bin", "");
  write_file(dir, "byte.bin", "x");
  write_file(dir, "truncated.bin", good + good.substr(0, 9));
  write_file(dir, "unsorted.bin", entry(1, "a2a3", 1) + entry(UINT64_MAX - 1, "a2a3", 1) + entry(2, "a2a3", 1) +
                                      good + entry(5, "a2a3", 1) + entry(UINT64_MAX, "a2a3", 1));
  write_file(dir, "illegal.bin", entry(START_KEY, "e7e5", 1) + entry(START_KEY, "e1g1", 1));
  const std::map<std::string, std::string> messages = {
      {"missing.bin", "info string book file missing.bin cannot be opened"},
      {"empty.bin", "info string book file empty.bin is empty"},
      {"byte.bin", "info string book file byte.bin is no book: its size is not a multiple of 16 bytes"},
      {"truncated.bin", "info string book file truncated.bin is no book: its size is not a multiple of 16 bytes"},
      {"unsorted.bin", "info string book file unsorted.bin is no book: its keys are out of order"},
      {"illegal.bin", ""},
  };
  for (const auto& [file, message] : messages) {
    const std::string reply = uci_with_book(dir, "setoption name BookFile value " + file + "\nposition startpos\n" +
                                                     "go depth 2\nposition startpos\n" + GO + "position startpos\n" + GO);
    EXPECT_EQ(count_of(reply, "info string "), message.empty() ? 0u : 1u) << file << reply;
    if (!message.empty()) {
      EXPECT_NE(reply.find(message + "\n"), std::string::npos) << reply;
    }
    EXPECT_EQ(reply.find("book move"), std::string::npos) << file;
    const auto bestmoves = lines_starting(reply, "bestmove ");
    ASSERT_EQ(bestmoves.size(), 3u) << file;
    for (const std::string& line : bestmoves) EXPECT_NE(line, "bestmove ") << file;
  }
}

TEST(UciBook, BookMovesAreLogged) {
  const std::string dir = dir_with_book(entry(START_KEY, "e2e4", 1), "Logging=1\nOwnBook\n");
  auto result = run_zolt("uci\nposition startpos\n" + GO + "quit\n", 60000, dir);
  EXPECT_NE(result.output.find("info string book move e2e4 weight 1/1\nbestmove e2e4\n"), std::string::npos);
  const std::string log = read_file(dir, "Zolt.log");
  EXPECT_NE(log.find("\nown book: 1 (book file: book.bin)"), std::string::npos);
  EXPECT_NE(log.find("<<< SENT TO GUI <<< info string book move e2e4 weight 1/1\n"
                     "<<< SENT TO GUI <<< bestmove e2e4\n"),
            std::string::npos)
      << log;
}

// Offsets past 4 GB: a sparse file of zero entries (key 0, sorted) with the
// start position's entry near its end.
TEST(LargeBook, EntriesBeyondFourGigabytesAreFound) {
  const std::string dir = make_temp_dir();
  const std::string path = dir + "/book.bin";
  { std::ofstream create(path, std::ios::binary); }
  ASSERT_EQ(truncate(path.c_str(), int64_t{5} << 30), 0);
  {
    std::ofstream append(path, std::ios::binary | std::ios::app);
    append << entry(START_KEY, "b1c3", 1) << entry(UINT64_MAX, "a2a3", 1);
  }
  EXPECT_EQ(uci_with_book(dir, "position startpos\n" + GO), "info string book move b1c3 weight 1/1\nbestmove b1c3\n");
}

TEST(GnuchessBook, BookLinesFromTheStartPosition) {
  std::ifstream book(GNUCHESS_BOOK, std::ios::binary);
  if (!book) GTEST_SKIP() << GNUCHESS_BOOK << " not installed (gnuchess-book)";
  const std::string dir = make_temp_dir();
  write_file(dir, "book.bin", std::string(std::istreambuf_iterator<char>(book), {}));
  // The engine plays both sides from the book: each bestmove is the next move.
  std::string commands;
  for (int ply = 0; ply < 8; ++ply) commands += GO;
  const std::string reply = uci_with_book(dir, "position startpos\n" + commands);
  EXPECT_EQ(count_of(reply, "info string book move "), 8u) << reply;
  EXPECT_EQ(reply.find("info depth"), std::string::npos);
  // The opening moves of the book with the highest weights.
  EXPECT_EQ(uci_with_book(dir, "setoption name BestBookMove value true\nposition startpos\n" + GO)
                .substr(0, 27),
            "info string book move e2e4 ");
}

TEST(ConsoleBook, TheReplyComesFromTheBookAndAnalysisSearches) {
  const std::string book = entry(AFTER_E4_KEY, "e7e5", 1);
  std::string dir = dir_with_book(book, "OwnBook=true\nBookFile=book.bin\n");
  auto result = run_zolt("sd 2\ne2e4\nquit\n", 60000, dir);
  EXPECT_NE(result.output.find("\nbook move e7e5 weight 1/1\nZolt moves: e7e5\n"), std::string::npos)
      << result.output;
  EXPECT_EQ(result.output.find("\ndepth     nodes"), std::string::npos);
  EXPECT_NE(result.output.find("turn: white"), std::string::npos);

  result = run_zolt("setboard rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1\nanalyze\n", 60000, dir);
  EXPECT_EQ(result.output.find("book move"), std::string::npos);
  EXPECT_NE(result.output.find("\ndepth     nodes   score  time best line\n"), std::string::npos);

  // OwnBook=false in Zolt.cfg keeps the book off; a missing book is told once.
  dir = dir_with_book(book, "OwnBook=false\n");
  result = run_zolt("sd 2\ne2e4\nquit\n", 60000, dir);
  EXPECT_EQ(result.output.find("book move"), std::string::npos);
  EXPECT_NE(result.output.find("\nZolt moves: "), std::string::npos);
  dir = dir_with_book(book, "OwnBook\nBookFile=nothere.bin\n");
  result = run_zolt("sd 2\ne2e4\nd2d4\nquit\n", 60000, dir);
  EXPECT_EQ(count_of(result.output, "\nbook file nothere.bin cannot be opened"), 1u) << result.output;
  EXPECT_EQ(count_of(result.output, "\nZolt moves: "), 2u);
}
