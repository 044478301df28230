#include "app/user_article_import.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <vector>

#include "app/article_table.h"
#include "platform/code_page.h"
#include "platform/dbf_query.h"
#include "platform/dbf_table.h"
#include "platform/text_encoding.h"

using tvr::platform::CDbfQuery;
using tvr::platform::CDbfTable;

namespace {

constexpr std::size_t kFixedLineLength = 105;
constexpr std::size_t kFixedBlanks[] = {55, 77, 78, 97, 98};

// The file's lines as UTF-8, line ends removed: UTF-16LE after its byte-order mark,
// otherwise 8-bit text of the ANSI code page. Nothing when the file cannot be read.
std::optional<std::vector<std::string>> ReadLines(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(file)), {});
  std::string text;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::u16string units;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
      units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            static_cast<unsigned char>(bytes[i + 1]) << 8));
    text = tvr::platform::Utf16ToUtf8(units).value_or(std::string());
  } else {
    text = tvr::platform::FromAnsi(bytes);
  }
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

std::string TrimRight(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

bool IsPriceText(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == ',';
  });
}

// The whole number its leading digits give (blanks first); 0 when there are none.
long long WholeNumber(std::string_view text) {
  long long value = 0;
  std::size_t at = text.find_first_not_of(' ');
  for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at)
    value = value * 10 + (text[at] - '0');
  return value;
}

std::string PriceText(long long hundredths) {
  const long long units = hundredths / 100, rest = hundredths % 100;
  if (rest == 0) return std::to_string(units);
  return std::to_string(units) + "." + (rest < 10 ? "0" : "") + std::to_string(rest);
}

// The article table open for writing with the fields the imports use.
struct CArticleFields {
  CDbfTable table;
  int reference = -1, price = -1, firstPrice = -1, local = -1, design = -1, tc = -1, ref2 = -1,
      quantity = -1;

  bool Open(const CUserArticleImport& import) {
    if (!OpenArticleTable(table, import.articleFolder, CDbfTable::Mode::ReadWrite)) return false;
    reference = table.FieldIndex(kArticleKeyField);
    price = table.FieldIndex("PRIX_" + std::to_string(import.priceList + 1));
    firstPrice = table.FieldIndex("PRIX_1");
    local = table.FieldIndex("LOCAL");
    design = table.FieldIndex("DESIGN_" + std::to_string(import.designField));
    tc = table.FieldIndex("TC");
    if (import.refs != 0) ref2 = table.FieldIndex("REF2");
    quantity = table.FieldIndex("QTE_INDIV");
    return true;
  }

  // Puts the cursor on the article of the reference; false when the table has none.
  bool Find(const std::string& key) {
    if (SeekArticle(table, key)) return true;
    // A quote would end the query's literal: such a reference is looked up by tag only.
    if (ref2 < 0 || key.find_first_of("'\"") != std::string::npos) return false;
    CDbfQuery query(table);
    if (!query.SetQuery("REF2 = '" + key + "'")) return false;
    for (std::uint32_t recno : query.Select())
      if (table.GoTo(recno) && !table.IsDeleted() && table.FieldText(ref2) == key) return true;
    return false;
  }

  bool IsLocal() const {
    const std::string kind = table.FieldText(local);
    return kind == "3" || kind == "8";
  }
};

// The delimited line split at the first separators: reference, then the rest.
std::vector<std::string> SplitFields(const std::string& line, const std::string& separators) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = line.find_first_of(separators, start);
    fields.push_back(
        line.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return fields;
}

}  // namespace

long long UserPriceHundredths(std::string_view text) {
  if (!IsPriceText(text)) return -1;
  std::string digits(text);
  digits += "00";
  std::size_t cut = digits.find('.');
  if (cut == std::string::npos) cut = digits.find(',');
  if (cut != std::string::npos) digits = digits.substr(0, cut) + digits.substr(cut + 1, 2);
  digits.erase(
      std::remove_if(digits.begin(), digits.end(), [](char c) { return c == '.' || c == ','; }),
      digits.end());
  if (digits.empty()) return 0;
  // Eighteen digits stay within 64 bits; longer texts are not prices anyone types.
  if (digits.size() > 18) return -1;
  return std::stoll(digits);
}

EUserArticleFile UserArticleFileKind(const std::string& path) {
  std::string name = std::filesystem::path(path).filename().string();
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (name == kArticleTableName) return EUserArticleFile::kReplacementTable;
  const std::optional<std::vector<std::string>> lines = ReadLines(path);
  if (!lines) return EUserArticleFile::kUnreadable;
  if (!lines->empty() && (*lines)[0].size() == kFixedLineLength &&
      std::all_of(std::begin(kFixedBlanks), std::end(kFixedBlanks),
                  [&lines](std::size_t at) { return (*lines)[0][at] == ' '; }))
    return EUserArticleFile::kFixedWidth;
  return EUserArticleFile::kDelimited;
}

bool ReplaceUserArticleTable(const CUserArticleImport& import, const std::string& path) {
  const std::string target = ArticleTablePath(import.articleFolder);
  const std::string fresh = target + ".new";
  std::error_code error;
  std::filesystem::copy_file(path, fresh, std::filesystem::copy_options::overwrite_existing, error);
  if (!error) std::filesystem::rename(fresh, target, error);
  if (error) std::filesystem::remove(fresh, error);
  return !error && std::filesystem::exists(target);
}

bool ImportUserArticles(const CUserArticleImport& import, const std::string& path) {
  const std::optional<std::vector<std::string>> lines = ReadLines(path);
  CArticleFields articles;
  if (!lines || !articles.Open(import)) return false;
  const std::string separators = std::string(";\t@") + import.separators;
  bool written = false;
  for (const std::string& line : *lines) {
    const std::vector<std::string> fields = SplitFields(line, separators);
    if (fields.size() < 2 || fields[0].empty()) continue;
    std::size_t next = 1;
    std::string designation;
    if (!IsPriceText(fields[next])) designation = fields[next++];
    const std::string priceText = next < fields.size() ? fields[next++] : std::string();
    const std::string tcText = next < fields.size() ? fields[next] : std::string();
    if (!articles.Find(fields[0])) continue;
    const bool local = articles.IsLocal();
    const long long price = UserPriceHundredths(priceText);
    bool changed = false;
    if (!designation.empty() && articles.design >= 0)
      changed |= articles.table.Assign(articles.design, designation) != CDbfTable::kAssignRefused;
    const int priceField = local ? articles.firstPrice : articles.price;
    if (price >= 0 && priceField >= 0)
      changed |= articles.table.Assign(priceField, PriceText(price)) != CDbfTable::kAssignRefused;
    if (articles.tc >= 0 && !local && !tcText.empty())
      changed |= articles.table.Assign(articles.tc, tcText) != CDbfTable::kAssignRefused;
    written |= changed;
  }
  return articles.table.Flush() && written;
}

bool ImportFixedWidthArticles(const CUserArticleImport& import, const std::string& path) {
  const std::optional<std::vector<std::string>> lines = ReadLines(path);
  CArticleFields articles;
  if (!lines || !articles.Open(import)) return false;
  for (const std::string& line : *lines) {
    if (line.size() != kFixedLineLength || line.compare(0, 3, "TEQ") != 0) continue;
    if (!articles.Find(TrimRight(line.substr(2, 15)))) continue;
    const std::string designation = TrimRight(line.substr(23, 32));
    // Nine digits at most, so the whole units times 100 stay well within 64 bits.
    const long long price = WholeNumber(line.substr(56, 9)) * (line[65] == 'U' ? 100 : 1);
    const long long quantity = WholeNumber(line.substr(67, 4));
    if (!designation.empty() && articles.design >= 0)
      (void)articles.table.Assign(articles.design, designation);
    if (articles.price >= 0) (void)articles.table.Assign(articles.price, PriceText(price));
    if (quantity > 0 && articles.quantity >= 0)
      (void)articles.table.Assign(articles.quantity, std::to_string(quantity));
  }
  return articles.table.Flush();
}
