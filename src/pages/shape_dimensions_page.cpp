#include "pages/shape_dimensions_page.h"

#include "app/message_text.h"
#include "model/element/dev.h"
#include "model/props/dimension.h"
#include "ranges/qg/run_qg.h"
#include "ranges/range_pages.h"

#include <array>
#include <cmath>

namespace {

constexpr int kMsgShapeDimensionsCaption = 2543;
constexpr int kMsgDistanceRule = 30189;
constexpr int kMsgSumRule = 30191;
constexpr int kMsgSumAdvice = 30192;
// Sizes above this are laid as two bars side by side.
constexpr int kDoubleBarSize = 240;
// A sanity bound on the options a range lists.
constexpr int kMaxOptions = 32;

}  // namespace

int CShapeDimensionsPage::GetPageKind() const { return kPageShapeDimensions; }

int CShapeDimensionsPage::GetCaptionMessage() const { return kMsgShapeDimensionsCaption; }

CRunQG* CShapeDimensionsPage::Range() const {
  CDev* element = GetElement();
  return element != nullptr ? dynamic_cast<CRunQG*>(element->GetRun()) : nullptr;
}

std::string CShapeDimensionsPage::GetTText() const {
  if (m_selected < 0 || m_selected >= static_cast<int>(m_sizes.size())) return {};
  return FormatLength(m_sizes[static_cast<std::size_t>(m_selected)].value);
}

std::string CShapeDimensionsPage::GetRangeText() const {
  return "(" + FormatLength(kLowestU) + "..." + FormatLength(kHighestU) + ")";
}

void CShapeDimensionsPage::FillSizes() {
  m_sizes.clear();
  m_selected = -1;
  m_option = 0;
  CRunQG* range = Range();
  CDev* element = GetElement();
  if (range == nullptr || element == nullptr) return;
  int first = 0, size = 0, value = 0;
  if (CRunQG::SubVariant(*element) != 0)
    m_option = range->GetBarGeometry(first, size, value, element);
  else range->GetBarGeometry(first, size, value, nullptr);
  m_uText = first > 0 ? FormatScaled(first) : std::string();
  if (m_option > 0) {
    for (int option = 1; option < kMaxOptions; ++option) {
      int wanted = option, optionSize = 0, optionValue = 0;
      if (range->GetBarGeometry(wanted, optionSize, optionValue, nullptr) < 0) break;
      m_sizes.push_back({FormatLength(optionSize), optionSize, optionValue});
      if (option == m_option) m_selected = static_cast<int>(m_sizes.size()) - 1;
    }
    return;
  }
  const std::string text =
      size > kDoubleBarSize ? "2 x " + FormatLength((size - 30) / 2) : FormatLength(size);
  m_sizes.push_back({text, size, value});
  m_selected = 0;
}

void CShapeDimensionsPage::DoLoad() { FillSizes(); }

std::string CShapeDimensionsPage::DistanceWarning(std::int64_t v, std::int64_t t) const {
  CDev& element = *GetElement();
  const std::array<int, 4> d = Range()->GetCentreDistances(element);
  const int nibble = CRunQG::SubVariant(element);
  const int variant = element.GetVariant();
  const std::int64_t sum = std::int64_t{d[0]} + d[1] + d[2] + d[3];
  const bool thin = nibble == 1 || (nibble == 2 && variant == 6);
  const std::int64_t limit = thin                                            ? 700
                             : nibble == 3 && (variant == 2 || variant == 6) ? 2100
                                                                             : 1100;
  const std::int64_t bars = thin ? t : v;
  if (bars + sum > limit)
    return (thin ? "P+Q+R+S + T > " : "P+Q+R+S + V > ") + FormatLength(limit) + " !\n" +
           StringText(kMsgSumRule) + "\n" + StringText(kMsgSumAdvice);
  const std::int64_t minimum = thin ? 2 * t + 50 : v + 25;
  for (std::size_t i = 0; i < d.size() && d[i] != 0; ++i) {
    if (d[i] >= minimum) continue;
    std::string text = thin ? "E - T < T + " + FormatLength(50) : "E - V < " + FormatLength(25);
    text[0] = "PQRS"[i];
    return text + " !\n" + StringText(kMsgDistanceRule) + "\n" + StringText(kMsgSumAdvice);
  }
  return {};
}

CApplyOutcome CShapeDimensionsPage::DoApply() {
  CDev& element = *GetElement();
  if (Range() == nullptr) return Unchanged();
  const std::optional<double> parsed = Units().TryParse(m_uText);
  const bool number = parsed.has_value() && std::isfinite(*parsed) && std::fabs(*parsed) < 1e9;
  const std::int64_t u = number ? static_cast<std::int64_t>(*parsed) : 0;
  if (!m_uText.empty() && number) m_uText = FormatScaled(u);
  if (u < kLowestU || u > kHighestU)
    return RefusedRange(kMsgOutOfRange, FormatLength(kLowestU), FormatLength(kHighestU), kFieldU);
  std::string wanted;
  const bool chosen =
      HasOption() && m_selected >= 0 && m_selected < static_cast<int>(m_sizes.size());
  if (chosen) {
    const CSize& entry = m_sizes[static_cast<std::size_t>(m_selected)];
    const std::string warning = DistanceWarning(entry.size, entry.value);
    if (!warning.empty()) {
      CApplyOutcome refused = Refused(0, {}, kFieldSize);
      refused.refusal.text = warning;
      return refused;
    }
    if (entry.size > 0)
      wanted =
          std::to_string(u) + "/" + std::to_string(entry.size) + "/" + std::to_string(entry.value);
  }
  if (wanted == element.GetFieldText("BARS").value_or("")) return Unchanged();
  Edit(
      kActionElementEdit,
      [&] {
        element.SetFieldText("BARS", wanted);
        element.RebuildChain();
      },
      true);
  return Applied();
}
