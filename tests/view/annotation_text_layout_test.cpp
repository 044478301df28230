#include <gtest/gtest.h>

#include "view/annotation_text_layout.h"

namespace {

// Cells as "text" or "#icon/width", lines joined by "|", cells by ",".
std::string Describe(const std::vector<CLabelLine>& lines) {
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out += "|";
    for (std::size_t c = 0; c < lines[i].size(); ++c) {
      const CLabelCell& cell = lines[i][c];
      if (c > 0) out += ",";
      out += cell.icon != 0 ? "#" + std::to_string(cell.icon) + "/" + std::to_string(cell.iconWidth)
                            : cell.text;
    }
  }
  return out;
}

TEST(AnnotationTextLayoutTest, TextsAreCutIntoLinesAndAtMostFourCells) {
  const struct {
    const char* text;
    const char* cells;
  } rows[] = {
      {"one", "one"},
      {"a\nb", "a|b"},
      {"a\r\nb\r", "a|b"},
      {"a\tb\tc\td", "a,b,c,d"},
      {"a\tb\tc\td\te", "a,b,c,d\te"},
      {"x\n\t<ICO1 >", "x|,#383/36"},
      {"<ICO", "<ICO"},
      {"", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(Describe(SplitLabelText(row.text)), row.cells) << row.text;
}

TEST(AnnotationTextLayoutTest, ColumnsTakeTheirWidestCellAndLinesTheirTallest) {
  // Every character 10 wide and 12 high.
  const CTextMeasure measure = [](std::string_view text) {
    return CSize{static_cast<std::int32_t>(text.size() * 10), 12};
  };
  const CLabelLayout layout =
      MeasureLabelLines(SplitLabelText("ab\tc\nabcd\t\n\t<ICO1 >"), measure, {3, 2});
  EXPECT_EQ(layout.columns[0], 40 + 6);
  EXPECT_EQ(layout.columns[1], 36 + 6);  // the icon is wider than "c"
  EXPECT_EQ(layout.columns[2], 0);
  ASSERT_EQ(layout.lineHeights.size(), 3u);
  EXPECT_EQ(layout.lineHeights[0], 14);
  EXPECT_EQ(layout.lineHeights[2], CLabelLayout::kIconLineHeight + 2);
  EXPECT_EQ(layout.size.cx, 46 + 42);
  EXPECT_EQ(layout.size.cy, 14 + 14 + 38);
}

}  // namespace
