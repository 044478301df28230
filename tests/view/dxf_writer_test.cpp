#include "view/dxf_writer.h"

#include <gtest/gtest.h>

#include <array>

#include "support/golden_file.h"
#include "view/draw_context.h"
#include "view/dxf_text.h"
#include "view/nominal_font_measurer.h"

namespace {

// A 100 x 100 pixel target in text mode: logical (x, y) is at (100 x, 9900 - 100 y).
class DxfWriterTest : public testing::Test {
 protected:
  void Line(int x1, int y1, int x2, int y2) {
    m_dc.MoveTo(x1, y1);
    m_dc.LineTo(x2, y2);
  }
  void FilledRectangle(int left, int top, int right, int bottom) {
    m_dc.SelectPen({PenStyle::Null, 0, {}});
    m_dc.SelectBrush(CBrush::Solid({255, 255, 255}));
    m_dc.Rectangle(left, top, right, bottom);
  }
  void Text(std::string_view text, int x, int y) {
    m_dc.DrawText(text, {x, y, x, y}, text_format::kCenter | text_format::kVerticalCenter);
  }
  std::vector<std::array<int, 4>> Lines() const {
    std::vector<std::array<int, 4>> lines;
    for (const CDxfEntity& e : m_writer.Entities()) {
      if (e.kind == DxfEntityKind::Line) lines.push_back({e.p1.x, e.p1.y, e.p2.x, e.p2.y});
    }
    return lines;
  }

  CDxfWriter m_writer;
  CNominalFontMeasurer m_measurer;
  CDrawContext m_dc{m_writer, m_measurer, {100, 100}};
};

TEST_F(DxfWriterTest, ADrawingOfNothingHasNoViewportAndNoEntities) {
  EXPECT_EQ(
      m_writer.BuildFile(),
      "0\r\nSECTION\r\n2\r\nHEADER\r\n0\r\nENDSEC\r\n0\r\nSECTION\r\n2\r\nTABLES\r\n0\r\nENDSEC\r\n"
      "0\r\nEOF\r\n");
}

TEST_F(DxfWriterTest, AFillCutsTheLinesItCrossesAndRemovesThoseInside) {
  Line(10, 50, 90, 50);  // crosses the fill
  Line(40, 45, 60, 45);  // inside it
  Line(10, 10, 90, 10);  // beside it
  FilledRectangle(30, 60, 70, 40);
  EXPECT_EQ(Lines(),
            (std::vector<std::array<int, 4>>{
                {1000, 4900, 3000, 4900}, {7000, 4900, 9000, 4900}, {1000, 8900, 9000, 8900}}));
}

TEST_F(DxfWriterTest, LinesAreCutToTheFrameAndDroppedOutsideIt) {
  Line(-50, 50, 50, 50);
  Line(-50, 10, -10, 10);
  const std::array<CPoint, 2> two{{{10, 20}, {30, 20}}};
  m_dc.Polyline(two);
  EXPECT_EQ(Lines(),
            (std::vector<std::array<int, 4>>{{-1, 4900, 5000, 4900}, {1000, 7900, 3000, 7900}}));
}

TEST_F(DxfWriterTest, TextsGoWhenALaterFillCrossesOrCoversTheirBox) {
  const struct {
    std::array<int, 4> fill;
    std::size_t textsLeft;
    const char* guards;
  } rows[] = {{{0, 0, 20, 20}, 1, "a fill elsewhere"},
              {{45, 45, 55, 55}, 0, "the box's centre inside the fill"},
              {{48, 40, 90, 60}, 0, "a fill edge crossing the box"},
              {{10, 10, 90, 90}, 0, "a fill around the whole box"}};
  for (const auto& row : rows) {
    CDxfWriter writer;
    CDrawContext dc(writer, m_measurer, {100, 100});
    dc.DrawText("text", {50, 50, 50, 50}, text_format::kCenter | text_format::kVerticalCenter);
    dc.SelectBrush(CBrush::Solid({}));
    dc.Rectangle(row.fill[0], row.fill[1], row.fill[2], row.fill[3]);
    EXPECT_EQ(writer.Entities().size() - 4, row.textsLeft) << row.guards;  // less the outline
  }
}

TEST_F(DxfWriterTest, TextsShareAStyleOnlyInTheSameFont) {
  CLogFont font{.height = 10, .faceName = "Arial"};
  m_dc.SelectFont(font);
  Text("a", 20, 20);
  Text("b", 20, 40);
  font.weight = 700;
  m_dc.SelectFont(font);
  Text("c", 20, 60);
  font.weight = 0;
  font.italic = 1;
  m_dc.SelectFont(font);
  Text("d", 20, 80);
  EXPECT_EQ(m_writer.Entities().size(), 4u);
  EXPECT_EQ(m_writer.Styles().size(), 3u);
}

TEST_F(DxfWriterTest, OnlyLayersWithFiguresAreListedAndALayerKeepsItsFirstColour) {
  m_dc.SetLayer("USED", 1);
  Line(10, 10, 20, 20);
  m_dc.SetLayer("UNUSED", 2);
  m_dc.SetLayer("USED", 5);
  EXPECT_EQ(m_writer.Layers()[1], (CDxfWriter::Layer{"USED", 1}));
  const std::string file = m_writer.BuildFile();
  EXPECT_NE(file.find("LAYER\r\n2\r\nUSED\r\n70\r\n0\r\n62\r\n1\r\n6\r\nContinuous\r\n"),
            std::string::npos);
  EXPECT_EQ(file.find("UNUSED"), std::string::npos);
  EXPECT_EQ(file.find("LAYER\r\n2\r\n0\r\n"), std::string::npos);
  EXPECT_NE(file.find("LTYPE\r\n2\r\nContinuous\r\n"), std::string::npos);
}

TEST_F(DxfWriterTest, AnExclusionHidesWhatIsDrawnInsideItUntilTheClipIsRestored) {
  Line(10, 50, 90, 50);  // before the exclusion: stays whole
  m_dc.Save();
  m_dc.ExcludeClipRect(30, 70, 70, 30);
  Line(10, 40, 90, 40);  // while excluded: cut
  m_dc.Restore();
  Line(10, 60, 90, 60);  // after the restore: stays whole
  m_writer.BuildFile();
  EXPECT_EQ(Lines(), (std::vector<std::array<int, 4>>{{1000, 4900, 9000, 4900},
                                                      {1000, 5900, 3000, 5900},
                                                      {7000, 5900, 9000, 5900},
                                                      {1000, 3900, 9000, 3900}}));
}

TEST_F(DxfWriterTest, TextsAreOneLineOfCp1252WithEscapesBeyondIt) {
  Text("a\r\nb \xE2\x82\xAC \xE2\x86\x92", 50, 50);  // euro sign, right arrow
  const std::string file = m_writer.BuildFile();
  EXPECT_NE(file.find("\r\n1\r\na  b \x80 \\U+2192\r\n72\r\n"), std::string::npos);
}

TEST_F(DxfWriterTest, ASmallDrawingIsWrittenByteForByte) {
  m_dc.SetLayer("WALLS", 3);
  Line(10, 10, 90, 10);
  m_dc.SelectFont(CLogFont{.height = -12, .faceName = "Arial"});
  m_dc.SetLayer("NOTES", 4);
  m_dc.DrawText("Note", {10, 30, 90, 50}, text_format::kRight | text_format::kSingleLine);
  m_dc.SelectBrush(CBrush::Null());
  m_dc.Ellipse(20, 60, 40, 80);
  ExpectGolden("view/small_drawing.dxf", m_writer.BuildFile());
}

// The box's right end was found by adding the text's width in 32 bits: at the end of the
// range it wrapped round and the box came out reversed.
TEST_F(DxfWriterTest, ATextAtTheEndOfTheCoordinateRangeKeepsItsBoxTheRightWayRound) {
  const struct {
    CRect rect;
    unsigned format;
  } rows[] = {{{2147483600, 50, 2147483600, 50}, text_format::kSingleLine},
              {{INT32_MIN, 50, INT32_MIN + 5, 50}, text_format::kRight | text_format::kSingleLine},
              {{10, 50, 10, 50}, text_format::kSingleLine}};
  for (const auto& row : rows) {
    CDxfWriter writer;
    CDrawContext dc(writer, m_measurer, {100, 100});
    dc.DrawText("a long text", row.rect, row.format);
    ASSERT_EQ(writer.Entities().size(), 1u);
    const CDxfEntity text = writer.Entities()[0];
    EXPECT_LE(text.p1.x, text.p2.x) << row.rect.left;
    EXPECT_LE(text.p1.y, text.p2.y) << row.rect.left;
  }
}

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
