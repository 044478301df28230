#include "pages/feed_dimensions.h"

#include "app/message_text.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/document/run_document.h"
#include "pages/prop_page.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMsgDimensionSets = 30185;
constexpr std::int32_t kPackedStep = 100000;

struct CRange {
  double low;
  double high;
};

std::int32_t ClampTruncated(double value, CRange range) {
  if (!std::isfinite(value)) value = range.low;
  return static_cast<std::int32_t>(std::trunc(std::clamp(value, range.low, range.high)));
}

// The set's name: the part after the last "/" of what is left, which keeps the part before.
std::string CutLastName(std::string& rest, bool& found) {
  const std::size_t slash = rest.rfind('/');
  found = slash != std::string::npos;
  if (!found) {
    std::string name = rest;
    rest.clear();
    return name;
  }
  std::string name = rest.substr(slash + 1);
  rest.erase(slash);
  return name;
}

}  // namespace

CFeedDimensions::CFeedDimensions(CDev& element, const std::string& connectionKey)
    : m_element(element) {
  const CRun* run = element.GetRun();
  m_shifted =
      run != nullptr && run->GetPropText("Catalog").starts_with("QM") && element.GetVariant() == 4;
  m_option = static_cast<int>((element.GetStyle() >> 26) & 3);
  CRunDocument* document = element.GetDocument();
  // A unit without its box shows an unset one; OK makes it.
  const CConnectionValues stored =
      document != nullptr ? document->GetEquipmentValues(element).value_or(CConnectionValues{})
                          : CConnectionValues{};
  m_values = ToShown(stored, m_shifted, m_option);
  LoadSets(connectionKey);
  m_setsShown = connectionKey.starts_with("ULM") || connectionKey.starts_with("VEK");
}

void CFeedDimensions::LoadSets(const std::string& key) {
  std::string rest = StringText(kMsgDimensionSets);
  const CRun* run = m_element.GetRun();
  int matching = -1;
  for (int pass = 0; pass <= 3; ++pass) {
    bool found = false;
    std::string name = CutLastName(rest, found);
    if (pass == 0) {
      if (found) m_sets.insert(m_sets.begin(), {name, -1, m_values});
      continue;
    }
    std::string lookup = key;
    if (pass < 3 && lookup.size() >= 3) lookup[2] = pass == 1 ? 'b' : 'm';
    const CReferenceRow row = run != nullptr ? run->FindReference(lookup) : CReferenceRow();
    if (row.code.empty()) continue;
    if (pass < 3 && (row.code.size() < 4 || key.size() < 4 || row.code[3] != key[3])) continue;
    if (pass == 3 && m_sets.size() < 2) {
      const std::size_t slash = rest.rfind('/');
      name = slash == std::string::npos ? rest : rest.substr(slash + 1);
    }
    const CConnectionValues values = FromRow(row.values);
    m_sets.insert(m_sets.begin(), {name, pass - 1, values});
    if (values == m_values) matching = pass - 1;
  }
  m_selected = -1;
  for (std::size_t i = 0; i < m_sets.size(); ++i)
    if (m_sets[i].value == matching) m_selected = static_cast<int>(i);
}

CConnectionValues CFeedDimensions::FromRow(const std::array<std::int32_t, 5>& row) {
  const std::int32_t packed = row[4];
  const bool lifted = packed > kPackedStep;
  return {row[0],
          row[1],
          row[2],
          row[3],
          lifted ? packed % kPackedStep : packed,
          lifted ? packed / kPackedStep : 0};
}

CConnectionValues CFeedDimensions::ToShown(const CConnectionValues& stored, bool shifted,
                                           int option) {
  CConnectionValues shown = stored;
  if (!shifted) return shown;
  shown[3] = stored[3] + stored[0] / 2;
  shown[4] = stored[1] / 2 - stored[4];
  if (option == 1) shown[5] = stored[2] - stored[5];
  return shown;
}

CConnectionValues CFeedDimensions::ToStored(const CConnectionValues& shown, bool shifted,
                                            int option) {
  CConnectionValues stored = shown;
  if (!shifted) return stored;
  stored[3] = shown[3] - shown[0] / 2;
  stored[4] = shown[1] / 2 - shown[4];
  if (option == 1) stored[5] = shown[2] - shown[5];
  return stored;
}

CConnectionValues CFeedDimensions::Clamp(const std::array<double, 6>& typed) const {
  const CRange offset = m_shifted ? CRange{0, 50000} : CRange{-25000, 25000};
  const std::array<CRange, 6> ranges = {
      {{100, 50000}, {100, 50000}, {100, 20000}, offset, offset, {-20000, 20000}}};
  CConnectionValues values{};
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = ClampTruncated(typed[i], ranges[i]);
  return values;
}

CConnectionValues CFeedDimensions::Store(const std::array<double, 6>& typed) {
  m_values = Clamp(typed);
  const CConnectionValues stored = ToStored(m_values, m_shifted, m_option);
  CRunDocument* document = m_element.GetDocument();
  if (document == nullptr) return m_values;
  const auto before = document->GetEquipmentValues(m_element);
  if (before == stored) return m_values;
  document->SaveUndoState(CPropPage::kActionElementEdit);
  if (!before) document->AddEquipmentBox(m_element, stored);
  document->SetEquipmentValues(m_element, stored);
  m_element.RebuildChain();
  document->RebuildScene();
  document->SetModified();
  document->UpdateAllViews();
  return m_values;
}
