#include "pages/clinq_page.h"

#include "app/message_text.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "platform/text_conversions.h"
#include "ranges/qg/run_qg.h"
#include "ranges/range_pages.h"

#include <algorithm>

namespace {

constexpr int kMsgClinqCaption = 30047;
constexpr int kMsgLongTypes = 30211;
constexpr int kMsgBarTypes = 30204;
// Bars at least this wide leave no room for a made-to-measure bar connection.
constexpr int kWidestBarForDimensions = 350;

}  // namespace

int CClinqPage::GetPageKind() const { return kPageClinq; }

int CClinqPage::GetCaptionMessage() const { return kMsgClinqCaption; }

CClinqElement CClinqPage::Describe() const {
  const CDev& element = *GetElement();
  const CRun* run = element.GetRun();
  CClinqElement e;
  const std::uint32_t style = element.GetStyle();
  e.pictureCode = static_cast<int>((style >> 24) & 3u);
  e.nibble = static_cast<int>((style >> 20) & 0xFu);
  e.variant = element.GetVariant();
  e.direction = element.GetDirection();
  e.rotation = element.GetRotation();
  if (run != nullptr) {
    e.catalog = run->GetPropText("Catalog");
    e.calibre = TextToInt(run->GetPropText("Calibre"));
  }
  return e;
}

void CClinqPage::DoLoad() {
  CDev& element = *GetElement();
  const CClinqElement e = Describe();
  m_catalog = e.catalog;
  m_shapes = OfferedClinqShapes(e);
  m_barSize = 0;
  if (auto* qg = dynamic_cast<CRunQG*>(element.GetRun())) {
    int first = 0, value = 0;
    qg->GetBarGeometry(first, m_barSize, value, &element);
  }
  m_parameters.clear();
  const std::string stored = element.GetFieldText("CLINQ").value_or("");
  const CClinqStored read = ReadClinq(stored);
  const bool offered = std::find(m_shapes.begin(), m_shapes.end(), read.shape) != m_shapes.end();
  if (!offered && !stored.empty()) {
    // A piece the element no longer offers is dropped rather than kept unseen.
    Edit(kActionElementEdit, [&] {
      element.SetFieldText("CLINQ", "");
      element.RebuildChain();
    });
  }
  m_shape = -2;
  ShowShape(offered ? read.shape : -1, true);
  if (offered) ReadBack(read);
}

void CClinqPage::ChooseShape(int value) { ShowShape(value == m_shape ? -1 : value, false); }

void CClinqPage::ShowShape(int value, bool first) {
  const CClinqShape* row = FindClinqShape(value);
  m_shape = row != nullptr ? value : -1;
  if (row == nullptr || value == 0 || value == 5 || value == 6 || value == 7) m_parameters.clear();
  FillTypes();
  if (row != nullptr && row->length == EClinqLength::kFixed) {
    m_lengthText = FormatScaled(row->lowest);
  } else if (row != nullptr && row->length == EClinqLength::kTyped && !first) {
    const std::int64_t typed = ParseLength(m_lengthText).value_or(row->lowest);
    m_lengthText = FormatScaled(std::clamp(typed, row->lowest, row->highest));
  }
  const int group = row != nullptr ? row->group : 0;
  m_sideFlag = GetElement() != nullptr && ClinqSideFlag(Describe(), group);
  m_combinations = ClinqCombinations(group, m_sideFlag);
  m_combination = DefaultCombination(group);
}

void CClinqPage::FillTypes() {
  m_types = {};
  m_type = -1;
  const CClinqShape* row = GetShapeRow();
  if (row == nullptr || (row->secondText != kMsgLongTypes && row->secondText != kMsgBarTypes))
    return;
  const bool longList = row->secondText == kMsgLongTypes;
  m_types = SplitClinqTypes(StringText(row->secondText), longList ? 4 : 3);
  if (longList) TrimClinqTypes(m_types, m_shape, m_catalog == "QMC");
  m_type = m_types.values.empty() ? -1 : 0;
}

void CClinqPage::ReadBack(const CClinqStored& stored) {
  const int s = m_shape;
  if (s == 1 || s == 3 || s == 5 || s == 8 || s == 9)
    m_lengthText = stored.length != 0 ? FormatScaled(stored.length) : std::string();
  const int combination = stored.combination - 1;
  if (stored.combination != 0 && combination < static_cast<int>(m_combinations.size()))
    m_combination = combination;
  if (s == 1 || s == 3 || s == 5 || s >= 7) {
    const auto& values = m_types.values;
    auto at = std::find(values.begin(), values.end(), stored.type);
    if (at == values.end() && stored.type < 2)
      at = std::find(values.begin(), values.end(), stored.type + 2);
    m_type = at != values.end() ? static_cast<int>(at - values.begin()) : (values.empty() ? -1 : 0);
  }
  if (s != 5) m_parameters = stored.parameters;
}

bool CClinqPage::IsLengthShown() const {
  const CClinqShape* row = GetShapeRow();
  return row != nullptr && row->length != EClinqLength::kHidden;
}

bool CClinqPage::IsLengthFixed() const {
  const CClinqShape* row = GetShapeRow();
  return row != nullptr && row->length == EClinqLength::kFixed;
}

std::string CClinqPage::GetLengthRange() const {
  const CClinqShape* row = GetShapeRow();
  if (row == nullptr || row->length != EClinqLength::kTyped) return {};
  return "(" + FormatLength(row->lowest) + "..." + FormatLength(row->highest) + ")";
}

void CClinqPage::SpinLength() {
  if (m_shape != 5) return;
  m_lengthText = FormatScaled(ParseLength(m_lengthText).value_or(0) == 1000 ? 600 : 1000);
}

bool CClinqPage::IsCombinationEnabled() const {
  const CClinqShape* row = GetShapeRow();
  return row != nullptr && row->group > 1;
}

int CClinqPage::GetSecondText() const {
  const CClinqShape* row = GetShapeRow();
  return row != nullptr && m_types.values.empty() ? row->secondText : 0;
}

bool CClinqPage::IsDimensionsShown() const {
  return m_shape == 1 || m_shape == 3 || m_shape == 8 || m_shape == 9;
}

bool CClinqPage::IsDimensionsEnabled() const {
  if (m_shape == 8 || m_shape == 9) return m_barSize < kWidestBarForDimensions;
  return IsDimensionsShown();
}

int CClinqPage::TypeValue() const {
  return m_type >= 0 && m_type < static_cast<int>(m_types.values.size())
             ? m_types.values[static_cast<std::size_t>(m_type)]
             : -1;
}

int CClinqPage::GetDimensionsWidth() const {
  const int type = TypeValue();
  return type == 0 || type == 2 ? 100 : type == 1 || type == 3 ? 120 : 0;
}

CApplyOutcome CClinqPage::DoApply() {
  CDev& element = *GetElement();
  const CClinqShape* row = GetShapeRow();
  std::int64_t length = ParseLength(m_lengthText).value_or(0);
  if (row != nullptr && row->length == EClinqLength::kTyped &&
      (length < row->lowest || length > row->highest))
    return RefusedRange(kMsgOutOfRange, FormatLength(row->lowest), FormatLength(row->highest), 0);
  if (row != nullptr && row->length == EClinqLength::kHidden) length = 0;
  const int combination = m_combination >= 0 ? m_combination + 1 : 0;
  const std::string wanted =
      FormatClinq(m_shape, length, combination, std::max(TypeValue(), 0), m_parameters);
  if (wanted == element.GetFieldText("CLINQ").value_or("")) return Unchanged();
  Edit(
      kActionElementEdit,
      [&] {
        element.SetFieldText("CLINQ", wanted);
        element.RebuildChain();
      },
      true);
  return Applied();
}
