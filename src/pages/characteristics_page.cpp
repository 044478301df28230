#include "pages/characteristics_page.h"

#include "app/dorne_app.h"
#include "model/element/dev.h"
#include "model/element/element_selection.h"
#include "model/props/page_kinds.h"
#include "model/run/range_rules.h"
#include "model/run/run.h"
#include "model/run/run_environment.h"
#include "pages/characteristics_context.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int kMsgCharacteristicsCaption = 2533;
constexpr int kMsgInLineNote = 31534;
constexpr int kMsgEndNote = 31537;
constexpr int kMsgRedNote = 30193;
constexpr int kMsgNoTextBox = 30058;
constexpr int kMsgQMNoTextBox = 30184;
constexpr int kMsgSpkBox = 32411;
constexpr int kMsgOtherBitButton = 30070;
constexpr int kMsgPolarityCaption = 32049;
constexpr int kMsgLowerSuffix = 30032;
constexpr int kMsgUpperSuffix = 30033;

int Whole(std::string_view text) {
  return static_cast<int>(ReadBoundedInt(text, INT_MIN, INT_MAX, 0));
}

}  // namespace

int CCharacteristicsPage::GetPageKind() const { return kPageCharacteristics; }

int CCharacteristicsPage::GetCaptionMessage() const { return kMsgCharacteristicsCaption; }

CCharacteristicsPage::CContext CCharacteristicsPage::Context(const CDev& element) const {
  CContext context;
  const CRun& run = *element.GetRun();
  context.catalog = run.GetPropText("Catalog");
  context.rating = Whole(run.GetPropText("Calibre"));
  context.neutral = Whole(run.GetPropText("Neutral"));
  context.built = run.GetPartsState() != 0;
  context.edStep = run.GetPropText("QM_ED_STEP") != "0";
  return context;
}

int CCharacteristicsPage::CurrentVariant(const CDev& element) const {
  if (m_face) return element.GetVariantIndex();
  if (element.GetKind() == CDev::kInLine && element.GetVariant() == 0 && element.GetActive() == 2)
    return 1;
  return element.GetVariant();
}

void CCharacteristicsPage::DoLoad() {
  CDev& element = *GetElement();
  m_entries.clear();
  m_references.clear();
  m_choice = -1;
  m_note = 0;
  m_noteRed = false;
  m_optionBox = EOptionBox::kNone;
  m_optionEnabled = true;
  m_polarityShown = m_polarityEnabled = false;
  m_bitButton = m_faceButton = false;
  m_bitButtonMessage = 0;
  m_kitShown = m_kitEnabled = false;
  m_kitPosition = m_kitLimit = m_kitLength = 0;
  if (element.GetRun() == nullptr) return;
  const CElementSelection& selection = CElementSelection::Of(element);
  m_face = selection.Element() == &element && selection.Face() >= 0 &&
           selection.Face() < CDev::kFaceCount;
  const CContext context = Context(element);
  // A whole end or feed keeps its variant list on a built run: its choice takes the run
  // back to its own elements, to be built again with the next price update.
  m_listEnabled =
      GetVariant() == 0 && (!context.built || (!m_face && element.GetKind() == CDev::kEnd));
  ResetRefusedVariant(element, context);
  m_variant = CurrentVariant(element);
  FillEntries(element, context);
  if (m_choice < 0 && (GetVariant() != 0 || context.built) && m_face) {
    m_entries.push_back({-1, {}, kMsgUnknownVariant});
    m_choice = static_cast<int>(m_entries.size()) - 1;
  }
  if (m_face) {
    LoadFaceOptions(element, context);
    LoadQMFaceOptions(element, context);
  } else {
    LoadWholeOptions(element, context);
  }
  // Opening the page changes nothing: an element whose variant the list lacks shows no
  // choice until the user makes one.
  m_loadedChoice = m_choice;
}

void CCharacteristicsPage::FillEntries(const CDev& element, const CContext& context) {
  const std::vector<CCodeRow>* rows = element.GetRun()->GetCodeTable();
  if (rows == nullptr) return;
  for (const CCodeRow& row : *rows) {
    const int code = Whole(row.texts[1]);
    if (!Offers(element, context, row, code)) continue;
    CEntry entry{code, row.texts[2], SuffixOf(element, context, code % 100)};
    if (entry.Variant() == m_variant && m_choice < 0) m_choice = static_cast<int>(m_entries.size());
    m_entries.push_back(std::move(entry));
  }
}

bool CCharacteristicsPage::Offers(const CDev& element, const CContext& context, const CCodeRow& row,
                                  int code) {
  const int group = Whole(row.texts[0]);
  const int variant = code % 100;
  if (m_face) {
    if (group != 1) return false;
    if (context.catalog == "QPA" && context.rating == 99 && code == 2) return false;
    if (context.catalog.starts_with("QD") && code == 4 &&
        (context.rating == 16 || context.catalog == "QDT"))
      return false;
    if (!context.built) return true;
    const std::string reference = element.GetRun()->GetDeviceTextForSide(element, variant);
    if (reference.empty()) return false;
    m_references.resize(static_cast<std::size_t>(m_entries.size()) + 1);
    m_references.back() = reference;
    // A choice needs a second reference to choose from.
    if (std::count_if(m_references.begin(), m_references.end(),
                      [](const std::string& text) { return !text.empty(); }) >= 2)
      m_listEnabled = true;
    return true;
  }
  const int kind = element.GetKind();
  if (group != GetKindGroup(kind)) return false;
  if (context.RefusesVariant(*element.GetRun(), kind, variant)) return false;
  if (row.texts[3].starts_with("QMPackage") && !OffersPackage(element, row.texts[3])) return false;
  if (context.catalog.starts_with("QM") && kind == CDev::kEnd && variant == 10 &&
      element.GetDirection() != 2 && element.GetDirection() != 3)
    return false;
  return !(group == 7 && code >= 2 && !context.built);
}

bool CCharacteristicsPage::OffersPackage(const CDev& element, std::string_view tag) const {
  (void)tag;
  const int direction = element.GetDirection();
  if (direction != 2 && direction != 3) return false;
  const CDorneApp* app = CRunEnvironment::Instance().App();
  if (app != nullptr && app->ReadProfileInt("Design", "QMpackAbove", 0) != 0) return true;
  const bool neighbour = element.GetNeighbour(direction) != nullptr;
  return direction == 2 ? neighbour : !neighbour;
}

int CCharacteristicsPage::SuffixOf(const CDev& element, const CContext& context,
                                   int variant) const {
  const int kind = element.GetKind();
  if (!m_face && kind == CDev::kEnd) {
    if (context.catalog.starts_with("QM") && (variant == 2 || variant == 3))
      return variant == 2 ? kMsgLowerSuffix : kMsgUpperSuffix;
    if (context.catalog.starts_with("QJ") && (variant == 3 || variant == 5))
      return variant == 3 ? kMsgLowerSuffix : kMsgUpperSuffix;
  }
  if (!m_face && kind == CDev::kInLine && element.GetVariant() == 0 &&
      element.GetVariantIndex() == 3)
    return kMsgUnitSuffix;
  return 0;
}

void CCharacteristicsPage::ResetRefusedVariant(CDev& element, const CContext& context) {
  if (m_face || !context.RefusesVariant(*element.GetRun(), element.GetKind(), element.GetVariant()))
    return;
  // A variant the range no longer offers for this rating goes back to the plain one.
  element.SetStyle(element.GetStyle() & 0x00FFFF00u);
  element.SetStyle2(element.GetStyle2() & 0x00FFFF00u);
}

void CCharacteristicsPage::LoadWholeOptions(const CDev& element, const CContext& context) {
  if (element.GetKind() == CDev::kInLineVariant) LoadInLineOptions(element, context);
  if (element.GetKind() == CDev::kEnd) LoadEndOptions(element, context);
  if (element.GetKind() == CDev::kInLine) LoadKit(element, context);
}

void CCharacteristicsPage::LoadInLineOptions(const CDev& element, const CContext& context) {
  const int variant = element.GetVariant();
  m_note = kMsgInLineNote;
  if ((variant == 7 || variant == 8) && !context.catalog.starts_with("QG")) {
    m_optionBox = EOptionBox::kNoText;
    m_optionMessage = kMsgNoTextBox;
    m_optionChecked = element.GetFieldText("NOTEXT").value_or("").empty();
  }
  if (variant >= 9 && variant <= 12) {
    m_bitButton = true;
    if (variant == 11 && !context.built) m_bitButtonMessage = kMsgOtherBitButton;
  }
  if (context.catalog.starts_with("QP") && variant == 4) {
    m_polarityShown = true;
    m_polarityEnabled = !context.built;
    m_polarityCaption = context.built ? 0 : kMsgPolarityCaption;
    m_polarityIndex = Whole(element.GetFieldText("POL").value_or("")) == 5 ? 1 : 0;
  }
  if (context.catalog.starts_with("QP") && (variant == 3 || variant == 4) && context.built)
    m_bitButton = true;
}

void CCharacteristicsPage::LoadEndOptions(const CDev& element, const CContext& context) {
  const int variant = element.GetVariant();
  const bool qm = context.catalog.starts_with("QM");
  const bool qg = context.catalog.starts_with("QG");
  if ((context.catalog.starts_with("QJ") && (variant == 3 || variant == 5)) ||
      (qm && (variant == 2 || variant == 3 || variant == 6)) ||
      (qg && (variant == 2 || variant == 3)))
    m_note = kMsgEndNote;
  if (context.catalog == "QMA" && (variant == 8 || variant == 9) && !context.built) {
    m_bitButton = true;
    m_bitButtonMessage = kMsgOtherBitButton;
  }
  if (qm && variant == 4) {
    m_optionBox = EOptionBox::kNoText;
    m_optionMessage = kMsgQMNoTextBox;
    m_optionChecked = element.GetFieldText("NOTEXT").value_or("").empty();
  }
  if (qg && variant == 7) {
    m_note = kMsgRedNote;
    m_noteRed = true;
  }
}

void CCharacteristicsPage::LoadFaceOptions(const CDev& element, const CContext& context) {
  if (context.catalog == "QJF" && !context.built) m_faceButton = true;
  const CRun& run = *element.GetRun();
  const int spk = Whole(run.GetPropText("SPK"));
  if (context.catalog == "QPA" && !context.built && spk != 0) {
    m_optionBox = EOptionBox::kSpk;
    m_optionMessage = kMsgSpkBox;
    m_optionChecked = spk == 1 || Whole(element.GetFieldText("SPK").value_or("")) != 0;
    m_optionEnabled = spk > 1;
  }
}
