#include <gtest/gtest.h>

#include "position/state.h"

TEST(Smoke, EmptyBoardHasBorder) {
  EXPECT_EQ(zolt::EMPTY_BOARD[0], zolt::OFF_BOARD);
  EXPECT_EQ(zolt::EMPTY_BOARD[21], zolt::EMPTY);
  EXPECT_EQ(zolt::EMPTY_BOARD[98], zolt::EMPTY);
  EXPECT_EQ(zolt::EMPTY_BOARD[99], zolt::OFF_BOARD);
}
