#include "app/startup.h"
#include "app/command_line.h"

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

TEST(SplitCommandLineTest, SplitsLikeTheCRuntime) {
  const struct {
    std::string text;
    std::vector<std::string> expected;
    const char* guards;
  } cases[] = {{R"(word "two words" a\"b)",
                {"word", "two words", "a\"b"},
                "unquoted, quoted with a blank, escaped quote"},
               {"  a \t b  ", {"a", "b"}, "blanks and tabs separate, runs collapse"},
               {"", {}, "empty"},
               {"   ", {}, "blanks only"},
               {R"("")", {""}, "an empty quoted part is a word"},
               {R"(a"b c"d)", {"ab cd"}, "quotes inside a word"},
               {R"("a ""b"" c")", {"a \"b\" c"}, "two quotes inside quotes give one"},
               {R"(a\\"b c")", {"a\\b c"}, "2n backslashes: n, and the quote opens"},
               {R"(a\\\"b)", {"a\\\"b"}, "2n+1 backslashes: n and a literal quote"},
               {R"(C:\dir\file.run)", {"C:\\dir\\file.run"}, "other backslashes literal"},
               {R"(a\\ b)", {"a\\\\", "b"}, "backslashes before a blank stay"},
               {R"("unterminated quote)", {"unterminated quote"}, "open quote to the end"},
               {"a\\", {"a\\"}, "final backslash"}};
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.text), c.expected) << c.guards;
}

}  // namespace
