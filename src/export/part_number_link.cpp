#include "export/part_number_link.h"

#include "app/article_table.h"
#include "app/external_process.h"
#include "app/message_text.h"
#include "app/profile.h"
#include "app/tmp_file.h"
#include "platform/code_page.h"
#include "platform/number_text.h"
#include "platform/dbf_table.h"
#include "platform/text_conversions.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unordered_set>

namespace {

constexpr int kMsgCatalogueText = 31525;
constexpr int kMsgSubstitute = 30111;
constexpr int kMsgPriceNotNumber = 30112;
constexpr std::size_t kToolFieldSeparators = 4;

std::string TrimRight(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

int DesignColumnOf(std::string text) {
  text = TrimRight(text);
  if (text == "UK" || text == "2") return 2;
  if (text == "OPTION" || text == "3") return 3;
  return 1;
}

std::string Trim(std::string text) {
  text.erase(0, std::min(text.size(), text.find_first_not_of(' ')));
  return TrimRight(std::move(text));
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

// The key sought once more when the reference itself is not an article: cut before a '_'
// after the first character, "QJ0..PB" stems followed by "---", then every "SP" taken out
// (a substitute). Nothing when none of these changes the key.
std::optional<std::string> SecondKey(std::string key, bool& substitute) {
  const std::string original = key;
  const std::size_t underscore = key.find('_', 1);
  if (underscore != std::string::npos) key.resize(underscore);
  if (key.starts_with("QJ0") && key.size() >= 7 && key.compare(5, 2, "PB") == 0)
    key = key.substr(0, 8) + "---";
  for (std::size_t at = key.find("SP"); at != std::string::npos; at = key.find("SP", at)) {
    key.erase(at, 2);
    substitute = true;
  }
  if (key == original) return std::nullopt;
  return key;
}

// The whole number of a field, "0" (or the fallback) when it is empty.
std::string IntegerField(const tvr::platform::CDbfTable& table, int field,
                         std::string_view fallback) {
  if (field < 0) return std::string(fallback);
  const std::string text = Trim(table.FieldRawText(field));
  if (text.empty()) return std::string(fallback);
  return std::to_string(TextToInt(text));
}

class CArticleReader {
 public:
  CArticleReader(tvr::platform::CDbfTable& table, const CPartNumberSettings& settings)
      : m_table(table) {
    m_reference = table.FieldIndex("REFERENCE");
    m_time = table.FieldIndex("TEMPS");
    m_weight = table.FieldIndex("MASSE");
    m_packing = table.FieldIndex("QTE_INDIV");
    m_eNumber = table.FieldIndex("REF2");
    m_local = table.FieldIndex("LOCAL");
    m_price = table.FieldIndex("PRIX_" + std::to_string(settings.priceList));
    m_firstPrice = table.FieldIndex("PRIX_1");
    m_design = table.FieldIndex("DESIGN_" + std::to_string(settings.designColumn));
    m_family = table.FieldIndex("TC");
  }

  // The article line of the record under the cursor.
  std::string Line(const std::string& key, bool substitute, std::vector<std::string>& problems) {
    std::string design = m_design >= 0 ? TrimRight(m_table.FieldText(m_design)) : std::string();
    if (design.empty()) design = " ";
    if (substitute) design += " " + StringText(kMsgSubstitute);
    const std::string priceText = m_price >= 0 ? Trim(m_table.FieldRawText(m_price)) : "";
    const std::string price = substitute ? std::string("0") : CostText(priceText);
    if (price.empty())
      problems.push_back(FormatMessageTextSS(StringText(kMsgPriceNotNumber), key, priceText));
    const std::string packing = IntegerField(m_table, m_packing, "1");
    const std::string time = IntegerField(m_table, m_time, "0");
    const std::string weight = IntegerField(m_table, m_weight, "0");
    std::string eNumber = m_eNumber >= 0 ? TrimRight(m_table.FieldText(m_eNumber)) : "";
    if (eNumber.empty()) eNumber = " ";
    const int discount = FamilyDiscount();
    const std::vector<std::string> fields = {
        key, "1", design, price,  "1", packing, std::to_string(discount),
        "0", "0", time,   "0",    "0", "0",     "0",
        "0", "0", weight, eNumber};
    std::string line;
    for (const std::string& field : fields) line += field + '\t';
    return line;
  }

 private:
  // The cost in the unit the bill counts; empty when the price is not a number. Tables
  // with decimal price fields keep currency units, read as ten-thousandths of the
  // currency, as the older tables' whole fields of hundredths were.
  std::string CostText(const std::string& priceText) const {
    const std::optional<int> hundredths = PriceInHundredths(priceText);
    if (!hundredths) return {};
    long long cost = *hundredths;
    if (m_price >= 0 && m_table.Field(m_price).decimals > 0) cost *= 100;
    return std::to_string(cost);
  }

  // 10000 less the kept part of the family's discount record, in hundredths; 0 without.
  int FamilyDiscount() {
    if (m_family < 0 || m_local < 0 || m_firstPrice < 0) return 0;
    const std::string family = TrimRight(m_table.FieldText(m_family));
    if (family.empty()) return 0;
    const std::uint32_t back = m_table.RecNo();
    int discount = 0;
    if (SeekArticle(m_table, family)) {
      const std::string local = TrimRight(m_table.FieldText(m_local));
      const std::string kept = Trim(m_table.FieldRawText(m_firstPrice));
      if ((local == "3" || local == "8") && !kept.empty())
        discount = 10000 - PriceInHundredths(kept).value_or(10000);
    }
    m_table.GoTo(back);
    return discount;
  }

  tvr::platform::CDbfTable& m_table;
  int m_reference, m_time, m_weight, m_packing, m_eNumber, m_local, m_price, m_firstPrice, m_design,
      m_family;
};

}  // namespace

CPartNumberSettings ReadPartNumberSettings(const CProfile& profile, std::string articleFolder) {
  CPartNumberSettings settings;
  const std::string current = profile.ReadProfileText("Database", "CurrentCat", "0");
  settings.catalogueText = StringText(kMsgCatalogueText) + "-" + current;
  settings.toolProgram = profile.ReadProfileText("Database", "PARTNUM", "PARTNUM.EXE");
  settings.toolFolder = ToolFolderOf(settings.toolProgram);
  settings.zfl21Allowed = !TrimRight(profile.ReadProfileText("Database", "ZFL21", "")).empty();
  settings.priceList = TextToInt(profile.ReadProfileText("Database", "CurrentCat", "1"));
  if (settings.priceList < 1) settings.priceList = 1;
  settings.designColumn = DesignColumnOf(profile.ReadProfileText("Database", "LANG_DESIGN", "1"));
  settings.articleFolder = std::move(articleFolder);
  return settings;
}

std::string ToolFolderOf(std::string_view program) {
  const std::size_t slash = program.rfind('/');
  if (slash == std::string_view::npos) return {};
  if (slash == 0) return "/";
  return std::string(program.substr(0, slash));
}

std::optional<int> PriceInHundredths(std::string_view price) {
  bool number = true;
  const std::int32_t value = FixedPointHundredths(price, &number);
  if (!number) return std::nullopt;
  return value;
}

namespace {

// The tool writes 8-bit text in the ANSI code page: its references and designations
// enter the document as UTF-8. A control byte or a byte with no character makes the
// line something other than text, and it is not taken.
std::optional<std::string> ToolLineText(std::string_view line) {
  const bool control = std::any_of(line.begin(), line.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7F;
  });
  if (control) return std::nullopt;
  bool lossy = false;
  std::string text = tvr::platform::ToUtf8(line, tvr::platform::CodePage::Cp1252, &lossy);
  if (lossy) return std::nullopt;
  return text;
}

}  // namespace

std::vector<std::string> ParseToolAnswer(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string line(bytes.substr(start, end - start));
    start = bytes.find_first_not_of("\r\n", end);
    if (start == std::string_view::npos) start = bytes.size();
    std::size_t separators = 0;
    for (char& c : line) {
      if (c == ';') {
        c = '\t';
        ++separators;
      }
    }
    if (separators != kToolFieldSeparators || !line.starts_with('$')) continue;
    if (std::optional<std::string> text = ToolLineText(line)) lines.push_back(std::move(*text));
  }
  return lines;
}

bool CPartNumberLink::Init(CPartNumberSettings settings) {
  m_settings = std::move(settings);
  return true;
}

bool CPartNumberLink::RunPartNumberTool(const std::string& programName,
                                        const std::string& tempFolder, CWaitObserver& observer) {
  CTmpFile answer(tempFolder);
  const std::vector<std::string> arguments = {m_settings.catalogueText, "PARTNUM", programName,
                                              answer.GetFilePath()};
  const int result =
      WaitWithMessages(m_settings.toolProgram, arguments, m_settings.toolFolder, observer);
  if (result != 0) return false;
  std::ifstream in(answer.GetFilePath(), std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  m_lines.clear();
  for (std::string& line : ParseToolAnswer(bytes)) m_lines.push_back(std::move(line));
  return true;
}

bool CPartNumberLink::WriteArticleList(const std::vector<std::string>& references) {
  tvr::platform::CDbfTable table;
  std::string error;
  m_lines.clear();
  if (!OpenArticleTable(table, m_settings.articleFolder, tvr::platform::CDbfTable::Mode::ReadOnly,
                        &error)) {
    m_problems.push_back(error);
    return false;
  }
  CArticleReader reader(table, m_settings);
  for (auto reference = references.rbegin(); reference != references.rend(); ++reference) {
    std::string key = Upper(*reference);
    bool substitute = false;
    if (!SeekArticle(table, key)) {
      std::optional<std::string> second = SecondKey(key, substitute);
      if (!second || !SeekArticle(table, *second)) continue;
      key = *second;
    }
    if (key.find("ZFL21") != std::string::npos && !m_settings.zfl21Allowed) continue;
    m_lines.push_back(reader.Line(key, substitute, m_problems));
  }
  return true;
}

std::optional<std::string> CPartNumberLink::TakeNextLine() {
  if (m_lines.empty()) return std::nullopt;
  std::string line = std::move(m_lines.front());
  m_lines.pop_front();
  return line;
}
