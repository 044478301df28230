#include "app/user_article_import.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <unordered_map>
#include <vector>

#include "app/article_table.h"
#include "platform/code_page.h"
#include "platform/dbf_table.h"
#include "platform/text_encoding.h"

using tvr::platform::CDbfTable;

namespace {

constexpr std::size_t kFixedLineLength = 105;
constexpr std::size_t kFixedBlanks[] = {55, 77, 78, 97, 98};

struct CFileLines {
  std::vector<std::string> lines;
  bool notText = false;  // 8-bit text with a NUL: no line of it is taken
};

// The file's lines as UTF-8, line ends removed: UTF-16LE after its byte-order mark,
// UTF-8 when the bytes are valid UTF-8 (an editor of today writes that), otherwise 8-bit
// text of the ANSI code page. Nothing when the file cannot be read.
std::optional<CFileLines> ReadLines(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(file)), {});
  std::string text;
  CFileLines result;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::u16string units;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
      units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            static_cast<unsigned char>(bytes[i + 1]) << 8));
    const std::optional<std::string> decoded = tvr::platform::Utf16ToUtf8(units);
    result.notText = !decoded || decoded->find('\0') != std::string::npos;
    text = decoded.value_or(std::string());
  } else {
    result.notText = bytes.find('\0') != std::string::npos;
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
    text = tvr::platform::IsValidUtf8(bytes) ? bytes : tvr::platform::FromAnsi(bytes);
  }
  if (result.notText) return result;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    result.lines.push_back(std::move(line));
    start = end + 1;
  }
  return result;
}

// A line of a fixed-width file in the file's own characters: its width and columns count
// characters as the file holds them (one byte each in an 8-bit code page), never the
// bytes of their UTF-8 form, so that an accented designation keeps the columns after it.
class CFixedLine {
 public:
  explicit CFixedLine(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();)
      m_chars.push_back(
          tvr::platform::DecodeUtf8(text, pos).value_or(tvr::platform::kReplacementCharacter));
  }
  std::size_t Size() const { return m_chars.size(); }
  bool Is(std::size_t at, char32_t c) const { return at < m_chars.size() && m_chars[at] == c; }
  bool StartsWith(std::u32string_view prefix) const {
    return std::u32string_view(m_chars).starts_with(prefix);
  }
  // The UTF-8 text of count characters from the one at from (fewer at the line's end).
  std::string Text(std::size_t from, std::size_t count) const {
    std::string text;
    for (std::size_t i = from; i < m_chars.size() && i - from < count; ++i)
      tvr::platform::AppendUtf8(text, m_chars[i]);
    return text;
  }

 private:
  std::u32string m_chars;
};

void Refuse(CRefusedArticleLines* refused, std::size_t index, EArticleRefusal why) {
  if (refused) refused->push_back({static_cast<int>(index + 1), why});
}

bool IsBlankOrDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    return c == ' ' || std::isdigit(static_cast<unsigned char>(c));
  });
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
  // A reference found through REF2 is compared as text, never put into a query, so any
  // character of the user's file is safe.
  bool Find(const std::string& key) {
    if (SeekArticle(table, key)) return true;
    if (ref2 < 0) return false;
    if (!m_ref2Built) BuildRef2Index();
    const auto found = m_byRef2.find(key);
    return found != m_byRef2.end() && table.GoTo(found->second);
  }

  std::unordered_map<std::string, std::uint32_t> m_byRef2;
  bool m_ref2Built = false;

  void BuildRef2Index() {
    m_ref2Built = true;
    for (std::uint32_t recno = 1; recno <= table.RecordCount(); ++recno) {
      if (!table.GoTo(recno) || table.IsDeleted()) continue;
      const std::string text = table.FieldText(ref2);
      if (!text.empty()) m_byRef2.emplace(text, recno);  // the first record keeps it
    }
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
  const std::optional<CFileLines> read = ReadLines(path);
  if (!read) return EUserArticleFile::kUnreadable;
  if (read->lines.empty()) return EUserArticleFile::kDelimited;
  const CFixedLine first(read->lines[0]);
  if (first.Size() == kFixedLineLength &&
      std::all_of(std::begin(kFixedBlanks), std::end(kFixedBlanks),
                  [&first](std::size_t at) { return first.Is(at, U' '); }))
    return EUserArticleFile::kFixedWidth;
  return EUserArticleFile::kDelimited;
}

namespace {

// A table that opens, has its key field and can be indexed.
bool IsUsableArticleTable(const std::string& path) {
  CDbfTable table;
  if (!table.Open(path, CDbfTable::Mode::ReadOnly)) return false;
  return table.FieldIndex(kArticleKeyField) >= 0 &&
         table.AddTag(std::string(kArticleTagName), kArticleKeyField);
}

std::string BackupPath(const std::string& table) { return table + ".bak"; }

bool CopyOver(const std::string& from, const std::string& to) {
  std::error_code error;
  const std::string fresh = to + ".new";
  std::filesystem::copy_file(from, fresh, std::filesystem::copy_options::overwrite_existing, error);
  if (!error) std::filesystem::rename(fresh, to, error);
  if (error) std::filesystem::remove(fresh, error);
  return !error;
}

}  // namespace

bool ReplaceUserArticleTable(const CUserArticleImport& import, const std::string& path) {
  const std::string target = ArticleTablePath(import.articleFolder);
  const std::string fresh = target + ".new";
  std::error_code error;
  std::filesystem::copy_file(path, fresh, std::filesystem::copy_options::overwrite_existing, error);
  // A damaged file taking the live table's place would stop the next start.
  if (!error && !IsUsableArticleTable(fresh)) error = std::make_error_code(std::errc::io_error);
  if (!error && std::filesystem::exists(target))
    std::filesystem::copy_file(target, BackupPath(target),
                               std::filesystem::copy_options::overwrite_existing, error);
  if (!error) std::filesystem::rename(fresh, target, error);
  if (!error) return std::filesystem::exists(target);
  std::filesystem::remove(fresh, error);
  return false;
}

namespace {

// Why a delimited line cannot be taken whole, checked before anything of it is written;
// on success the table's cursor is on the line's article.
std::optional<EArticleRefusal> DelimitedRefusal(CArticleFields& articles,
                                                const std::string& reference,
                                                const std::string& designation,
                                                const std::string& priceText, long long price,
                                                const std::string& tcText) {
  if (price > kMaxUserPriceHundredths || (price < 0 && IsPriceText(priceText)))
    return EArticleRefusal::kPriceTooLarge;
  if (price < 0 && !priceText.empty()) return EArticleRefusal::kBadPrice;
  if (!articles.Find(reference)) return EArticleRefusal::kUnknownReference;
  const bool tcTaken = articles.tc >= 0 && !articles.IsLocal() && !tcText.empty();
  if (!articles.table.CanHoldText(designation) || (tcTaken && !articles.table.CanHoldText(tcText)))
    return EArticleRefusal::kNotInCodePage;
  return std::nullopt;
}

}  // namespace

bool ImportUserArticles(const CUserArticleImport& import, const std::string& path,
                        CRefusedArticleLines* refused) {
  const std::optional<CFileLines> read = ReadLines(path);
  CArticleFields articles;
  if (!read || !articles.Open(import)) return false;
  if (read->notText) {
    if (refused) refused->push_back({0, EArticleRefusal::kNotText});
    return false;
  }
  const std::string separators = std::string(";\t@") + import.separators;
  bool written = false;
  for (std::size_t index = 0; index < read->lines.size(); ++index) {
    const std::string& line = read->lines[index];
    if (line.find_first_not_of(' ') == std::string::npos) continue;
    const std::vector<std::string> fields = SplitFields(line, separators);
    if (fields.size() < 2 || fields[0].empty()) {
      Refuse(refused, index, EArticleRefusal::kNoReference);
      continue;
    }
    std::size_t next = 1;
    std::string designation;
    if (!IsPriceText(fields[next])) designation = fields[next++];
    const std::string priceText = next < fields.size() ? fields[next++] : std::string();
    const std::string tcText = next < fields.size() ? fields[next] : std::string();
    const long long price = UserPriceHundredths(priceText);
    const std::optional<EArticleRefusal> why =
        DelimitedRefusal(articles, fields[0], designation, priceText, price, tcText);
    if (why) {
      Refuse(refused, index, *why);
      continue;
    }
    const bool local = articles.IsLocal();
    bool changed = false, refusedValue = false;
    auto assign = [&](int field, const std::string& text) {
      const bool taken = articles.table.Assign(field, text) != CDbfTable::kAssignRefused;
      changed |= taken;
      refusedValue |= !taken;
    };
    if (!designation.empty() && articles.design >= 0) assign(articles.design, designation);
    const int priceField = local ? articles.firstPrice : articles.price;
    if (price >= 0 && priceField >= 0) assign(priceField, PriceText(price));
    if (articles.tc >= 0 && !local && !tcText.empty()) assign(articles.tc, tcText);
    if (refusedValue) Refuse(refused, index, EArticleRefusal::kNotWritten);
    written |= changed;
  }
  return articles.table.Flush() && written;
}

namespace {

// The refusal of a fixed-width record, if any, before its article is looked up.
long long FixedPriceHundredths(const CFixedLine& line) {
  return WholeNumber(line.Text(56, 9)) * (line.Is(65, U'U') ? 100 : 1);
}

std::optional<EArticleRefusal> FixedWidthRefusal(const CFixedLine& line) {
  if (line.Size() != kFixedLineLength) return EArticleRefusal::kBadWidth;
  if (!IsBlankOrDigits(line.Text(56, 9))) return EArticleRefusal::kBadPrice;
  if (!IsBlankOrDigits(line.Text(67, 4))) return EArticleRefusal::kBadQuantity;
  // Nine digits of whole units are 11 digits of hundredths: computed in 64 bits and
  // held to what the costing's 32-bit prices take.
  if (FixedPriceHundredths(line) > kMaxUserPriceHundredths) return EArticleRefusal::kPriceTooLarge;
  return std::nullopt;
}

}  // namespace

bool ImportFixedWidthArticles(const CUserArticleImport& import, const std::string& path,
                              CRefusedArticleLines* refused) {
  const std::optional<CFileLines> read = ReadLines(path);
  CArticleFields articles;
  if (!read || !articles.Open(import)) return false;
  if (read->notText) {
    if (refused) refused->push_back({0, EArticleRefusal::kNotText});
    return false;
  }
  for (std::size_t index = 0; index < read->lines.size(); ++index) {
    const CFixedLine line(read->lines[index]);
    if (!line.StartsWith(U"TEQ")) continue;
    if (const std::optional<EArticleRefusal> why = FixedWidthRefusal(line)) {
      Refuse(refused, index, *why);
      continue;
    }
    if (!articles.Find(TrimRight(line.Text(2, 15)))) continue;
    const std::string designation = TrimRight(line.Text(23, 32));
    const long long price = FixedPriceHundredths(line);
    const long long quantity = WholeNumber(line.Text(67, 4));
    bool refusedValue = false;
    auto assign = [&](int field, const std::string& text) {
      refusedValue |= articles.table.Assign(field, text) == CDbfTable::kAssignRefused;
    };
    if (!designation.empty() && articles.design >= 0) assign(articles.design, designation);
    if (articles.price >= 0) assign(articles.price, PriceText(price));
    if (quantity > 0 && articles.quantity >= 0) assign(articles.quantity, std::to_string(quantity));
    if (refusedValue) Refuse(refused, index, EArticleRefusal::kNotWritten);
  }
  return articles.table.Flush();
}

int CreateUserArticleIndex(const std::string& articleFolder, std::string* error) {
  CDbfTable table;
  return OpenArticleTable(table, articleFolder, CDbfTable::Mode::ReadOnly, error) ? 0 : -1;
}

namespace {

constexpr int kMsgCannotOpen = 61697;
constexpr int kMsgNothingImported = 61728;
constexpr int kMsgImported = 32227;

// Runs an import that changes the table in place; the table is put back as it was when
// the import fails or leaves a table that cannot be indexed.
bool ImportInPlace(const CUserArticleImport& import, const std::string& path, bool fixedWidth,
                   CUserArticleImportOutcome& outcome) {
  const std::string table = ArticleTablePath(import.articleFolder);
  const std::string backup = BackupPath(table);
  if (!CopyOver(table, backup)) return false;
  const bool changed = fixedWidth ? ImportFixedWidthArticles(import, path, &outcome.refused)
                                  : ImportUserArticles(import, path, &outcome.refused);
  if (changed && CreateUserArticleIndex(import.articleFolder, &outcome.indexError) == 0)
    return true;
  CopyOver(backup, table);
  return false;
}

}  // namespace

CUserArticleImportOutcome RunUserArticleImport(const CUserArticleImport& import,
                                               const std::string& path) {
  CUserArticleImportOutcome outcome;
  switch (UserArticleFileKind(path)) {
    case EUserArticleFile::kReplacementTable:
      outcome.changed = ReplaceUserArticleTable(import, path);
      if (outcome.changed &&
          CreateUserArticleIndex(import.articleFolder, &outcome.indexError) != 0) {
        const std::string table = ArticleTablePath(import.articleFolder);
        CopyOver(BackupPath(table), table);
        outcome.changed = false;
      }
      break;
    case EUserArticleFile::kFixedWidth:
      outcome.changed = ImportInPlace(import, path, true, outcome);
      break;
    case EUserArticleFile::kDelimited:
      outcome.changed = ImportInPlace(import, path, false, outcome);
      break;
    case EUserArticleFile::kUnreadable: outcome.message = kMsgCannotOpen; return outcome;
  }
  outcome.message = outcome.changed ? kMsgImported : kMsgNothingImported;
  return outcome;
}
