#pragma once

#include <string>

// One catalogue (product range variant) offered by "catalog.dbf".
struct CCatalogueEntry {
  std::string code;   // ID, compared with a run's catalogue property ("QMA", "Qpa", ...)
  std::string label;  // the text of message LIB in the current language

  friend bool operator==(const CCatalogueEntry&, const CCatalogueEntry&) = default;
};
