#include "model/element/dev.h"
#include "ranges/qg/run_qg.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <span>

namespace {

struct CBarEntry {
  int width;
  int thickness;
};

struct CBarHeight {
  int height;
  std::span<const CBarEntry> entries;
};

constexpr CBarEntry k90[] = {{60, 6}, {60, 6}, {50, 10}, {40, 12}};
constexpr CBarEntry k110[] = {{80, 6}, {80, 10}, {60, 10}, {50, 20}};
constexpr CBarEntry k130[] = {{100, 6}, {100, 10}, {80, 10}, {60, 20}, {50, 20}};
constexpr CBarEntry k190[] = {{160, 6}, {120, 10}, {100, 10}, {80, 20}, {60, 20}};
constexpr CBarEntry k230[] = {{200, 6}, {120, 20}, {100, 20}, {80, 20}};
constexpr CBarEntry k270[] = {{240, 6}, {200, 10}, {160, 10}, {120, 20}, {100, 30}};
constexpr CBarEntry k380[] = {{350, 6}, {200, 20}, {160, 20}, {120, 30}, {100, 40}};
constexpr CBarEntry k460[] = {{430, 6}, {200, 20}, {160, 30}, {120, 40}, {100, 50}};
constexpr CBarEntry k540[] = {{510, 6}, {200, 30}, {160, 40}, {120, 50}};

constexpr std::array<CBarHeight, 9> kBarOptions = {{{90, k90},
                                                    {110, k110},
                                                    {130, k130},
                                                    {190, k190},
                                                    {230, k230},
                                                    {270, k270},
                                                    {380, k380},
                                                    {460, k460},
                                                    {540, k540}}};

// The bar length drawn for the entry that is not chosen through "BARS".
constexpr int kDrawnBarLength = 150;
// Special shapes may not grow wider than this with their bars.
constexpr int kMaxShapeSpan = 1100;

std::span<const CBarEntry> EntriesOfHeight(int height) {
  for (const CBarHeight& row : kBarOptions)
    if (row.height == height) return row.entries;
  return {};
}

bool IsShapedStraight(const CDev& element) {
  const int variant = element.GetVariant();
  return element.GetKind() == CDev::kEnd && (variant == 2 || variant == 3 || variant == 6);
}

std::string FieldText(const CDev& element, const char* name) {
  return element.GetFieldText(name).value_or("");
}

}  // namespace

std::vector<int> ReadSlashNumbers(std::string_view text, std::size_t most) {
  std::vector<int> numbers;
  std::size_t at = 0;
  while (at <= text.size() && numbers.size() < most) {
    const std::size_t end = std::min(text.find('/', at), text.size());
    numbers.push_back(TextToInt(text.substr(at, end - at)));
    if (end >= text.size()) break;
    at = end + 1;
  }
  return numbers;
}

int CRunQG::SubVariant(const CDev& element) {
  return static_cast<int>((element.GetStyle() >> 20) & 0xF);
}

int CRunQG::GetBarGeometry(int& length, int& width, int& thickness, CDev* element) const {
  int wanted = length;
  int barsLength = 0, barsWidth = 0;
  length = width = thickness = 0;
  if (element != nullptr) {
    if (!IsShapedStraight(*element)) return -1;
    const int variant = element->GetVariant();
    const bool spacedByDefault = FieldText(*element, "ENTRAX").empty();
    wanted = (variant == 2 || variant == 6) && SubVariant(*element) == 1 && spacedByDefault ? 0 : 1;
    const std::vector<int> bars = ReadSlashNumbers(FieldText(*element, "BARS"), 3);
    if (!bars.empty()) barsLength = bars[0];
    if (bars.size() > 1) barsWidth = std::max(bars[1], 0);
  }
  const std::span<const CBarEntry> entries = EntriesOfHeight(FindReference().Height());
  if (entries.empty()) return -1;
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const int index = static_cast<int>(k);
    if (barsWidth != 0 && wanted != 0 && index != 0 && entries[k].width == barsWidth) {
      length = barsLength;
      width = barsWidth;
      thickness = entries[k].thickness;
      return index;
    }
    if (index == wanted) {
      length = kDrawnBarLength;
      width = entries[k].width;
      thickness = entries[k].thickness;
    }
  }
  if (barsWidth != 0 && element != nullptr) element->SetPropValue("BARS", "");
  return wanted >= 0 && wanted < static_cast<int>(entries.size()) ? wanted : -1;
}

std::array<int, 4> CRunQG::GetCentreDistances(CDev& element) const {
  std::array<int, 4> d{};
  const int variant = element.GetVariant();
  if (element.GetKind() != CDev::kEnd || variant < 2 || variant > 6) return d;
  const int sub = variant == 5 ? 1 : SubVariant(element);
  int count = 0;
  for (const int value : ReadSlashNumbers(FieldText(element, "ENTRAX"), 4)) {
    if (value == 0) break;
    d[static_cast<std::size_t>(count++)] = value;
  }
  if (sub < 1 || sub > 3) return d;
  const int conductors = ConductorCount();
  if (count == 0 && sub == 1 && (variant == 2 || variant == 6)) {
    d.fill(115);
  } else {
    RaiseToBarMinimum(element, sub, conductors, d);
    if (variant == 5) d.fill(100);
  }
  if (conductors != 5) d[3] = 0;
  if (conductors == 3) d[2] = 0;
  return d;
}

void CRunQG::RaiseToBarMinimum(CDev& element, int sub, int conductors,
                               std::array<int, 4>& d) const {
  int barLength = 0, barWidth = 0, thickness = 0;
  GetBarGeometry(barLength, barWidth, thickness, &element);
  int minimum = barWidth + 25;
  if (sub == 1 || (sub == 2 && element.GetVariant() == 6)) {
    minimum = 2 * thickness + 50;
  } else if (std::int64_t{d[0]} + d[1] + d[2] + d[3] + barWidth > kMaxShapeSpan) {
    // Summed wide: stored distances may be as large as a number can be.
    const int gaps = conductors - 1;
    minimum = (kMaxShapeSpan - barWidth + gaps - 1) / gaps;
  }
  for (int& value : d) value = std::max(value, minimum);
}

int CRunQG::ConductorCount() const {
  const int count = TextToInt(GetPropText("Neutral"));
  return count >= 3 && count <= 5 ? count : 4;
}
