#include "view/annotation_text_layout.h"

#include <algorithm>

namespace {

constexpr std::string_view kIconPrefix = "<ICO";
constexpr int kIconBase = 334;
constexpr int kIconWidthBase = 4;

CLabelCell MakeCell(std::string_view text) {
  CLabelCell cell;
  if (text.size() >= kIconPrefix.size() + 2 && text.substr(0, kIconPrefix.size()) == kIconPrefix) {
    cell.icon = static_cast<unsigned char>(text[4]) + kIconBase;
    cell.iconWidth = static_cast<unsigned char>(text[5]) + kIconWidthBase;
    return cell;
  }
  cell.text = std::string(text);
  return cell;
}

CLabelLine SplitLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  CLabelLine cells;
  while (static_cast<int>(cells.size()) < CLabelLayout::kMaxColumns - 1) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) break;
    cells.push_back(MakeCell(line.substr(0, tab)));
    line.remove_prefix(tab + 1);
  }
  cells.push_back(MakeCell(line));
  return cells;
}

}  // namespace

std::vector<CLabelLine> SplitLabelText(std::string_view text) {
  std::vector<CLabelLine> lines;
  while (true) {
    const std::size_t feed = text.find('\n');
    lines.push_back(SplitLine(text.substr(0, feed)));
    if (feed == std::string_view::npos) break;
    text.remove_prefix(feed + 1);
  }
  return lines;
}

CLabelLayout MeasureLabelLines(const std::vector<CLabelLine>& lines, const CTextMeasure& measure,
                               CSize margins) {
  CLabelLayout layout;
  for (const CLabelLine& line : lines) {
    std::int32_t height = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const CLabelCell& cell = line[i];
      CSize extent = cell.icon != 0 ? CSize{cell.iconWidth, CLabelLayout::kIconLineHeight}
                                    : measure(cell.text);
      if (cell.icon == 0 && cell.text.empty()) extent.cx = 0;
      std::int32_t& column = layout.columns[i];
      if (extent.cx > 0) column = std::max(column, extent.cx + 2 * margins.cx);
      height = std::max(height, extent.cy);
    }
    layout.lineHeights.push_back(height + margins.cy);
  }
  for (std::int32_t width : layout.columns) layout.size.cx += width;
  for (std::int32_t height : layout.lineHeights) layout.size.cy += height;
  return layout;
}
