#include <gtest/gtest.h>

#include "platform/debug_trace.h"
#include "platform/valid_object.h"

namespace {

TEST(DebugTrace, WritesOneLineToTheDebuggingOutput) {
  ::testing::internal::CaptureStderr();
  DebugTrace("rebuild of run A: 12 parts");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "rebuild of run A: 12 parts\n");
}

TEST(IsValidObject, NullIsNotAnObject) {
  int value = 3;
  EXPECT_TRUE(IsValidObject(&value));
  EXPECT_FALSE(IsValidObject(static_cast<const int*>(nullptr)));
}

}  // namespace
