#include "app/text_conversions.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <string>

namespace {

struct IntCase {
  const char* text;
  int expected;
  const char* guards;
};

class TextToIntCases : public ::testing::TestWithParam<IntCase> {};

TEST_P(TextToIntCases, ReadsLeadingDigits) {
  EXPECT_EQ(TextToInt(GetParam().text), GetParam().expected) << GetParam().guards;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextToIntCases,
    ::testing::Values(IntCase{"42", 42, "plain"}, IntCase{"  -17", -17, "blanks and sign"},
                      IntCase{"+8", 8, "plus sign"}, IntCase{"12abc", 12, "stops at a letter"},
                      IntCase{"abc", 0, "no digits give 0 (\"abc\" as JointDebord)"},
                      IntCase{"", 0, "empty"}, IntCase{"-", 0, "sign alone"},
                      IntCase{"+-3", 0, "two signs"}, IntCase{"3.9", 3, "no rounding"},
                      IntCase{"99999999999999999999", INT_MAX, "overflow held, not wrapped"},
                      IntCase{"-99999999999999999999", INT_MIN, "negative overflow held"},
                      IntCase{"\t\n7", 7, "C blanks"}));

struct DoubleCase {
  const char* text;
  double expected;
  const char* guards;
};

class TextToDoubleCases : public ::testing::TestWithParam<DoubleCase> {};

TEST_P(TextToDoubleCases, ReadsWithAPointWhateverTheLocale) {
  EXPECT_DOUBLE_EQ(TextToDouble(GetParam().text), GetParam().expected) << GetParam().guards;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextToDoubleCases,
    ::testing::Values(DoubleCase{"0.9", 0.9, "decimal point"},
                      DoubleCase{"12,5", 12.0, "a decimal comma ends the number"},
                      DoubleCase{"", 0.0, "empty"}, DoubleCase{"  1.5x", 1.5, "blanks, stop at x"},
                      DoubleCase{"-2.25", -2.25, "negative"}, DoubleCase{"+3", 3.0, "plus"},
                      DoubleCase{".5", 0.5, "no integer part"}, DoubleCase{"5.", 5.0, "no fraction"},
                      DoubleCase{"1e3", 1000.0, "exponent"}, DoubleCase{"1e", 1.0, "bare e"},
                      DoubleCase{"abc", 0.0, "no number"}, DoubleCase{"+-1", 0.0, "two signs"},
                      DoubleCase{"inf", 0.0, "no infinity from a setting"},
                      DoubleCase{"nan", 0.0, "no not-a-number from a setting"},
                      DoubleCase{"1e999", 0.0, "overflow gives 0, not infinity"},
                      DoubleCase{"0x10", 0.0, "no hexadecimal"}));

TEST(TextToDouble, IgnoresADecimalCommaLocale) {
  const char* saved = std::setlocale(LC_ALL, nullptr);
  std::string previous = saved ? saved : "C";
  if (std::setlocale(LC_ALL, "fr_FR.UTF-8") == nullptr) GTEST_SKIP() << "no fr_FR.UTF-8 locale";
  EXPECT_DOUBLE_EQ(TextToDouble("0.75"), 0.75);
  EXPECT_DOUBLE_EQ(TextToDouble("0,75"), 0.0);
  EXPECT_EQ(TextToColor("1,2,3"), MakeColor(1, 2, 3));
  std::setlocale(LC_ALL, previous.c_str());
}

struct ColorCase {
  const char* text;
  ColorValue expected;
  const char* guards;
};

class TextToColorCases : public ::testing::TestWithParam<ColorCase> {};

TEST_P(TextToColorCases, RedFirst) {
  EXPECT_EQ(TextToColor(GetParam().text), GetParam().expected) << GetParam().guards;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextToColorCases,
    ::testing::Values(ColorCase{"255,0,0", 255u, "red in the low byte"},
                      ColorCase{"0,178,0", 0x00B200u, "green"},
                      ColorCase{"1,2,3", 0x030201u, "blue in the high byte"},
                      ColorCase{"", 0u, "empty is black"}, ColorCase{"12", 12u, "missing parts 0"},
                      ColorCase{"1,2,3,4", 0x030201u, "further pieces ignored"},
                      ColorCase{"a,b,c", 0u, "words read 0"},
                      ColorCase{" 7 , 8 , 9", 0x090807u, "blanks before numbers"},
                      ColorCase{"300,0,0", 255u, "above 255 held, not spilled into green"},
                      ColorCase{"-1,0,0", 0u, "negative held, not spilled into all bytes"}));

TEST(ColorToText, WritesRedGreenBlueAndReadsBack) {
  EXPECT_EQ(ColorToText(255), "255,0,0");
  EXPECT_EQ(ColorToText(0xFF123456u), "86,52,18");  // the high byte is not a colour
  for (ColorValue color : {0u, 0x00FFFFFFu, 0x00804020u, 0x00010203u}) {
    EXPECT_EQ(TextToColor(ColorToText(color)), color);
  }
}

struct BoolCase {
  const char* text;
  bool expected;
};

class TextToBoolCases : public ::testing::TestWithParam<BoolCase> {};

TEST_P(TextToBoolCases, FiveWordsAreTrue) {
  EXPECT_EQ(TextToBool(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Cases, TextToBoolCases,
                         ::testing::Values(BoolCase{"True", true}, BoolCase{"yes", true},
                                           BoolCase{"ON", true}, BoolCase{"1", true},
                                           BoolCase{"t", true}, BoolCase{"False", false},
                                           BoolCase{"2", false}, BoolCase{"", false},
                                           BoolCase{"truee", false}, BoolCase{"Y", false}));

TEST(BoolToText, WritesTrueOrFalse) {
  EXPECT_EQ(BoolToText(true), "True");
  EXPECT_EQ(BoolToText(false), "False");
}

struct RectCase {
  const char* text;
  IntRect expected;
  const char* guards;
};

class TextToRectCases : public ::testing::TestWithParam<RectCase> {};

TEST_P(TextToRectCases, FollowsThePattern) {
  EXPECT_EQ(TextToRect(GetParam().text), GetParam().expected) << GetParam().guards;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextToRectCases,
    ::testing::Values(
        RectCase{"Left 1, Top 2, Right 3, Bottom 4", {1, 2, 3, 4}, "written form"},
        RectCase{"Left -10, Top -20, Right 300, Bottom 400", {-10, -20, 300, 400}, "negatives"},
        RectCase{"Left 1,Top 2,  Right 3,   Bottom   4", {1, 2, 3, 4}, "pattern blanks take any run"},
        RectCase{"Left 1, Top 2", {1, 2, 0, 0}, "missing fields stay 0"},
        RectCase{"Left 1, Tip 2, Right 3, Bottom 4", {1, 0, 0, 0}, "stops at a wrong word"},
        RectCase{"left 1, Top 2, Right 3, Bottom 4", {0, 0, 0, 0}, "words are case-sensitive"},
        RectCase{"Left x, Top 2", {0, 0, 0, 0}, "stops at a field without digits"},
        RectCase{"", {0, 0, 0, 0}, "empty"}));

TEST(RectToText, WritesThePatternAndReadsBack) {
  IntRect rect{-4, 5, 1280, 1024};
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

TEST(TextToLogFont, ReadsFieldsInOrder) {
  CLogFont font = TextToLogFont("Courier New,12,700,IUS,3,1,2,5,900,450,8,49");
  EXPECT_EQ(font.faceName, "Courier New");
  EXPECT_EQ(font.height, 12);
  EXPECT_EQ(font.weight, 700);
  EXPECT_TRUE(font.italic && font.underline && font.strikeOut);
  EXPECT_EQ(font.outPrecision, 3);
  EXPECT_EQ(font.charSet, 1);
  EXPECT_EQ(font.clipPrecision, 2);
  EXPECT_EQ(font.quality, 5);
  EXPECT_EQ(font.orientation, 900);
  EXPECT_EQ(font.escapement, 450);
  EXPECT_EQ(font.width, 8);
  EXPECT_EQ(font.pitchAndFamily, 49);
}

struct FontCase {
  const char* text;
  CLogFont expected;
  const char* guards;
};

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

class TextToLogFontCases : public ::testing::TestWithParam<FontCase> {};

TEST_P(TextToLogFontCases, MissingFieldsStayZero) {
  EXPECT_EQ(TextToLogFont(GetParam().text), GetParam().expected) << GetParam().guards;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextToLogFontCases,
    ::testing::Values(
        FontCase{"Arial,9,0", Font("Arial", 9, 0), "default label font"},
        FontCase{"Arial,90,0", Font("Arial", 90, 0), "height"},
        FontCase{"Arial", Font("Arial", 0, 0), "face only"}, FontCase{"", Font("", 0, 0), "empty"},
        FontCase{"Arial,9,700,SI", WithStyle(Font("Arial", 9, 700), true, false, true),
                 "style letters in any order"},
        FontCase{"Arial,9,0,,,238", WithCharSet(Font("Arial", 9, 0), 238),
                 "empty fields are zero and do not shift the next ones"},
        FontCase{"Arial,9,0,,,999", WithCharSet(Font("Arial", 9, 0), 255),
                 "a byte field is held to 255, not wrapped"},
        FontCase{" Arial ,x,y", Font("Arial", 0, 0), "blanks around the face, words as numbers"},
        FontCase{"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789,9",
                 Font("ABCDEFGHIJKLMNOPQRSTUVWXYZ01234", 9, 0), "face cut to 31 characters"}));

TEST(TextToLogFont, CutsALongFaceNameBetweenCharacters) {
  std::string face;
  for (int i = 0; i < 40; ++i) face += "\xC3\xA9";  // é
  CLogFont font = TextToLogFont(face + ",9");
  EXPECT_EQ(font.faceName.size(), 62u);  // 31 two-byte characters
}

TEST(LogFontToText, DropsTrailingEmptyFields) {
  EXPECT_EQ(LogFontToText(Font("Arial", 9, 0)), "Arial,9,0");
  EXPECT_EQ(LogFontToText(WithStyle(Font("Arial", 10, 700), true, false, false)), "Arial,10,700,I");
  EXPECT_EQ(LogFontToText(WithStyle(Font("Arial", 10, 0), true, true, true)), "Arial,10,0,IUS");
  EXPECT_EQ(LogFontToText(WithCharSet(Font("Arial", 9, 0), 238)), "Arial,9,0,,,238");
  EXPECT_EQ(LogFontToText(Font("", 0, 0)), ",0,0");
}

TEST(LogFontToText, ReadsBackEveryField) {
  CLogFont font = TextToLogFont("Courier New,-12,400,U,3,0,2,0,900,0,8,49");
  EXPECT_EQ(LogFontToText(font), "Courier New,-12,400,U,3,,2,,900,,8,49");
  EXPECT_EQ(TextToLogFont(LogFontToText(font)), font);
}

TEST(LogFontToText, KeepsTheFaceReadableWhenItHoldsAComma) {
  EXPECT_EQ(LogFontToText(Font("Bad,Face", 9, 0)), "Bad,9,0");
}

}  // namespace
