#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The local articles of the article table (LOCAL '3' or '8': the family discount
// records), which the price settings panel lists instead of the range coefficients
// when the catalogue works with discount families.
struct CLocalArticle {
  std::string reference;
  std::string designation;
  double value = 0.0;  // PRIX_1 / 100, with at most two decimals of the price
};

// The designation field a "LANG_DESIGN" setting names: 2 for "UK" or "2", 3 for
// "OPTION" or "3", 1 for anything else.
int LocalDesignField(std::string_view langDesign);

// PRIX_1 as the panel shows it: the price text cut after two decimals, divided by 100
// ("85.00" gives 0.85, "12.345" 0.1234, "7" 0.07). A text without digits gives 0.
double LocalArticleValue(std::string_view priceText);

// The local articles of the article folder's table in reference order, deleted records
// left out; nothing when the table cannot be opened.
std::optional<std::vector<CLocalArticle>> ReadLocalArticles(const std::string& articleFolder,
                                                            int designField);
