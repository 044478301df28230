#include "model/run_factory.h"

#include "model/run.h"

#include <array>

namespace {

struct CRunClassRow {
  std::string_view catalog;  // the in-memory code
  std::string_view className;
  std::string_view variant;
};

constexpr std::array<CRunClassRow, 13> kRunClasses = {{
    {"QJF", "CRunQJF", ""}, {"QPA", "CRunQP", "A"}, {"QPC", "CRunQP", "C"}, {"Qpa", "CRunQP", "a"},
    {"Qpc", "CRunQP", "c"}, {"QWA", "CRunQW", "A"}, {"QWC", "CRunQW", "C"}, {"QMA", "CRunQM", "A"},
    {"QMC", "CRunQM", "C"}, {"QGA", "CRunQG", "A"}, {"QGC", "CRunQG", "C"}, {"QDA", "CRunQD", "A"},
    {"QDT", "CRunQD", "T"},
}};

}  // namespace

CRunFactory& CRunFactory::Instance() {
  static CRunFactory factory;
  return factory;
}

void CRunFactory::Register(std::string className, Creator creator) {
  m_creators[std::move(className)] = std::move(creator);
}

std::unique_ptr<CRun> CRunFactory::CreateForCatalog(std::string_view catalog, CRunDocument* document) const {
  std::unique_ptr<CRun> run;
  for (const CRunClassRow& row : kRunClasses) {
    if (row.catalog != catalog) continue;
    const auto creator = m_creators.find(row.className);
    if (creator != m_creators.end()) run = creator->second(document, row.variant);
    break;
  }
  if (!run) run = std::make_unique<CRun>(document);
  // A range that is no longer offered keeps its code, so that saving loses nothing.
  if (run->GetPropText("Catalog").empty()) run->SetCatalog(std::string(catalog));
  return run;
}

std::string CRunFactory::FileCodeOf(std::string_view catalog) {
  if (catalog == "QPC") return "QPCnew";
  if (catalog == "Qpc") return "QPC";
  return std::string(catalog);
}

std::string CRunFactory::CatalogOfFileCode(std::string_view fileCode) {
  if (fileCode == "QPCnew") return "QPC";
  if (fileCode == "QPC") return "Qpc";
  return std::string(fileCode);
}
