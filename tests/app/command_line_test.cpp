#include "app/command_line.h"

#include <gtest/gtest.h>

namespace {

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
