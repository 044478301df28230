#include "model/element/dev.h"
#include "ranges/qg/part_builder_qg.h"
#include "ranges/qg/qg_end_sizes.h"
#include "ranges/qg/run_qg.h"
#include "ranges/range_context.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr int kAskDimensions = 30034;

// The cover code and its six numbers m, a, b, c, d, n; false for a code outside 21..26
// or a number missing.
struct CCoverCode {
  int code = 0;
  std::array<int, 6> values{};
};

bool ReadCoverCode(std::string_view text, CCoverCode& cover) {
  const std::size_t colon = text.find(':');
  text = text.substr(0, colon);
  cover.code = TextToInt(text);
  if (cover.code < 21 || cover.code > 26) return false;
  std::size_t at = 0;
  for (int& value : cover.values) {
    at = text.find('/', at);
    if (at == std::string_view::npos) return false;
    ++at;
    value = TextToInt(text.substr(at));
  }
  return true;
}

bool Outside(std::int64_t value, std::int64_t low, std::int64_t high) {
  return value < low || value > high;
}

// The text of a cover over the span x and the depth y of a shape: the six numbers of
// its code made no smaller than the shape needs, " !!!" when they leave the part's
// limits.
std::string CoverText(const CCoverCode& cover, std::int64_t x, std::int64_t y, int housingHeight) {
  if (x > 1200) return "SP";
  auto [m, a, b, c, d, n] = cover.values;
  const std::int64_t across = std::max<std::int64_t>(a, y / 2 + 50),
                     side = std::max<std::int64_t>(b, y / 2 + 50);
  const std::int64_t along = std::max<std::int64_t>(c, x / 2 + 50),
                     end = std::max<std::int64_t>(d, x / 2 + 50);
  std::string text = "a=" + std::to_string(across) + ",b=" + std::to_string(side) +
                     ",c=" + std::to_string(along) + ",d=" + std::to_string(end) +
                     ",x=" + std::to_string(x) + ",y=" + std::to_string(y);
  if (cover.code > 22) text += ",m=" + std::to_string(m);
  if (cover.code > 24) text += ",n=" + std::to_string(n);
  bool wrong = Outside(across + side, 200, housingHeight >= 380 ? 700 : 600) ||
               Outside(along + end, 300, 1300);
  if (cover.code >= 25) wrong = wrong || Outside(m, 100, 400);
  else if (cover.code >= 23) wrong = wrong || Outside(m, 100, 350);
  return wrong ? text + " !!!" : text;
}

}  // namespace

std::string CPartBuilderQG::FormatPartDimensions(CDev& element, char mode) const {
  const int variant = element.GetVariant();
  if (element.GetKind() != CDev::kEnd || (variant != 2 && variant != 3 && variant != 6)) return {};
  const int n = m_qg.ConductorCount();
  const std::array<int, 4> d = m_qg.GetCentreDistances(element);
  int first = 0, second = 0, third = 0;
  m_qg.GetBarGeometry(first, second, third, &element);
  if (d[0] == 0) {
    std::string text = mode == 'C' ? "a/b=" : "p/q";
    if (mode != 'C') text += std::string(n > 3 ? "/r" : "") + (n == 5 ? "/s" : "") + "=";
    return text + CRangeContext::Instance().LookupText(kAskDimensions);
  }
  if (mode == 'C') return CoverDimensions(element, d, second, third);
  std::string text;
  if (variant == 6 && CRunQG::SubVariant(element) == 2)
    text = (element.GetStyle() & 0x2000u) == 0 ? "m=2," : "m=1,";
  static constexpr char kLetters[] = {'p', 'q', 'r', 's'};
  for (int i = 1; i < n && i <= 4; ++i) {
    if (i > 1) text += ",";
    text += std::string{kLetters[i - 1], '='} + std::to_string(d[static_cast<std::size_t>(i - 1)]);
  }
  return text + ",u=" + std::to_string(first) + ",v=" + std::to_string(second);
}

std::string CPartBuilderQG::CoverDimensions(CDev& element, const std::array<int, 4>& d, int second,
                                            int third) const {
  CCoverCode cover;
  if (!ReadCoverCode(element.GetPropValue("CAPOT"), cover)) return {};
  const CReferenceRow housing = m_qg.FindReference();
  CQGEndInput in;
  in.variant = element.GetVariant();
  in.nibble = CRunQG::SubVariant(element);
  in.entraxEmpty = element.GetPropValue("ENTRAX").empty();
  std::copy(d.begin(), d.end(), in.distances.begin());
  in.barSize = second;
  in.barValue = third;
  in.referenceFirst = housing.Width();
  in.referenceSecond = housing.Height();
  in.neutralCount = m_qg.ConductorCount();
  const CQGEndSizes sizes = QGEndSizes(in);
  return CoverText(cover, sizes.width, sizes.height, in.referenceSecond);
}
