#include "ranges/qp/qp_rules.h"

#include "model/element/dev.h"
#include "model/run/run.h"
#include "ranges/range_rules_support.h"

std::string CQPRules::GetVariantCounterpart(std::string_view code) const {
  const std::string upper = SwapThirdLetter(code, 'A', 'C');
  return upper.empty() ? SwapThirdLetter(code, 'a', 'c') : upper;
}

// QPC takes neither another product line's communication gateway ("KGTW") nor "WS1" units.
std::vector<std::string> CQPRules::GetTapOffsDroppedByVariantChange(std::string_view code) const {
  if (code != "QPC") return {};
  return {"KGTW", "WS1"};
}

void CQPRules::AdaptVariantElement(CDev& element, std::string_view code) const {
  if (code == "QPC" && element.GetKind() == CDev::kElbow) {
    ClearElementProps(element, {"ELBOW_LENG", "ELBOW_ANGL"});
    element.UpdateBoxColors(true);
  }
}

bool CQPRules::IsMissingInVariant(const CDev& element, std::string_view code) const {
  const int variant = element.GetVariant();
  return code == "QPC" && element.GetKind() == CDev::kEnd &&
         (variant == 5 || variant == 7 || variant == 8);
}

void CQPRules::AdaptTakenOverProperties(CRun& run) const {
  const std::string code = run.GetPropText("Catalog");
  if (code != "QPC" && code != "Qpc") return;
  run.SetProp("L1", "");
  run.SetProp("L2", "");
}

void CQPRules::UpgradeLegacyElement(CDev& element, std::string_view code) const {
  if (code == "QPA" && element.GetKind() == CDev::kEnd && element.GetVariant() == 4)
    SetElementVariant(element, 7, true);
}

// Accessory lines (references ending in "AM" or "FM") stand under their unit.
bool CQPRules::IsAccessoryLine(std::string_view reference) const {
  if (reference.substr(0, 2) != "QP") return false;
  const std::string_view cut = reference.substr(0, reference.find(" \n"));
  return cut.ends_with("AM") || cut.ends_with("FM");
}

// Each accessory of this reference comes with two of kind 20.
std::vector<std::pair<int, int>> CQPRules::GetCompanionAccessories(std::string_view reference,
                                                                   int count) const {
  if (reference.substr(0, 10) == "QPB1000ZV3") return {{20, count * 2}};
  return {};
}

// "SPK" stays with the joint it marks, which after a reversal follows the other element.
void CQPRules::ReverseElement(CRun&, CDev& element, CDev& next) const {
  element.SetPropValue("SPK", next.GetPropValue("SPK"));
  next.SetPropValue("SPK", "");
}
