// Sanitizer reports of the programs these tests start fail the run, even
// where a test looks neither at the exit status nor at the output of the
// program that made the report.
//
// AddressSanitizer and LeakSanitizer reports of every descendant (zolt run
// directly, under polyglot or under the game runner, which discards zolt's
// stderr) go to files in a directory of this test process, read once the
// tests are done. UndefinedBehaviorSanitizer ignores log_path when it runs
// beside AddressSanitizer; its reports are fatal, and the harness finds them
// on the stderr of the zolt it starts. Programs built without sanitizers
// ignore these variables.
#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// Appends an option to those the children inherit; a later option of the same
// name overrides an earlier one.
void append_option(const char* variable, const std::string& option) {
  const char* inherited = getenv(variable);
  std::string options = inherited && *inherited ? std::string(inherited) + ":" : "";
  options += option;
  setenv(variable, options.c_str(), 1);
}

class SanitizerReports : public testing::Environment {
 public:
  void SetUp() override {
    char pattern[] = "/tmp/zolt-sanitizer-XXXXXX";
    if (!mkdtemp(pattern)) {
      ADD_FAILURE() << "cannot create a directory for sanitizer reports";
      return;
    }
    dir_ = pattern;
    append_option("ASAN_OPTIONS", "log_path=" + dir_ + "/report");
    append_option("UBSAN_OPTIONS", "print_stacktrace=1");
  }

  void TearDown() override {
    if (dir_.empty()) return;
    std::string reports = collect_and_remove_reports();
    rmdir(dir_.c_str());
    if (!reports.empty()) ADD_FAILURE() << "a program started by the tests reported a fault:\n" << reports;
  }

 private:
  // Each reporting process writes report.<pid>.
  std::string collect_and_remove_reports() {
    std::string reports;
    DIR* dir = opendir(dir_.c_str());
    if (!dir) return reports;
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      std::string path = dir_ + "/" + name;
      std::ifstream in(path, std::ios::binary);
      std::stringstream text;
      text << in.rdbuf();
      reports += "--- " + name + "\n" + text.str();
      unlink(path.c_str());
    }
    closedir(dir);
    return reports;
  }

  std::string dir_;
};

testing::Environment* const sanitizer_reports = testing::AddGlobalTestEnvironment(new SanitizerReports);

}  // namespace
