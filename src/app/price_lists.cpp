#include "app/price_lists.h"

#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "app/article_table.h"
#include "app/profile.h"
#include "app/settings_keys.h"
#include "platform/dbf_table.h"

using tvr::platform::CDbfTable;

namespace {

constexpr std::string_view kFirstNameField = "DESIGN_1";
constexpr std::string_view kSecondNameField = "DESIGN_2";

std::string Trim(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return std::string();
  const std::size_t end = text.find_last_not_of(' ');
  return std::string(text.substr(begin, end - begin + 1));
}

// The name of list n in an open article table, without the default.
std::string ReadName(CDbfTable& table, int n, bool second) {
  if (!SeekArticle(table, PriceListKey(n))) return std::string();
  const int field = table.FieldIndex(second ? kSecondNameField : kFirstNameField);
  return field < 0 ? std::string() : Trim(table.FieldRawText(field));
}

std::string WithDefault(std::string name, int n, bool second, const TextLookup& lookupText) {
  if (name.empty() && !second && n <= 4) return DefaultPriceListName(n, lookupText);
  return name;
}

}  // namespace

std::string PriceListKey(int n) { return "PRICE_LIST_" + std::to_string(n); }

std::string DefaultPriceListName(int n, const TextLookup& lookupText) {
  std::string text = lookupText ? lookupText(kMsgDefaultPriceListName) : std::string();
  const std::string value = std::to_string(n);
  // Left to right, so that the inserted number is never scanned again.
  for (std::size_t at = text.find("%1"); at != std::string::npos; at = text.find("%1", at)) {
    text.replace(at, 2, value);
    at += value.size();
  }
  return text;
}

std::string GetPriceListName(const std::string& articleFolder, const CProfile& profile, int n,
                             bool second, const TextLookup& lookupText) {
  CDbfTable table;
  if (!OpenArticleTable(table, articleFolder, CDbfTable::Mode::ReadOnly)) return std::string();
  if (n < 1) n = ReadSettingInt(profile, settings_key::kCurrentCatalogue);
  return WithDefault(ReadName(table, n, second), n, second, lookupText);
}

CPriceListNames ReadPriceListNames(const std::string& articleFolder, const TextLookup& lookupText) {
  CPriceListNames names;
  CDbfTable table;
  if (!OpenArticleTable(table, articleFolder, CDbfTable::Mode::ReadOnly, &names.error)) {
    return names;
  }
  for (int n = 1; n <= kPriceListCount; ++n) {
    names.first[n - 1] = WithDefault(ReadName(table, n, false), n, false, lookupText);
    names.second[n - 1] = ReadName(table, n, true);
  }
  return names;
}

bool SetCurrentCatalogue(int n, int& current, CProfile& profile) {
  if (n < 1 || n > kPriceListCount) return false;
  current = n;
  return WriteSettingInt(profile, settings_key::kCurrentCatalogue, n);
}

int CatalogueCommandId(int index) {
  static constexpr int kIds[kPriceListCount] = {32883, 32884, 32885, 32886, 32887,
                                                32888, 32689, 32690, 32691, 32978,
                                                32979, 32980, 32981, 32982, 32983};
  return index >= 0 && index < kPriceListCount ? kIds[index] : 0;
}

namespace {

// Mode bits first, so that a file marked read-only stays untouched even for a user
// (such as root) whom the system would let write it.
bool IsReadOnlyFile(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error || !fs::exists(status)) return false;  // the open reports it
  if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) return true;
  return ::access(path.c_str(), W_OK) != 0;
}

// Every check that could refuse a write is made before the first change, so that a
// refusal leaves the table as it was.
std::string CheckNameFields(const CDbfTable& table, bool withSecond) {
  const int key = table.FieldIndex(kArticleKeyField);
  if (table.Field(key).type != 'C' ||
      table.Field(key).length < static_cast<int>(PriceListKey(kPriceListCount).size())) {
    return "The field REFERENCE of the article table " + table.Path() + " cannot hold " +
           PriceListKey(kPriceListCount);
  }
  for (std::string_view name : {kFirstNameField, kSecondNameField}) {
    if (name == kSecondNameField && !withSecond) continue;
    const int field = table.FieldIndex(name);
    if (field < 0 || table.Field(field).type != 'C') {
      return "The article table " + table.Path() + " has no text field " + std::string(name);
    }
  }
  return std::string();
}

// Writes the names of list n; false when the table refused a change.
[[nodiscard]] bool SaveList(CDbfTable& table, int n, const std::string& first,
                            const std::string* second, CPriceListSave& result) {
  if (!SeekArticle(table, PriceListKey(n))) {
    // A list named in the options but without a record would otherwise lose its name.
    if (first.empty() && (second == nullptr || second->empty())) return true;
    if (!table.Append() || table.Assign(table.FieldIndex(kArticleKeyField), PriceListKey(n)) !=
                               CDbfTable::kAssignDone) {
      return false;
    }
    result.appended.push_back(n);
  }
  bool cut = false;
  for (auto [name, text] : {std::pair{kFirstNameField, first.empty() ? nullptr : &first},
                            std::pair{kSecondNameField, second}}) {
    if (text == nullptr) continue;
    const int done = table.Assign(table.FieldIndex(name), *text);
    if (done == CDbfTable::kAssignRefused) return false;
    cut = cut || done == CDbfTable::kAssignCut;
  }
  if (cut) result.cut.push_back(n);
  return true;
}

// Opens the article table for writing names; an empty result means it is ready.
std::string OpenForNames(CDbfTable& table, const std::string& articleFolder, bool withSecond) {
  const std::string path = ArticleTablePath(articleFolder);
  if (IsReadOnlyFile(path)) {
    return "The article table " + path + " is read-only: the price-list names were not saved";
  }
  std::string error;
  if (!OpenArticleTable(table, articleFolder, CDbfTable::Mode::ReadWrite, &error)) return error;
  if (table.IsReadOnly()) {
    return "The article table " + path + " cannot be written: the price-list names were not saved";
  }
  return CheckNameFields(table, withSecond);
}

// A name the table's code page cannot hold would be refused half-way through the lists.
std::string CheckNamesFit(const CDbfTable& table,
                          const std::array<std::string, 2 * kPriceListCount>& names,
                          const std::array<int, kPriceListCount>& numbers, bool withSecond) {
  for (std::size_t i = 0; i < kPriceListCount; ++i) {
    if (numbers[i] < 1 || numbers[i] > kPriceListCount) continue;
    for (const std::string* name :
         {&names[i], withSecond ? &names[kPriceListCount + i] : nullptr}) {
      if (name == nullptr || table.CanHoldText(*name)) continue;
      return "The price-list name \"" + *name + "\" holds characters that the article table " +
             table.Path() + " cannot hold";
    }
  }
  return std::string();
}

std::string WriteError(const CDbfTable& table) {
  return table.Error().empty() ? "Cannot write the article table " + table.Path() : table.Error();
}

}  // namespace

CPriceListSave SavePriceListNames(const std::string& articleFolder,
                                  const std::array<std::string, 2 * kPriceListCount>& names,
                                  const std::array<int, kPriceListCount>& numbers,
                                  bool withSecond) {
  CPriceListSave result;
  CDbfTable table;
  result.error = OpenForNames(table, articleFolder, withSecond);
  if (result.error.empty()) result.error = CheckNamesFit(table, names, numbers, withSecond);
  if (!result.error.empty()) return result;
  for (int i = 0; i < kPriceListCount; ++i) {
    if (numbers[i] < 1 || numbers[i] > kPriceListCount) continue;
    const std::string* second = withSecond ? &names[kPriceListCount + i] : nullptr;
    if (!SaveList(table, numbers[i], names[i], second, result)) {
      result.error = WriteError(table);
      return result;
    }
  }
  if (!table.Flush()) {
    result.error = WriteError(table);
    return result;
  }
  result.saved = true;
  return result;
}
