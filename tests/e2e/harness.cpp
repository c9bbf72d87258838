#include "harness.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zolt_test {

namespace {

int64_t now_ms() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// An anonymous file for a child's stderr; -1 when none can be made.
int make_error_capture() {
  char name[] = "/tmp/zolt-stderr-XXXXXX";
  int fd = mkostemp(name, O_CLOEXEC);
  if (fd >= 0) unlink(name);
  return fd;
}

// Markers of AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer reports.
bool has_sanitizer_report(const std::string& text) {
  for (const char* marker : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:"})
    if (text.find(marker) != std::string::npos) return true;
  return false;
}

}  // namespace

// ZOLT_E2E_BINARY, when set, names the program to test instead of the zolt
// of this build: a sanitizer build runs these tests against its own zolt.
std::string binary_path() {
  const char* other = getenv("ZOLT_E2E_BINARY");
  return other && *other ? other : ZOLT_BINARY;
}

size_t count_of(const std::string& text, const std::string& needle) {
  size_t n = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

namespace {

// The words of the environment variable, or the binary of this build when it is unset.
std::vector<std::string> command_from(const char* variable) {
  const char* line = getenv(variable);
  if (!line || !*line) return {binary_path()};
  std::vector<std::string> words;
  std::istringstream text(line);
  for (std::string word; text >> word;) words.push_back(word);
  return words;
}

}  // namespace

std::vector<std::string> zolt_command() { return command_from("ZOLT_COMMAND"); }

std::vector<std::string> zolt_console_command() { return command_from("ZOLT_CONSOLE_COMMAND"); }

std::string zolt_command_line() {
  const char* line = getenv("ZOLT_COMMAND");
  return line && *line ? line : binary_path();
}

std::string make_temp_dir() {
  char pattern[] = "/tmp/zolt-test-XXXXXX";
  char* made = mkdtemp(pattern);
  if (!made) throw std::runtime_error("mkdtemp failed");
  return made;
}

void write_file(const std::string& dir, const std::string& name, const std::string& content) {
  std::ofstream out(dir + "/" + name, std::ios::binary);
  out << content;
}

std::string read_file(const std::string& dir, const std::string& name) {
  std::ifstream in(dir + "/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool file_exists(const std::string& dir, const std::string& name) { return access((dir + "/" + name).c_str(), F_OK) == 0; }

ZoltSession::ZoltSession(std::string dir, Streams streams, const std::vector<std::string>& arguments)
    : dir_(dir.empty() ? make_temp_dir() : std::move(dir)) {
  signal(SIGPIPE, SIG_IGN);
  err_fd_ = make_error_capture();
  // The argument vector is made before the fork: the child only calls exec.
  std::vector<std::string> command = streams == Streams::PIPES ? zolt_command() : zolt_console_command();
  command.insert(command.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  if (streams == Streams::TERMINAL) {
    start_on_terminal(argv.data());
    return;
  }
  int in_pipe[2], out_pipe[2];
  if (pipe(in_pipe) != 0 || pipe(out_pipe) != 0) throw std::runtime_error("pipe failed");
  pid_ = fork();
  if (pid_ == 0) {
    dup2(in_pipe[0], 0);
    dup2(out_pipe[1], 1);
    close(in_pipe[0]);
    close(in_pipe[1]);
    close(out_pipe[0]);
    close(out_pipe[1]);
    exec_in_dir(argv.data());
  }
  close(in_pipe[0]);
  close(out_pipe[1]);
  in_fd_ = in_pipe[1];
  out_fd_ = out_pipe[0];
}

void ZoltSession::exec_in_dir(char* const* argv) {
  if (err_fd_ >= 0) dup2(err_fd_, 2);
  if (chdir(dir_.c_str()) != 0) _exit(127);
  execvp(argv[0], argv);
  _exit(127);
}

void ZoltSession::start_on_terminal(char* const* argv) {
  int terminal = -1;
  pid_ = forkpty(&terminal, nullptr, nullptr, nullptr);
  if (pid_ < 0) throw std::runtime_error("forkpty failed");
  if (pid_ == 0) exec_in_dir(argv);
  in_fd_ = terminal;
  out_fd_ = dup(terminal);
}

bool ZoltSession::terminal_is_canonical() const {
  termios mode;
  return tcgetattr(in_fd_, &mode) == 0 && (mode.c_lflag & ICANON) != 0;
}

ZoltSession::~ZoltSession() {
  close_input();
  if (!exited_) wait_exit(5000);
  if (out_fd_ >= 0) close(out_fd_);
}

void ZoltSession::send(const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(in_fd_, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

void ZoltSession::close_input() {
  if (in_fd_ >= 0) close(in_fd_);
  in_fd_ = -1;
}

bool ZoltSession::pump(int timeout_ms) {
  if (out_fd_ < 0) return false;
  pollfd pfd{out_fd_, POLLIN, 0};
  if (poll(&pfd, 1, timeout_ms) <= 0) return true;
  char chunk[65536];
  ssize_t n = read(out_fd_, chunk, sizeof chunk);
  if (n <= 0) {
    close(out_fd_);
    out_fd_ = -1;
    return false;
  }
  all_.append(chunk, static_cast<size_t>(n));
  return true;
}

std::string ZoltSession::read_until(const std::string& needle, int timeout_ms) {
  int64_t end = now_ms() + timeout_ms;
  found_ = false;
  for (;;) {
    size_t at = all_.find(needle, consumed_);
    if (at != std::string::npos) {
      std::string part = all_.substr(consumed_, at + needle.size() - consumed_);
      consumed_ = at + needle.size();
      found_ = true;
      return part;
    }
    int64_t left = end - now_ms();
    if (left <= 0 || !pump(static_cast<int>(left > 100 ? 100 : left))) {
      if (left > 0 && all_.find(needle, consumed_) != std::string::npos) continue;
      std::string part = all_.substr(consumed_);
      consumed_ = all_.size();
      return part;
    }
  }
}

int ZoltSession::wait_exit(int timeout_ms) {
  if (exited_) return status_;
  int64_t end = now_ms() + timeout_ms;
  for (;;) {
    while (pump(0) && out_fd_ >= 0) {
      pollfd pfd{out_fd_, POLLIN, 0};
      if (poll(&pfd, 1, 0) <= 0) break;
    }
    int status;
    pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      while (pump(10)) {
      }
      exited_ = true;
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      check_error_output();
      return status_;
    }
    if (now_ms() > end) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
      exited_ = true;
      status_ = -1;
      check_error_output();
      return -1;
    }
    pump(20);
  }
}

void ZoltSession::check_error_output() {
  if (err_fd_ < 0) return;
  std::string text;
  char chunk[4096];
  ssize_t n;
  while ((n = pread(err_fd_, chunk, sizeof chunk, static_cast<off_t>(text.size()))) > 0)
    text.append(chunk, static_cast<size_t>(n));
  close(err_fd_);
  err_fd_ = -1;
  errors_ = text;
  if (text.empty()) return;
  fputs(text.c_str(), stderr);
  if (has_sanitizer_report(text)) ADD_FAILURE() << "zolt reported a fault on stderr:\n" << text;
}

namespace {

RunResult run_session(ZoltSession& session, const std::string& input, int timeout_ms) {
  session.send(input);
  session.close_input();
  RunResult result;
  result.exit_status = session.wait_exit(timeout_ms);
  result.timed_out = result.exit_status == -1;
  result.output = session.all_output();
  result.errors = session.error_output();
  return result;
}

}  // namespace

RunResult run_zolt(const std::string& input, int timeout_ms, std::string dir) {
  ZoltSession session(std::move(dir));
  return run_session(session, input, timeout_ms);
}

RunResult run_zolt_with_arguments(const std::vector<std::string>& arguments, const std::string& input,
                                  int timeout_ms) {
  ZoltSession session("", Streams::PIPES, arguments);
  return run_session(session, input, timeout_ms);
}

}  // namespace zolt_test
