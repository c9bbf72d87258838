// A test fixture that runs each test in a fresh directory under /tmp, which
// it removes afterwards, returning to the directory it started in.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace zolt_test {

class InTempDirectory : public ::testing::Test {
 protected:
  void enter_temp_directory(const char* name) {
    std::string pattern = std::string("/tmp/zolt-") + name + "-XXXXXX";
    char* made = mkdtemp(&pattern[0]);
    ASSERT_NE(made, nullptr);
    dir_ = made;
    char cwd[4096];
    old_dir_ = getcwd(cwd, sizeof cwd) ? cwd : "/";
    ASSERT_EQ(chdir(dir_.c_str()), 0);
  }
  void leave_temp_directory() {
    if (chdir(old_dir_.c_str()) != 0) return;
    const std::string command = "rm -rf " + dir_;
    if (system(command.c_str()) != 0) return;
  }
  std::string dir_, old_dir_;
};

}  // namespace zolt_test
