#include <gtest/gtest.h>

#include "harness.h"

TEST(E2eSmoke, ProgramEndsAtEndOfInput) {
  auto result = zolt_test::run_zolt("");
  EXPECT_EQ(result.exit_status, 0);
}
