// Console play through the real binary: a typed move and the engine's answer,
// the search limits, the result lines, promotions, undo, new and analysis.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "harness.h"

namespace {

using zolt_test::run_zolt;
using zolt_test::ZoltSession;

const char* const PROMPT = "\nzolt: ";
const char* const REPLY_HEADER = "\ndepth     nodes   score time best line\n";
const char* const ANALYSIS_HEADER = "\ndepth     nodes   score  time best line\n";

// Console output after the first prompt.
std::string console(const std::string& input) {
  auto result = run_zolt(input, 60000);
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_FALSE(result.timed_out);
  size_t at = result.output.find(PROMPT);
  return at == std::string::npos ? result.output : result.output.substr(at + 7);
}

std::string rank_line(int rank, const std::string& cells) { return "\n\n" + std::to_string(rank) + "   " + cells; }

// The depths of the report lines between the header and the next "\nZolt moves" or prompt.
std::vector<int> reported_depths(const std::string& text, size_t header_at) {
  std::vector<int> depths;
  size_t pos = text.find("best line\n", header_at) + 10;
  size_t end = std::min(text.find("\nZolt moves: ", pos), text.find(PROMPT, pos));
  while (pos < end) {
    size_t eol = text.find('\n', pos);
    std::string line = text.substr(pos, eol - pos);
    // Progress lines end in "\r" and are overwritten; only the last segment counts.
    size_t cr = line.rfind('\r');
    if (cr != std::string::npos) line = line.substr(cr + 1);
    if (line.size() > 4 && line[3] == ' ') depths.push_back(std::stoi(line.substr(0, 3)));
    pos = eol + 1;
  }
  return depths;
}

std::string engine_move(const std::string& text) {
  size_t at = text.find("\nZolt moves: ");
  if (at == std::string::npos) return "";
  size_t end = text.find('\n', at + 1);
  return text.substr(at + 13, end - at - 13);
}

TEST(ConsolePlay, MoveEntryAndEngineReplyAtFixedDepth) {
  std::string out = console("sd 2\ne2e4\nquit\n");
  EXPECT_EQ(out.rfind("\nsd 2\nset search depth to 3s\n\nzolt: ", 0), 0u) << out.substr(0, 80);
  // The board after the person's move, then the table header.
  size_t header = out.find(REPLY_HEADER);
  ASSERT_NE(header, std::string::npos) << out;
  size_t black_to_move = out.find("turn: black");
  EXPECT_LT(black_to_move, header);
  EXPECT_LT(out.find(rank_line(4, " .  .  .  . [P] .  .  . ")), header);
  EXPECT_EQ(reported_depths(out, header), (std::vector<int>{1, 2}));
  const std::vector<std::string> replies = {"a7a6", "a7a5", "b7b6", "b7b5", "c7c6", "c7c5", "d7d6",
                                            "d7d5", "e7e6", "e7e5", "f7f6", "f7f5", "g7g6", "g7g5",
                                            "h7h6", "h7h5", "b8a6", "b8c6", "g8f6", "g8h6"};
  std::string move = engine_move(out);
  EXPECT_NE(std::find(replies.begin(), replies.end(), move), replies.end()) << move;
  // The board after the reply: white to move again, then the prompt.
  size_t moves_at = out.find("\nZolt moves: ");
  EXPECT_NE(out.find("turn: white", moves_at), std::string::npos);
  EXPECT_NE(out.find(PROMPT, moves_at), std::string::npos);
}

TEST(ConsolePlay, SearchLimitBounds) {
  std::string out = console("st 300\nst 301\nst 0\nst\nst 5x\nsd 9\nsd 10\nsd 1\nsd\n");
  EXPECT_EQ(out,
            "\nset search time per move to 300s\n\nzolt: "
            "\nsearch time out of bounds, valid values: 1-300s\n\nzolt: "
            "\nsearch time out of bounds, valid values: 1-300s\n\nzolt: "
            "\nsearch time out of bounds, valid values: 1-300s\n\nzolt: "
            "\nset search time per move to 5s\n\nzolt: "
            "\nsd 9\nset search depth to 10s\n\nzolt: "
            "\nsd 10\nsearch depth out of bounds, valid depths: 2-9\n\nzolt: "
            "\nsd 1\nsearch depth out of bounds, valid depths: 2-9\n\nzolt: "
            "\nsd 0\nsearch depth out of bounds, valid depths: 2-9\n\nzolt: ");
}

// A time limit lifts the depth bound: after "sd 2" and "st 2" the reply goes deeper than 2.
TEST(ConsolePlay, TimeLimitReplacesDepthBound) {
  std::string out = console("sd 2\nst 2\ne2e4\n");
  size_t header = out.find(REPLY_HEADER);
  ASSERT_NE(header, std::string::npos);
  std::vector<int> depths = reported_depths(out, header);
  ASSERT_FALSE(depths.empty());
  EXPECT_GE(depths.back(), 3);
  EXPECT_NE(engine_move(out), "");
}

TEST(ConsolePlay, ResultLinesWhenTheEngineHasNoMove) {
  std::string out = console("sd 2\nsetboard 6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1\na1a8\n");
  EXPECT_NE(out.find(std::string(REPLY_HEADER) + "\n1-0 {White mates}\n" + PROMPT), std::string::npos) << out;
  EXPECT_EQ(out.find("Zolt moves"), std::string::npos);

  out = console("sd 2\nsetboard r5k1/8/8/8/8/8/5PPP/6K1 b - - 0 1\na8a1\n");
  EXPECT_NE(out.find(std::string(REPLY_HEADER) + "\n0-1 {Black mates}\n" + PROMPT), std::string::npos) << out;
  EXPECT_EQ(out.find("Zolt moves"), std::string::npos);

  out = console("sd 2\nsetboard 7k/8/8/6Q1/8/8/8/K7 w - - 0 1\ng5g6\n");
  EXPECT_NE(out.find(std::string(REPLY_HEADER) + "\n1/2-1/2 {Stalemate}\n" + PROMPT), std::string::npos) << out;
  EXPECT_EQ(out.find("Zolt moves"), std::string::npos);
}

TEST(ConsolePlay, PromotionTextSelectsThePiece) {
  std::string out = console("sd 2\nsetboard k7/4P3/8/8/8/8/8/K7 w - - 0 1\ne7e8\n");
  EXPECT_NE(out.find(rank_line(8, "{k} .  .  . [Q] .  .  . ")), std::string::npos) << out;
  out = console("sd 2\nsetboard k7/4P3/8/8/8/8/8/K7 w - - 0 1\ne7e8n\n");
  EXPECT_NE(out.find(rank_line(8, "{k} .  .  . [N] .  .  . ")), std::string::npos) << out;
  // The engine's own promotion is announced with its console suffix.
  out = console("sd 3\nsetboard 7k/8/8/8/8/8/p7/7K w - - 0 1\nh1h2\n");
  EXPECT_EQ(engine_move(out), "a2a1=Q") << out;
  EXPECT_NE(out.find(rank_line(1, "{q} .  .  .  .  .  .  . ")), std::string::npos);
}

TEST(ConsolePlay, IncorrectInputChangesNothing) {
  std::string out = console("e2e5\nst30\nE2E4\ne2e\nfen\n");
  EXPECT_EQ(out,
            "\ninput correct ?: e2e5\nzolt: \ninput correct ?: st30\nzolt: "
            "\ninput correct ?: E2E4\nzolt: \ninput correct ?: e2e\nzolt: "
            "\nfen: rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\n\nzolt: ");
}

TEST(ConsolePlay, UndoTakesBackMovesOfThisGameOnly) {
  // Right after start-up there is nothing to take back.
  std::string out = console("undo\nfen\n");
  EXPECT_NE(out.find(rank_line(1, "[R][N][B][Q][K][B][N][R]")), std::string::npos);
  EXPECT_NE(out.find("\nfen: rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\n"), std::string::npos);

  // Nor after loading a position with a late move number.
  out = console("setboard 8/8/8/8/8/8/8/K6k b - - 12 40\nundo\nfen\n");
  EXPECT_NE(out.find("ply: 40, turn: black"), std::string::npos) << out;
  EXPECT_NE(out.find("\nfen: 8/8/8/8/8/8/8/K6k b - - 12 40\n"), std::string::npos);

  // Two undos take back the engine's answer and the person's move; a third does nothing.
  out = console("sd 2\ne2e4\nundo\nfen\nundo\nfen\nundo\nfen\n");
  EXPECT_NE(out.find("\nfen: rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1\n"), std::string::npos)
      << out;
  size_t first_start = out.find("\nfen: rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\n");
  ASSERT_NE(first_start, std::string::npos);
  EXPECT_NE(out.find("\nfen: rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\n", first_start + 1),
            std::string::npos);
}

TEST(ConsolePlay, NewRestoresTheStartAndKeepsTheLimits) {
  std::string out = console("sd 2\ne2e4\nnew\nfen\ne2e4\n");
  size_t new_at = out.find("\nfen: rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\n");
  ASSERT_NE(new_at, std::string::npos) << out;
  EXPECT_EQ(out.substr(new_at - 7, 7), PROMPT);  // "new" printed nothing
  // The second game keeps depth 2.
  size_t header = out.find(REPLY_HEADER, new_at);
  ASSERT_NE(header, std::string::npos);
  EXPECT_EQ(reported_depths(out, header), (std::vector<int>{1, 2}));
}

TEST(ConsolePlay, AnalysisStopsOnAnEmptyLineAndRestoresTheLimits) {
  ZoltSession session;
  session.send("st 1\nanalyze\n");
  std::string text = session.read_until("\n  2 ", 20000);
  ASSERT_TRUE(session.last_read_found()) << text;
  EXPECT_NE(text.find(ANALYSIS_HEADER), std::string::npos);
  session.send("\n");
  text = session.read_until(PROMPT, 20000);
  ASSERT_TRUE(session.last_read_found());
  session.send("fen\n");
  text = session.read_until(" 0 1\n", 10000);
  EXPECT_NE(text.find("\nfen: rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\n"), std::string::npos);
  // The time limit of one second is back: the engine answers a move.
  session.send("e2e4\n");
  text = session.read_until("\nZolt moves: ", 30000);
  EXPECT_TRUE(session.last_read_found()) << text;
  session.send("quit\n");
  EXPECT_EQ(session.wait_exit(), 0);
}

TEST(ConsolePlay, AnalysisOfAFinishedGamePrintsOnlyTheHeader) {
  std::string out = console("setboard R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1\nanalyze\n");
  EXPECT_EQ(out, std::string(PROMPT) + ANALYSIS_HEADER + PROMPT);
}

}  // namespace
