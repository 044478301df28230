#include "pages/run_prop_page.h"

#include "model/run/run.h"

#include <cctype>

CRun* CRunPropPage::Run() const { return dynamic_cast<CRun*>(GetObject()); }

std::string CRunPropPage::Prop(std::string_view name) const {
  const CRun* run = Run();
  return run != nullptr ? run->GetPropText(name) : std::string();
}

bool CRunPropPage::WriteProp(std::string_view name, std::string_view value) {
  CRun* run = Run();
  if (run == nullptr || run->GetPropText(name) == value) return false;
  return run->SetProp(name, value);
}

char CRunPropPage::RangeLetter() const {
  const std::string catalog = Prop("Catalog");
  return catalog.size() >= 2
             ? static_cast<char>(std::toupper(static_cast<unsigned char>(catalog[1])))
             : '\0';
}
