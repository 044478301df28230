#include "model/element/dev.h"
#include "ranges/qg/part_builder_qg.h"
#include "ranges/qg/run_qg.h"
#include "ranges/range_context.h"
#include "ranges/range_ref_text.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kAskDimensions = 30034;
constexpr int kCoverOutOfRange = 31047;

struct CCoefficientRow {
  int height;
  double w90, w100, w120;
};

constexpr std::array<CCoefficientRow, 10> kCoefficients{{
    {90, 0.7, 0, 0},
    {110, 0, 0.8, 0.9},
    {130, 0, 0.8, 1.0},
    {150, 0, 0.9, 1.1},
    {190, 0, 1.0, 1.2},
    {230, 0, 1.2, 1.4},
    {270, 0, 1.3, 1.5},
    {380, 0, 2.0, 2.2},
    {460, 0, 2.1, 2.3},
    {540, 0, 2.3, 2.7},
}};

int Capped(std::int64_t count) {
  return static_cast<int>(std::clamp<std::int64_t>(count, 0, CPartBuilderQG::kMaxCount));
}

// The whole numbers after the first, second and third "/" of a text (0 when absent).
std::array<int, 3> SlashNumbers(std::string_view text) {
  std::array<int, 3> values{};
  std::size_t at = 0;
  for (int& value : values) {
    at = text.find('/', at);
    if (at == std::string_view::npos) break;
    ++at;
    value = TextToInt(text.substr(at));
  }
  return values;
}

// The bar factor of a clip by the bar width: 0 when no clip fits it.
int ClipFactor(int width) {
  switch (width) {
    case 40:
    case 50:
    case 60: return 1;
    case 80:
    case 160:
    case 350: return 2;
    case 100:
    case 200:
    case 430: return 3;
    case 120:
    case 240:
    case 510: return 4;
    default: return 0;
  }
}

// Whether one of the clip positions c, c + d, ... (at most f of them) that the suffix
// names lies within the span.
bool ClipsWithinSpan(std::string_view suffix, int span) {
  const auto number = [suffix](std::string_view label) {
    const std::size_t at = suffix.find(label);
    return at == std::string_view::npos ? 0 : TextToInt(suffix.substr(at + label.size()));
  };
  const std::int64_t c = number("c="), d = number("d=");
  const int f = std::clamp(number("f="), 1, CPartBuilderQG::kMaxCount);
  for (int i = 0; i < f; ++i) {
    if (c + i * d < span) return true;
    if (d <= 0) break;
  }
  return false;
}

}  // namespace

int JointAccessoryCount(int count) {
  if (count <= 4) return count;
  if (count <= 12) return 4;
  return (count + 3) / 4;
}

double HousingCoefficient(int width, int height) {
  for (const CCoefficientRow& row : kCoefficients) {
    if (row.height != height) continue;
    if (width == 90) return row.w90;
    if (width == 100) return row.w100;
    if (width == 120) return row.w120;
  }
  return 0;
}

bool CPartBuilderQG::AddCover(CDev& element, const std::string& group) {
  const int variant = element.GetVariant();
  if (variant != 2 && variant != 3 && variant != 6) return false;
  const std::string capot = element.GetPropValue("CAPOT");
  int code = TextToInt(capot);
  if (code < 21 || code > 26) return false;
  const std::size_t colon = capot.find(':');
  std::string suffix = colon == std::string::npos ? std::string() : capot.substr(colon + 1);
  std::string text = FormatPartDimensions(element, 'C');
  if (!text.empty() && text.back() == '!') {
    FormatPartLabel(&element, 6,
                    CRangeContext::Instance().LookupText(kCoverOutOfRange) + "\n" + text, 0, 0);
    MarkInError(&element);
  }
  if (text == "SP") {
    text = CRangeContext::Instance().LookupText(kAskDimensions);
    suffix.clear();
    code += 10;
  }
  if (!suffix.empty()) text += ",\n" + suffix;
  if (GetRun().AddAccessoryParts(code, 1, text + group) == 0) return false;
  element.SetFieldText("POS1", "03" + GetRun().GetElementRef(code) + text + group);
  return true;
}

CClipPlan PlanClips(int k, int width, int thickness, int rating, int conductors, bool endClips,
                    bool noSplit) {
  CClipPlan plan;
  plan.factor = ClipFactor(width);
  if (plan.factor == 0 || k < 7 || k > 9) return plan;
  std::int64_t calibre = std::int64_t{rating} * 100;
  if (calibre == 1200 || calibre == 1300) calibre += 50;
  const std::int64_t divisor = std::int64_t{100 * plan.factor + 200} * (k == 7 ? 14 : 7);
  plan.count = Capped((std::max<std::int64_t>(calibre, 0) * 5 + divisor - 1) / divisor);
  plan.split = width >= 350 ? 1 : (width == 160 || width == 200) && !noSplit ? 2 : 0;
  if (plan.count == 0 || !endClips) return plan;
  const int h = plan.split != 0 ? plan.count - plan.count / 2 : plan.count;
  const std::int64_t q = std::int64_t{k == 7 ? 10 : 5} * h + thickness + 20;
  const std::int64_t raw = (q + 9) / 10;
  const std::int64_t r = q <= 40 ? 4 : raw == 10 ? 9 : std::min<std::int64_t>(raw, 10);
  plan.endCode = static_cast<int>(r) + 37;
  plan.endCount = plan.split != 0 ? 2 * conductors : conductors;
  return plan;
}

bool CPartBuilderQG::AddClips(CDev& element, const std::string& group) {
  const std::string clinq = element.GetPropValue("CLINQ");
  const int k = TextToInt(clinq) - 1;
  if (k < 7 || k > 9) return false;
  const auto [a1, a2, a3] = SlashNumbers(clinq);
  const std::size_t colon = clinq.find(':');
  std::string suffix = colon == std::string::npos ? std::string() : clinq.substr(colon + 1);
  const int n = m_qg.ConductorCount();
  int length = 0, width = 0, thickness = 0;
  m_qg.GetBarGeometry(length, width, thickness, &element);
  const int variant = element.GetVariant();
  const bool noSplit = (variant == 2 || variant == 6) && CRunQG::SubVariant(element) == 1 &&
                       element.GetPropValue("ENTRAX").empty();
  const CClipPlan plan = PlanClips(k, width, thickness, m_qg.GetRating(), n, a2 != 0, noSplit);
  if (plan.factor == 0) return false;
  if (plan.split == 1) suffix.clear();
  const int code = (10 * k - 60 + plan.factor) * 10 + std::clamp(a3, 0, 8) + 1;
  const std::string plain = k > 7 ? "l=" + std::to_string(a1) : std::string();
  std::string text = plain;
  const bool fits = !suffix.empty() && ClipsWithinSpan(suffix, 20 * plan.factor + 40);
  if (fits) text += (k > 7 ? "," : "") + suffix;
  const int total = Capped(std::int64_t{plan.count} * n);
  // In split mode 2 the clips of the suffix are half of the count; the other half is
  // a batch of plain clips.
  const int first = fits && plan.split == 2 ? total / 2 : total;
  if (GetRun().AddAccessoryParts(code, first, text + group) == 0) return false;
  element.SetFieldText("POS2", "02" + GetRun().GetElementRef(code) + text + group);
  if (first < total) GetRun().AddAccessoryParts(code, total - first, plain + group);
  if (plan.endCode != 0) GetRun().AddAccessoryParts(plan.endCode, plan.endCount, group);
  return true;
}

void CPartBuilderQG::AddRunAccessories() {
  CJointCounts counts;
  for (const CDev* element : GetRun().GetChainOrder()) {
    const int code = m_qg.ClassifyKind9Element(element, element != nullptr && IsMounted(*element));
    if ((code & 1) != 0) ++counts.c1;
    if ((code & 2) != 0) ++counts.c2;
    if ((code & 4) != 0) ++counts.c4;
  }
  CRun& run = GetRun();
  if (counts.c1 > 0) {
    run.AddAccessoryParts(10, Capped(counts.c1), {});
    run.AddAccessoryParts(11, Capped(JointAccessoryCount(counts.c1)), {});
  }
  if (counts.c2 > 0) run.AddAccessoryParts(12, Capped(counts.c2), {});
  if (counts.c4 > 0) run.AddAccessoryParts(13, Capped(counts.c4), {});
  if (counts.c2 - counts.c4 > 0)
    run.AddAccessoryParts(14, Capped(JointAccessoryCount(counts.c2 - counts.c4)), {});
  double total = 0;
  std::int64_t clips = 0;
  const std::string calibre = run.GetPropText("Calibre");
  for (int pass = 1; pass <= 2; ++pass) {
    const int count = pass == 1 ? counts.c1 : counts.c2;
    const CReferenceRow row = run.FindReference(pass == 1 ? calibre : calibre + "F");
    const int reduce = pass == 2 ? 40 : 0;
    const int w = row.Width() - reduce, h = row.Height() - reduce;
    total += count * HousingCoefficient(w, h);
    const int divisor = h < 190 ? 20 : h < 380 ? 15 : 10;
    clips += (count + divisor - 1) / divisor;
  }
  if (total > 0) {
    const int n = Capped(static_cast<std::int64_t>(std::ceil(total - 1e-9)));
    run.AddAccessoryParts(15, n, {});
    run.AddAccessoryParts(16, n, {});
  }
  if (clips > 0) run.AddAccessoryParts(17, Capped(clips), {});
}
