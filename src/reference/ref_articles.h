#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The article table ARTICLE.DBU as costing by reference reads it: loaded whole for one
// computation (the price list and designation column chosen at loading) and looked up
// by reference through a hash index.
class CRefArticles {
 public:
  struct Article {
    std::int32_t price1 = 0;        // PRIX_1 as a fixed-point number with two decimals
    std::int32_t price = 0;         // PRIX_n of the chosen list, the same unit
    std::string designation;        // DESIGN_n of the chosen column
    std::int32_t labour = 0;        // TEMPS
    std::int32_t mass = 0;          // MASSE
    std::int32_t packQuantity = 0;  // QTE_INDIV
    char local = ' ';
    std::string ref2;
    std::string tc;
    bool priceIsNumber = true;  // false when PRIX_n holds text that is not a number
  };

  // Loads the table of the article folder (its file in any letter case). priceList is
  // 0..14, designColumn 1..3. False with Error() set when it cannot be read.
  bool Load(const std::string& articleFolder, int priceList, int designColumn);
  const std::string& Error() const { return m_error; }
  bool HasTcField() const { return m_hasTc; }

  // The article whose REFERENCE is exactly this text (trailing blanks ignored).
  const Article* Find(std::string_view reference) const;

  // DESIGN_1 and DESIGN_2 of the row "PRICE_LIST_n" (n = 1..15); empty when missing.
  std::string ListName(int n) const;
  std::string ListCurrency(int n) const;

 private:
  std::vector<Article> m_articles;
  std::unordered_map<std::string, std::size_t> m_index;
  std::unordered_map<int, std::pair<std::string, std::string>> m_lists;
  std::string m_error;
  bool m_hasTc = false;
};
