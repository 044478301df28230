#include "linear/linear_articles.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "app/article_table.h"
#include "platform/dbf_table.h"

using tvr::platform::CDbfTable;

namespace {

std::string TrimRight(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

struct ArticleFields {
  int reference = -1;
  std::array<int, kPriceListCount15> prices{};
  int time = -1;
  int weight = -1;
  int local = -1;
  int tc = -1;
  int design1 = -1;
  int design2 = -1;

  explicit ArticleFields(const CDbfTable& table) {
    reference = table.FieldIndex("REFERENCE");
    for (int n = 1; n <= kPriceListCount15; ++n)
      prices[n - 1] = table.FieldIndex("PRIX_" + std::to_string(n));
    time = table.FieldIndex("TEMPS");
    weight = table.FieldIndex("MASSE");
    local = table.FieldIndex("LOCAL");
    tc = table.FieldIndex("TC");
    design1 = table.FieldIndex("DESIGN_1");
    design2 = table.FieldIndex("DESIGN_2");
  }
};

// A price field's number. Numeric fields give their value; a character field the number
// its text holds, with a point or a comma. Blank reads 0; a text that is no number gives
// nothing.
std::optional<double> PriceFieldNumber(const CDbfTable& table, int field) {
  const char type = table.Field(field).type;
  if (type == 'N' || type == 'F' || type == 'I') return table.FieldDouble(field).value_or(0.0);
  std::string text = table.FieldText(field);
  if (text.empty()) return 0.0;
  if (std::size_t comma = text.find(','); comma != std::string::npos) text[comma] = '.';
  const char* end = text.data() + text.size();
  double value = 0.0;
  const auto [stop, error] = std::from_chars(text.data() + (text[0] == '+' ? 1 : 0), end, value);
  if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

bool IsWholeNumberField(const CDbfTable& table, int field) {
  const char type = table.Field(field).type;
  return type == 'I' || ((type == 'N' || type == 'F') && table.Field(field).decimals == 0);
}

// A price in hundredths. Numeric fields without decimals already hold hundredths; a
// numeric field with decimals is taken as currency units and read with its decimals
// (337.92 gives 33792), unlike the whole-part reading of other integer fields, so that
// such a table does not lose its cents. A character field holds hundredths like the
// integer fields: its number as written.
double PriceOf(const CDbfTable& table, int field, std::optional<double> number) {
  if (field < 0 || !number || !std::isfinite(*number)) return 0.0;
  if (IsWholeNumberField(table, field)) return table.FieldInt(field);
  const char type = table.Field(field).type;
  return type == 'N' || type == 'F' ? std::round(*number * 100.0) : *number;
}

// A price written with two decimals read as a whole number ("80.00" and "80" give 8000).
double HundredthsOf(std::optional<double> number) {
  return number && std::isfinite(*number) ? std::round(*number * 100.0) : 0.0;
}

bool IsPriceListRow(std::string_view reference, int& n) {
  constexpr std::string_view kPrefix = "PRICE_LIST_";
  if (reference.substr(0, kPrefix.size()) != kPrefix) return false;
  const std::string_view digits = reference.substr(kPrefix.size());
  if (digits.empty() || digits.size() > 2) return false;
  n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  return n >= 1 && n <= kPriceListCount15;
}

}  // namespace

bool CLinearArticles::Load(const std::string& articleFolder) {
  m_articles.clear();
  m_index.clear();
  m_titles.clear();
  m_badPrice.clear();
  CDbfTable table;
  if (!OpenArticleTable(table, articleFolder, CDbfTable::Mode::ReadOnly, &m_error)) return false;
  const ArticleFields fields(table);
  m_hasTc = fields.tc >= 0;
  m_articles.reserve(table.RecordCount());
  m_index.reserve(table.RecordCount());
  table.SelectTag("");
  for (bool more = table.First(); more; more = table.Next()) {
    if (table.IsDeleted()) continue;
    const std::string reference = TrimRight(table.FieldRawText(fields.reference));
    if (reference.empty() || m_index.contains(reference)) continue;
    int list = 0;
    if (IsPriceListRow(reference, list))
      m_titles.emplace(list,
                       std::pair(table.FieldText(fields.design1), table.FieldText(fields.design2)));
    Article article;
    for (int i = 0; i < kPriceListCount15; ++i) {
      if (fields.prices[i] < 0) continue;
      const std::optional<double> number = PriceFieldNumber(table, fields.prices[i]);
      if (!number && m_badPrice.empty())
        m_badPrice = reference + " PRIX_" + std::to_string(i + 1) + " \"" +
                     table.FieldText(fields.prices[i]) + "\"";
      article.prices[i] = PriceOf(table, fields.prices[i], number);
      article.hundredths[i] = HundredthsOf(number);
    }
    article.time = fields.time >= 0 ? table.FieldInt(fields.time) : 0;
    article.weight = fields.weight >= 0 ? table.FieldInt(fields.weight) : 0;
    const std::string local = fields.local >= 0 ? table.FieldText(fields.local) : std::string();
    article.local = local.empty() ? ' ' : local[0];
    if (fields.tc >= 0) article.tc = table.FieldText(fields.tc);
    m_index.emplace(reference, m_articles.size());
    m_articles.push_back(std::move(article));
  }
  m_error.clear();
  return true;
}

const CLinearArticles::Article* CLinearArticles::Find(std::string_view reference) const {
  while (!reference.empty() && reference.back() == ' ') reference.remove_suffix(1);
  if (reference.empty()) return nullptr;
  const auto found = m_index.find(std::string(reference));
  return found == m_index.end() ? nullptr : &m_articles[found->second];
}

CLinearArticles::Prices CLinearArticles::ReadArticlePrices(std::string_view reference,
                                                           int currentList, bool useTc) const {
  Prices result;
  const Article* article = Find(reference);
  if (!article) return result;
  result.found = true;
  result.time = article->time;
  result.weight = article->weight;
  const Article* base = useTc && !article->tc.empty() ? Find(article->tc) : nullptr;
  if (base && base->local != '3' && base->local != '8') base = nullptr;
  for (int i = 0; i < kPriceListCount15; ++i) {
    if (i >= 4 && i != currentList) continue;
    result.prices[i] = article->prices[i];
    if (base) result.prices[i] *= base->hundredths[i] * 0.0001;
  }
  return result;
}

std::string CLinearArticles::ListTitle(int n) const {
  const auto found = m_titles.find(n);
  return found == m_titles.end() ? std::string() : found->second.first;
}

std::string CLinearArticles::ListCurrency(int n) const {
  const auto found = m_titles.find(n);
  return found == m_titles.end() ? std::string() : found->second.second;
}
