#include "pages/accessory_page.h"

#include "app/message_text.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/document/run_document.h"
#include "platform/text_conversions.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_pages.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr int kMsgAccessoryCaption = 2706;
constexpr int kMsgSideOne = 30179;
constexpr int kMsgSideTwo = 30180;
constexpr std::uint32_t kSideBit = 0x4000;
constexpr std::uint32_t kOptionBits = 0xF000;
constexpr std::size_t kCodeWidth = 4;

constexpr std::array<std::pair<const char*, const char*>, 16> kAdapterLabels = {{
    {"QJ14", "QJF 14 : 1000 A"},
    {"QJ16", "QJF 16 : 1200 A"},
    {"QJ18", "QJF 18 : 1450 A"},
    {"QJ26", "QJF 26 : 2200 A"},
    {"QJ27", "QJF 27 : 2200 A"},
    {"QJ28", "QJF 28 : 2500 A"},
    {"QJ29", "QJF 29 : 2500 A"},
    {"QJ36", "QJF 36 : 3000 A"},
    {"QJ38", "QJF 38 : 3400 A"},
    {"QJ46", "QJF 46 : 4000 A"},
    {"QJ48", "QJF 48 : 4500 A"},
    {"QJ56", "QJF 56 : 5000 A"},
    {"QZ16", "QZF 16 : 1600 A"},
    {"QZ26", "QZF 26 : 2750 A"},
    {"QZ36", "QZF 36 : 3750 A"},
    {"QZ46", "QZF 46 : 5000 A"},
}};

}  // namespace

int CAccessoryPage::GetPageKind() const { return kPageAccessory; }

int CAccessoryPage::GetCaptionMessage() const { return kMsgAccessoryCaption; }

std::string CAccessoryPage::AdapterLabel(const std::string& code) {
  for (const auto& [known, label] : kAdapterLabels)
    if (code == known) return label;
  return code;
}

int CAccessoryPage::RatingAmperes(int calibre) {
  return calibre * 100 + (calibre == 12 || calibre == 13 ? 50 : 0);
}

void CAccessoryPage::DoLoad() {
  const CDev& element = *GetElement();
  const CRun* run = element.GetRun();
  m_qg = run != nullptr && run->GetPropText("Catalog").starts_with("QG");
  m_accessories.clear();
  m_choices.clear();
  m_accessoryIndex = -1;
  m_choiceIndex = -1;
  m_choiceEnabled = false;
  if (m_qg) LoadArrangements(element);
  else LoadAdapters(element);
  m_loadedAccessory = m_accessoryIndex;
  m_loadedChoice = m_choiceIndex;
}

bool CAccessoryPage::SideInverted(const CDev& element) const {
  return element.GetNeighbour(element.GetBackFace()) == nullptr;
}

void CAccessoryPage::LoadAdapters(const CDev& element) {
  const auto* run = dynamic_cast<const CRunQM*>(element.GetRun());
  if (run == nullptr) return;
  int index = 0;
  std::string list = run->CrossRangeAdapters(element, index);
  if (index < -1) list.clear();
  for (std::size_t at = 0; at + kCodeWidth <= list.size() && list[at] == 'Q'; at += kCodeWidth) {
    const std::string code = list.substr(at, kCodeWidth);
    m_accessories.push_back({AdapterLabel(code), 0, code});
  }
  if (!m_accessories.empty())
    m_accessoryIndex = std::clamp(index, 0, static_cast<int>(m_accessories.size()) - 1);
  if (element.GetVariant() != 9 || m_accessories.empty()) return;
  m_choices = {{StringText(kMsgSideOne), 0, {}}, {StringText(kMsgSideTwo), 1, {}}};
  const bool bit = (element.GetStyle() & kSideBit) != 0;
  m_choiceIndex = SideInverted(element) != bit ? 1 : 0;
  m_choiceEnabled = run->GetPartsState() == 0;
}

void CAccessoryPage::LoadArrangements(const CDev& element) {
  const CRun& run = *element.GetRun();
  std::string catalog = run.GetPropText("Catalog");
  if (catalog.size() >= 2) catalog[1] = 'M';
  const int calibre = static_cast<int>(ReadBoundedInt(run.GetPropText("Calibre"), 0, 1000000, 0));
  m_accessories.push_back({catalog + " " + std::to_string(RatingAmperes(calibre)) + " A", 0, {}});
  m_accessoryIndex = 0;
  const std::string neutralText = run.GetPropText("Neutral");
  const int neutral = TextToInt(neutralText);
  if (neutral == 3 || (neutral == 4 && neutralText != "4")) m_choices.push_back({"3L+PE", 3, {}});
  if (neutral == 5 || neutralText == "4") m_choices.push_back({"3L+N+PE", 4, {}});
  if (neutral == 5) m_choices.push_back({"3L+N+PER", 5, {}});
  // An empty "QGACC" means the run's own arrangement, which the list then shows.
  const std::string stored = element.GetFieldText("QGACC").value_or("");
  const std::int64_t wanted =
      stored.empty() ? neutral : ReadBoundedInt(stored, INT32_MIN, INT32_MAX, 0);
  m_choiceIndex = m_choices.empty() ? -1 : 0;
  for (std::size_t i = 0; i < m_choices.size(); ++i)
    if (m_choices[i].value == wanted) m_choiceIndex = static_cast<int>(i);
  m_choiceEnabled = run.GetPartsState() == 0;
}

std::string CAccessoryPage::WantedAccessory() const {
  if (m_qg) {
    if (m_choiceIndex < 0 || m_choiceIndex >= static_cast<int>(m_choices.size())) return {};
    const int value = m_choices[static_cast<std::size_t>(m_choiceIndex)].value;
    const CRun* run = GetElement()->GetRun();
    return value == TextToInt(run->GetPropText("Neutral")) ? std::string() : std::to_string(value);
  }
  if (m_accessoryIndex < 0 || m_accessoryIndex >= static_cast<int>(m_accessories.size())) return {};
  // The code itself, not letters of its label: a code without a label stays whole.
  return m_accessories[static_cast<std::size_t>(m_accessoryIndex)].key;
}

CApplyOutcome CAccessoryPage::DoApply() {
  CDev* element = GetElement();
  const bool chosen = m_qg ? m_choiceIndex >= 0 : m_accessoryIndex >= 0;
  if (element == nullptr || !chosen) return Unchanged();
  if (m_accessoryIndex == m_loadedAccessory && m_choiceIndex == m_loadedChoice) return Unchanged();
  m_loadedAccessory = m_accessoryIndex;
  m_loadedChoice = m_choiceIndex;
  const std::string wanted = WantedAccessory();
  if (wanted == element->GetFieldText("QGACC").value_or("")) return Unchanged();
  Edit(kActionElementEdit, [&] {
    element->SetFieldText("QGACC", wanted);
    element->RebuildChain();
  });
  return Applied();
}

CApplyOutcome CAccessoryPage::ChooseAccessory(int index) {
  if (m_qg || index < 0 || index >= static_cast<int>(m_accessories.size())) return Unchanged();
  m_accessoryIndex = index;
  return Apply();
}

CApplyOutcome CAccessoryPage::ChooseChoice(int index) {
  CDev* element = GetElement();
  if (element == nullptr || index < 0 || index >= static_cast<int>(m_choices.size()))
    return Unchanged();
  m_choiceIndex = index;
  if (m_qg) return Apply();
  const bool side = (index == 1) != SideInverted(*element);
  const std::uint32_t style = element->GetStyle();
  const std::uint32_t wanted = side ? style | kSideBit : style & ~kSideBit;
  m_loadedChoice = index;
  if (wanted == style) return Unchanged();
  Edit(kActionElementEdit, [&] {
    element->SetStyle(wanted);
    element->SetStyle2((element->GetStyle2() & ~kOptionBits) | (wanted & kOptionBits));
    element->RebuildChain();
  });
  return Applied();
}
