#include "reference/ref_articles.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "app/article_table.h"
#include "platform/dbf_table.h"
#include "platform/number_text.h"

using tvr::platform::CDbfTable;

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

bool IsPriceListRow(std::string_view reference, int& n) {
  constexpr std::string_view kPrefix = "PRICE_LIST_";
  if (reference.substr(0, kPrefix.size()) != kPrefix) return false;
  const std::string_view digits = reference.substr(kPrefix.size());
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  return error == std::errc() && end == digits.data() + digits.size() && n >= 1 && n <= 15;
}

// A price field read as the costing counts it. The sample and current tables keep
// currency units with two decimals in decimal fields, where the older tables kept
// hundredths in whole fields: as in linear costing, a field with decimals is read in
// currency units, so both kinds give ten-thousandths of the currency unit here.
std::int32_t PriceOf(const CDbfTable& table, int field, bool& isNumber) {
  isNumber = true;
  if (field < 0) return 0;
  const std::int64_t hundredths = FixedPointHundredths(table.FieldRawText(field), &isNumber);
  const std::int64_t scaled = table.Field(field).decimals > 0 ? hundredths * 100 : hundredths;
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(scaled, -kMax, kMax));
}

}  // namespace

bool CRefArticles::Load(const std::string& articleFolder, int priceList, int designColumn) {
  m_articles.clear();
  m_index.clear();
  m_lists.clear();
  CDbfTable table;
  if (!OpenArticleTable(table, articleFolder, CDbfTable::Mode::ReadOnly, &m_error)) return false;
  const int reference = table.FieldIndex("REFERENCE");
  const int price1 = table.FieldIndex("PRIX_1");
  const int price = table.FieldIndex("PRIX_" + std::to_string(priceList + 1));
  const int designation = table.FieldIndex("DESIGN_" + std::to_string(designColumn));
  const int design1 = table.FieldIndex("DESIGN_1"), design2 = table.FieldIndex("DESIGN_2");
  const int labour = table.FieldIndex("TEMPS"), mass = table.FieldIndex("MASSE");
  const int pack = table.FieldIndex("QTE_INDIV"), local = table.FieldIndex("LOCAL");
  const int ref2 = table.FieldIndex("REF2"), tc = table.FieldIndex("TC");
  m_hasTc = tc >= 0;
  m_articles.reserve(table.RecordCount());
  m_index.reserve(table.RecordCount());
  table.SelectTag("");
  for (bool more = table.First(); more; more = table.Next()) {
    if (table.IsDeleted()) continue;
    const std::string key(Trim(table.FieldRawText(reference)));
    if (key.empty() || m_index.contains(key)) continue;
    if (int n = 0; IsPriceListRow(key, n))
      m_lists.emplace(n, std::pair(table.FieldText(design1), table.FieldText(design2)));
    Article article;
    if (price1 >= 0) article.price1 = FixedPointHundredths(table.FieldRawText(price1));
    article.price = PriceOf(table, price, article.priceIsNumber);
    article.designation = table.FieldText(designation);
    article.labour = labour >= 0 ? table.FieldInt(labour) : 0;
    article.mass = mass >= 0 ? table.FieldInt(mass) : 0;
    article.packQuantity = pack >= 0 ? table.FieldInt(pack) : 0;
    const std::string localText = local >= 0 ? table.FieldText(local) : std::string();
    article.local = localText.empty() ? ' ' : localText[0];
    if (ref2 >= 0) article.ref2 = table.FieldText(ref2);
    if (tc >= 0) article.tc = table.FieldText(tc);
    m_index.emplace(key, m_articles.size());
    m_articles.push_back(std::move(article));
  }
  m_error.clear();
  return true;
}

const CRefArticles::Article* CRefArticles::Find(std::string_view reference) const {
  reference = Trim(reference);
  if (reference.empty()) return nullptr;
  const auto found = m_index.find(std::string(reference));
  return found == m_index.end() ? nullptr : &m_articles[found->second];
}

std::string CRefArticles::ListName(int n) const {
  const auto found = m_lists.find(n);
  return found == m_lists.end() ? std::string() : found->second.first;
}

std::string CRefArticles::ListCurrency(int n) const {
  const auto found = m_lists.find(n);
  return found == m_lists.end() ? std::string() : found->second.second;
}
