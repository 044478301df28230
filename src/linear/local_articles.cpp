#include "linear/local_articles.h"

#include <charconv>
#include <cstdint>

#include "app/article_table.h"
#include "platform/dbf_query.h"

using tvr::platform::CDbfQuery;
using tvr::platform::CDbfTable;

int LocalDesignField(std::string_view langDesign) {
  if (langDesign == "UK" || langDesign == "2") return 2;
  if (langDesign == "OPTION" || langDesign == "3") return 3;
  return 1;
}

double LocalArticleValue(std::string_view priceText) {
  // Two zeros appended and the separator removed with the two digits after it kept:
  // the hundredths of the price as a whole number, whatever decimals the text had.
  std::string text(priceText);
  text += "00";
  std::size_t separator = text.find('.');
  if (separator == std::string::npos) separator = text.find(',');
  if (separator != std::string::npos)
    text = text.substr(0, separator) + text.substr(separator + 1, 2);
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return 0.0;
  std::int64_t hundredths = 0;
  const char* begin = text.data() + first;
  const char* end = text.data() + text.size();
  if (std::from_chars(begin, end, hundredths).ec != std::errc()) return 0.0;
  return static_cast<double>(hundredths) * 0.0001;
}

std::optional<std::vector<CLocalArticle>> ReadLocalArticles(const std::string& articleFolder,
                                                            int designField) {
  CDbfTable table;
  if (!OpenArticleTable(table, articleFolder, CDbfTable::Mode::ReadOnly)) return std::nullopt;
  const int reference = table.FieldIndex(kArticleKeyField);
  const int designation = table.FieldIndex("DESIGN_" + std::to_string(designField));
  const int price = table.FieldIndex("PRIX_1");
  CDbfQuery query(table);
  if (!query.SetQuery("LOCAL = '3' .OR. LOCAL = '8'") || !query.SetSort(kArticleKeyField))
    return std::nullopt;
  std::vector<CLocalArticle> articles;
  for (std::uint32_t recno : query.Select()) {
    if (!table.GoTo(recno) || table.IsDeleted()) continue;
    CLocalArticle article;
    article.reference = table.FieldText(reference);
    if (designation >= 0) article.designation = table.FieldText(designation);
    if (price >= 0) article.value = LocalArticleValue(table.FieldRawText(price));
    articles.push_back(std::move(article));
  }
  return articles;
}
