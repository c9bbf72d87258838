// zolt bench: the node count that testing frameworks compare between
// machines, the form of its last line, and the program's other arguments.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"

namespace {

// The nodes of "zolt bench" at its default depth and at depth 3: the same
// on every machine, build and platform. A change to the search that moves
// them must change these numbers with it.
constexpr uint64_t BENCH_NODES = 35956748;
constexpr uint64_t BENCH_DEPTH_3_NODES = 87259;
constexpr int BENCH_POSITIONS = 40;
constexpr int BENCH_TIMEOUT_MS = 600000;  // sanitizer builds and wine are many times slower

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// N of the last line "<N> nodes <M> nps"; 0 when the last line has another form.
uint64_t bench_nodes(const std::string& output) {
  const std::vector<std::string> lines = lines_of(output);
  static const std::regex LAST_LINE("([0-9]+) nodes ([0-9]+) nps");
  std::smatch m;
  if (lines.empty() || !std::regex_match(lines.back(), m, LAST_LINE)) return 0;
  return std::stoull(m[1]);
}

}  // namespace

TEST(Bench, DefaultDepthNodeCountIsTheLastLine) {
  const zolt_test::RunResult r = zolt_test::run_zolt_with_arguments({"bench"}, "", BENCH_TIMEOUT_MS);
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(bench_nodes(r.output), BENCH_NODES) << r.output;
  EXPECT_EQ(r.output.back(), '\n');
  // A line per position before it, and nothing of the search's own reports.
  const std::vector<std::string> lines = lines_of(r.output);
  EXPECT_EQ(lines.size(), static_cast<size_t>(BENCH_POSITIONS + 1));
  EXPECT_EQ(r.output.find("bestmove"), std::string::npos);
  EXPECT_EQ(r.output.find("info "), std::string::npos);
}

// The search does not read standard input: neither a "stop" waiting there
// nor its end changes the count.
TEST(Bench, GivenDepthAndInputLeftAlone) {
  for (const char* input : {"", "stop\nquit\n"}) {
    const zolt_test::RunResult r = zolt_test::run_zolt_with_arguments({"bench", "3"}, input, BENCH_TIMEOUT_MS);
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(bench_nodes(r.output), BENCH_DEPTH_3_NODES) << r.output;
  }
  const zolt_test::RunResult deeper = zolt_test::run_zolt_with_arguments({"bench", "04"}, "", BENCH_TIMEOUT_MS);
  EXPECT_GT(bench_nodes(deeper.output), BENCH_DEPTH_3_NODES);
}

TEST(Bench, OtherArgumentsGetTheUsageLine) {
  const std::vector<std::vector<std::string>> cases = {
      {"foo"}, {"-h"}, {"bench", "0"}, {"bench", "64"}, {"bench", "x"}, {"bench", "3x"}, {"bench", ""},
      {"bench", "3", "4"}, {"Bench"}, {"uci"}};
  for (const std::vector<std::string>& arguments : cases) {
    const zolt_test::RunResult r = zolt_test::run_zolt_with_arguments(arguments, "quit\n");
    EXPECT_EQ(r.exit_status, 2) << arguments[0];
    EXPECT_EQ(r.output, "") << arguments[0];
    // One line on stderr (a text-mode stream may end it with "\r\n").
    EXPECT_EQ(r.errors.rfind("usage: zolt [bench [depth]]", 0), 0u) << r.errors;
    EXPECT_EQ(zolt_test::count_of(r.errors, "\n"), 1u) << r.errors;
  }
}
