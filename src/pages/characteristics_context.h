#pragma once

#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/run/run_range_rules.h"
#include "pages/characteristics_page.h"

#include <string>

// What the characteristics page reads of the run once per load.
struct CCharacteristicsPage::CContext {
  std::string catalog;
  int rating = 0;
  int neutral = 0;
  bool built = false;
  bool edStep = false;

  // The QMA 25 A runs with the neutrals 6 to 8, which alone know the EH44 option.
  bool KnowsEH44() const {
    return catalog == "QMA" && rating == 25 && neutral >= 6 && neutral <= 8;
  }
  // QM runs built of two runs side by side (63 A, QMA 50 A) have no ED31 option.
  bool IsTwinQM() const { return rating == 63 || (catalog == "QMA" && rating == 50); }

  // Whether the run's range refuses the variant at this rating and neutral.
  bool RefusesVariant(const CRun& run, int kind, int variant) const {
    return run.GetRangeRules().RefusesVariant(catalog, rating, neutral, kind, variant);
  }
};
