// MultiPV in-process: the root filter that leaves reported lines out, a
// one-line search that stays as it was after searches of several lines, the
// table's root entry; also the score of the current-move line. The lines
// themselves are tested over pipes (e2e/analysis_e2e_test.cpp).
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "frontend/notation.h"
#include "search/driver.h"
#include "search/multipv.h"
#include "search/timecontrol.h"
#include "search/tt.h"
#include "search_helpers.h"

using namespace zolt;

namespace {

// The number of depth reports (info lines with a line).
size_t report_count(const std::string& out) {
  size_t count = 0;
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("info depth ", 0) == 0 && line.find(" pv ") != std::string::npos) ++count;
  return count;
}

// Everything but the clock-dependent fields.
std::string without_time(const std::string& out) {
  std::string kept;
  std::istringstream in(out);
  std::string word;
  bool skip = false;
  while (in >> word) {
    if (skip) {
      skip = false;
      continue;
    }
    if (word == "nps" || word == "time") skip = true;
    kept += word + " ";
  }
  return kept;
}

std::string bestmove_of(const std::string& out) {
  const size_t at = out.find("bestmove ");
  if (at == std::string::npos) return "<none>";
  return out.substr(at + 9, out.find_first_of(" \n", at + 9) - at - 9);
}

class MultiPv : public ::testing::Test {
 protected:
  void SetUp() override {
    zolt_test::reset_search_state();
    saved_progress_ = console_progress_info;
    console_progress_info = 0;
  }
  void TearDown() override {
    multipv = DEFAULT_MULTIPV;
    search_root_move_count = 0;
    console_progress_info = saved_progress_;
    zolt_test::reset_search_state();
  }

  // A fixed-depth UCI search from a fresh search state; its standard output.
  std::string search(const char* fen, const std::string& go, int lines) {
    zolt_test::reset_search_state();
    multipv = lines;
    Position pos = zolt_test::load_position(fen);
    read_go_line(go.c_str(), pos);
    testing::internal::CaptureStdout();
    run_uci_search(pos, 0);
    return testing::internal::GetCapturedStdout();
  }

  int saved_progress_ = 1;
};

const char* const MIDDLEGAME = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8";

}  // namespace

TEST(RootFilter, DropsTheExcludedMovesAndKeepsTheOrderOfTheRest) {
  Position pos = zolt_test::load_position("8/5P1k/8/8/8/8/8/K7 w - - 0 1");
  Move list[MAX_MOVES];
  const int n = generate_moves(pos, list);
  Move original[MAX_MOVES];
  for (int i = 0; i < n; ++i) original[i] = list[i];
  excluded_root_move_count = 0;
  EXPECT_EQ(drop_excluded_root_moves(list, n), n);
  // Two of the four promotions on f8 (same squares, other kinds stay).
  int named = 0;
  for (int i = 0; i < n && named < 2; ++i)
    if (original[i].kind > KIND_EN_PASSANT) excluded_root_moves[named++] = original[i];
  ASSERT_EQ(named, 2);
  excluded_root_move_count = 2;
  const int kept = drop_excluded_root_moves(list, n);
  excluded_root_move_count = 0;
  ASSERT_EQ(kept, n - 2);
  for (int i = 0, j = 0; i < n; ++i) {
    const Move& m = original[i];
    if (m.kind == excluded_root_moves[0].kind || m.kind == excluded_root_moves[1].kind) continue;
    EXPECT_EQ(list[j].from, m.from);
    EXPECT_EQ(list[j].kind, m.kind);
    ++j;
  }
}

TEST_F(MultiPv, OneLineIsTheSameSearchBeforeAndAfterSearchesOfSeveral) {
  const std::string before = search(MIDDLEGAME, "go depth 6\n", 1);
  EXPECT_EQ(before.find("multipv"), std::string::npos) << before;
  search(MIDDLEGAME, "go depth 4 searchmoves c4d5 a2a3 h2h3\n", 3);
  const uint64_t nodes_before = search_nodes;
  search(MIDDLEGAME, "go depth 4 searchmoves c4d5 a2a3 h2h3\n", 3);
  EXPECT_EQ(search_nodes, nodes_before);
  EXPECT_EQ(without_time(search(MIDDLEGAME, "go depth 6\n", 1)), without_time(before));
}

TEST(CurrentMoveLine, ScoresAMateAsTheDepthReportsDo) {
  current_root_move = Move{};
  current_root_move.from = make_square(4, 2);
  current_root_move.to = make_square(4, 4);
  const int saved_number = current_move_number;
  current_move_number = 3;
  for (const auto& c : {std::make_pair(MATE - 5, "score mate 3 "), std::make_pair(5 - MATE, "score mate -3 "),
                        std::make_pair(MATE_BOUND, "score cp 9999935 ")}) {
    uci_last_score = c.first;
    testing::internal::CaptureStdout();
    print_currmove_info();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find(std::string(" ") + c.second + "nps "), std::string::npos) << out;
    EXPECT_NE(out.find("currmove e2e4 currmovenumber 3\n"), std::string::npos) << out;
  }
  // Between the passes of MultiPV no root move is under way: no line.
  current_move_number = 0;
  testing::internal::CaptureStdout();
  print_currmove_info();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  current_move_number = saved_number;
  uci_last_score = 0;
}

TEST_F(MultiPv, WithTheTableTheRootEntryKeepsLineOne) {
  // The further lines leave moves out: their results are stored for the
  // positions below the root, never for the root itself.
  resize_table(1);
  zolt_test::reset_search_state();
  multipv = 4;
  Position pos = zolt_test::load_position(MIDDLEGAME);
  const uint64_t root_key = pos.key;
  read_go_line("go depth 5\n", pos);
  testing::internal::CaptureStdout();
  run_uci_search(pos, 1);
  const std::string out = testing::internal::GetCapturedStdout();
  ASSERT_EQ(report_count(out), 5u * 4u) << out;
  const TableEntry* entry = probe_table(root_key);
  ASSERT_NE(entry, nullptr);
  const std::string best = bestmove_of(out);
  // square_name answers in one buffer: one call per statement.
  std::string entry_move = square_name(entry->from);
  entry_move += square_name(entry->to);
  EXPECT_EQ(entry_move, best) << out;
  resize_table(0);
}
