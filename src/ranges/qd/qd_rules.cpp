#include "ranges/qd/qd_rules.h"

#include "model/run/run.h"
#include "ranges/range_rules_support.h"

std::string CQDRules::GetVariantCounterpart(std::string_view code) const {
  return SwapThirdLetter(code, 'A', 'T');
}

// QDT has no 16 rating.
bool CQDRules::TakesOverRating(std::string_view code, int rating) const {
  return !(code == "QDT" && rating == 16);
}

int CQDRules::GetTakeOverLengthMask(std::string_view code) const { return code == "QDT" ? 6 : 0; }

// The length records are booked again, counting variants 1, 2 and 4 as lengths.
void CQDRules::FinishBOMRebuild(CRun& run) const { run.RebuildLengthRecords(22); }
