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
  // Units 11 and 12 and ends 8 to 10 of QMA but at 25 A with the neutrals 6 to 8; the
  // double coupler (unit 16) but on the twin housings (QMA 50, and 63 whatever the code).
  bool RefusesVariant(std::string_view code, int rating, int neutral, int kind,
                      int variant) const override;
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
