#include "model/dev.h"
#include "ranges/qg/part_builder_qg.h"
#include "ranges/qg/run_qg.h"
#include "ranges/range_context.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <array>

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

bool Outside(int value, int low, int high) { return value < low || value > high; }

}  // namespace

std::string CPartBuilderQG::FormatPartDimensions(CDev& element, char mode) const {
  const int variant = element.GetVariant();
  if (element.GetKind() != CDev::kEnd || (variant != 2 && variant != 3 && variant != 6)) return {};
  const int n = m_qg.ConductorCount();
  const std::array<int, 4> d = m_qg.GetCentreDistances(element);
  const int sub = CRunQG::SubVariant(element);
  int first = 0, second = 0, third = 0;
  m_qg.GetBarGeometry(first, second, third, &element);
  if (d[0] == 0) {
    std::string text = mode == 'C' ? "a/b=" : "p/q";
    if (mode != 'C') text += std::string(n > 3 ? "/r" : "") + (n == 5 ? "/s" : "") + "=";
    return text + CRangeContext::Instance().LookupText(kAskDimensions);
  }
  if (mode != 'C') {
    std::string text;
    if (variant == 6 && sub == 2) text = (element.GetStyle() & 0x2000u) == 0 ? "m=2," : "m=1,";
    static constexpr char kLetters[] = {'p', 'q', 'r', 's'};
    for (int i = 1; i < n && i <= 4; ++i) {
      if (i > 1) text += ",";
      text +=
          std::string{kLetters[i - 1], '='} + std::to_string(d[static_cast<std::size_t>(i - 1)]);
    }
    return text + ",u=" + std::to_string(first) + ",v=" + std::to_string(second);
  }
  CCoverCode cover;
  if (!ReadCoverCode(element.GetPropValue("CAPOT"), cover)) return {};
  const CReferenceRow housing = m_qg.FindReference();
  const int w1 = housing.Width(), w2 = housing.Height();
  const bool entraxEmpty = element.GetPropValue("ENTRAX").empty();
  int x = d[0] + d[1] + d[2] + d[3] + 100;
  if (sub >= 2 && !(variant == 6 && sub == 2)) x += second;
  else if (!(entraxEmpty && (variant == 2 || variant == 6))) x += third;
  int y = 0;
  if (variant == 2) y = sub == 3 ? (n - 2) * third + 42 * n + 38 : w2;
  if (variant == 6) {
    y = sub == 1 ? w2 : sub == 2 ? w1 + second + 30 : (n - 2) * third + 36 * n + 44;
  }
  if (variant == 3) {
    y = sub == 1   ? second + 85
        : sub == 2 ? third + 100 + (n == 5 ? 40 : 0)
                   : std::min(third + w2 + 130, 480);
  }
  if (x > 1200) return "SP";
  auto [m, a, b, c, dd, nn] = cover.values;
  a = std::max(a, y / 2 + 50);
  b = std::max(b, y / 2 + 50);
  c = std::max(c, x / 2 + 50);
  dd = std::max(dd, x / 2 + 50);
  std::string text = "a=" + std::to_string(a) + ",b=" + std::to_string(b) +
                     ",c=" + std::to_string(c) + ",d=" + std::to_string(dd) +
                     ",x=" + std::to_string(x) + ",y=" + std::to_string(y);
  if (cover.code > 22) text += ",m=" + std::to_string(m);
  if (cover.code > 24) text += ",n=" + std::to_string(nn);
  bool wrong = Outside(a + b, 200, w2 >= 380 ? 700 : 600) || Outside(c + dd, 300, 1300);
  if (cover.code >= 25) wrong = wrong || Outside(m, 100, 400);
  else if (cover.code >= 23) wrong = wrong || Outside(m, 100, 350);
  if (wrong) text += " !!!";
  return text;
}
