#include "ranges/qm/qm_rules.h"

#include "platform/text_conversions.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_rules_support.h"

std::string CQMRules::GetVariantCounterpart(std::string_view code) const {
  return SwapThirdLetter(code, 'A', 'C');
}

bool CQMRules::IsMissingInVariant(const CDev& element, std::string_view code) const {
  if (code != "QMC") return false;
  const int kind = element.GetKind();
  const int variant = element.GetVariant();
  return (kind == CDev::kInLineVariant && (variant == 11 || variant == 12)) ||
         (kind == CDev::kEnd && variant >= 8 && variant <= 10);
}

bool CQMRules::RefusesVariant(std::string_view code, int rating, int neutral, int kind,
                              int variant) const {
  const bool unit = kind == CDev::kInLineVariant;
  if (code == "QMA" && !(rating == 25 && neutral >= 6 && neutral <= 8) &&
      ((unit && (variant == 11 || variant == 12)) ||
       (kind == CDev::kEnd && variant >= 8 && variant <= 10)))
    return true;
  const bool twin = (code.size() > 2 && code[2] == 'A' && rating == 50) || rating == 63;
  return unit && variant == 16 && !twin;
}

// QMC has no neutral 6 or 8: the nearest it has is 7.
void CQMRules::AdaptTakenOverProperties(CRun& run) const {
  if (run.GetPropText("Catalog") != "QMC") return;
  const int neutral = TextToInt(run.GetPropText("Neutral"));
  if (neutral == 6 || neutral == 8) run.SetProp("Neutral", "7");
}

void CQMRules::UpgradeLegacyElement(CDev& element, std::string_view) const {
  const int kind = element.GetKind();
  if (kind == CDev::kInLineVariant && element.GetVariant() == 1) {
    SetElementVariant(element, 5, false);
  } else if (kind >= CDev::kElbow && kind <= CDev::kJunction5) {
    ClearElementProps(element, {"ELBOW_LENG"});
  }
}

void CQMRules::ReverseElement(CRun& run, CDev& element, CDev& next) const {
  const auto* qm = dynamic_cast<const CRunQM*>(&run);
  if (qm == nullptr) return;
  if (qm->AccessED31Option(next, -1)) {
    qm->AccessED31Option(next, 0);
    qm->AccessED31Option(element, 1);
  }
  if (qm->AccessEH44Option(next, -1)) {
    qm->AccessEH44Option(next, 0);
    qm->AccessEH44Option(element, 1);
  }
}

// The end cabinet (variant 9) of QMA.
bool CQMRules::HasFarConnectionPoint(const CDev& element, std::string_view code) const {
  return code == "QMA" && element.GetKind() == CDev::kEnd && element.GetVariant() == 9;
}

// QMA 50 and QMC 63 hang on double supports.
bool CQMRules::DoublesSupports(std::string_view code, std::string_view rating) const {
  return (code == "QMA" && rating == "50") || (code == "QMC" && rating == "63");
}

// Lengths mounted on edge (rotation 32 or 128) need no supports of their own.
bool CQMRules::CarriesSupports(const CDev& element) const {
  return element.GetRotation() != 32 && element.GetRotation() != 128;
}

// A reference "QMB" with "ZA51" at characters 8 to 11 comes with as many accessories of
// kind 5.
std::vector<std::pair<int, int>> CQMRules::GetCompanionAccessories(std::string_view reference,
                                                                   int count) const {
  if (reference.starts_with("QMB") && reference.size() >= 11 && reference.substr(7, 4) == "ZA51")
    return {{5, count}};
  return {};
}
