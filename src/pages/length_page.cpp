#include "pages/length_page.h"

#include "model/element/dev.h"
#include "model/element/element_selection.h"
#include "model/props/page_kinds.h"
#include "model/run/run.h"
#include "pages/element_extents.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

constexpr int kMsgLengthCaption = 2529;
// Within this share of the costed length the two lengths count as equal.
constexpr double kSameTolerance = 0.02;

bool NearlyEqual(std::int64_t costed, std::int64_t drawn) {
  return costed > 0 &&
         static_cast<double>(std::llabs(costed - drawn)) / static_cast<double>(costed) <=
             kSameTolerance;
}

}  // namespace

int CLengthPage::GetPageKind() const { return kPageLength; }

int CLengthPage::GetCaptionMessage() const { return kMsgLengthCaption; }

CDev* CLengthPage::Element() const { return dynamic_cast<CDev*>(GetObject()); }

std::string CLengthPage::GetLabel1() const {
  return FormatLength(ParseLength(m_text1).value_or(0));
}

std::string CLengthPage::GetLabel2() const {
  return FormatLength(ParseLength(m_text2).value_or(0));
}

void CLengthPage::DoLoad() {
  const CDev* element = Element();
  if (element == nullptr) return;
  const CElementSelection& selection = CElementSelection::Of(*element);
  const int face = selection.Element() == element ? selection.Face() : CElementSelection::kNoFace;
  m_housingLength = false;
  if (face >= 0 && face < CDev::kFaceCount) LoadFace(*element);
  else LoadWhole(*element);
  m_loadedText1 = m_text1;
  m_loadedText2 = m_text2;
}

void CLengthPage::LoadFace(const CDev& element) {
  m_mode = EMode::kFace;
  const std::int64_t costed = element.GetBookedLength();
  const std::int64_t drawn = element.GetDrawnLength();
  m_text1 = FormatScaled(costed);
  m_text2 = FormatScaled(drawn);
  m_same = m_text1 == m_text2 ? 1 : 0;
  if (m_same == 0 && NearlyEqual(costed, drawn)) m_same = 2;
}

void CLengthPage::LoadWhole(const CDev& element) {
  m_mode = GetVariant() != 0 ? EMode::kVariant : EMode::kOffset;
  m_value = element.GetOffset();
  m_housingLength = element.GetKind() == CDev::kInLine;
  m_same = 0;
  if (m_mode == EMode::kVariant) {
    SetVariantLimits();
    const std::string stored = element.GetFieldText("LENGTH").value_or("");
    m_value = ReadBoundedInt(stored, m_minimum, m_maximum, m_default);
  }
  m_text1 = FormatScaled(m_value);
  m_text2 = m_text1;
}

void CLengthPage::SetVariantLimits() {
  const int variant = GetVariant();
  if (variant == 6) {
    m_minimum = 1100;
    m_maximum = 1500;
    m_default = 1300;
  } else if (variant == 7 || variant == 8) {
    m_minimum = 1000;
    m_maximum = 2000;
    m_default = 1000;
  } else {
    m_minimum = m_default;
    m_maximum = m_default;
  }
}

bool CLengthPage::ToggleSame() {
  m_same = m_same == 0 ? 1 : 0;
  // So that the next apply sees a change.
  m_loadedText1.clear();
  return m_same != 0;
}

void CLengthPage::ScrollTo(std::int64_t position) {
  m_text1 = std::to_string(std::clamp(position, m_minimum, m_maximum));
}

CApplyOutcome CLengthPage::DoApply() {
  CDev* element = Element();
  if (element == nullptr) return Unchanged();
  switch (m_mode) {
    case EMode::kFace: return ApplyFace(*element);
    case EMode::kVariant: return ApplyVariant(*element);
    case EMode::kOffset: return ApplyOffset(*element);
  }
  return Unchanged();
}

std::int64_t CLengthPage::MinimumDrawnLength(const CDev& element) const {
  const std::string catalog =
      element.GetRun() != nullptr ? element.GetRun()->GetPropText("Catalog") : std::string();
  std::int64_t room = 0;
  if (catalog.starts_with("QM")) room = 180;
  else if (catalog.starts_with("QG")) room = 2;
  else
    room = HousingExtentAlong(&element, element.GetDirection()) +
           HousingExtentAlong(element.GetBackNeighbour(), element.GetDirection());
  return room / 2;
}

CApplyOutcome CLengthPage::ApplyFace(CDev& element) {
  if (m_text1 == m_loadedText1 && m_text2 == m_loadedText2) return Unchanged();
  const std::optional<std::int64_t> typed1 = ParseLength(m_text1);
  std::optional<std::int64_t> typed2 = ParseLength(m_text2);
  const bool same = m_same != 0 || (typed1 && typed2 && NearlyEqual(*typed1, *typed2));
  if (same) typed2 = typed1;
  if (!typed1 || !typed2 || *typed1 < 1 || *typed1 > kMaxFaceLength || *typed2 < 1 ||
      *typed2 < MinimumDrawnLength(element)) {
    m_text1 = m_loadedText1;
    m_text2 = m_loadedText2;
    return Refused();
  }
  const std::int64_t costed = *typed1;
  const std::int64_t drawn = *typed2;
  const bool changed = costed != element.GetBookedLength() || drawn != element.GetDrawnLength();
  if (changed) {
    Edit(
        kActionElementEdit,
        [&] {
          if (CRun* run = element.GetRun())
            run->AddLengthToBOM(element.GetCalibre(), costed - element.GetBookedLength(),
                                element.GetVariantIndex());
          element.SetLength(static_cast<std::int32_t>(drawn), false);
          element.SetBookedLength(static_cast<std::int32_t>(costed));
          element.RebuildChain();
        },
        true);
  }
  m_text1 = FormatScaled(element.GetBookedLength());
  m_text2 = FormatScaled(element.GetDrawnLength());
  if (same) m_same = 1;
  m_loadedText1 = m_text1;
  m_loadedText2 = m_text2;
  return changed ? Applied() : Unchanged();
}

CApplyOutcome CLengthPage::ApplyVariant(CDev& element) {
  const std::optional<std::int64_t> typed = ParseLength(m_text1);
  if (!typed) {
    m_text1 = FormatScaled(m_value);
    return Refused();
  }
  const std::int64_t length = std::clamp(*typed, m_minimum, m_maximum);
  const std::string wanted = length == m_default ? std::string() : std::to_string(length);
  CApplyOutcome outcome = Unchanged();
  if (wanted != element.GetFieldText("LENGTH").value_or("")) {
    Edit(kActionElementEdit, [&] {
      element.SetFieldText("LENGTH", wanted);
      ShareVariantChange(element, length - m_value);
      element.BuildBoxes(0);
    });
    m_value = length;
    outcome = Applied();
  }
  m_text1 = FormatScaled(length);
  m_text2 = m_text1;
  return outcome;
}

// A special unit that grows or shrinks takes half of the change from its own costed
// length and half from the element beyond it; the last element of a run has nobody to
// share with and keeps its costed length.
void CLengthPage::ShareVariantChange(CDev& element, std::int64_t change) {
  const CRun* run = element.GetRun();
  CDev* front = element.GetNeighbour(element.GetDirection());
  if (change == 0 || GetVariant() != 6 || run == nullptr || run->GetPartsState() == 0 ||
      front == nullptr)
    return;
  std::int64_t own = change / 2;
  if (change % 2 != 0 && element.GetBookedLength() < front->GetBookedLength()) own += 1;
  const std::int64_t other = change - own;
  element.SetLength(static_cast<std::int32_t>(element.GetBookedLength() + own), false);
  front->SetLength(static_cast<std::int32_t>(front->GetBookedLength() + other), false);
}

CApplyOutcome CLengthPage::ApplyOffset(CDev& element) {
  const std::optional<std::int64_t> typed = ParseLength(m_text1);
  const CDev* front = element.GetNeighbour(element.GetDirection());
  const auto fits = [](std::int64_t half, const CDev* other) {
    return other == nullptr || half < other->GetDrawnLength();
  };
  if (!typed || *typed < 1 || *typed > kMaxOffset || !fits(*typed / 2, &element) ||
      !fits(*typed / 2, front)) {
    m_text1 = FormatScaled(element.GetOffset());
    return Refused();
  }
  CApplyOutcome outcome = Unchanged();
  if (*typed != element.GetOffset()) {
    Edit(kActionElementEdit, [&] { element.ChangeOffset(static_cast<std::int32_t>(*typed)); });
    m_text2 = m_text1;
    outcome = Applied();
  }
  m_value = element.GetOffset();
  m_text1 = FormatScaled(m_value);
  return outcome;
}
