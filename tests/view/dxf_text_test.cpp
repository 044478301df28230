#include "view/dxf_text.h"

#include <gtest/gtest.h>

namespace {

TEST(DxfTextValue, KeepsEveryTextOnOneLineOfCp1252) {
  const struct {
    const char* text;
    const char* value;
    const char* guards;
  } rows[] = {
      {"Plain 123", "Plain 123", "plain ASCII as it is"},
      {"a\rb\nc\td", "a b c d", "line ends and tabs would break the group pairs"},
      {"\x7f\xc2\x85", "  ", "DEL and C1 controls are controls too"},
      {"\xc3\xa9\xc3\xa0 \xe2\x82\xac", "\xe9\xe0 \x80", "accents and the euro sign in CP1252"},
      {"\xce\xa9", "\\U+03A9", "a character beyond CP1252 as an escape"},
      {"\xf0\x9f\x98\x80", "\\U+D83D\\U+DE00", "beyond U+FFFF as its two UTF-16 halves"},
      {"a\xff"
       "b",
       "a?b", "a byte that is not UTF-8"},
      {"C:\\dir", "C:\\dir", "a backslash that starts no escape"},
      {"\\U+0041", "\\U+005CU+0041", "a backslash that would read as an escape"},
  };
  for (const auto& row : rows) EXPECT_EQ(DxfTextValue(row.text), row.value) << row.guards;
}

}  // namespace
