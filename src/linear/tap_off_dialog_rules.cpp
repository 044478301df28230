#include "linear/tap_off_dialog_rules.h"

#include "app/message_text.h"
#include "linear/chooser_texts.h"

#include <algorithm>
#include <optional>

namespace {

struct CSubFunctionName {
  int function, subFunction, family, message;
};

// The names of sub-functions 1..3 and 7 by function and family; any family (-1) last.
constexpr CSubFunctionName kNames[] = {
    {1, 1, 0, 31056}, {1, 1, 2, 31056}, {1, 1, 5, 31056}, {1, 1, 4, 31116}, {1, 2, 0, 31057},
    {1, 2, 2, 31057}, {1, 2, 5, 31057}, {1, 2, 4, 31117}, {1, 3, 0, 31058}, {1, 3, 2, 31058},
    {1, 3, 5, 31058}, {1, 7, 0, 31157}, {2, 1, 1, 32259}, {2, 1, 4, 31118}, {2, 1, 5, 32076},
    {2, 2, 1, 32260}, {2, 2, 4, 31119}, {2, 2, 5, 32077}, {3, 1, 0, 31153}, {3, 1, 1, 32262},
    {3, 1, 2, 31054}, {3, 1, 4, 31054}, {3, 2, 0, 31154}, {3, 2, 1, 32263}, {3, 2, 2, 31055},
    {3, 2, 4, 31055}, {3, 3, 0, 31155}, {3, 3, 1, 32264}, {3, 3, 2, 31095}, {3, 3, 4, 31095},
    {4, 1, 5, 32055}, {4, 2, 5, 32056}, {4, 3, 5, 32057}, {5, 1, 2, 31118}, {5, 1, 5, 32423},
    {5, 2, 2, 31119}, {5, 2, 5, 32424}, {6, 1, 0, 32423}, {6, 1, 2, 31054}, {6, 2, 0, 32424},
    {6, 2, 2, 31116}, {6, 3, 2, 31146}, {6, 7, 2, 32421}, {7, 1, 0, 32434}, {7, 2, 0, 32435},
    {7, 3, 0, 32436}, {3, 4, 0, 31156}, {6, 4, 2, 31147}, {6, 5, 2, 31148}, {6, 6, 2, 31152}};

std::optional<int> Digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return std::nullopt;
}

// Function and sub-function from PARAM, as the family counts them; none for a PARAM
// that does not hold them.
std::optional<std::pair<int, int>> FunctionOf(std::string_view param, int family) {
  if (param.size() < 3) return std::nullopt;
  const std::optional<int> first = Digit(param[0]);
  const std::optional<int> third = param[2] == '?' ? 63 : Digit(param[2]);
  if (!first || !third) return std::nullopt;
  int function = *first, sub = *third;
  if (family == 0) {
    if (function > 4) ++function;
    if (function == 4 && sub == 2) function = 5, sub = 0;
  }
  if (family == 3) {
    if (sub == 63) return std::nullopt;
    function = sub, sub = 0;
  }
  if (function < 1 || function > 8) return std::nullopt;
  return std::pair{function, sub};
}

CTapOffRecord RecordOf(const CRefCoffTable::Row& row, std::pair<int, int> function) {
  CTapOffRecord record;
  record.function = function.first;
  record.subFunction = function.second;
  record.value = row.fct;
  record.texts = {row.ref1, row.ref2, row.cal, ChooserTypeText(row.typ1), row.ip1};
  record.ratings = row.ratings;
  return record;
}

std::string GreyReference(const std::string& reference) {
  if (!reference.ends_with("(G)")) return reference;
  return reference.substr(0, reference.size() - 3) + "G";
}

}  // namespace

void CTapOffDialogRules::Load(const CRefCoffTable& table, std::string_view code) {
  if (code.starts_with('?')) code.remove_prefix(1);
  m_family = TapOffFamily(code);
  m_rows.clear();
  for (const CRefCoffTable::Row& row : table.Rows()) {
    if (m_rows.size() >= kMaxRows) break;
    if (code.empty() || !row.prod.starts_with(code)) continue;
    const auto function = FunctionOf(row.param, m_family);
    if (!function || (function->first == 6 && code == "QPC")) continue;
    m_rows.push_back(RecordOf(row, *function));
  }
}

std::vector<int> CTapOffDialogRules::Functions() const {
  std::vector<int> functions;
  for (const CTapOffRecord& row : m_rows) functions.push_back(row.function);
  std::sort(functions.begin(), functions.end());
  functions.erase(std::unique(functions.begin(), functions.end()), functions.end());
  return functions;
}

std::vector<int> CTapOffDialogRules::SubFunctions(int function) const {
  std::vector<int> subs;
  for (const CTapOffRecord& row : m_rows)
    if (row.function == function && row.subFunction != kUnknownSubFunction)
      subs.push_back(row.subFunction);
  std::sort(subs.begin(), subs.end());
  subs.erase(std::unique(subs.begin(), subs.end()), subs.end());
  return subs;
}

std::vector<int> CTapOffDialogRules::RowsOf(int function, int subFunction) const {
  std::vector<int> rows;
  for (std::size_t i = 0; i < m_rows.size(); ++i)
    if (m_rows[i].function == function && m_rows[i].subFunction == subFunction)
      rows.push_back(static_cast<int>(i));
  return rows;
}

std::vector<int> CTapOffDialogRules::DeviceRows(int chosen) const {
  if (chosen < 0 || static_cast<std::size_t>(chosen) >= m_rows.size()) return {};
  const CTapOffRecord& row = m_rows[static_cast<std::size_t>(chosen)];
  const std::size_t most = row.function == 6 ? 4 : 10;
  std::vector<int> rows;
  for (int i : RowsOf(row.function, row.subFunction))
    if (rows.size() < most && m_rows[static_cast<std::size_t>(i)].texts[3] == row.texts[3])
      rows.push_back(i);
  return rows;
}

int CTapOffDialogRules::PreselectedRow() const {
  const std::string& remembered = RememberedTapOffChoice().reference;
  if (remembered.empty()) return -1;
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    const std::string& reference = m_rows[i].texts[0];
    if (reference == remembered || GreyReference(reference) == remembered)
      return static_cast<int>(i);
  }
  return -1;
}

int CTapOffDialogRules::SubFunctionMessage(int sub, int function, int family) {
  if (sub < 0 || sub > 7) return -1;
  if (function == 8) return sub >= 4 && sub <= 6 ? 31138 + sub : (sub == 0 ? 0 : -1);
  if (sub == 0) return function == 5 && family == 2 ? 31119 : 0;
  for (const CSubFunctionName& name : kNames)
    if (name.function == function && name.subFunction == sub && name.family == family)
      return name.message;
  if (sub >= 4 && sub <= 6) return 31138 + sub;
  return -1;
}

std::string CTapOffDialogRules::SubFunctionName(int sub, int function) const {
  const int message = SubFunctionMessage(sub, function, m_family);
  if (message == 0) return {};
  if (message > 0) return StringText(message);
  // The family has no name for it: the type text of its first row says what it holds,
  // where "?" would say nothing.
  for (int row : RowsOf(function, sub))
    if (!m_rows[static_cast<std::size_t>(row)].texts[3].empty())
      return m_rows[static_cast<std::size_t>(row)].texts[3];
  return "?";
}

std::string CTapOffDialogRules::FunctionButtonText(int function) const {
  for (const CTapOffRecord& row : m_rows)
    if (row.function == function && !row.texts[3].empty()) return row.texts[3];
  const std::vector<int> subs = SubFunctions(function);
  return SubFunctionName(subs.empty() ? 0 : subs.front(), function);
}

std::string CTapOffDialogRules::ShownReference(std::string_view reference) {
  std::string shown;
  for (char c : reference) shown += c == '-' ? std::string("...") : std::string(1, c);
  return shown;
}

std::string CTapOffDialogRules::RowLabel(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size()) return {};
  const CTapOffRecord& record = m_rows[static_cast<std::size_t>(row)];
  return ShownReference(record.texts[0]) + "  |  " + record.texts[3];
}

std::string CTapOffDialogRules::DeviceButtonText(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size()) return {};
  const CTapOffRecord& record = m_rows[static_cast<std::size_t>(row)];
  std::string text = ShownReference(record.texts[0]);
  if (!record.texts[2].empty()) text += "  -  " + record.texts[2] + " A";
  if (!record.texts[4].empty()) text += ", " + record.texts[4];
  if (record.texts[0] == "QPB250SM428") text += " (+ 28 Lumo4)";
  return text;
}

int CTapOffDialogRules::Accept(int row, bool distribute) const {
  if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size()) return 0;
  CTapOffChoice& choice = RememberedTapOffChoice();
  choice.record = m_rows[static_cast<std::size_t>(row)];
  if (choice.record.mask == 0) choice.record.mask = TapOffMask(choice.record, m_family);
  choice.reference = choice.record.texts[0];
  return distribute ? kResultDistribute : kResultOk;
}
