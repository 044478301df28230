#include "platform/text_conversions.h"

#include <gtest/gtest.h>

#include "support/case_table.h"

#include <climits>
#include <cstdint>
#include <clocale>
#include <random>
#include <string>

namespace {

TEST(TextToInt, ReadsLeadingDigits) {
  for (const CCaseRow& row : ReadCaseTable("platform/text_to_int.tsv", 3)) {
    SCOPED_TRACE(row.where + " " + row[2]);
    EXPECT_EQ(TextToInt(row[0]), row.Int(1));
  }
}

TEST(TextToDouble, ReadsWithAPoint) {
  for (const CCaseRow& row : ReadCaseTable("platform/text_to_double.tsv", 3)) {
    SCOPED_TRACE(row.where + " " + row[2]);
    EXPECT_DOUBLE_EQ(TextToDouble(row[0]), row.Number(1));
  }
}

TEST(TextToDouble, IgnoresADecimalCommaLocale) {
  const char* saved = std::setlocale(LC_ALL, nullptr);
  std::string previous = saved ? saved : "C";
  if (std::setlocale(LC_ALL, "fr_FR.UTF-8") == nullptr) GTEST_SKIP() << "no fr_FR.UTF-8 locale";
  EXPECT_DOUBLE_EQ(TextToDouble("0.75"), 0.75);
  EXPECT_DOUBLE_EQ(TextToDouble("0,75"), 0.0);
  EXPECT_EQ(TextToColor("1,2,3"), MakeColor(1, 2, 3));
  std::setlocale(LC_ALL, previous.c_str());
}

TEST(TextToColor, RedFirst) {
  for (const CCaseRow& row : ReadCaseTable("platform/text_to_color.tsv", 3)) {
    SCOPED_TRACE(row.where + " " + row[2]);
    EXPECT_EQ(TextToColor(row[0]).ToColorRef(), row.Int(1));
  }
}

TEST(TextToBool, FiveWordsAreTrue) {
  const std::pair<const char*, bool> cases[] = {
      {"True", true},   {"yes", true}, {"ON", true}, {"1", true},      {"t", true},
      {"False", false}, {"2", false},  {"", false},  {"truee", false}, {"Y", false}};
  for (auto [text, expected] : cases) EXPECT_EQ(TextToBool(text), expected) << text;
}

TEST(TextToRect, FollowsThePattern) {
  const struct {
    const char* text;
    CRect expected;
    bool whole;  // all four numbers read: the strict form gives the rectangle
    const char* guards;
  } cases[] = {
      {"Left 1, Top 2, Right 3, Bottom 4", {1, 2, 3, 4}, true, "written form"},
      {"Left -10, Top -20, Right 300, Bottom 400", {-10, -20, 300, 400}, true, "negatives"},
      {"Left 1,Top 2,  Right 3,   Bottom   4", {1, 2, 3, 4}, true, "pattern blanks take any run"},
      {"Left 1, Top 2", {1, 2, 0, 0}, false, "missing fields stay 0"},
      {"Left 1, Tip 2, Right 3, Bottom 4", {1, 0, 0, 0}, false, "stops at a wrong word"},
      {"left 1, Top 2, Right 3, Bottom 4", {0, 0, 0, 0}, false, "words are case-sensitive"},
      {"Left x, Top 2", {0, 0, 0, 0}, false, "stops at a field without digits"},
      {"", {0, 0, 0, 0}, false, "empty"}};
  for (const auto& c : cases) {
    EXPECT_EQ(TextToRect(c.text), c.expected) << c.guards;
    const std::optional<CRect> strict = TryTextToRect(c.text);
    EXPECT_EQ(strict.has_value(), c.whole) << c.guards;
    if (strict) {
      EXPECT_EQ(*strict, c.expected) << c.guards;
    }
  }
}

TEST(TextWriters, WriteTheFileFormsThatReadBack) {
  EXPECT_EQ(BoolToText(true), "True");
  EXPECT_EQ(BoolToText(false), "False");
  EXPECT_EQ(ColorToText(MakeColor(255, 0, 0)), "255,0,0");
  EXPECT_EQ(ColorToText(CColor::FromColorRef(0xFF123456u)),
            "86,52,18");  // the high byte is not a colour
  for (std::uint32_t colorRef : {0u, 0x00FFFFFFu, 0x00804020u, 0x00010203u}) {
    EXPECT_EQ(TextToColor(ColorToText(CColor::FromColorRef(colorRef))).ToColorRef(), colorRef);
  }
  CRect rect{-4, 5, 1280, 1024};
  EXPECT_EQ(RectToText(rect), "Left -4, Top 5, Right 1280, Bottom 1024");
  EXPECT_EQ(TextToRect(RectToText(rect)), rect);
}

CLogFont Font(std::string face, int height, int weight) {
  CLogFont font;
  font.faceName = std::move(face);
  font.height = height;
  font.weight = weight;
  return font;
}

CLogFont WithStyle(CLogFont font, bool italic, bool underline, bool strikeOut) {
  font.italic = italic;
  font.underline = underline;
  font.strikeOut = strikeOut;
  return font;
}

CLogFont WithCharSet(CLogFont font, int charSet) {
  font.charSet = static_cast<std::uint8_t>(charSet);
  return font;
}

TEST(TextToLogFont, ReadsFieldsInOrderAndMissingOnesStayZero) {
  for (const CCaseRow& row : ReadCaseTable("platform/text_to_log_font.tsv", 16)) {
    SCOPED_TRACE(row.where + " " + row[15]);
    const auto at = [&row](std::size_t column) {
      return static_cast<std::int32_t>(row.Int(column));
    };
    const auto byte = [&row](std::size_t column) {
      return static_cast<std::uint8_t>(row.Int(column));
    };
    const CLogFont expected{at(2),   at(3),    at(4),    at(5),    at(6),    byte(7),  byte(8),
                            byte(9), byte(10), byte(11), byte(12), byte(13), byte(14), row[1]};
    EXPECT_EQ(TextToLogFont(row[0]), expected);
    EXPECT_EQ(TextToLogFont(LogFontToText(TextToLogFont(row[0]))), expected);
  }
}

TEST(LogFontToText, DropsTrailingEmptyFields) {
  EXPECT_EQ(LogFontToText(Font("Arial", 9, 0)), "Arial,9,0");
  EXPECT_EQ(LogFontToText(WithStyle(Font("Arial", 10, 700), true, false, false)), "Arial,10,700,I");
  EXPECT_EQ(LogFontToText(WithStyle(Font("Arial", 10, 0), true, true, true)), "Arial,10,0,IUS");
  EXPECT_EQ(LogFontToText(WithCharSet(Font("Arial", 9, 0), 238)), "Arial,9,0,,,238");
  EXPECT_EQ(LogFontToText(Font("", 0, 0)), ",0,0");
  EXPECT_EQ(LogFontToText(Font("Bad,Face", 9, 0)), "Bad,9,0") << "a comma would shift the fields";
}

// A font text read and written, then read and written again, gives the same text.
TEST(LogFontToText, WrittenFormsOfReadTextsAreStable) {
  const std::vector<std::string> seeds = {"Courier New,-12,400,U,3,0,2,0,900,0,8,49",
                                          "Arial,9,0",
                                          " Arial ,x,y",
                                          "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123 56789,9",
                                          "",
                                          "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA,9"};
  const std::string alphabet = " ,-09IUSx\xC3\xA9";
  std::mt19937 random(5);
  for (const std::string& seed : seeds) {
    for (int round = 0; round < 500; ++round) {
      std::string text = seed;
      for (int edit = 1 + static_cast<int>(random() % 3); edit > 0; --edit) {
        const std::size_t at = text.empty() ? 0 : random() % text.size();
        const char c = alphabet[random() % alphabet.size()];
        if (random() % 2 == 0 || text.empty()) text.insert(at, 1, c);
        else text[at] = c;
      }
      const std::string first = LogFontToText(TextToLogFont(text));
      EXPECT_EQ(LogFontToText(TextToLogFont(first)), first) << text;
    }
  }
}

}  // namespace
