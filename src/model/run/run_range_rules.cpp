#include "model/run/run_range_rules.h"

const CRunRangeRules& CRunRangeRules::Generic() {
  static const CRunRangeRules rules;
  return rules;
}

std::string CRunRangeRules::GetVariantCounterpart(std::string_view) const { return std::string(); }
std::vector<std::string> CRunRangeRules::GetTapOffsDroppedByVariantChange(std::string_view) const {
  return {};
}
bool CRunRangeRules::KeepsIndexGroupOnVariantChange() const { return false; }
void CRunRangeRules::AdaptVariantElement(CDev&, std::string_view) const {}
bool CRunRangeRules::IsMissingInVariant(const CDev&, std::string_view) const { return false; }
void CRunRangeRules::AdaptTakenOverProperties(CRun&) const {}
bool CRunRangeRules::TakesOverRating(std::string_view, int) const { return true; }
int CRunRangeRules::GetTakeOverLengthMask(std::string_view) const { return 0; }
CRealJoint CRunRangeRules::GetRealJoint() const { return {}; }
void CRunRangeRules::UpgradeLegacyElement(CDev&, std::string_view) const {}
bool CRunRangeRules::ShowsUnitWeights() const { return false; }
bool CRunRangeRules::RefusesVariant(std::string_view, int, int, int, int) const { return false; }
bool CRunRangeRules::PlacesRiserKit() const { return false; }
bool CRunRangeRules::IsAccessoryLine(std::string_view) const { return false; }
bool CRunRangeRules::HasFarConnectionPoint(const CDev&, std::string_view) const { return false; }
bool CRunRangeRules::KeepsJointOptions() const { return false; }
void CRunRangeRules::FinishBOMRebuild(CRun&) const {}
bool CRunRangeRules::GathersNumericLines() const { return false; }
bool CRunRangeRules::DoublesSupports(std::string_view, std::string_view) const { return false; }
bool CRunRangeRules::CarriesSupports(const CDev&) const { return true; }
bool CRunRangeRules::KeepsOptionsOnRotation(const CDev&) const { return false; }
void CRunRangeRules::ReverseElement(CRun&, CDev&, CDev&) const {}
void CRunRangeRules::FinishReversedEnd(CDev&) const {}
std::vector<std::pair<int, int>> CRunRangeRules::GetCompanionAccessories(std::string_view,
                                                                         int) const {
  return {};
}
