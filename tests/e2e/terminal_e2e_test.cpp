// The console as a person uses it: zolt on a (pseudo-)terminal, where the
// pending-input test is the terminal's (on Windows the console key-press
// test, under wine), not a pipe's. The terminal echoes the typed text and a
// Windows console draws through escape sequences, so the checks look at the
// text with those taken out, never at exact transcripts.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "harness.h"

namespace {

using zolt_test::Streams;
using zolt_test::count_of;
using zolt_test::ZoltSession;

constexpr int GENEROUS_MS = 30000;
constexpr int RAW_SWITCH_MS = 3000;  // how long a console may take to take over the terminal
const char* const NEVER_PRINTED = "\x01never printed\x01";

// The output as plain text: a cursor step forward is a blank, other escape
// sequences, carriage returns and backspaces go, runs of blanks become one.
std::string plain_text(const std::string& output) {
  static const std::regex forward("\x1b\\[[0-9]*C");
  static const std::regex escape("\x1b\\[[0-9;?]*[A-Za-z]");
  static const std::regex blanks(" +");
  std::string text = std::regex_replace(output, forward, " ");
  text = std::regex_replace(text, escape, "");
  std::string kept;
  for (char c : text)
    if (c != '\r' && c != '\b') kept += c;
  return std::regex_replace(kept, blanks, " ");
}

// Types a line as a person does: the Enter key sends a carriage return.
void type_line(ZoltSession& session, const std::string& line) { session.send(line + "\r"); }

// Reads until the plain text of everything printed so far holds needle.
bool wait_for_text(ZoltSession& session, const std::string& needle) {
  for (int waited = 0; waited < GENEROUS_MS; waited += 100) {
    if (plain_text(session.all_output()).find(needle) != std::string::npos) return true;
    session.read_until(NEVER_PRINTED, 100);
  }
  return false;
}

}  // namespace

// A move at depth 2, then analysis that runs until an empty line is typed;
// the next command is read normally, once.
TEST(Terminal, ConsolePlayAndAnalysisStoppedByEnter) {
  ZoltSession session("", Streams::TERMINAL);
  ASSERT_TRUE(wait_for_text(session, "zolt:")) << plain_text(session.all_output());
  // A wine console switches the terminal to raw input only when the program
  // first reads; text typed before that reaches it as Ctrl-J, not Enter.
  for (int waited = 0; waited < RAW_SWITCH_MS && session.terminal_is_canonical(); waited += 100)
    session.read_until(NEVER_PRINTED, 100);
  type_line(session, "sd 2");
  type_line(session, "e2e4");
  ASSERT_TRUE(wait_for_text(session, "Zolt moves: ")) << plain_text(session.all_output());
  type_line(session, "analyze");
  // Enter only after the first poll (at node 4096, before depth 5 is
  // reported): a Windows console discards the input waiting at that poll.
  ASSERT_TRUE(wait_for_text(session, "\n 5 ")) << plain_text(session.all_output());
  type_line(session, "");
  type_line(session, "ver");
  ASSERT_TRUE(wait_for_text(session, "Version: 0.0360")) << plain_text(session.all_output());
  type_line(session, "quit");
  EXPECT_EQ(session.wait_exit(GENEROUS_MS), 0);
  const std::string text = plain_text(session.all_output());
  EXPECT_EQ(count_of(text, "Version: 0.0360"), 1u) << text;
  EXPECT_EQ(text.find("input correct ?"), std::string::npos) << text;
}
