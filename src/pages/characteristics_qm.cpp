// The characteristics page's range options: the QM options of a face's straight (EH44,
// ED31 and the ED step of a built run) and the kit position of an in-line unit.

#include "model/element/dev.h"
#include "model/element/kit_limits.h"
#include "model/run/run.h"
#include "pages/characteristics_context.h"
#include "pages/characteristics_page.h"
#include "ranges/qm/run_qm.h"

#include <algorithm>

namespace {

constexpr int kMsgEH44Box = 30083;
constexpr int kMsgED31Box = 30200;

}  // namespace

void CCharacteristicsPage::LoadQMFaceOptions(CDev& element, const CContext& context) {
  const auto* qm = dynamic_cast<const CRunQM*>(element.GetRun());
  if (qm == nullptr) return;
  if (context.KnowsEH44() && !context.built) {
    if (m_variant == 4 || (m_variant == 1 && context.edStep)) {
      m_optionBox = EOptionBox::kEH44;
      m_optionMessage = kMsgEH44Box;
      m_optionChecked = qm->AccessEH44Option(element, -1);
    } else if (qm->AccessEH44Option(element, -1)) {
      // A straight of another variant cannot carry the option any more.
      qm->AccessEH44Option(element, 0);
    }
  }
  if (m_variant != 3) return;
  if (context.edStep && !context.IsTwinQM()) {
    m_optionBox = context.built ? EOptionBox::kEdRenumber : EOptionBox::kED31;
    m_optionMessage = kMsgED31Box;
    m_optionChecked = qm->AccessED31Option(element, -1);
    m_optionEnabled = true;
  } else if (!context.built) {
    // Read through the run, a twin run's option is never set: it is cleared all the same.
    qm->AccessED31Option(element, 0);
  }
}

CApplyOutcome CCharacteristicsPage::SetQMOption(CDev& element, bool checked) {
  const auto* qm = dynamic_cast<const CRunQM*>(element.GetRun());
  if (qm == nullptr) return Unchanged();
  const bool eh44 = m_optionBox == EOptionBox::kEH44;
  m_optionChecked = checked;
  const bool held = eh44 ? qm->AccessEH44Option(element, -1) : qm->AccessED31Option(element, -1);
  if (held == checked) return Unchanged();
  Edit(kActionElementEdit, [&] {
    if (eh44) qm->AccessEH44Option(element, checked ? 1 : 0);
    else qm->AccessED31Option(element, checked ? 1 : 0);
  });
  return Applied();
}

void CCharacteristicsPage::LoadKit(const CDev& element, const CContext& context) {
  if (!context.catalog.starts_with("QM") && !context.catalog.starts_with("QG")) return;
  if (!element.GetFieldText("KITCF").has_value()) return;
  const CKitReading reading = ReadKitLimits(*element.GetRun(), element);
  if (!reading.found) return;
  m_kitShown = true;
  m_kitEnabled = !context.built;
  m_kitLimit = reading.limit;
  m_kitLength = reading.limits.values[0];
  m_kitPosition = reading.limits.values[3];
}

std::string CCharacteristicsPage::GetKitDistanceText(bool after) const {
  return FormatLength(m_kitLength / 2 + (after ? m_kitPosition : -m_kitPosition));
}

CApplyOutcome CCharacteristicsPage::SetKitPosition(std::int64_t position) {
  CDev* element = GetElement();
  if (element == nullptr || !m_kitShown || !m_kitEnabled) return Unchanged();
  const std::int64_t held = std::clamp(position, -m_kitLimit, m_kitLimit);
  if (held == m_kitPosition) return Unchanged();
  Edit(kActionElementEdit, [&] {
    element->SetFieldText("KITCF", std::to_string(held));
    // The kit rows decide the limits: the unit's own clamp has the last word.
    CKitLimits limits;
    if (ClampElementKit(*element, limits) != 0) m_kitPosition = limits.values[3];
    else m_kitPosition = held;
    element->RebuildChain();
  });
  return Applied();
}

CApplyOutcome CCharacteristicsPage::SetKitDistance(bool after, const std::string& typed) {
  if (!m_kitShown || !m_kitEnabled) return Unchanged();
  const std::optional<std::int64_t> distance = ParseLength(typed);
  if (!distance) return Refused(0, {}, after ? 1678 : 1679);
  const std::int64_t half = m_kitLength / 2;
  return SetKitPosition(after ? *distance - half : half - *distance);
}
