// Runs the real zolt binary over pipes, in a fresh temporary directory, for
// transcript tests.
#pragma once

#include <string>
#include <vector>

namespace zolt_test {

struct RunResult {
  std::string output;   // everything written to stdout
  std::string errors;   // everything written to stderr
  int exit_status = -1; // -1 when killed after the timeout
  bool timed_out = false;
};

// A new empty directory under /tmp; the caller may put Zolt.cfg etc. in it.
std::string make_temp_dir();
void write_file(const std::string& dir, const std::string& name, const std::string& content);
std::string read_file(const std::string& dir, const std::string& name);
bool file_exists(const std::string& dir, const std::string& name);

// Starts zolt in dir (a fresh temporary directory when empty), writes input to
// its stdin, closes stdin and collects stdout until the program ends or the
// timeout passes.
RunResult run_zolt(const std::string& input, int timeout_ms = 20000, std::string dir = "");
// The same with command-line arguments after the program.
RunResult run_zolt_with_arguments(const std::vector<std::string>& arguments, const std::string& input,
                                  int timeout_ms = 20000);

// How the session's program gets its standard streams.
enum class Streams {
  PIPES,     // stdin and stdout are pipes; the program is zolt_command()
  TERMINAL,  // stdin and stdout are a pseudo-terminal; the program is zolt_console_command()
};

// An interactive session: send lines over time and wait for answers.
class ZoltSession {
 public:
  // The arguments follow the program's command.
  explicit ZoltSession(std::string dir = "", Streams streams = Streams::PIPES,
                       const std::vector<std::string>& arguments = {});
  ~ZoltSession();
  ZoltSession(const ZoltSession&) = delete;
  ZoltSession& operator=(const ZoltSession&) = delete;

  void send(const std::string& text);  // written as is; add "\n" yourself
  // Reads until the output (since the last call) contains needle; returns that
  // output. Returns what arrived so far when the timeout passes.
  std::string read_until(const std::string& needle, int timeout_ms = 20000);
  bool last_read_found() const { return found_; }
  // A TERMINAL session's terminal still turns typed text into lines (the
  // program has not switched it to raw input, as a wine console does).
  bool terminal_is_canonical() const;
  void close_input();
  // Waits for the program to end; returns its exit status, -1 on timeout (then kills it).
  int wait_exit(int timeout_ms = 20000);
  const std::string& all_output() const { return all_; }
  // What the program wrote to stderr, once it has ended.
  const std::string& error_output() const { return errors_; }
  const std::string& dir() const { return dir_; }

 private:
  bool pump(int timeout_ms);  // reads available output; false at end of output
  // In the forked child: stderr to the capture, into dir_, exec; never returns.
  [[noreturn]] void exec_in_dir(char* const* argv);
  void start_on_terminal(char* const* argv);
  // Once the program has ended: copies what it wrote to stderr to the test's
  // stderr, and fails the running test when that holds a sanitizer report.
  void check_error_output();
  std::string dir_;
  int pid_ = -1;
  int in_fd_ = -1;
  int out_fd_ = -1;
  int err_fd_ = -1;  // the program's stderr: an unlinked temporary file
  std::string all_;
  std::string errors_;
  size_t consumed_ = 0;
  bool found_ = false;
  bool exited_ = false;
  int status_ = -1;
};

// How often needle occurs in text (overlapping occurrences counted).
size_t count_of(const std::string& text, const std::string& needle);

// The zolt binary of this build.
std::string binary_path();

// The command that starts zolt: the environment variable ZOLT_COMMAND split at
// blanks when it is set (for example "wine64 zolt_launcher.exe zolt.exe"),
// else the binary of this build alone.
std::vector<std::string> zolt_command();
// The same as one line of text, for programs that start zolt themselves.
std::string zolt_command_line();
// The command that starts zolt on a terminal: ZOLT_CONSOLE_COMMAND when set
// (zolt.exe under wine without the launcher, which would give it pipes), else
// the binary of this build.
std::vector<std::string> zolt_console_command();

}  // namespace zolt_test
