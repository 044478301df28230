#include "grid/grid_bitmap.h"
#include "grid/grid_cell.h"
#include "grid/grid_cell_format.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "grid_fakes.h"

namespace {

const CColor kRed{255, 0, 0};
const CColor kBlue{0, 0, 255};
const CColor kHighlightText{255, 255, 255};

CLogFont Font(const char* face, int height, int weight = 400) {
  CLogFont font;
  font.faceName = face;
  font.height = height;
  font.weight = weight;
  return font;
}

class GridCellTest : public ::testing::Test {
 protected:
  CGridTextStyle Style(bool selected = false, bool ignoreOwnFonts = false) const {
    return {Font("System", 16), selected ? kHighlightText : kBlue, selected, ignoreOwnFonts};
  }
  CFakeMeasurer m_measurer;
  CRecordingCanvas m_canvas;
};

TEST_F(GridCellTest, AnEmptyCellMeasuresNothingAndItsCopyKeepsItsItemData) {
  CGridCell empty;
  empty.SetItemData(9);
  EXPECT_EQ(empty.Clone()->GetItemData(), 9u);
  EXPECT_EQ(empty.Measure(m_measurer, Style()), (CSize{0, 0}));
}

TEST_F(GridCellTest, MultiLineTextMeasuresWidestLineAndSumOfHeights) {
  struct Case {
    const char* text;
    CSize size;
  };
  const Case cases[] = {
      {"a\nbc", {14, 32}},                       // as wide as "bc", two lines high
      {"", {0, 16}},                             // one empty line
      {"abc", {21, 16}},   {"abc\n", {21, 32}},  // a trailing line feed starts an empty line
      {"\n\n", {0, 48}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CGridCellFormat(c.text).Measure(m_measurer, Style()), c.size) << c.text;
  }
}

TEST_F(GridCellTest, FittedTextTakesItsAlignmentAndOtherValuesDrawNothing) {
  for (unsigned alignment : {0u, 1u, 2u, 3u, 100u}) {
    CRecordingCanvas canvas;
    CGridCellFormat cell("x");
    cell.SetItemData(alignment);
    cell.DrawFitted(canvas, {2, 2, 40, 18}, Style());
    if (alignment <= 2) {
      ASSERT_EQ(canvas.texts.size(), 1u) << alignment;
      EXPECT_EQ(canvas.texts[0].alignment, static_cast<int>(alignment));
      EXPECT_EQ(canvas.texts[0].rect, (CRect{2, 2, 40, 18}));
    } else {
      EXPECT_TRUE(canvas.texts.empty()) << alignment;
    }
  }
}

TEST_F(GridCellTest, OwnColourGivesWayToTheHighlightOfASelectedCell) {
  CGridCellFormat cell("red");
  cell.SetTextColor(kRed);
  cell.DrawFitted(m_canvas, {0, 0, 40, 20}, Style(false));
  cell.DrawFitted(m_canvas, {0, 0, 40, 20}, Style(true));
  ASSERT_EQ(m_canvas.texts.size(), 2u);
  EXPECT_EQ(m_canvas.texts[0].color, kRed);
  EXPECT_EQ(m_canvas.texts[1].color, kHighlightText);
}

TEST_F(GridCellTest, OwnFontIsMeasuredAndDrawnUnlessOwnFontsAreIgnored) {
  CGridCellFormat cell("ab");
  cell.SetFont(Font("Arial", 20, 700));
  EXPECT_EQ(cell.Measure(m_measurer, Style()), (CSize{16, 20}));
  cell.Draw(m_canvas, 3, 4, Style());
  EXPECT_EQ(cell.Measure(m_measurer, Style(false, true)), (CSize{14, 16}));
  cell.Draw(m_canvas, 3, 4, Style(false, true));
  ASSERT_EQ(m_canvas.texts.size(), 2u);
  EXPECT_EQ(m_canvas.texts[0].font.faceName, "Arial");
  EXPECT_EQ(m_canvas.texts[0].alignment, -1) << "natural size draws one run";
  EXPECT_EQ(m_canvas.texts[1].font.faceName, "System");
}

// A copy carries the text, colour, font and item data of its cell, each its own: the
// font set on the original afterwards is not the copy's.
TEST_F(GridCellTest, ACopyOfATextCellHasItsOwnColourAndFont) {
  struct Case {
    bool colour;
    bool font;
  };
  for (const Case c :
       {Case{false, false}, Case{true, false}, Case{false, true}, Case{true, true}}) {
    SCOPED_TRACE(std::to_string(c.colour) + std::to_string(c.font));
    CGridCellFormat cell("ab");
    cell.SetItemData(2);
    if (c.colour) cell.SetTextColor(kRed);
    if (c.font) cell.SetFont(Font("Arial", 20, 700));
    const std::unique_ptr<CGridCell> clone = cell.Clone();
    const auto& copy = dynamic_cast<const CGridCellFormat&>(*clone);
    cell.SetFont(Font("Courier", 30));
    EXPECT_EQ(copy.GetText(), "ab");
    EXPECT_EQ(copy.GetItemData(), 2u);
    EXPECT_EQ(copy.HasTextColor(), c.colour);
    EXPECT_EQ(copy.HasFont(), c.font);
    EXPECT_EQ(copy.GetLogFont().faceName, c.font ? "Arial" : "");
    EXPECT_EQ(copy.DrawingFont(Style()).faceName, c.font ? "Arial" : "System");
    EXPECT_EQ(copy.DrawingFont(Style(false, true)).faceName, "System");
    EXPECT_EQ(cell.DrawingFont(Style()).faceName, "Courier");
  }
}

TEST_F(GridCellTest, BitmapDescriptionValidityTable) {
  struct Case {
    const char* name;
    CBitmapDesc bitmap;
    bool valid;
  };
  auto with = [](auto change) {
    CBitmapDesc bitmap = MakeBitmap(4, 3);
    change(bitmap);
    return bitmap;
  };
  const Case cases[] = {
      {"24 bits", MakeBitmap(4, 3), true},
      {"zero width", with([](CBitmapDesc& b) { b.width = 0; }), false},
      {"negative height", with([](CBitmapDesc& b) { b.height = -3; }), false},
      {"huge width", with([](CBitmapDesc& b) { b.width = 1 << 20; }), false},
      {"two planes", with([](CBitmapDesc& b) { b.planes = 2; }), false},
      {"12 bits", with([](CBitmapDesc& b) { b.bitsPixel = 12; }), false},
      {"short scan line", with([](CBitmapDesc& b) { b.widthBytes = 11; }), false},
      {"negative scan line", with([](CBitmapDesc& b) { b.widthBytes = -12; }), false},
      {"too few bits", with([](CBitmapDesc& b) { b.bits.pop_back(); }), false},
      {"1 bit", with([](CBitmapDesc& b) {
         b.bitsPixel = 1;
         b.widthBytes = 2;
         b.bits.resize(6);
       }),
       true},
      {"32 bits", with([](CBitmapDesc& b) {
         b.bitsPixel = 32;
         b.widthBytes = 16;
         b.bits.resize(48);
       }),
       true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.bitmap.IsValid(), c.valid) << c.name;
    EXPECT_EQ(CGridBitmap::Create(c.bitmap) != nullptr, c.valid) << c.name;
  }
}

TEST_F(GridCellTest, BitmapDrawsItsTopLeftPieceWithoutStretching) {
  const std::unique_ptr<CGridBitmap> cell = CGridBitmap::Create(MakeBitmap(30, 10));
  ASSERT_TRUE(cell);
  cell->DrawFitted(m_canvas, {5, 6, 25, 46}, Style());  // 20 wide, 40 high
  cell->Draw(m_canvas, 1, 2, Style());
  ASSERT_EQ(m_canvas.bitmaps.size(), 2u);
  EXPECT_EQ(m_canvas.bitmaps[0].width, 20);
  EXPECT_EQ(m_canvas.bitmaps[0].height, 10);
  EXPECT_EQ(m_canvas.bitmaps[1].width, 30);
  EXPECT_EQ(cell->Measure(m_measurer, Style()), (CSize{30, 10}));
}

TEST_F(GridCellTest, BitmapCopyOwnsItsBitsAndRefusesAnInvalidReplacement) {
  std::unique_ptr<CGridBitmap> cell = CGridBitmap::Create(MakeBitmap(2, 2, 0x11));
  ASSERT_TRUE(cell);
  const std::unique_ptr<CGridCell> copy = cell->Clone();
  EXPECT_TRUE(cell->SetBitmap(MakeBitmap(3, 3, 0x22)));
  const auto& copied = dynamic_cast<const CGridBitmap&>(*copy);
  EXPECT_EQ(copied.GetBitmap(), MakeBitmap(2, 2, 0x11));
  CBitmapDesc broken = MakeBitmap(3, 3);
  broken.bits.clear();
  EXPECT_FALSE(cell->SetBitmap(broken));
  EXPECT_EQ(cell->GetBitmap(), MakeBitmap(3, 3, 0x22));
}

// A cell is taken as a text cell exactly when it is one, as a run-time type search says,
// whatever the cell or its copy.
TEST_F(GridCellTest, OnlyATextCellIsTakenAsOne) {
  struct Case {
    const char* name;
    std::unique_ptr<CGridCell> cell;
  };
  Case cases[] = {{"none", nullptr},
                  {"empty", std::make_unique<CGridCell>()},
                  {"text", std::make_unique<CGridCellFormat>("A")},
                  {"text copy", CGridCellFormat("B").Clone()},
                  {"bitmap", CGridBitmap::Create(MakeBitmap(2, 2))},
                  {"bitmap copy", CGridBitmap::Create(MakeBitmap(2, 2))->Clone()}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CGridCell* cell = c.cell.get();
    const CGridCell* constCell = cell;
    EXPECT_EQ(CGridCellFormat::Of(cell), dynamic_cast<CGridCellFormat*>(cell));
    EXPECT_EQ(CGridCellFormat::Of(constCell), dynamic_cast<const CGridCellFormat*>(constCell));
  }
  EXPECT_EQ(CGridCellFormat::Of(cases[3].cell.get())->GetText(), "B");
}

}  // namespace
