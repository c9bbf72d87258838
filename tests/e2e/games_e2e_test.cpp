// Short games against a weakened Stockfish with real clocks, refereed by a
// second Stockfish (tools/play_games.py): no illegal move, no missing
// "bestmove", no time forfeit, no crash and no pondering fault, in standard
// chess and in Chess960 (all three programs in Chess960 mode, castling as
// king-takes-rook), with pondering, and in fixed-node games.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "harness.h"

namespace {

bool executable(const std::string& path) { return access(path.c_str(), X_OK) == 0; }

std::string find_stockfish() {
  for (const char* path : {"/usr/games/stockfish", "/usr/bin/stockfish", "/usr/local/bin/stockfish"})
    if (executable(path)) return path;
  return "";
}

struct CommandResult {
  std::string output;
  int status = -1;
};

CommandResult run_command(const std::string& command) {
  CommandResult result;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  char chunk[4096];
  size_t got;
  while ((got = fread(chunk, 1, sizeof chunk, pipe)) > 0) result.output.append(chunk, got);
  int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

const std::string RUNNER = std::string(ZOLT_SOURCE_DIR) + "/tools/play_games.py";

// The Stockfish to play against, or "" when it or python3 is missing.
std::string game_peer() {
  return executable("/usr/bin/python3") ? find_stockfish() : "";
}

CommandResult run_games(const std::string& stockfish, const std::string& options) {
  return run_command("/usr/bin/python3 " + RUNNER + " --zolt-cmd '" + zolt_test::zolt_command_line() +
                     "' --stockfish " + stockfish + " " + options);
}

void expect_no_faults(const CommandResult& result, int games) {
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find("summary: games " + std::to_string(games) + ","), std::string::npos)
      << result.output;
  EXPECT_NE(result.output.find("illegal moves 0, missing bestmove 0, time forfeits 0, crashes 0, "
                               "rejected position lines 0, ponder faults 0,"),
            std::string::npos)
      << result.output;
}

TEST(Games, ShortGamesAgainstStockfishHaveNoFaults) {
  const std::string stockfish = game_peer();
  if (stockfish.empty()) GTEST_SKIP() << "stockfish or python3 not installed";
  CommandResult result = run_games(stockfish, "--games 2 --time 2 --inc 0.05 --max-plies 100 --verbose");
  expect_no_faults(result, 2);
}

// One zolt process plays both games, so the mode must survive "ucinewgame".
TEST(Chess960Games, ShortGamesFromOneArrayHaveNoFaults) {
  const std::string stockfish = game_peer();
  if (stockfish.empty()) GTEST_SKIP() << "stockfish or python3 not installed";
  CommandResult result = run_games(stockfish, "--chess960 --seed 5 --reuse --games 2 --time 2 --inc 0.05 --max-plies 100 --verbose");
  expect_no_faults(result, 2);
  // Both games start from the same array, given with rook-file castling letters.
  size_t first = result.output.find("start: fen ");
  ASSERT_NE(first, std::string::npos) << result.output;
  std::string start_line = result.output.substr(first, result.output.find('\n', first) - first);
  EXPECT_EQ(start_line.find(" KQkq "), std::string::npos) << start_line;
  EXPECT_NE(result.output.find(start_line, first + 1), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("over 1 process(es)"), std::string::npos) << result.output;
}

// Zolt ponders after each of its moves: ponderhit on the expected reply,
// stop and a fresh go otherwise; every ponder move must be legal.
TEST(Games, PonderingGameHasNoProtocolFaults) {
  const std::string stockfish = game_peer();
  if (stockfish.empty()) GTEST_SKIP() << "stockfish or python3 not installed";
  CommandResult result = run_games(stockfish, "--ponder --games 1 --time 2 --inc 0.05 --max-plies 80 --verbose");
  expect_no_faults(result, 1);
}

// Chess960 starts as GUIs write them: KQkq castling fields, and the standard
// array as "position startpos". Castling goes both ways.
TEST(Chess960Games, XFenAndStartposStartsHaveNoFaults) {
  const std::string stockfish = game_peer();
  if (stockfish.empty()) GTEST_SKIP() << "stockfish or python3 not installed";
  CommandResult result = run_games(stockfish, "--chess960 --start-form xfen --seed 11 --reuse --games 2 --time 2 --inc 0.05 --max-plies 80 --verbose");
  expect_no_faults(result, 2);
  EXPECT_NE(result.output.find(" KQkq - 0 1"), std::string::npos) << result.output;
  result = run_games(stockfish, "--chess960 --start-form startpos --games 1 --time 2 --inc 0.05 --max-plies 80 --verbose");
  expect_no_faults(result, 1);
  EXPECT_NE(result.output.find("start: startpos"), std::string::npos) << result.output;
}

// Fixed-node games repeat exactly: the same moves in two runs.
TEST(Games, FixedNodeGamesRepeat) {
  const std::string stockfish = game_peer();
  if (stockfish.empty()) GTEST_SKIP() << "stockfish or python3 not installed";
  const std::string options = "--nodes 3000 --games 2 --max-plies 60 --verbose";
  CommandResult first = run_games(stockfish, options);
  CommandResult second = run_games(stockfish, options);
  expect_no_faults(first, 2);
  auto moves_of = [](const std::string& output) {
    std::string moves;
    for (size_t at = output.find("moves: "); at != std::string::npos; at = output.find("moves: ", at + 1))
      moves += output.substr(at, output.find('\n', at) - at) + "\n";
    return moves;
  };
  EXPECT_FALSE(moves_of(first.output).empty()) << first.output;
  EXPECT_EQ(moves_of(first.output), moves_of(second.output));
}

// Fixed-node games from the initial position with Debian's book: zolt's
// book moves are announced and counted, and are no faults.
TEST(Games, BookGamesFromTheStartHaveNoFaults) {
  const std::string stockfish = game_peer();
  const std::string book = "/usr/share/games/gnuchess/book.bin";
  if (stockfish.empty()) GTEST_SKIP() << "stockfish or python3 not installed";
  if (access(book.c_str(), R_OK) != 0) GTEST_SKIP() << book << " not installed (gnuchess-book)";
  CommandResult result = run_games(stockfish, "--from-start --nodes 1000 --nodes-with-clock --book " + book +
                                                  " --games 2 --max-plies 40 --verbose");
  expect_no_faults(result, 2);
  EXPECT_EQ(result.output.find("zolt played 0 book moves"), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("openings: "), std::string::npos) << result.output;
}

// Arrays whose numbers are fixed by the standard numbering scheme.
TEST(Chess960Games, ArrayNumbersGiveTheStandardArrays) {
  if (!executable("/usr/bin/python3")) GTEST_SKIP() << "python3 not installed";
  std::string script =
      "import importlib.util as u\n"
      "s = u.spec_from_file_location('runner', '" + RUNNER + "')\n"
      "m = u.module_from_spec(s); s.loader.exec_module(m)\n"
      "print(' '.join(m.chess960_back_rank(n) for n in (0, 1, 518, 959)))\n"
      "print(m.chess960_fen(518))\n"
      "print(m.chess960_fen(0))\n"
      "print(m.chess960_fen(0, 'xfen'))\n"
      "print(m.is_castling(m.chess960_fen(0), 'g1h1', True), m.is_castling(m.chess960_fen(0), 'g1f1', True))\n";
  CommandResult result = run_command("/usr/bin/python3 -B -c \"" + script + "\"");
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_EQ(result.output,
            "BBQNNRKR BQNBNRKR RNBQKBNR RKRNNQBB\n"
            "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w HAha - 0 1\n"
            "bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w HFhf - 0 1\n"
            "bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w KQkq - 0 1\n"
            "True True\n");
}

}  // namespace
