#pragma once

#include "model/element/dev.h"
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

  // QM variants a rating does not offer: units 11 and 12 and ends 8 to 10 of QMA (but at
  // 25 A with neutrals 6 to 8), unit 16 of the other QM catalogues (but QMA 50 A and 63 A).
  bool IsRefusedQMVariant(int kind, int variant) const {
    bool refused = false;
    if (catalog == "QMA" && !(rating == 25 && neutral >= 6 && neutral <= 8))
      refused = (kind == CDev::kInLineVariant && (variant == 11 || variant == 12)) ||
                (kind == CDev::kEnd && variant >= 8 && variant <= 10);
    if (catalog.starts_with("QM") && !(catalog.size() > 2 && catalog[2] == 'A' && rating == 50) &&
        rating != 63)
      refused = refused || (kind == CDev::kInLineVariant && variant == 16);
    return refused;
  }
};
