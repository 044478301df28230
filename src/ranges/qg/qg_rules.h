#pragma once

#include "model/run/run_range_rules.h"

// Where range QG differs: variants A and C, end properties, real joints and weights.
class CQGRules : public CRunRangeRules {
 public:
  std::string GetVariantCounterpart(std::string_view code) const override;
  bool KeepsIndexGroupOnVariantChange() const override { return true; }
  void AdaptVariantElement(CDev& element, std::string_view code) const override;
  CRealJoint GetRealJoint() const override { return {300, 20}; }
  bool ShowsUnitWeights() const override { return true; }
  bool PlacesRiserKit() const override { return true; }
  void FinishBOMRebuild(CRun& run) const override;
  bool KeepsOptionsOnRotation(const CDev& element) const override;
  void FinishReversedEnd(CDev& end) const override;
};
