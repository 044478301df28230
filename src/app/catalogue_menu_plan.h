#pragma once

#include <string>
#include <vector>

// Which price lists the catalogue menu lists, and which of them is current.
struct CCatalogueMenuItem {
  int number = 0;  // the price list 1..15
  std::string name;
  bool operator==(const CCatalogueMenuItem&) const = default;
};

struct CCatalogueMenuPlan {
  std::vector<CCatalogueMenuItem> items;  // in menu order
  int current = 0;                        // 0 when the setting named no listed price list
  bool operator==(const CCatalogueMenuPlan&) const = default;
};

// names[i] names price list i + 1 (missing entries count as empty). Lists 5..15 without
// a name are left out; only the current one is listed when justOne is set; the list
// numbered currentSetting becomes current when it is listed.
CCatalogueMenuPlan PlanCatalogueMenu(const std::vector<std::string>& names, bool justOne,
                                     int currentSetting);
