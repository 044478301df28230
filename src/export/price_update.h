#pragma once

#include <string>
#include <vector>

class CDorneDoc;
class CPartNumberLink;

// The price base the prices come from: its name (date) and its currency.
struct CPriceBaseNames {
  std::string date;
  std::string money;
};

// What a price update could not do; each line is priced as far as it can be, and the
// user is told once what is missing.
struct CPriceUpdateReport {
  bool tableOpened = true;
  std::vector<std::string> missing;   // articles not found, named whole (MissingArticleName)
  std::vector<std::string> formulas;  // formulas naming a word that is neither article nor number
  std::vector<std::string> problems;  // what the link could not read
  // Drawn elements that their run's build found no catalogue part for, and so are in no
  // bill line: "A.1 Élément droit l=2992" (run, element index, its text and length).
  std::vector<std::string> unbuilt;
  bool Clean() const {
    return tableOpened && missing.empty() && formulas.empty() && problems.empty() &&
           unbuilt.empty();
  }
};

// Prices every run of the document from the article table through the link: the
// alternatives of the cost comparison made, runs without built parts rebuilt, every
// bill-of-materials reference priced (designation, costs, discounts, labour, weight),
// weights and totals computed again, the comparison costs collected, and the price
// base's names kept as "BaseDate" and "BaseMoney".
CPriceUpdateReport UpdatePrices(CDorneDoc& document, CPartNumberLink& link,
                                const CPriceBaseNames& base);

// The look-up text of a reference: its NEEDREF (else the reference), trimmed and cut at
// its first blank; QJ0 references of ten or more characters are cut to their stem (nine
// characters for 'A' then A..L at places 6 and 7, eight for "BC" there).
std::string PriceLookupText(std::string_view reference, std::string_view needRef);

// How the user is told of a reference without an article: its NEEDREF (else the
// reference) without its group suffix, trimmed, whole, so that a name of several words
// ("End cover") is not cut; only parameters after a blank ("l=2100", "x=3000") are left
// out.
std::string MissingArticleName(std::string_view reference, std::string_view needRef);

// The discount chain: a factor from 10000, times (10000 - d) / 10000 for each of the
// four discounts (whole numbers, hundredths of a percent), in whole-number arithmetic.
long long DiscountFactor(const std::vector<long long>& discounts);
