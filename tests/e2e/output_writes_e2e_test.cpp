// Every output line leaves in one write: seen from outside, in the write
// calls that strace records, and through the npm client library node-uci,
// which takes what each read of the pipe returns for whole lines.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"

namespace {

// A program found on the PATH, "" when there is none.
std::string find_on_path(const std::string& name) {
  const char* path = getenv("PATH");
  std::istringstream dirs(path ? path : "");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    const std::string candidate = dir + "/" + name;
    if (!dir.empty() && access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return "";
}

// Text in single quotes for the shell.
std::string shell_quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Runs a shell command line; its standard output, and the exit status in status.
std::string run_shell(const std::string& command, int& status) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    status = -1;
    return out;
  }
  char chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) out.append(chunk, n);
  const int raw = pclose(pipe);
  status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return out;
}

// The bytes of each write(1, ...) in a trace written by strace -xx.
std::vector<std::string> writes_to_standard_output(const std::string& trace) {
  std::vector<std::string> writes;
  static const std::regex WRITE("^(?:[0-9]+ +)?write\\(1, \"((?:\\\\x[0-9a-f]{2})*)\", [0-9]+\\)");
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (!std::regex_search(line, m, WRITE)) continue;
    const std::string hex = m[1];
    std::string bytes;
    for (size_t i = 0; i + 4 <= hex.size(); i += 4)
      bytes += static_cast<char>(std::stoi(hex.substr(i + 2, 2), nullptr, 16));
    writes.push_back(bytes);
  }
  return writes;
}

// A session under strace: the console with a search, then the UCI loop with
// searches (an illegal move, a promotion, an answer during a search); each
// command is sent once the answer to the one before it has arrived, so no
// search is cut short.
std::string traced_session(const std::string& strace, const std::string& trace_file) {
  const char* const saved = getenv("ZOLT_COMMAND");
  const std::string saved_command = saved ? saved : "";
  // LeakSanitizer cannot work in a traced process: a sanitizer build runs without it here.
  const char* const asan = getenv("ASAN_OPTIONS");
  const std::string sanitizer = asan ? std::string("env ASAN_OPTIONS=") + asan + ":detect_leaks=0 " : "";
  const std::string traced =
      sanitizer + strace + " -xx -s 1000000 -e trace=write -o " + trace_file + " " + zolt_test::binary_path();
  setenv("ZOLT_COMMAND", traced.c_str(), 1);
  std::string output;
  {
    zolt_test::ZoltSession session;
    const struct {
      const char* command;
      const char* answer;
    } steps[] = {
        {"", "zolt: "},
        {"disp\n", "zolt: "},
        {"foo\n", "zolt: "},
        {"sd 4\n", "zolt: "},
        {"e2e4\n", "zolt: "},
        {"uci\n", "uciok\n"},
        {"setoption name Move Overhead value 10\nposition startpos moves e2e4 e7e5 x9\nisready\n", "readyok\n"},
        {"go depth 6\nisready\n", "bestmove "},
        {"position fen 8/5P1k/8/8/8/8/6p1/K7 w - - 0 1\ngo depth 7\n", "bestmove "},
        {"position startpos\ngo nodes 300000\n", "bestmove "},
        {"quit\n", ""},
    };
    for (const auto& step : steps) {
      session.send(step.command);
      if (!step.answer[0]) continue;
      session.read_until(step.answer, 60000);
      EXPECT_TRUE(session.last_read_found()) << step.command;
    }
    session.wait_exit(60000);
    output = session.all_output();
  }
  if (saved)
    setenv("ZOLT_COMMAND", saved_command.c_str(), 1);
  else
    unsetenv("ZOLT_COMMAND");
  return output;
}

}  // namespace

TEST(OutputWrites, EveryLineLeavesInOneWrite) {
  const std::string strace = find_on_path("strace");
  if (strace.empty()) GTEST_SKIP() << "strace not installed";
  int status = 0;
  run_shell(shell_quoted(strace) + " -o /dev/null true 2>/dev/null", status);
  if (status != 0) GTEST_SKIP() << "strace cannot trace here";

  const std::string dir = zolt_test::make_temp_dir();
  const std::string output = traced_session(strace, dir + "/trace.txt");
  const std::vector<std::string> writes = writes_to_standard_output(zolt_test::read_file(dir, "trace.txt"));
  std::string joined;
  for (const std::string& w : writes) joined += w;
  ASSERT_EQ(joined, output) << "the trace holds every byte of the output";
  ASSERT_NE(output.find("\nbestmove f7f8q"), std::string::npos) << output;

  // A write ends at a line's end, at the progress line's carriage return, or
  // with the console's prompt before it reads the next command.
  size_t search_lines = 0;
  for (const std::string& w : writes) {
    const char last = w.back();
    EXPECT_TRUE(last == '\n' || last == '\r' || w == "zolt: ") << "a write ends inside a line: [" << w << "]";
    // A search's lines leave as they are printed, each in a write of its own.
    for (const char* start : {"info ", "bestmove ", "readyok"}) {
      if (w.rfind(start, 0) != 0) continue;
      ++search_lines;
      EXPECT_EQ(zolt_test::count_of(w, "\n"), 1u) << w;
    }
  }
  const size_t printed = zolt_test::count_of(output, "\ninfo ") + zolt_test::count_of(output, "\nbestmove ") +
                         zolt_test::count_of(output, "\nreadyok");
  EXPECT_EQ(search_lines, printed);
}

// node-uci reads every bestmove and ponder of 20 searches as a whole move.
TEST(NodeUciPeer, EveryBestmoveAndPonderIsAWholeMove) {
  const std::string node = find_on_path("node");
  if (node.empty()) GTEST_SKIP() << "node not installed";
  const std::string peer_dir = std::string(ZOLT_SOURCE_DIR) + "/tools/node-uci";
  if (access((peer_dir + "/node_modules/node-uci/package.json").c_str(), R_OK) != 0)
    GTEST_SKIP() << "node-uci not installed (npm install --prefix tools/node-uci)";

  // node-uci starts its engine without arguments: a command of several words
  // (zolt under wine) is started through a script.
  const std::string dir = zolt_test::make_temp_dir();
  std::string engine = zolt_test::binary_path();
  const std::vector<std::string> command = zolt_test::zolt_command();
  if (command.size() > 1) {
    std::string script = "#!/bin/sh\nexec";
    for (const std::string& word : command) script += " " + shell_quoted(word);
    zolt_test::write_file(dir, "engine.sh", script + "\n");
    engine = dir + "/engine.sh";
    chmod(engine.c_str(), 0755);
  }
  int status = 0;
  const std::string out = run_shell("cd " + shell_quoted(dir) + " && NODE_PATH=" + shell_quoted(peer_dir + "/node_modules") +
                                        " " + shell_quoted(node) + " " + shell_quoted(peer_dir + "/peer.js") + " " +
                                        shell_quoted(engine),
                                    status);
  EXPECT_EQ(status, 0) << out;

  static const std::regex ANSWER("bestmove ([^ ]+)(?: ponder ([^ ]+))?");
  static const std::regex MOVE("[a-h][1-8][a-h][1-8][qrbn]?");
  std::istringstream lines(out);
  int answers = 0;
  for (std::string line; std::getline(lines, line); ++answers) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(line, m, ANSWER)) << line;
    EXPECT_TRUE(std::regex_match(m[1].str(), MOVE)) << line;
    if (m[2].matched) {
      EXPECT_TRUE(std::regex_match(m[2].str(), MOVE)) << line;
    }
    // The last position's pawns promote: a cut move loses its letter.
    for (const std::string& move : {m[1].str(), m[2].str()}) {
      if (move.rfind("f7f8", 0) == 0 || move.rfind("g2g1", 0) == 0) {
        EXPECT_EQ(move.size(), 5u) << line;
      }
    }
  }
  EXPECT_EQ(answers, 20) << out;
}
