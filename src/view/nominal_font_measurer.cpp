#include "view/nominal_font_measurer.h"

#include "platform/text_encoding.h"

namespace {

std::int32_t CellHeight(const CLogFont& font) {
  if (font.height == 0) return 16;
  const std::int64_t height = font.height < 0 ? -std::int64_t{font.height} : font.height;
  return static_cast<std::int32_t>(height > 1'000'000 ? 1'000'000 : height);
}

std::int32_t CharacterCount(std::string_view text) {
  std::int32_t count = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    tvr::platform::DecodeUtf8(text, pos);
    ++count;
  }
  return count;
}

}  // namespace

CTextMetrics CNominalFontMeasurer::Metrics(const CLogFont& font) const {
  CTextMetrics metrics;
  const std::int32_t cell = CellHeight(font);
  metrics.descent = cell / 5;
  metrics.ascent = cell - metrics.descent;
  metrics.height = cell;
  // A negative height asks for the character height: the leading then comes on top.
  if (font.height < 0) {
    metrics.internalLeading = cell / 10;
    metrics.ascent += metrics.internalLeading;
    metrics.height += metrics.internalLeading;
  } else {
    metrics.internalLeading = cell / 10;
  }
  metrics.averageCharWidth = cell / 2;
  metrics.weight = font.weight <= 0 ? 400 : font.weight;
  metrics.italic = font.italic != 0;
  return metrics;
}

CSize CNominalFontMeasurer::Extent(const CLogFont& font, std::string_view text) const {
  const CTextMetrics metrics = Metrics(font);
  return {static_cast<std::int32_t>(std::int64_t{metrics.averageCharWidth} * CharacterCount(text)),
          metrics.height};
}
