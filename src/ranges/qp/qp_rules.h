#pragma once

#include "model/run/run_range_rules.h"

// Where range QP differs: its four codes in two variant pairs (QPA/QPC, Qpa/Qpc), what
// QPC lacks, old element records and accessory lines in the bill of materials.
class CQPRules : public CRunRangeRules {
 public:
  std::string GetVariantCounterpart(std::string_view code) const override;
  std::vector<std::string> GetTapOffsDroppedByVariantChange(std::string_view code) const override;
  void AdaptVariantElement(CDev& element, std::string_view code) const override;
  bool IsMissingInVariant(const CDev& element, std::string_view code) const override;
  void AdaptTakenOverProperties(CRun& run) const override;
  void UpgradeLegacyElement(CDev& element, std::string_view code) const override;
  bool IsAccessoryLine(std::string_view reference) const override;
  std::vector<std::pair<int, int>> GetCompanionAccessories(std::string_view reference,
                                                           int count) const override;
  void ReverseElement(CRun& run, CDev& element, CDev& next) const override;
};
