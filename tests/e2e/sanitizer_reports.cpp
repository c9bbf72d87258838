// The programs these tests start (zolt directly, zolt under polyglot or the
// game runner) write any AddressSanitizer, LeakSanitizer or
// UndefinedBehaviorSanitizer report into a directory owned by this test
// process instead of to a stderr nobody reads. A report found there once the
// tests are done fails the run, even where a test looks neither at the exit
// status nor at the output of the program that made it. Programs built without
// sanitizers ignore the variables, so this costs nothing in other builds.
#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

class SanitizerReports : public testing::Environment {
 public:
  void SetUp() override {
    char pattern[] = "/tmp/zolt-sanitizer-XXXXXX";
    if (!mkdtemp(pattern)) {
      ADD_FAILURE() << "cannot create a directory for sanitizer reports";
      return;
    }
    dir_ = pattern;
    direct_reports_to_dir("ASAN_OPTIONS");
    direct_reports_to_dir("UBSAN_OPTIONS");
  }

  void TearDown() override {
    if (dir_.empty()) return;
    std::string reports = collect_and_remove_reports();
    rmdir(dir_.c_str());
    if (!reports.empty()) ADD_FAILURE() << "a program started by the tests reported a fault:\n" << reports;
  }

 private:
  // Appends log_path to the options the children inherit; a later option of
  // the same name overrides an earlier one.
  void direct_reports_to_dir(const char* variable) {
    const char* inherited = getenv(variable);
    std::string options = inherited && *inherited ? std::string(inherited) + ":" : "";
    options += "log_path=" + dir_ + "/report";
    setenv(variable, options.c_str(), 1);
  }

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
