#include "reference/ref_config.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/dorne_app.h"
#include "app/option_list_files.h"
#include "app/profile.h"
#include "platform/text_conversions.h"
#include "reference/ref_choice_captions.h"
#include "reference/ref_products.h"

namespace {

constexpr int kQFP = 0, kQYA = 1;

// A file value as a component state: not editable (1, 3, 7) or editable (4, 6).
int StateOfValue(int value) {
  if (value <= 0) return 1;
  if (value == 1) return 3;
  if (value == 2) return 4;
  return value == 3 ? 6 : 7;
}

// An option slot value of the file: one above the stored number, held below the top of
// the range so that a huge value does not wrap around.
int SlotOfValue(int value) {
  return static_cast<int>(std::min<std::int64_t>(std::int64_t{value} + 1, INT32_MAX));
}

void ReadSlots(COptionListFiles& lists, const std::string& section, CRefProductOptions& options,
               int specialMode) {
  const CRefProductOptions defaults = options;
  int number = 0;
  for (int k = 0; k < 9; ++k) {
    const int fallback = defaults.optionSlots[static_cast<std::size_t>(k)];
    if (fallback == 0) continue;
    const std::string key = k < 8 ? "OPT" + std::to_string(number++) : "CALMAX";
    lists.RecordDefault(section, key, std::to_string(k < 8 ? fallback - 1 : fallback));
    const std::string text = lists.Read(section, key).value_or("");
    int& entry = options.optionSlots[static_cast<std::size_t>(k)];
    if (text.empty()) {
      entry = 0;
    } else if (k < 8) {
      const int value = TextToInt(text);
      if (value >= 0) entry = SlotOfValue(value);
    } else {
      entry = std::min(TextToInt(text), fallback);
      if (entry < 0) entry = 0;
    }
  }
  if (std::all_of(options.optionSlots.begin(), options.optionSlots.begin() + 8,
                  [](int v) { return v == 0; }))
    options.optionSlots[specialMode == 2 ? 4 : 0] = 1;
}

void ReadLuminaireChoice(COptionListFiles& lists, const std::string& section,
                         CRefProductOptions& options) {
  int& s45 = options.states[45];
  int& s46 = options.states[46];
  if (s45 == 0 && s46 == 0) return;
  lists.RecordDefault(section, "CHOIXLUM", s46 > s45 ? "2" : "1");
  const int value = TextToInt(lists.Read(section, "CHOIXLUM").value_or("101"));
  auto set = [](int& state, int to) {
    if (state != 0) state = to;
  };
  switch (value) {
    case 1: set(s45, 2), set(s46, 1); break;
    case 2: set(s45, 1), set(s46, 2); break;
    case 101: set(s45, 1), set(s46, 0); break;
    case 102: set(s45, 0), set(s46, 1); break;
    default: break;
  }
}

void ReadComponent(COptionListFiles& lists, const std::string& section, int product, int index,
                   CRefProductOptions& options) {
  int& state = options.states[static_cast<std::size_t>(index)];
  const std::string key = ref_defaults::ComponentKey(product, index);
  if (state == 0 || key.empty()) return;
  const bool choice4d = index == 8 && (product == 4 || product == 7 || product == 8);
  if (!choice4d) lists.RecordDefault(section, key, state == 1 ? "0" : index == 55 ? "1" : "2");
  const std::string text = lists.Read(section, key).value_or("");
  if (index == 42) {
    if (!text.empty()) state &= TextToInt(text);
    return;
  }
  if (!text.empty()) {
    state = StateOfValue(TextToInt(text));
    return;
  }
  state = 0;
  if (product == kQFP && index == 28) options.states[46] = 0;
  if (product == kQFP && index == 29) options.states[47] = 0;
}

void ReadComponents(COptionListFiles& lists, const std::string& section, int product,
                    CRefProductOptions& options) {
  for (int index = 0; index <= 44; ++index) ReadComponent(lists, section, product, index, options);
  ReadComponent(lists, section, product, 55, options);
}

// CALMAX becomes the greatest rating that does not exceed it.
void LowerCalMax(CRefProductOptions& options) {
  int best = 0;
  for (int rating : options.ratings)
    if (rating > 0 && rating <= options.optionSlots[8]) best = std::max(best, rating);
  options.optionSlots[8] = best;
}

bool Withdrawn(int product, int apod) {
  if (product == kQFP || product == kRefProductQYX) return true;
  return apod ? product == 4 || product == 8 : product == 5 || product == 7;
}

}  // namespace

CRefConfigSetup RefConfigSetupFor(const CDorneApp& app) {
  CRefConfigSetup setup;
  setup.settingsFolder = app.SettingsFolder();
  if (!app.ProgramFolder().empty()) setup.sampleFile = app.ProgramFolder() + "ref_conf.cfg";
  setup.catalogueFolder = app.CatalogueFolder();
  return setup;
}

void CRefConfig::ReadSettings(const CProfile& profile, const CRefConfigSetup& setup) {
  const std::string fallback = profile.ReadProfileText("Ref", "Special", "0");
  const tvr::platform::CIniFile lists =
      COptionListFiles::ReadChoices(setup.settingsFolder, kListName, setup.sampleFile);
  SetSpecialMode(TextToInt(lists.Find("Special", "Special").value_or(fallback)));
  for (int p = 0; p < kRefProductCount; ++p) {
    std::string key(RefProductCode(p));
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (p == 5 || p == 7) key += "-APOD";
    const double value = TextToDouble(profile.ReadProfileText("Ref", key, "1.0"));
    // A damaged or non-positive coefficient would give every price 0: the default holds.
    m_coefficients[static_cast<std::size_t>(p)] = std::isfinite(value) && value > 0 ? value : 1.0;
  }
  m_compMo = profile.ReadProfileInt("Comp", "MO", 0);
  m_refs = profile.ReadProfileInt("Ref", "Refs", 0);
  if (m_refs != 1 && m_refs != 2 && m_refs != 11) m_refs = 0;
  m_refGroup = profile.ReadProfileInt("Ref", "RefGrp", 0);
}

std::string CRefConfig::SectionOf(int product) const {
  if (product == kQYA && m_specialMode == 1) return "QUE";
  std::string section(RefProductCode(product));
  if (product == 5 || product == 7) section += "-APOD";
  return section;
}

int CRefConfig::LoadRefConfig(const CProfile& profile, const CRefConfigSetup& setup) {
  const int copper = profile.ReadProfileInt("Design", "Copper", 0);
  const int apod = profile.ReadProfileInt("Design", "APOD", 0);
  COptionListFiles lists(setup.settingsFolder, kListName, setup.sampleFile);
  m_connections.fill({-1, -1, -1, -1, -1});
  m_qyaPairs = {1, 1, 0, 0};
  for (int p = 0; p < kRefProductCount; ++p) LoadProduct(lists, p, copper, apod, setup);
  SetProductFlags();
  lists.Finish();
  return 1;
}

void CRefConfig::LoadProduct(COptionListFiles& lists, int p, int copper, int apod,
                             const CRefConfigSetup& setup) {
  CRefProductOptions options = ref_defaults::ProductOptions(p, m_specialMode);
  const std::string section = SectionOf(p);
  if (options.CalMax() != 0) {
    ReadSlots(lists, section, options, m_specialMode);
    if (p != kQFP) ReadLuminaireChoice(lists, section, options);
    ReadComponents(lists, section, p, options);
    ReadConnections(lists, p, options, setup);
  }
  LowerCalMax(options);
  if (p == 8 && copper == 0) return;
  if (Withdrawn(p, apod)) options.optionSlots[8] = 0;
  if (std::all_of(options.states.begin() + 16, options.states.begin() + 28,
                  [](int s) { return s == 0; }))
    options.states[55] = 0;
  m_products[static_cast<std::size_t>(p)] = options;
}

void CRefConfig::ReadConnections(COptionListFiles& lists, int p, CRefProductOptions& options,
                                 const CRefConfigSetup& setup) {
  Record& record = m_connections[static_cast<std::size_t>(p)];
  const std::string section = SectionOf(p);
  record.fill(-1);
  if (p <= 2 && m_specialMode != 2) {
    if (const std::optional<std::string> text = lists.Read(section, "CHOIXCONN");
        text && !text->empty())
      record = {TextToInt(*text), 0, 0, 0, 0};
  }
  std::array<int, 7> states{};
  std::copy(options.states.begin() + 48, options.states.begin() + 55, states.begin());
  QueryParamTable(setup.catalogueFolder, p, states, record, p == kQFP ? &m_qfpPositions : nullptr);
  std::copy(states.begin(), states.end(), options.states.begin() + 48);
  if (p != kQYA) return;
  Record& tapOffs = m_connections[9];
  std::array<int, 7> pairs{1, 1, 0, 0, 0, 0, 0};
  tapOffs.fill(-1);
  if (const std::optional<std::string> text = lists.Read(section, "CHOIXQYL");
      text && !text->empty())
    tapOffs = {TextToInt(*text), 0, 0, 0, 0};
  QueryParamTable(setup.catalogueFolder, 9, pairs, tapOffs, nullptr);
  std::copy(pairs.begin(), pairs.begin() + 4, m_qyaPairs.begin());
}

void CRefConfig::SetProductFlags() {
  static constexpr std::array<int, 9> kGroupOf = {-1, 3, 3, 2, 2, 2, 3, 2, 2};
  for (auto& flags : m_productFlags) flags.fill(false);
  for (int p = 0; p < kRefProductCount; ++p) {
    const int group = kGroupOf[static_cast<std::size_t>(p)];
    if (group >= 0 && m_products[static_cast<std::size_t>(p)].CalMax() != 0)
      m_productFlags[static_cast<std::size_t>(group)][static_cast<std::size_t>(p)] = true;
  }
  for (std::size_t g = 0; g < m_groupFlags.size(); ++g)
    m_groupFlags[g] =
        std::any_of(m_productFlags[g].begin(), m_productFlags[g].end(), [](bool on) { return on; });
}

bool CRefConfig::WriteConnectionChoices(const CRefConfigSetup& setup) const {
  std::vector<std::pair<std::string, std::string>> keys;
  std::vector<std::string> values;
  for (int p = 0; p <= 2; ++p) {
    const int choice = m_connections[static_cast<std::size_t>(p)][0];
    if (choice < 0) continue;
    keys.emplace_back(SectionOf(p), "CHOIXCONN");
    values.push_back(std::to_string(choice));
    if (p != kQYA) continue;
    keys.emplace_back(SectionOf(p), "CHOIXQYL");
    values.push_back(std::to_string(m_connections[9][0]));
  }
  if (keys.empty()) return true;
  return COptionListFiles::WriteChoices(setup.settingsFolder, kListName, keys, values,
                                        setup.sampleFile);
}

void CRefConfig::SetCoefficient(int product, double value) {
  if (product >= 0 && product < kRefProductCount)
    m_coefficients[static_cast<std::size_t>(product)] = value;
}

double CRefConfig::Coefficient(int product) const {
  return product >= 0 && product < kRefProductCount
             ? m_coefficients[static_cast<std::size_t>(product)]
             : 1.0;
}

const CRefProductOptions& CRefConfig::Product(int product) const {
  static const CRefProductOptions kNone{};
  return product >= 0 && product < kRefProductCount ? m_products[static_cast<std::size_t>(product)]
                                                    : kNone;
}

CRefProductOptions& CRefConfig::Product(int product) {
  static CRefProductOptions scratch;
  if (product >= 0 && product < kRefProductCount)
    return m_products[static_cast<std::size_t>(product)];
  scratch = CRefProductOptions{};
  return scratch;
}

const CRefConfig::Record& CRefConfig::Connection(int record) const {
  static const Record kNone{-1, -1, -1, -1, -1};
  return record >= 0 && record < kConnectionRecords
             ? m_connections[static_cast<std::size_t>(record)]
             : kNone;
}

CRefConfig::Record& CRefConfig::Connection(int record) {
  static Record scratch;
  if (record >= 0 && record < kConnectionRecords)
    return m_connections[static_cast<std::size_t>(record)];
  scratch.fill(-1);
  return scratch;
}

bool CRefConfig::ProductOffered(int group, int product) const {
  if (group < 0 || group >= 4 || product < 0 || product >= kRefProductCount) return false;
  return m_productFlags[static_cast<std::size_t>(group)][static_cast<std::size_t>(product)];
}

bool CRefConfig::GroupOffered(int group) const {
  return group >= 0 && group < 4 && m_groupFlags[static_cast<std::size_t>(group)];
}
