#include "pages/position_page.h"

#include "model/element/dev.h"
#include "model/props/page_kinds.h"
#include "model/run/run.h"
#include "pages/element_extents.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMsgPositionCaption = 2525;
constexpr int kMsgSecondTooLong = 31495;
constexpr int kMsgFirstTooLong = 31496;
constexpr int kMsgTotalTooShort = 31500;
constexpr int kMsgFirstTooShort = 31501;
constexpr int kMsgSecondTooShort = 31502;

// Drawn length per costed length; 1 for an element that costs nothing, so that a
// length of 0 never divides.
double DrawnRatio(const CDev& element) {
  const std::int32_t costed = element.GetBookedLength();
  return costed != 0 ? static_cast<double>(element.GetDrawnLength()) / costed : 1.0;
}

std::int32_t Scaled(double ratio, std::int64_t length) {
  return static_cast<std::int32_t>(std::llround(ratio * static_cast<double>(length)));
}

}  // namespace

int CPositionPage::GetPageKind() const { return kPagePosition; }

int CPositionPage::GetCaptionMessage() const { return kMsgPositionCaption; }

CDev* CPositionPage::Element() const { return dynamic_cast<CDev*>(GetObject()); }

CDev* CPositionPage::Front() const {
  const CDev* element = Element();
  return element != nullptr ? element->GetNeighbour(element->GetDirection()) : nullptr;
}

const std::string& CPositionPage::GetText(int field) const {
  return m_texts[std::clamp(field, 0, 2)];
}

void CPositionPage::SetText(int field, std::string text) {
  if (field >= 0 && field <= 2) m_texts[field] = std::move(text);
}

std::string CPositionPage::GetLabel(int field) const {
  const std::int64_t values[3] = {m_a, m_b, m_t};
  return FormatLength(values[std::clamp(field, 0, 2)]);
}

void CPositionPage::ComputeLimits() {
  const CDev* element = Element();
  const CDev* front = Front();
  const int direction = element->GetDirection();
  m_hasFront = front != nullptr;
  m_a = element->GetBookedLength();
  m_b = front != nullptr ? front->GetBookedLength() : 0;
  m_t = m_a + m_b;
  const std::int64_t own = HousingExtentAlong(element, direction);
  m_minA = (own + HousingExtentAlong(element->GetBackNeighbour(), direction)) / 2;
  m_minB = (own + HousingExtentAlong(front, direction)) / 2;
}

void CPositionPage::FormatTexts() {
  m_texts[kFieldFirst] = FormatScaled(m_a);
  m_texts[kFieldSecond] = FormatScaled(m_b);
  m_texts[kFieldTotal] = FormatScaled(m_t);
  std::copy(std::begin(m_texts), std::end(m_texts), std::begin(m_loadedTexts));
}

void CPositionPage::DoLoad() {
  ComputeLimits();
  FormatTexts();
  if (!m_hasFront) return;
  // Lengths that leave no room for the housings are set right at once.
  std::int64_t a = m_a;
  std::int64_t b = m_b;
  if (a >= m_minA && b >= m_minB) return;
  if (a < m_minA) {
    a = m_minA;
    b = std::max(m_t - m_minA, m_minB);
  }
  if (b < m_minB) {
    b = m_minB;
    a = std::max(m_t - m_minB, m_minA);
  }
  Split(a, b, std::max(a + b, GetMinTotal()));
}

CApplyOutcome CPositionPage::Refuse(int message, std::int64_t limit, int field) {
  std::copy(std::begin(m_loadedTexts), std::end(m_loadedTexts), std::begin(m_texts));
  return Refused(message, FormatScaled(limit), field);
}

CApplyOutcome CPositionPage::DoApply() {
  if (Element() == nullptr) return Unchanged();
  bool changed[3];
  for (int i = 0; i < 3; ++i) changed[i] = m_texts[i] != m_loadedTexts[i];
  if (!changed[0] && !changed[1] && !changed[2] && !m_fromScroll) return Unchanged();
  if (Front() == nullptr) return Refuse(0, 0, kFieldFirst);
  ComputeLimits();
  if (m_fromScroll) {
    const std::int64_t a = std::clamp(m_scrollPosition, GetScrollMinimum(), GetScrollMaximum());
    return Split(a, m_t - a, m_t);
  }
  const int field = changed[0] ? kFieldFirst : (changed[1] ? kFieldSecond : kFieldTotal);
  const std::optional<std::int64_t> typed = ParseLength(m_texts[field]);
  if (!typed) {
    const int messages[3] = {kMsgFirstTooShort, kMsgSecondTooShort, kMsgTotalTooShort};
    const std::int64_t limits[3] = {m_minA, m_minB, GetMinTotal()};
    return Refuse(messages[field], limits[field], field);
  }
  if (field == kFieldFirst) return ApplyTyped(*typed, m_t - *typed, m_t);
  if (field == kFieldSecond) return ApplyTyped(m_t - *typed, *typed, m_t);
  return ApplyTyped(-1, -1, *typed);
}

// a, b and t as the first changed field makes them (a and b -1 when the total changed).
CApplyOutcome CPositionPage::ApplyTyped(std::int64_t a, std::int64_t b, std::int64_t t) {
  if (a < 0 && b < 0) {
    if (t < GetMinTotal()) return Refuse(kMsgTotalTooShort, GetMinTotal(), kFieldTotal);
    // The joint keeps its place in proportion to the old split.
    const double share = m_t > 0 ? static_cast<double>(m_a) / static_cast<double>(m_t) : 0.5;
    a = std::clamp<std::int64_t>(std::llround(share * static_cast<double>(t)), m_minA, t - m_minB);
    return Split(a, t - a, t);
  }
  const bool firstTyped = m_texts[kFieldFirst] != m_loadedTexts[kFieldFirst];
  if (firstTyped) {
    if (a < m_minA) return Refuse(kMsgFirstTooShort, m_minA, kFieldFirst);
    if (a > t - m_minB) return Refuse(kMsgFirstTooLong, t - m_minB, kFieldFirst);
  } else {
    if (b < m_minB) return Refuse(kMsgSecondTooShort, m_minB, kFieldSecond);
    if (b > t - m_minA) return Refuse(kMsgSecondTooLong, t - m_minA, kFieldSecond);
  }
  return Split(a, b, t);
}

CApplyOutcome CPositionPage::Split(std::int64_t a, std::int64_t b, std::int64_t t) {
  m_fromScroll = false;
  CDev* element = Element();
  CDev* front = Front();
  const bool changed = a != element->GetBookedLength() || b != front->GetBookedLength();
  m_a = a;
  m_b = b;
  m_t = t;
  if (changed)
    Edit(
        kActionElementEdit, [&] { WriteLengths(*element, *front); }, true);
  FormatTexts();
  return changed ? Applied() : Unchanged();
}

void CPositionPage::WriteLengths(CDev& element, CDev& front) {
  const double elementRatio = DrawnRatio(element);
  const double frontRatio = DrawnRatio(front);
  if (CRun* run = element.GetRun()) {
    run->AddLengthToBOM(element.GetCalibre(), m_a - element.GetBookedLength(),
                        element.GetVariantIndex());
    run->AddLengthToBOM(front.GetCalibre(), m_b - front.GetBookedLength(), front.GetVariantIndex());
  }
  element.SetLength(Scaled(elementRatio, m_a), true);
  element.SetBookedLength(static_cast<std::int32_t>(m_a));
  front.SetLength(Scaled(frontRatio, m_b), false);
  front.SetBookedLength(static_cast<std::int32_t>(m_b));
  element.RebuildChain();
}

CApplyOutcome CPositionPage::ScrollTo(std::int64_t position, bool released) {
  if (Element() == nullptr || Front() == nullptr) return Unchanged();
  const std::int64_t clamped = std::clamp(position, GetScrollMinimum(), GetScrollMaximum());
  if (!released && clamped % 10 != 0) return Unchanged();
  m_texts[kFieldFirst] = FormatScaled(clamped);
  m_scrollPosition = clamped;
  m_fromScroll = true;
  return Apply();
}
