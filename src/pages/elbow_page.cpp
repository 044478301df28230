#include "pages/elbow_page.h"

#include "model/element/dev.h"
#include "model/props/page_kinds.h"
#include "model/run/run.h"

#include <climits>

namespace {

constexpr int kMsgElbowCaption = 2563;
// Angles of QP elbows are made in steps of this many degrees.
constexpr int kQPAngleStep = 5;

}  // namespace

int RoundElbowAngle(int angle, std::string_view catalog) {
  if (!catalog.starts_with("QP") && !catalog.starts_with("Qp")) return angle;
  const int remainder = ((angle % kQPAngleStep) + kQPAngleStep) % kQPAngleStep;
  const int rounded = angle - remainder + (remainder >= 3 ? kQPAngleStep : 0);
  return rounded == 180 ? 175 : rounded;
}

int StoredElbowAngle(std::string_view stored) {
  const auto angle = static_cast<int>(ReadBoundedInt(stored, INT_MIN, INT_MAX, 0));
  return angle == 0 ? CElbowPage::kStandardAngle : angle;
}

int CElbowPage::GetPageKind() const { return kPageElbow; }

int CElbowPage::GetCaptionMessage() const { return kMsgElbowCaption; }

void CElbowPage::DoLoad() {
  const CDev* element = GetElement();
  const CRun* run = element->GetRun();
  m_partsBuilt = run != nullptr && run->GetPartsState() != 0;
  const std::string catalog = run != nullptr ? run->GetPropText("Catalog") : std::string();
  m_extendedCaption = catalog.starts_with("QW");
  int angle = kStandardAngle;
  m_specialAngle = false;
  if (IsAngleShown()) {
    const std::optional<std::string> stored = element->GetFieldText("ELBOW_ANGL");
    angle = StoredElbowAngle(stored.value_or(""));
    m_specialAngle = stored.has_value() && !stored->empty() && angle != kStandardAngle;
  }
  m_specialLength = IsLengthShown() && !m_specialAngle &&
                    !element->GetFieldText("ELBOW_LENG").value_or("").empty();
  m_angleText = std::to_string(angle);
}

void CElbowPage::ToggleSpecialAngle() {
  m_specialAngle = !m_specialAngle;
  if (m_specialAngle) m_specialLength = false;
  else m_angleText = std::to_string(kStandardAngle);
}

CApplyOutcome CElbowPage::DoApply() {
  CDev& element = *GetElement();
  const auto typed = static_cast<int>(ReadBoundedInt(m_angleText, -99999, 99999, 0));
  const int angle = RoundElbowAngle(
      typed, element.GetRun() != nullptr ? element.GetRun()->GetPropText("Catalog") : "");
  const int stored = StoredElbowAngle(element.GetFieldText("ELBOW_ANGL").value_or(""));
  m_angleText = std::to_string(angle);
  if (angle == kStandardAngle) m_specialAngle = false;
  CApplyOutcome outcome = Unchanged();
  if (angle != stored && (angle < kStandardAngle || angle > kLargestAngle)) {
    m_angleText = std::to_string(stored);
    outcome = Refused();
  }
  const std::string angleText =
      angle != stored && outcome.result != EApplyResult::kRefused ? std::to_string(angle) : "";
  const std::string length = m_specialLength && !m_specialAngle ? "1" : "";
  const bool lengthChanged = length != element.GetFieldText("ELBOW_LENG").value_or("");
  if (!angleText.empty() || lengthChanged) {
    Edit(kActionElementEdit, [&] {
      if (!angleText.empty()) element.SetFieldText("ELBOW_ANGL", angleText);
      if (lengthChanged) element.SetFieldText("ELBOW_LENG", length);
      element.UpdateBoxColors(false);
    });
    if (outcome.result != EApplyResult::kRefused) outcome = Applied();
  }
  return outcome;
}
