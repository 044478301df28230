#include "linear/linear_line.h"

#include <algorithm>
#include <optional>

#include "platform/text_encoding.h"

std::string LimitLinearText(std::string_view text) {
  std::size_t units = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = pos;
    const std::optional<char32_t> code = tvr::platform::DecodeUtf8(text, pos);
    if (pos == start) ++pos;  // an invalid byte still moves on
    const std::size_t width = code && *code > 0xFFFF ? 2 : 1;
    if (units + width > kMaxLinearTextUnits) return std::string(text.substr(0, start));
    units += width;
  }
  return std::string(text);
}

void CLinearLine::Clear() {
  Name.clear();
  Comment.clear();
  Group = Product = Rating = Conductors = IpDegree = -1;
  Slots.fill(-1);
  SecondVariant = 0;
  for (SlotArray& column : ItemValues) column.fill(0);
  ExtraValues.fill(0);
  TotalValues.fill(0);
}

void CLinearLine::Assign(const CLinearLine& source) {
  const double weight = LineWeight;
  *this = source;
  LineWeight = weight;
}

int CLinearLine::Multiplier() const { return Slots[29] >= 1 ? Slots[29] : 1; }

bool CLinearLine::HasSamePrices(const CLinearLine& other) const {
  for (std::size_t column = 0; column < ItemValues.size(); ++column)
    for (std::size_t slot = 0; slot < ItemValues[column].size(); ++slot)
      if (std::max(ItemValues[column][slot], 0) != std::max(other.ItemValues[column][slot], 0))
        return false;
  return ExtraValues == other.ExtraValues && TotalValues == other.TotalValues;
}
