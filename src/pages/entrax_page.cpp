#include "pages/entrax_page.h"

#include "model/element/dev.h"
#include "model/props/dimension.h"
#include "model/run/run.h"
#include "ranges/range_pages.h"

#include <array>
#include <climits>
#include <cmath>

namespace {

constexpr int kMsgEntraxCaption = 2521;
constexpr std::uint32_t kShapeBits = 0xF00000u;
constexpr int kShapeShift = 20;
constexpr std::array<const char*, 6> kPictureNames = {"FEEDUNIT_AA", "FEEDUNIT_AB", "FEEDUNIT_AC",
                                                      "FEEDUNIT_AD", "FEEDUNIT_AK", "FEEDUNIT_AL"};
// The shapes a reduced unit offers, by list index.
constexpr std::array<int, 4> kReducedShapes = {1, 2, 4, 6};
// From this rating on the narrow shapes take the wide standard distance.
constexpr int kWideRating = 36;

std::uint32_t WithShape(std::uint32_t style, int shape) {
  return (style & ~kShapeBits) | (static_cast<std::uint32_t>(shape) << kShapeShift);
}

}  // namespace

int CEntraxPage::GetPageKind() const { return kPageEntrax; }

int CEntraxPage::GetCaptionMessage() const { return kMsgEntraxCaption; }

CEntraxPage::CShape CEntraxPage::ShapeOf(int shape, int rating) {
  const std::int64_t narrow = rating >= kWideRating ? 120 : 80;
  switch (shape) {
    case 1: return {"AA", 124, 160, 200};
    case 2: return {"AB", 124, 160, 200};
    case 3: return {"AC", narrow, 0, 0};
    case 4: return {"AD", 120, 121, 200};
    case 5: return {"AK", narrow, 0, 0};
    case 6: return {"AL", 120, 121, 200};
    default: return {"", 0, 0, 0};
  }
}

int CEntraxPage::Rating() const {
  const CDev* element = GetElement();
  const CRun* run = element != nullptr ? element->GetRun() : nullptr;
  return run != nullptr
             ? static_cast<int>(ReadBoundedInt(run->GetPropText("Calibre"), 0, INT_MAX, 0))
             : 0;
}

int CEntraxPage::GetShapeNumber() const {
  if (m_choice < 0) return 0;
  if (!m_reduced) return m_choice < 6 ? m_choice + 1 : 0;
  return m_choice < 4 ? kReducedShapes[static_cast<std::size_t>(m_choice)] : 0;
}

std::optional<CEntraxPage::CShape> CEntraxPage::GetShape() const {
  const int number = GetShapeNumber();
  if (number == 0) return std::nullopt;
  CShape shape = ShapeOf(number, Rating());
  if (m_reduced) shape.standard = shape.minimum = shape.maximum = 0;
  return shape;
}

bool CEntraxPage::HasStandard() const { return GetShape().has_value(); }

bool CEntraxPage::HasCustomRange() const {
  const std::optional<CShape> shape = GetShape();
  return shape.has_value() && shape->maximum > 0;
}

std::string CEntraxPage::GetStandardLabel() const {
  const std::optional<CShape> shape = GetShape();
  return shape.has_value() && shape->standard > 0 ? FormatLength(shape->standard) : std::string();
}

std::string CEntraxPage::GetRangeLabel() const {
  const std::optional<CShape> shape = GetShape();
  if (!shape || shape->maximum == 0) return {};
  return "(" + FormatLength(shape->minimum) + "..." + FormatLength(shape->maximum) + ")";
}

void CEntraxPage::ChooseCustom(bool custom) {
  m_custom = custom && HasCustomRange();
  m_customText = m_custom ? FormatScaled(GetShape()->minimum) : std::string();
}

void CEntraxPage::DoLoad() {
  const CDev& element = *GetElement();
  m_reduced = element.GetVariant() == kReducedVariant;
  m_pictures.clear();
  for (std::size_t i = 0; i < kPictureNames.size(); ++i) {
    const std::string name = kPictureNames[i];
    if (m_reduced && (name.ends_with("AC") || name.ends_with("AK"))) continue;
    m_pictures.push_back(name);
  }
  int choice = static_cast<int>((element.GetStyle() & kShapeBits) >> kShapeShift) - 1;
  if (m_reduced && choice == 3) choice = 2;
  else if (m_reduced && choice > 3) choice = 3;
  m_choice = choice;
  LoadDistance(element);
}

void CEntraxPage::LoadDistance(const CDev& element) {
  const std::int64_t stored =
      ReadBoundedInt(element.GetFieldText("ENTRAX").value_or(""), 1, INT_MAX, 0);
  m_custom = stored > 0;
  m_customText = m_custom ? FormatScaled(stored) : std::string();
}

CApplyOutcome CEntraxPage::DoApply() {
  CDev& element = *GetElement();
  const int shape = GetShapeNumber();
  const auto current = static_cast<int>((element.GetStyle() & kShapeBits) >> kShapeShift);
  bool changed = false;
  if (shape != 0 && shape != current) {
    // A new shape starts from its standard distance.
    ChooseCustom(false);
    ApplyShape(element, shape);
    changed = true;
  }
  const CApplyOutcome distance = ApplyDistance(element);
  if (distance.result != EApplyResult::kUnchanged) return distance;
  return changed ? Applied() : Unchanged();
}

void CEntraxPage::ApplyShape(CDev& element, int shape) {
  Edit(kActionElementEdit, [&] {
    element.SetStyle(WithShape(element.GetStyle(), shape));
    element.SetStyle2(WithShape(element.GetStyle2(), shape));
    element.RebuildChain();
  });
}

CApplyOutcome CEntraxPage::ApplyDistance(CDev& element) {
  const std::string stored = element.GetFieldText("ENTRAX").value_or("");
  if (!m_custom) {
    if (stored.empty()) return Unchanged();
    Edit(kActionElementEdit, [&] {
      element.SetFieldText("ENTRAX", "");
      element.RebuildChain();
    });
    return Applied();
  }
  const std::optional<CShape> shape = GetShape();
  // A typed distance counts in whole units, its fraction dropped.
  const std::optional<double> parsed = Units().TryParse(m_customText);
  const bool number = parsed.has_value() && std::isfinite(*parsed) && std::fabs(*parsed) < 1e9;
  const std::int64_t typed = number ? static_cast<std::int64_t>(*parsed) : 0;
  const std::int64_t minimum = shape.has_value() ? shape->minimum : 0;
  const std::int64_t maximum = shape.has_value() ? shape->maximum : 0;
  if (!number || typed < minimum || typed > maximum || maximum == 0)
    return RefusedRange(kMsgOutOfRange, FormatLength(minimum), FormatLength(maximum), 0);
  const std::string wanted = std::to_string(typed);
  m_customText = FormatScaled(typed);
  if (wanted == stored) return Unchanged();
  Edit(kActionElementEdit, [&] {
    element.SetFieldText("ENTRAX", wanted);
    element.RebuildChain();
  });
  return Applied();
}
