// Short games against a weakened Stockfish with real clocks, refereed by a
// second Stockfish (tools/play_games.py): no illegal move, no missing
// "bestmove", no time forfeit and no crash.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

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

TEST(Games, ShortGamesAgainstStockfishHaveNoFaults) {
  std::string stockfish = find_stockfish();
  if (stockfish.empty()) GTEST_SKIP() << "stockfish not installed";
  if (!executable("/usr/bin/python3")) GTEST_SKIP() << "python3 not installed";
  std::string command = std::string("/usr/bin/python3 ") + ZOLT_SOURCE_DIR + "/tools/play_games.py --zolt " +
                        ZOLT_BINARY + " --stockfish " + stockfish +
                        " --games 2 --time 2 --inc 0.05 --max-plies 100 --verbose";
  CommandResult result = run_command(command);
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find("summary: games 2,"), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("illegal moves 0, missing bestmove 0, time forfeits 0, crashes 0, "
                               "rejected position lines 0"),
            std::string::npos)
      << result.output;
}

}  // namespace
