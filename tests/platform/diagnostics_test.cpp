#include <gtest/gtest.h>

#include "platform/debug_trace.h"

namespace {

TEST(DebugTrace, WritesOneLineToTheDebuggingOutput) {
  ::testing::internal::CaptureStderr();
  DebugTrace("rebuild of run A: 12 parts");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "rebuild of run A: 12 parts\n");
}

}  // namespace
