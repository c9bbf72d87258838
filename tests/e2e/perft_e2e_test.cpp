// Transcripts of perft, perft2, divide, divide2, show and testmovegen through
// the real binary; divide counts are held against Stockfish's own.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"

using zolt_test::run_zolt;

namespace {

const std::string PROMPT = "\nzolt: ";
const std::string KIWIPETE = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -";

// The answers to each command line: the text between consecutive prompts,
// with timings replaced by "T".
std::vector<std::string> answers(const std::string& input) {
  auto r = run_zolt(input + "quit\n", 120000);
  EXPECT_EQ(r.exit_status, 0);
  const std::string output = std::regex_replace(r.output, std::regex("Time:? [0-9]+\\.[0-9]{3} s"), "T");
  std::vector<std::string> parts;
  // Text before the first prompt is the start-up banner.
  size_t at = output.find(PROMPT);
  while (at != std::string::npos) {
    const size_t next = output.find(PROMPT, at + PROMPT.size());
    parts.push_back(output.substr(at + PROMPT.size(),
                                   next == std::string::npos ? std::string::npos : next - at - PROMPT.size()));
    at = next;
  }
  return parts;
}

std::string stockfish_path() {
  for (const char* path : {"/usr/games/stockfish", "/usr/bin/stockfish"})
    if (access(path, X_OK) == 0) return path;
  return "";
}

// Stockfish's per-move counts of "go perft depth".
std::map<std::string, long long> stockfish_divide(const std::string& fen, int depth) {
  std::map<std::string, long long> counts;
  const std::string command = "printf 'position fen " + fen + "\\ngo perft " + std::to_string(depth) +
                              "\\nquit\\n' | " + stockfish_path() + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return counts;
  char line[256];
  std::regex entry("^([a-h][1-8][a-h][1-8][qrbn]?): ([0-9]+)");
  std::cmatch m;
  while (fgets(line, sizeof line, pipe))
    if (std::regex_search(line, m, entry)) counts[m[1]] = std::stoll(m[2]);
  pclose(pipe);
  return counts;
}

std::map<std::string, long long> zolt_divide(const std::string& text) {
  std::map<std::string, long long> counts;
  std::istringstream in(text);
  std::string move;
  long long n;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    if (fields >> move >> n && move.size() == 4) counts[move] += n;
  }
  return counts;
}

}  // namespace

TEST(PerftCommands, PerftAndPerft2FromStart) {
  auto a = answers("perft 1\nperft 2\nperft 3\nperft 4\nperft2 3\nperft2 1\n");
  ASSERT_GE(a.size(), 6u);
  EXPECT_EQ(a[0], "\nPerft (1): 20 nodes, T");
  EXPECT_EQ(a[1], "\nPerft (2): 400 nodes, T");
  EXPECT_EQ(a[2], "\nPerft (3): 8902 nodes, T");
  EXPECT_EQ(a[3], "\nPerft (4): 197281 nodes, T");
  EXPECT_EQ(a[4], "\nPerft (2): 3 total nodes: 9322, T");
  EXPECT_EQ(a[5], "\nPerft (1): 20 nodes, T");
}

TEST(PerftCommands, WrongInput) {
  auto a = answers("perft 0\nperft -2\nperft x\nperft\nperft2 0\ndivide 0\ndivide2 0\ndivide2 x\n");
  ASSERT_GE(a.size(), 8u);
  EXPECT_EQ(a[0], "\nwrong input for perft\n");
  EXPECT_EQ(a[1], "\nwrong input for perft\n");
  EXPECT_EQ(a[2], "\nwrong input for perft\n");
  EXPECT_EQ(a[3], "\nwrong input for perft\n");
  EXPECT_EQ(a[4], "\nwrong input for perft2\n");
  EXPECT_EQ(a[5], "\nwrong input for divide\n");
  EXPECT_EQ(a[6], "\n");
  EXPECT_EQ(a[7], "\n");
}

TEST(PerftCommands, DivideTables) {
  auto a = answers("divide 1\ndivide 2\ndivide2 1\ndivide2 2\ndivide 3\nfen\n");
  ASSERT_GE(a.size(), 6u);
  const char* moves[] = {"a2a3", "a2a4", "b2b3", "b2b4", "c2c3", "c2c4", "d2d3", "d2d4", "e2e3", "e2e4",
                         "f2f3", "f2f4", "g2g3", "g2g4", "h2h3", "h2h4", "b1c3", "b1a3", "g1h3", "g1f3"};
  std::string ones, twenties;
  for (const char* m : moves) {
    ones += std::string(m) + " 1\n";
    twenties += std::string(m) + " 20\n";
  }
  EXPECT_EQ(a[0], "\n" + ones + "Moves: 20\n");
  EXPECT_EQ(a[1], twenties + "Moves: 20\nNodes: 400\n");
  EXPECT_EQ(a[2], "\n" + ones + "Nodes: 20\n");
  EXPECT_EQ(a[3], "\n" + twenties + "Nodes: 420\n");
  // divide 3: twenty lines in generation order after a blank line, then the totals.
  ASSERT_EQ(a[4].rfind("\na2a3 380\na2a4 420\n", 0), 0u) << a[4];
  EXPECT_NE(a[4].find("\ng1f3 440\n\nMoves: 20\nNodes: 8902"), std::string::npos) << a[4];
  // The position is untouched by all of it.
  EXPECT_EQ(a[5], "\nfen: rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\n");
}

TEST(PerftCommands, DivideMatchesStockfish) {
  if (stockfish_path().empty()) GTEST_SKIP() << "stockfish not installed";
  for (const std::string& fen : {std::string("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"), KIWIPETE,
                                std::string("8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -")}) {
    auto a = answers("setboard " + fen + "\ndivide 3\n");
    ASSERT_GE(a.size(), 2u);
    EXPECT_EQ(zolt_divide(a[1]), stockfish_divide(fen, 3)) << fen;
  }
}

TEST(PerftCommands, NoLegalMoves) {
  auto a = answers("setboard 7k/5Q2/6K1/8/8/8/8/8 b - -\nperft 3\ndivide 1\ndivide 2\ndivide 3\ndivide2 3\nfen\n");
  ASSERT_GE(a.size(), 7u);
  EXPECT_EQ(a[1], "\nPerft (3): 0 nodes, T");
  EXPECT_EQ(a[2], "\nMoves: 0\n");
  EXPECT_EQ(a[3], "Moves: 0\nNodes: 0\n");
  // The two-walk divide has no root move to tabulate and prints nothing.
  EXPECT_EQ(a[4], "");
  EXPECT_EQ(a[5], "\nNodes: 0\n");
  EXPECT_EQ(a[6], "\nfen: 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\n");
}

TEST(ShowCommand, ListNotation) {
  auto a = answers("show\nsetboard " + KIWIPETE + "\nshow\nsetboard 3rk3/4P3/8/8/8/8/8/4K2R w K -\nshow\n" +
                   "setboard k7/8/8/1Q6/8/8/8/4K3 w - -\nshow\n");
  ASSERT_GE(a.size(), 7u);
  EXPECT_EQ(a[0], "\n20 legal moves: \na3 a4 b3 b4 c3 c4 d3 d4 e3 e4 f3 f4 g3 g4 h3 h4 Nc3 Na3 Nh3 Nf3 \n");
  EXPECT_EQ(a[2].rfind("\n48 legal moves: \nK 0-0  K 0-0-0  Kf1 Kd1 d6 d5xe6 Nd3 Nxf7 ", 0), 0u) << a[2];
  EXPECT_NE(a[2].find(" g2xh3 Rb1 "), std::string::npos);
  EXPECT_EQ(a[4], "\n17 legal moves: \nK 0-0  Kf1 Ke2 Kf2 e7xQd8+ e7xRd8+ e7xBd8 e7xNd8 Rh2 Rh3 Rh4 Rh5 Rh6 Rh7 Rh8+ Rg1 Rf1 \n");
  EXPECT_NE(a[6].find(" Qb6S "), std::string::npos);
  EXPECT_NE(a[6].find(" Qb7+ "), std::string::npos);
}

namespace {

struct SuiteRun {
  std::string console;
  std::string report;
};

SuiteRun run_suite(const std::string& suite, bool write_suite = true) {
  const std::string dir = zolt_test::make_temp_dir();
  if (write_suite) zolt_test::write_file(dir, "perftsuite.epd", suite);
  auto r = run_zolt("testmovegen\nfen\nquit\n", 600000, dir);
  EXPECT_EQ(r.exit_status, 0);
  return {std::regex_replace(r.output, std::regex("Time:? [0-9]+\\.[0-9]{3} s"), "T"),
          std::regex_replace(zolt_test::read_file(dir, "log_epd.txt"), std::regex("Time:? [0-9]+\\.[0-9]{3} s"),
                             "T")};
}

}  // namespace

TEST(PerftSuiteCommand, StandardSuitePasses) {
  std::ifstream in(std::string(ZOLT_TEST_DATA) + "/perftsuite.epd");
  std::stringstream content;
  content << in.rdbuf();
  int positions = 0, checks = 0;
  std::istringstream lines(content.str());
  std::string line;
  while (std::getline(lines, line)) {
    ++positions;
    const size_t last = line.rfind(";D");
    const int depth = last == std::string::npos ? 0 : line[last + 2] - '0';
    if (depth >= 2) checks += depth;
  }
  auto run = run_suite(content.str());
  const std::string summary = "tested " + std::to_string(positions) + " different position(s) and made " +
                              std::to_string(checks) + " perft call(s)\n";
  EXPECT_NE(run.console.find("\nlog written to log_epd.txt\n\nsummary:\n" + summary + "0 position(s) failed\n"),
            std::string::npos);
  EXPECT_EQ(run.report.find("FALSE"), std::string::npos);
  EXPECT_EQ(run.report.substr(run.report.size() - summary.size() - 22), "\n\n" + summary + "0 position(s) failed");
}

TEST(PerftSuiteCommand, SmallSuites) {
  const std::string start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
  auto run = run_suite(start + " ;D1 20 ;D2 400 ;D3 8902\n");
  EXPECT_EQ(run.report, "\n\nfen: " + start + " ;D1 20 ;D2 400 ;D3 8902\n" +
                            "\nPerft (1): 20 nodes, T, [20], OK"
                            "\nPerft (2): 400 nodes, T, [400], OK"
                            "\nPerft (3): 8902 nodes, T, [8902], OK"
                            "\n\ntested 1 different position(s) and made 3 perft call(s)\n0 position(s) failed");
  EXPECT_NE(run.console.find("\n\nfen: " + start + " 0"
                             "\nPerft (1): 20 nodes, T, [20], OK"),
            std::string::npos);

  // A skipped depth is expected as -100, shown unsigned.
  run = run_suite(start + " ;D1 20 ;D3 8902\n");
  EXPECT_NE(run.report.find("\nPerft (2): 400 nodes, T, [18446744073709551516], FALSE"), std::string::npos);
  EXPECT_NE(run.report.find("made 2 perft call(s)\n1 position(s) failed"), std::string::npos);

  // A single D1 entry checks nothing.
  run = run_suite(start + " ;D1 20\n");
  EXPECT_EQ(run.report, "\n\nfen: " + start + " ;D1 20\n\n\ntested 1 different position(s) and made 0 perft call(s)\n0 position(s) failed");

  // Empty suite: summary only, console position untouched.
  run = run_suite("");
  EXPECT_NE(run.console.find("tested 0 different position(s) and made 0 perft call(s)\n0 position(s) failed\n"),
            std::string::npos);
  EXPECT_NE(run.console.find("\nfen: rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\n"), std::string::npos);

  // A refused position runs nothing and fails every check it asked for.
  run = run_suite("8/8/8/8/8/8/8/4K3 w - - ;D1 5 ;D2 25\n" + start + " ;D1 20 ;D2 400\n");
  EXPECT_NE(run.console.find("\ninvalid FEN: "), std::string::npos);
  EXPECT_NE(run.console.find("tested 2 different position(s) and made 2 perft call(s)\n2 position(s) failed\n"),
            std::string::npos);
}

TEST(PerftSuiteCommand, MissingSuiteFile) {
  auto run = run_suite("", false);
  EXPECT_NE(run.console.find(PROMPT + "\nerror opening file\n" + PROMPT), std::string::npos);
  EXPECT_EQ(run.report, "");
}
