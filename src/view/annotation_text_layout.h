#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/draw_types.h"

// One cell of a label line: a text, or an icon drawn from the program's icons.
struct CLabelCell {
  std::string text;
  int icon = 0;  // 0: a text cell
  int iconWidth = 0;
};

// The lines of a label text: cut at line feeds (a carriage return ending a line is dropped),
// each line cut at tabs into at most four cells. A cell beginning "<ICO" with two more
// characters is an icon cell: the fifth character's code plus 334 numbers the icon, the
// sixth's code plus 4 gives its width in pixels.
using CLabelLine = std::vector<CLabelCell>;
std::vector<CLabelLine> SplitLabelText(std::string_view text);

// Where the cells of a label go, in device pixels relative to the label's top-left.
struct CLabelLayout {
  static constexpr int kMaxColumns = 4;
  static constexpr int kIconLineHeight = 36;
  std::array<std::int32_t, kMaxColumns> columns{};  // widths, margins included
  std::vector<std::int32_t> lineHeights;            // margin included
  CSize size;
};

// Each column is as wide as its widest cell plus twice the horizontal margin (an empty
// column stays 0); each line is as high as its tallest cell plus the vertical margin.
using CTextMeasure = std::function<CSize(std::string_view)>;
CLabelLayout MeasureLabelLines(const std::vector<CLabelLine>& lines, const CTextMeasure& measure,
                               CSize margins);
