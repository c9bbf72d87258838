// Polyglot drives zolt as its UCI engine while this test speaks the xboard
// protocol to polyglot, as an xboard-only interface would. Polyglot checks
// every move the engine sends and resigns the game on an illegal one.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "harness.h"

namespace {

std::string find_polyglot() {
  for (const char* path : {"/usr/games/polyglot", "/usr/bin/polyglot", "/usr/local/bin/polyglot"})
    if (access(path, X_OK) == 0) return path;
  return "";
}

int64_t now_ms() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// A child process on two pipes.
class Child {
 public:
  Child(const std::string& program, const std::string& argument, const std::string& dir) {
    int in_pipe[2], out_pipe[2];
    if (pipe(in_pipe) != 0 || pipe(out_pipe) != 0) return;
    signal(SIGPIPE, SIG_IGN);
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in_pipe[0], 0);
      dup2(out_pipe[1], 1);
      for (int fd : {in_pipe[0], in_pipe[1], out_pipe[0], out_pipe[1]}) close(fd);
      if (chdir(dir.c_str()) != 0) _exit(127);
      execl(program.c_str(), program.c_str(), argument.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(in_pipe[0]);
    close(out_pipe[1]);
    in_fd_ = in_pipe[1];
    out_fd_ = out_pipe[0];
  }

  ~Child() {
    if (in_fd_ >= 0) close(in_fd_);
    if (pid_ > 0 && wait_exit(5000) < 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (out_fd_ >= 0) close(out_fd_);
  }

  void send(const std::string& text) {
    if (write(in_fd_, text.data(), text.size()) < 0) return;
  }

  // The next line that starts with prefix (the lines before it are kept in skipped).
  std::string read_line_starting(const std::string& prefix, int timeout_ms) {
    int64_t end = now_ms() + timeout_ms;
    for (;;) {
      size_t eol;
      while ((eol = pending_.find('\n')) != std::string::npos) {
        std::string line = pending_.substr(0, eol);
        pending_.erase(0, eol + 1);
        skipped_ += line + "\n";
        if (line.compare(0, prefix.size(), prefix) == 0) return line;
      }
      int left = static_cast<int>(end - now_ms());
      if (left <= 0) return "";
      pollfd pfd{out_fd_, POLLIN, 0};
      if (poll(&pfd, 1, left) <= 0) continue;
      char chunk[4096];
      ssize_t got = read(out_fd_, chunk, sizeof chunk);
      if (got <= 0) return "";
      pending_.append(chunk, got);
    }
  }

  const std::string& transcript() const { return skipped_; }

  int wait_exit(int timeout_ms) {
    int64_t end = now_ms() + timeout_ms;
    while (now_ms() < end) {
      int status;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
      }
      usleep(10000);
    }
    return -1;
  }

 private:
  int pid_ = -1;
  int in_fd_ = -1;
  int out_fd_ = -1;
  std::string pending_;
  std::string skipped_;
};

TEST(Polyglot, XboardGameThroughPolyglot) {
  std::string polyglot = find_polyglot();
  if (polyglot.empty()) GTEST_SKIP() << "polyglot not installed";
  std::string dir = zolt_test::make_temp_dir();
  zolt_test::write_file(dir, "zolt.ini",
                        "[PolyGlot]\n"
                        "EngineCommand = " + zolt_test::binary_path() + "\n"
                        "EngineDir = " + dir + "\n"
                        "Log = true\n"
                        "LogFile = " + dir + "/polyglot.log\n"
                        "Book = false\n"
                        "[Engine]\n");
  Child gui(polyglot, dir + "/zolt.ini", dir);
  gui.send("xboard\nprotover 2\n");
  EXPECT_NE(gui.read_line_starting("feature done=1", 20000), "") << gui.transcript();
  EXPECT_NE(gui.transcript().find("feature myname=\"Zolt 0.0360\""), std::string::npos) << gui.transcript();
  gui.send("ping 1\n");
  EXPECT_EQ(gui.read_line_starting("pong", 10000), "pong 1");

  // We play white with moves that stay legal whatever black answers in the
  // opening; the engine answers each one within a second.
  gui.send("new\nst 1\n");
  for (const char* move : {"e2e4", "g1f3", "b1c3"}) {
    gui.send(std::string("usermove ") + move + "\n");
    std::string reply = gui.read_line_starting("move ", 20000);
    ASSERT_EQ(reply.size(), 9u) << "after " << move << ":\n" << gui.transcript();
    EXPECT_EQ(gui.transcript().find("illegal"), std::string::npos) << gui.transcript();
  }

  // The engine plays white as well when asked to move in the current position.
  gui.send("force\ngo\n");
  EXPECT_NE(gui.read_line_starting("move ", 20000), "") << gui.transcript();
  gui.send("ping 2\n");
  EXPECT_EQ(gui.read_line_starting("pong", 10000), "pong 2");
  EXPECT_EQ(gui.transcript().find("resign"), std::string::npos) << gui.transcript();
  EXPECT_EQ(gui.transcript().find("Illegal"), std::string::npos) << gui.transcript();

  gui.send("quit\n");
  EXPECT_EQ(gui.wait_exit(10000), 0);
  // Polyglot sent UCI to zolt and zolt answered with UCI.
  std::string log = zolt_test::read_file(dir, "polyglot.log");
  EXPECT_NE(log.find("Engine->Adapter: uciok"), std::string::npos);
  EXPECT_NE(log.find("Adapter->Engine: position startpos moves e2e4"), std::string::npos);
  EXPECT_EQ(log.find("Illegal move"), std::string::npos);
}

}  // namespace
