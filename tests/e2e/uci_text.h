// Pieces of UCI output that the transcript tests pick apart.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "harness.h"

namespace zolt_test {

inline std::vector<std::string> lines_starting(const std::string& text, const std::string& prefix) {
  std::vector<std::string> found;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line))
    if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
  return found;
}

// The iteration reports: "info depth" lines that carry a "pv".
inline std::vector<std::string> iteration_lines(const std::string& reply) {
  std::vector<std::string> found;
  for (const std::string& line : lines_starting(reply, "info depth "))
    if (line.find(" pv ") != std::string::npos) found.push_back(line);
  return found;
}

inline int depth_of(const std::string& info) { return std::stoi(info.substr(11)); }

inline std::string field(const std::string& info, const std::string& name) {
  size_t at = info.find(" " + name + " ");
  if (at == std::string::npos) return "";
  at += name.size() + 2;
  return info.substr(at, info.find(' ', at) - at);
}

// The text of the first "bestmove" line after the word: the move and any " ponder" reply.
inline std::string bestmove_line(const std::string& reply) {
  size_t at = reply.find("bestmove ");
  if (at == std::string::npos) return "<none>";
  return reply.substr(at + 9, reply.find('\n', at) - at - 9);
}

inline std::string bestmove(const std::string& reply) {
  const std::string line = bestmove_line(reply);
  return line.substr(0, line.find(' '));
}

// Runs the commands one step at a time: each step is sent once the previous
// one has printed its marker (a search must not see the next line, or the end
// of input, which would stop it). Returns everything after "uciok".
inline std::string uci_steps(const std::vector<std::pair<std::string, std::string>>& steps, const std::string& dir = "") {
  ZoltSession session(dir);
  session.send("uci\n");
  session.read_until("uciok\n");
  std::string reply;
  for (const auto& step : steps) {
    session.send(step.first);
    reply += session.read_until(step.second, 120000);
    EXPECT_TRUE(session.last_read_found()) << step.first << " -> " << reply;
  }
  session.send("quit\n");
  EXPECT_EQ(session.wait_exit(20000), 0);
  return reply;
}

// One search: the commands up to "go", answered by "bestmove".
inline std::string uci_search(const std::string& commands, const std::string& dir = "") {
  return uci_steps({{commands, "bestmove"}, {"isready\n", "readyok\n"}}, dir);
}

}  // namespace zolt_test
