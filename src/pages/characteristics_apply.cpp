// The characteristics page's edits: the chosen variant and the element options.

#include "model/element/dev.h"
#include "model/element/element_selection.h"
#include "model/props/prop_window_notifier.h"
#include "model/run/run.h"
#include "model/document/run_document.h"
#include "pages/characteristics_context.h"
#include "pages/characteristics_page.h"
#include "ranges/qm/run_qm.h"

#include <algorithm>
#include <array>
#include <climits>
#include <utility>

namespace {

constexpr std::uint32_t kVariantAndOptionBits = 0xFF0000FFu;
constexpr std::uint32_t kOptionBits = 0xF000u;
constexpr std::uint32_t kShapeBits = 0xF0000u;
constexpr int kOptionShift = 24;
constexpr std::array<const char*, 7> kEndAndUnitFields = {"ENTRAX", "BARS",    "QWA",  "CAPOT",
                                                          "DISJ",   "QMBPACK", "CLINQ"};

bool KeepsReference(int kind) {
  return kind == CDev::kStraight || kind == CDev::kJoint || kind == CDev::kAccessory;
}

bool IsSevenOrEight(int variant) { return variant == 7 || variant == 8; }

}  // namespace

CApplyOutcome CCharacteristicsPage::DoApply() {
  CDev& element = *GetElement();
  for (bool after : {false, true}) {
    std::string& typed = m_typedKit[after ? 1 : 0];
    if (typed.empty() || typed == GetKitDistanceText(after)) continue;
    const std::string text = std::exchange(typed, std::string());
    return SetKitDistance(after, text);
  }
  if ((!m_face && element.GetKind() == CDev::kJoint) || !m_listEnabled) return Unchanged();
  if (m_choice < 0 || m_choice >= static_cast<int>(m_entries.size())) return Unchanged();
  const CEntry entry = m_entries[static_cast<std::size_t>(m_choice)];
  if (entry.code < 0 || entry.Variant() == m_variant) return Unchanged();
  CApplyOutcome outcome = Applied();
  if (m_face) {
    outcome = ApplyFace(element, entry);
  } else {
    ApplyWhole(element, entry);
  }
  if (outcome.result == EApplyResult::kApplied) {
    m_variant = entry.Variant();
    m_loadedChoice = m_choice;
  }
  return outcome;
}

CApplyOutcome CCharacteristicsPage::ApplyFace(CDev& element, const CEntry& entry) {
  CRun& run = *element.GetRun();
  if (run.GetPartsState() != 0) return ApplyFaceReference(element, entry);
  Edit(
      kActionElementEdit,
      [&] {
        element.SetVariantIndex(entry.Variant());
        run.RebuildGeometry();
        // The stepped straight of a QM run comes with its ED31 option.
        const auto* qm = dynamic_cast<const CRunQM*>(&run);
        if (qm != nullptr && entry.Variant() == 3 && run.GetPropText("QM_ED_STEP") != "0")
          qm->AccessED31Option(element, 1);
        element.UpdateBoxColors(false);
      },
      true);
  // The options the page offers follow the variant.
  element.NotifyPropDialog(kPropMsgRefresh);
  return Applied();
}

CApplyOutcome CCharacteristicsPage::ApplyFaceReference(CDev& element, const CEntry& entry) {
  const auto filled = std::count_if(m_references.begin(), m_references.end(),
                                    [](const std::string& text) { return !text.empty(); });
  const auto index = static_cast<std::size_t>(m_choice);
  if (filled < 2 || index >= m_references.size() || m_references[index].empty()) {
    element.NotifyPropDialog(kPropMsgRefresh);
    return Refused();
  }
  CRun& run = *element.GetRun();
  Edit(
      kActionElementEdit,
      [&] {
        MoveOneQuantity(element, m_references[index]);
        run.Validate();
        element.SelectLineInBOM(true);
        const auto bits = static_cast<std::uint32_t>(entry.Variant() & 0xF) << 8;
        element.SetStyle((element.GetStyle() & ~0xF00u) | bits);
        const CElementSelection& selection = CElementSelection::Of(element);
        if (CDev* neighbour = element.GetNeighbour(selection.Face()))
          neighbour->UpdateBoxColors(false);
        run.AdaptDeviceReferences();
      },
      true);
  return Applied();
}

void CCharacteristicsPage::ApplyWhole(CDev& element, const CEntry& entry) {
  const int from = m_variant;
  const int to = entry.Variant();
  Edit(
      kActionElementEdit,
      [&] {
        CRun& run = *element.GetRun();
        // The built parts were chosen for the old variant.
        if (run.GetPartsState() != 0) run.RebuildBOM(true);
        auto option = static_cast<std::uint32_t>(entry.Option() & 0xF) << kOptionShift;
        const std::uint32_t style = element.GetStyle();
        const bool vertical = element.GetDirection() == 2 || element.GetDirection() == 3;
        if ((style & (0xFu << kOptionShift)) == option && ((style >> 26) & 3u) == 1 && vertical)
          option = 0;
        const auto variant = static_cast<std::uint32_t>(to & 0xFF);
        element.SetStyle((style & ~kVariantAndOptionBits) | option | variant);
        element.SetStyle2((element.GetStyle2() & ~kVariantAndOptionBits) | option | variant);
        element.UpdateBoxColors(false);
        RewriteWhole(element, from, to);
        element.SetEdited(1);
        element.GetRun()->SetChangedFlag(1);
      },
      true);
  element.NotifyPropDialog(kPropMsgRefresh);
}

void CCharacteristicsPage::RewriteWhole(CDev& element, int from, int to) {
  CRun& run = *element.GetRun();
  const CContext context = Context(element);
  const int kind = element.GetKind();
  if (!KeepsReference(kind)) MoveOneQuantity(element, run.GetKindText(kind, to));
  if (kind == CDev::kEnd || kind == CDev::kInLineVariant) {
    for (const char* field : kEndAndUnitFields) element.SetPropValue(field, "");
    if (kind == CDev::kInLineVariant) element.SetPropValue("LENGTH", "");
  }
  const bool qm = context.catalog.starts_with("QM");
  const bool qg = context.catalog.starts_with("QG");
  if (kind == CDev::kEnd) {
    const bool shaped = (context.catalog.starts_with("QJ") && (to == 3 || to == 5)) ||
                        ((qm || qg) && (to == 2 || to == 3 || to == 6));
    if (shaped)
      element.SetStyle2((element.GetStyle2() & ~kShapeBits) | (element.GetStyle() & kShapeBits));
    if (qm && to >= 8) {
      element.SetStyle(element.GetStyle() & ~kOptionBits);
      element.SetStyle2(element.GetStyle2() & ~kOptionBits);
    }
  }
  if (kind == CDev::kInLine) {
    element.SetPropValue("KITCF", run.InLineKitPosition(element.GetVariant()));
    element.RebuildChain();
  }
  if (kind == CDev::kInLineVariant) {
    if ((IsSevenOrEight(from) || IsSevenOrEight(to)) && IsSevenOrEight(to))
      element.SetPropValue("NOTEXT", "");
    if (from == 7 || to == 7) {
      run.SetRotation(0);
      if (CRunDocument* document = GetDocument()) document->RebuildScene();
    }
  }
}

CApplyOutcome CCharacteristicsPage::SetOptionChecked(bool checked) {
  CDev* element = GetElement();
  if (element == nullptr || m_optionBox == EOptionBox::kNone || !m_optionEnabled)
    return Unchanged();
  if (m_optionBox == EOptionBox::kEH44 || m_optionBox == EOptionBox::kED31)
    return SetQMOption(*element, checked);
  if (m_optionBox == EOptionBox::kEdRenumber) {
    CDev* referenced = element->FindReferencedElement();
    const std::optional<std::string> renumbered =
        referenced != nullptr ? RenumberEDReference(referenced->GetReference(), checked)
                              : std::nullopt;
    m_optionChecked = checked;
    if (!renumbered) return Unchanged();
    CRun& run = *referenced->GetRun();
    Edit(
        kActionElementEdit,
        [&] {
          MoveOneQuantity(*referenced, *renumbered);
          run.Validate();
          referenced->SelectLineInBOM(true);
          run.AdaptDeviceReferences();
        },
        true);
    return Applied();
  }
  const char* field = m_optionBox == EOptionBox::kSpk ? "SPK" : "NOTEXT";
  // "NOTEXT" holds the opposite of the box: a checked box shows the text.
  const bool stored = m_optionBox == EOptionBox::kSpk ? checked : !checked;
  const std::string wanted = stored ? "1" : "";
  m_optionChecked = checked;
  if (wanted == element->GetFieldText(field).value_or("")) return Unchanged();
  Edit(kActionElementEdit, [&] { element->SetFieldText(field, wanted); });
  return Applied();
}

CApplyOutcome CCharacteristicsPage::ChoosePolarity(int index) {
  CDev* element = GetElement();
  if (element == nullptr || index < 0 || index >= static_cast<int>(kPolarities.size()))
    return Unchanged();
  m_polarityIndex = index;
  const int polarity = kPolarities[static_cast<std::size_t>(index)];
  const std::string wanted = polarity == kPolarities[0] ? "" : std::to_string(polarity);
  if (wanted == element->GetFieldText("POL").value_or("")) return Unchanged();
  Edit(kActionElementEdit, [&] { element->SetFieldText("POL", wanted); });
  return Applied();
}

CDev* CCharacteristicsPage::OptionBitTarget(CDev& element) const {
  if (!m_face) return &element;
  // A face's option sits on the first joint along the face.
  const int face = CElementSelection::Of(element).Face();
  CDev* current = &element;
  for (int steps = 0; current != nullptr && steps < 64; ++steps) {
    if (current->GetKind() == CDev::kJoint) return current;
    current = current->GetNeighbour(face);
  }
  return nullptr;
}

CApplyOutcome CCharacteristicsPage::ToggleOptionBit() {
  CDev* element = GetElement();
  CDev* target = element != nullptr ? OptionBitTarget(*element) : nullptr;
  if (target == nullptr) return Unchanged();
  const bool built = target->GetRun() != nullptr && target->GetRun()->GetPartsState() != 0;
  const int kind = target->GetKind();
  const int variant = target->GetVariant();
  std::uint32_t toggle = 0x1000u;
  if ((kind == CDev::kInLineVariant && variant == 11) ||
      (kind == CDev::kEnd && (variant == 8 || variant == 9) && !built)) {
    toggle = 0x2000u;
    if (kind == CDev::kEnd && variant == 8 && (target->GetStyle() & 0x2000u) != 0)
      toggle |= 0x4000u;
  }
  Edit(kActionElementEdit, [&] {
    const std::uint32_t options = (target->GetStyle() ^ toggle) & kOptionBits;
    target->SetStyle((target->GetStyle() & ~kOptionBits) | options);
    target->SetStyle2((target->GetStyle2() & ~kOptionBits) | options);
    if (kind == CDev::kJoint && target->GetRun() != nullptr)
      target->GetRun()->AdaptDeviceReferences();
    else target->BuildBoxes(0);
  });
  return Applied();
}

CApplyOutcome CCharacteristicsPage::ToggleFaceOption() {
  CDev* element = GetElement();
  if (element == nullptr || !m_faceButton) return Unchanged();
  const int face = CElementSelection::Of(*element).Face();
  CDev* target = element;
  for (int steps = 0; target != nullptr && steps < 64; ++steps) {
    if (target->GetKind() != CDev::kJunction2 && target->GetKind() != CDev::kJoint) break;
    target = target->GetNeighbour(face);
  }
  if (target == nullptr) return Unchanged();
  Edit(kActionElementEdit, [&] {
    target->SetStyle(target->GetStyle() ^ 0x1000u);
    target->SetStyle2(target->GetStyle2() ^ 0x1000u);
    target->UpdateBoxColors(false);
  });
  return Applied();
}

std::optional<std::string> RenumberEDReference(std::string_view reference, bool checked) {
  // Places counted from 1: "ED" at 8-9, the number at 11-13.
  if (reference.size() < 13 || reference.substr(7, 2) != "ED") return std::nullopt;
  const std::string_view number = reference.substr(10, 3);
  static constexpr std::array<std::pair<const char*, const char*>, 3> kToChecked = {
      {{"203", "201"}, {"302", "301"}, {"353", "351"}}};
  static constexpr std::array<std::pair<const char*, const char*>, 3> kToCleared = {
      {{"201", "203"}, {"351", "353"}, {"301", "302"}}};
  for (const auto& [from, to] : checked ? kToChecked : kToCleared) {
    if (number != from) continue;
    std::string renumbered(reference);
    renumbered.replace(10, 3, to);
    return renumbered;
  }
  return std::nullopt;
}
