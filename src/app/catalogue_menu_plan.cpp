#include "app/catalogue_menu_plan.h"

CCatalogueMenuPlan PlanCatalogueMenu(const std::vector<std::string>& names, bool justOne,
                                     int currentSetting) {
  CCatalogueMenuPlan plan;
  for (int number = 1; number <= 15; ++number) {
    std::size_t index = static_cast<std::size_t>(number - 1);
    std::string name = index < names.size() ? names[index] : std::string();
    if (name.empty() && number >= 5) continue;
    if (number == currentSetting) {
      plan.current = number;
      plan.items.push_back({number, name});
    } else if (!justOne) {
      plan.items.push_back({number, name});
    }
  }
  return plan;
}
