#include "app/startup.h"

#include <gtest/gtest.h>

namespace {

struct CommandLineCase {
  std::vector<std::string> arguments;
  std::string file;
  bool noSplash;
  const char* guards;
};

TEST(StartupTest, CommandLineTable) {
  const std::vector<CommandLineCase> cases = {
      {{}, "", false, "no arguments"},
      {{"/nsplash"}, "", true, "the switch alone leaves no file"},
      {{"/home/u/a.run"}, "/home/u/a.run", false, "a file"},
      {{"/home/u/a.run", "/nsplash"}, "/home/u/a.run", true, "file then switch"},
      {{"/home/u/my", "project.run"}, "/home/u/my project.run", false, "split path joined again"},
      {{"/nsplash", "a.run"}, "/nsplash a.run", false, "the switch counts only last"},
      {{"a.run", "/nsplash  "}, "a.run", true, "trailing blanks of the switch"},
      {{"/home/u/nsplash"}, "/home/u/nsplash", false, "a path ending in nsplash is a file"},
  };
  for (const CommandLineCase& row : cases) {
    CStartCommandLine parsed = ParseStartCommandLine(row.arguments);
    EXPECT_EQ(parsed.file, row.file) << row.guards;
    EXPECT_EQ(parsed.noSplash, row.noSplash) << row.guards;
  }
}

TEST(StartupTest, RelaunchKeepsTheFileAndAddsTheSwitch) {
  EXPECT_EQ(RelaunchArguments({"/d/a b.run", false}),
            (std::vector<std::string>{"/d/a b.run", "/nsplash"}));
  EXPECT_EQ(RelaunchArguments({"", false}), (std::vector<std::string>{"/nsplash"}));
  CStartCommandLine back = ParseStartCommandLine(RelaunchArguments({"/d/a b.run", false}));
  EXPECT_EQ(back.file, "/d/a b.run");
  EXPECT_TRUE(back.noSplash);
}

}  // namespace
