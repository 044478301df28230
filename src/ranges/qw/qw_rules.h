#pragma once

#include "model/run/run_range_rules.h"

// Where range QW differs: variants A and C, and old end records.
class CQWRules : public CRunRangeRules {
 public:
  std::string GetVariantCounterpart(std::string_view code) const override;
  void UpgradeLegacyElement(CDev& element, std::string_view code) const override;
};
