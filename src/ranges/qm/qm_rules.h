#pragma once

#include "model/run/run_range_rules.h"

// Where range QM differs: variants A and C (QMC lacks some units and neutrals), real
// joints, weights, old element records and the far point of QMA end cabinets.
class CQMRules : public CRunRangeRules {
 public:
  std::string GetVariantCounterpart(std::string_view code) const override;
  bool KeepsIndexGroupOnVariantChange() const override { return true; }
  bool IsMissingInVariant(const CDev& element, std::string_view code) const override;
  void AdaptTakenOverProperties(CRun& run) const override;
  CRealJoint GetRealJoint() const override { return {360, 10}; }
  void UpgradeLegacyElement(CDev& element, std::string_view code) const override;
  // The end options "ED31" and "EH44" that the next element's straight carries go to
  // the element now ending that straight, on the side the run comes from after it.
  void ReverseElement(CRun& run, CDev& element, CDev& next) const override;
  bool ShowsUnitWeights() const override { return true; }
  bool PlacesRiserKit() const override { return true; }
  bool HasFarConnectionPoint(const CDev& element, std::string_view code) const override;
  bool KeepsJointOptions() const override { return true; }
  bool GathersNumericLines() const override { return true; }
  bool DoublesSupports(std::string_view code, std::string_view rating) const override;
  bool CarriesSupports(const CDev& element) const override;
  std::vector<std::pair<int, int>> GetCompanionAccessories(std::string_view reference,
                                                           int count) const override;
};
