#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "linear/price_vector.h"

// The article table ARTICLE.DBU as the linear costing reads it: loaded whole once per
// computation and looked up by reference in a hash index.
//
// Prices are kept in hundredths of the currency unit, the money unit of the linear
// formulas (their column formulas divide by 100): a price field with decimals is read
// with its decimals (337.92 gives 33792), a field without decimals as the whole number
// it holds, so tables that keep prices in hundredths read as they always did.
class CLinearArticles {
 public:
  struct Article {
    std::array<double, kPriceListCount15> prices{};
    // The prices written with two decimals read as whole numbers, as a base article's
    // rates are read ("80.00" gives 8000, "80" too).
    std::array<double, kPriceListCount15> hundredths{};
    std::int32_t time = 0;
    std::int32_t weight = 0;
    char local = ' ';
    std::string tc;
  };

  // What ReadArticlePrices gives.
  struct Prices {
    std::array<double, kPriceListCount15> prices{};
    std::int32_t time = 0;
    std::int32_t weight = 0;
    bool found = false;
  };

  // Loads the table of the article folder (its file in any letter case). False with
  // Error() set when it is missing, damaged or lacks REFERENCE.
  bool Load(const std::string& articleFolder);
  const std::string& Error() const { return m_error; }
  bool HasTcField() const { return m_hasTc; }
  // The first price whose text is no number ("reference PRIX_n "text""), priced 0; empty
  // when every price reads.
  const std::string& BadPrice() const { return m_badPrice; }

  // The article whose REFERENCE is exactly this text (trailing blanks ignored); the first
  // such row of the table. Null when there is none.
  const Article* Find(std::string_view reference) const;

  // The prices of lists 1..4 and of the current list (0..14), time and weight of one
  // reference; the other lists read 0. With useTc, an article whose TC names a base
  // article of locality 3 or 8 has each of those prices multiplied by the base's price of
  // the same list (in hundredths) times 0.0001.
  Prices ReadArticlePrices(std::string_view reference, int currentList, bool useTc) const;

  // DESIGN_1 and DESIGN_2 of the row "PRICE_LIST_n", trimmed; empty when missing.
  std::string ListTitle(int n) const;
  std::string ListCurrency(int n) const;

 private:
  std::vector<Article> m_articles;
  std::unordered_map<std::string, std::size_t> m_index;
  std::unordered_map<int, std::pair<std::string, std::string>> m_titles;
  std::string m_error;
  std::string m_badPrice;
  bool m_hasTc = false;
};
