// Lines that arrive on a real pipe while the engine searches: stop words end
// the search, "isready" is answered at once, "quit" and a "position" wait for
// the search to end and are carried out afterwards, and lines arriving
// together in one write are each honoured.
#include <gtest/gtest.h>

#include <string>

#include "harness.h"

namespace {

using zolt_test::count_of;
using zolt_test::ZoltSession;

// A session in UCI mode with an infinite search under way.
void start_infinite_search(ZoltSession& session, const std::string& position = "position startpos\n") {
  session.send("uci\n");
  session.read_until("uciok\n");
  session.send(position + "go infinite\n");
  session.read_until("info depth 3", 20000);
  ASSERT_TRUE(session.last_read_found());
}

}  // namespace

TEST(SearchPoll, StopWordsEndAnInfiniteSearch) {
  // "stop", anything beginning "sto", "top" or "exi", and an empty line.
  for (const char* word : {"stop\n", "stopp\n", "top\n", "exit\n", "\n"}) {
    ZoltSession session;
    start_infinite_search(session);
    session.send(word);
    std::string text = session.read_until("bestmove ", 20000);
    EXPECT_TRUE(session.last_read_found()) << word;
    // The stop word was consumed: the loop reads on and answers normally.
    session.send("isready\n");
    text = session.read_until("readyok\n", 10000);
    EXPECT_TRUE(session.last_read_found()) << word;
    EXPECT_EQ(text.find("Illegal move"), std::string::npos) << word << text;
    session.send("quit\n");
    EXPECT_EQ(session.wait_exit(10000), 0);
  }
}

TEST(SearchPoll, IsreadyIsAnsweredAndTheSearchGoesOn) {
  ZoltSession session;
  start_infinite_search(session);
  session.send("isready\n");
  std::string text = session.read_until("readyok\n", 10000);
  ASSERT_TRUE(session.last_read_found());
  EXPECT_EQ(text.find("bestmove"), std::string::npos);
  // Other lines are dropped without effect and the search still runs.
  session.send("debug on\nucinewgame\n");
  session.send("isready\n");
  text = session.read_until("readyok\n", 10000);
  EXPECT_EQ(text.find("bestmove"), std::string::npos);
  session.send("stop\n");
  session.read_until("bestmove ", 10000);
  EXPECT_TRUE(session.last_read_found());
  session.close_input();
  EXPECT_EQ(session.wait_exit(10000), 0);
  EXPECT_EQ(count_of(session.all_output(), "bestmove "), 1u);
}

TEST(SearchPoll, QuitEndsTheSearchAndThenTheProgram) {
  ZoltSession session;
  start_infinite_search(session);
  session.send("quit\n");
  EXPECT_EQ(session.wait_exit(10000), 0);
  EXPECT_EQ(count_of(session.all_output(), "bestmove "), 1u);
}

TEST(SearchPoll, EndOfInputEndsTheSearchAndThenTheProgram) {
  ZoltSession session;
  start_infinite_search(session);
  session.close_input();
  EXPECT_EQ(session.wait_exit(10000), 0);
  EXPECT_EQ(count_of(session.all_output(), "bestmove "), 1u);
}

TEST(SearchPoll, PositionDuringASearchIsCarriedOutAfterIt) {
  ZoltSession session;
  start_infinite_search(session);
  session.send("position startpos moves e2e4 e7e5 g1f3\n");
  session.read_until("bestmove ", 10000);
  ASSERT_TRUE(session.last_read_found());
  // The next search starts from the new position: black to move after 2. Nf3.
  session.send("go depth 1\n");
  std::string text = session.read_until("bestmove ", 10000);
  text += session.read_until("\n", 5000);
  const std::string move = text.substr(text.find("bestmove ") + 9, 4);
  EXPECT_TRUE(move[1] == '7' || move[1] == '8') << text;
  session.send("quit\n");
  EXPECT_EQ(session.wait_exit(10000), 0);
}

TEST(SearchPoll, SeveralLinesInOneWriteAreAllHonoured) {
  ZoltSession session;
  start_infinite_search(session);
  // One write: answered, ignored, stops, then read by the loop after the search.
  session.send("isready\nucinewgame\nstop\nposition startpos moves d2d4\ngo depth 2\nisready\n");
  std::string text = session.read_until("readyok\n", 10000);
  ASSERT_TRUE(session.last_read_found());
  text += session.read_until("readyok\n", 20000);
  ASSERT_TRUE(session.last_read_found()) << text;
  EXPECT_EQ(count_of(text, "bestmove "), 2u) << text;
  // The second search answered for black after 1. d4.
  const size_t second = text.rfind("bestmove ");
  EXPECT_TRUE(text[second + 10] == '7' || text[second + 10] == '8') << text;
  session.send("quit\n");
  EXPECT_EQ(session.wait_exit(10000), 0);
}

TEST(SearchPoll, StopLeavesNoWordForTheLoop) {
  // Two stops: the first ends the search, the second arrives between
  // searches and does nothing.
  ZoltSession session;
  start_infinite_search(session);
  session.send("stop\n");
  session.read_until("bestmove ", 10000);
  session.send("stop\nisready\n");
  std::string text = session.read_until("readyok\n", 10000);
  EXPECT_TRUE(session.last_read_found());
  EXPECT_EQ(text.find("bestmove"), std::string::npos);
  session.send("quit\n");
  EXPECT_EQ(session.wait_exit(10000), 0);
}

TEST(SearchPoll, AnEmptyLineStopsConsoleAnalysis) {
  ZoltSession session;
  session.read_until("zolt: ");
  session.send("analyze\n");
  session.read_until("\n  3 ", 20000);
  ASSERT_TRUE(session.last_read_found());
  session.send("\n");
  std::string text = session.read_until("zolt: ", 20000);
  EXPECT_TRUE(session.last_read_found()) << text;
  session.send("quit\n");
  EXPECT_EQ(session.wait_exit(10000), 0);
}

// Once a search has been told to stop, the lines behind the stop word belong
// to the front end, even though the unwinding search still polls.
TEST(SearchPoll, LinesBehindAStopWordReachTheLoop) {
  ZoltSession session;
  start_infinite_search(session);
  session.send("stop\ngo depth 1\n");
  std::string text = session.read_until("bestmove ", 10000);
  text += session.read_until("bestmove ", 10000);
  EXPECT_TRUE(session.last_read_found()) << text;
  session.send("quit\n");
  EXPECT_EQ(session.wait_exit(10000), 0);
}

TEST(SearchPoll, CommandsBehindTheEmptyLineThatStopsAnalysisAreCarriedOut) {
  ZoltSession session;
  session.read_until("zolt: ");
  session.send("analyze\n");
  session.read_until("\n  3 ", 20000);
  ASSERT_TRUE(session.last_read_found());
  session.send("\nver\n");
  std::string text = session.read_until("Version: 0.0360", 20000);
  EXPECT_TRUE(session.last_read_found()) << text;
  session.send("quit\n");
  EXPECT_EQ(session.wait_exit(10000), 0);
}

// A line written in pieces while the search polls is taken when it is
// complete, once; the last line needs no newline when the input ends with it.
TEST(SearchPoll, LinesArrivingInPiecesAreReadOnce) {
  const char* const NEVER_PRINTED = "\x01never printed\x01";
  ZoltSession session;
  start_infinite_search(session);
  for (const char* piece : {"isre", "ady\nst", "op"}) {
    session.send(piece);
    session.read_until(NEVER_PRINTED, 300);  // the search polls meanwhile
  }
  session.send("\n");
  std::string text = session.read_until("bestmove ", 20000);
  ASSERT_TRUE(session.last_read_found()) << text;
  session.send("go infinite\n");
  session.read_until("info depth 3", 20000);
  session.send("qu");
  session.read_until(NEVER_PRINTED, 300);
  session.send("it");
  session.close_input();
  EXPECT_EQ(session.wait_exit(20000), 0);
  EXPECT_EQ(count_of(session.all_output(), "readyok"), 1u) << session.all_output();
  EXPECT_EQ(count_of(session.all_output(), "bestmove "), 2u);
  EXPECT_EQ(session.all_output().find("Illegal"), std::string::npos);
}
