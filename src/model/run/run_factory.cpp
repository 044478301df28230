#include "model/run/run_factory.h"

#include "model/run/run.h"
#include "model/run/run_range_rules.h"

#include <algorithm>
#include <array>

namespace {

// The codes that a layout document makes range runs of; any other stays generic.
constexpr std::array<std::string_view, 13> kRangeRunCodes = {
    "QJF", "QPA", "QPC", "Qpa", "Qpc", "QWA", "QWC", "QMA", "QMC", "QGA", "QGC", "QDA", "QDT"};

// A two-character range key as one number.
std::uint16_t RulesKey(std::string_view key) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(key[0]) << 8 |
                                    static_cast<unsigned char>(key[1]));
}

}  // namespace

CRunFactory& CRunFactory::Instance() {
  static CRunFactory factory;
  return factory;
}

void CRunFactory::Register(std::string rangeKey, Maker maker) {
  m_makers.insert_or_assign(std::move(rangeKey), std::move(maker));
}

bool CRunFactory::IsRegistered(std::string_view rangeKey) const {
  return m_makers.contains(rangeKey);
}

void CRunFactory::SetRules(std::string_view rangeKey, const CRunRangeRules* rules) {
  if (rangeKey.size() != 2) return;
  const std::uint16_t key = RulesKey(rangeKey);
  std::erase_if(m_rules, [key](const CRulesEntry& entry) { return entry.key == key; });
  if (rules != nullptr) m_rules.push_back({key, rules});
}

namespace {

// The range key of a code into two characters; empty for a short code. Every bill line
// shown asks for its range's rules, so the key is made without a string of its own.
std::string_view RangeKeyInto(std::string_view code, std::array<char, 2>& key) {
  if (code.size() < 3) return {};
  for (std::size_t i = 0; i < key.size(); ++i) {
    const char c = code[i];
    key[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return {key.data(), key.size()};
}

}  // namespace

const CRunRangeRules& CRunFactory::RulesForCode(std::string_view code) const {
  std::array<char, 2> room{};
  const std::string_view range = RangeKeyInto(code, room);
  if (range.empty()) return CRunRangeRules::Generic();
  const std::uint16_t key = RulesKey(range);
  for (const CRulesEntry& entry : m_rules) {
    if (entry.key == key) return *entry.rules;
  }
  return CRunRangeRules::Generic();
}

std::string CRunFactory::RangeKeyOfCode(std::string_view code) {
  std::array<char, 2> key{};
  return std::string(RangeKeyInto(code, key));
}

std::unique_ptr<CRun> CRunFactory::Create(std::string_view code, CRunDocument* document) const {
  auto it = m_makers.find(RangeKeyOfCode(code));
  if (it == m_makers.end()) return std::make_unique<CRun>(document);
  return it->second(code.substr(2), document);
}

std::unique_ptr<CRun> CRunFactory::CreateForCatalog(std::string_view catalog,
                                                    CRunDocument* document) const {
  std::unique_ptr<CRun> run;
  if (std::find(kRangeRunCodes.begin(), kRangeRunCodes.end(), catalog) != kRangeRunCodes.end()) {
    run = Create(catalog, document);
  }
  if (!run) run = std::make_unique<CRun>(document);
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

std::unique_ptr<CRun> CreateRunForCode(std::string_view code, CRunDocument* document) {
  return CRunFactory::Instance().Create(code, document);
}
