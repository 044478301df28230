#pragma once

#include "model/run/run_range_rules.h"

// The amperes of a QD rating code (4: 40 A, 6: 63 A, 10: 100 A, 16: 160 A); 0 for any
// other code.
int QDRatingAmperes(int code);

// Where range QD differs: its variants QDA and QDT, and QDT's ratings and lengths.
class CQDRules : public CRunRangeRules {
 public:
  std::string GetVariantCounterpart(std::string_view code) const override;
  bool TakesOverRating(std::string_view code, int rating) const override;
  int GetTakeOverLengthMask(std::string_view code) const override;
  void FinishBOMRebuild(CRun& run) const override;
};
