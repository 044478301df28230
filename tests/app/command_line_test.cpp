#include "app/command_line.h"

#include <gtest/gtest.h>

namespace {

using Words = std::vector<std::string>;

struct SplitCase {
  std::string text;
  Words expected;
  const char* guards;
};

class SplitCommandLineCases : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineCases, SplitsLikeTheCRuntime) {
  EXPECT_EQ(SplitCommandLine(GetParam().text), GetParam().expected) << GetParam().guards;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitCommandLineCases,
    ::testing::Values(
        SplitCase{R"(word "two words" a\"b)", {"word", "two words", "a\"b"},
                  "unquoted, quoted with a blank, escaped quote"},
        SplitCase{"  a \t b  ", {"a", "b"}, "blanks and tabs separate, runs collapse"},
        SplitCase{"", {}, "empty"}, SplitCase{"   ", {}, "blanks only"},
        SplitCase{R"("")", {""}, "an empty quoted part is a word"},
        SplitCase{R"(a"b c"d)", {"ab cd"}, "quotes inside a word"},
        SplitCase{R"("a ""b"" c")", {"a \"b\" c"}, "two quotes inside quotes give one"},
        SplitCase{R"(a\\"b c")", {"a\\b c"}, "2n backslashes: n, and the quote opens"},
        SplitCase{R"(a\\\"b)", {"a\\\"b"}, "2n+1 backslashes: n and a literal quote"},
        SplitCase{R"(C:\dir\file.run)", {"C:\\dir\\file.run"}, "other backslashes literal"},
        SplitCase{R"(a\\ b)", {"a\\\\", "b"}, "backslashes before a blank stay"},
        SplitCase{R"("unterminated quote)", {"unterminated quote"}, "open quote to the end"},
        SplitCase{"a\\", {"a\\"}, "final backslash"}));

}  // namespace
