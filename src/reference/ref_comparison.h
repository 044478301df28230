#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "linear/linear_notifier.h"

class CProfile;
class CRefArticles;
struct CRefCatalogueSetup;

// The figures of a reference line that the comparison formulas read.
struct CRefCompFigures {
  int length = 0;   // metres, at most 9999
  int tapOffs = 0;  // at most 9999
  int lamps = 0;
  int tes = 0;
  int lampFix = 1;  // 1 or 2; 0 for the luminaire family QFP
  int multiplier = 1;
  int stepCm = 0;  // the line's fixing spacing in centimetres
};

// What the configurator hands to the comparison of a line.
struct CRefCompInput {
  std::string productCode;    // e.g. "QYA", or "QFP1x" for a luminaire line
  std::string conductorText;  // "3L+N+PE", "L+N+PE" or the special mode's text
  CRefCompFigures figures;
  int priceList = 0;  // 0-based: the price field is PRIX_n with n = priceList + 1
  std::string priceListName;
  std::string priceListCaption;
  double coefficient = 1.0;
  std::int64_t labourRate = 0;  // hundredths
};

// One record of REF_COMP.DBF; prod as stored (blank-padded), the others trimmed.
struct CRefCompRow {
  std::string prod, solution, param, lib, qte, typ, val;
};

// A quantity formula evaluated. group is 0, or 100 when [TapOff] decided it, 200 when
// [Lamp] or [Te] did; step is [Step]'s value in metres when the formula used it.
struct CRefCompQuantity {
  bool valid = false;
  double value = 0;
  bool keepHundredths = false;  // the formula ends in "=%"
  int group = 0;
  double step = 0;
};

// The formula grammar: operators + - * / =, tokens trimmed with ',' read as '.', left to
// right with an accumulator and a current term. Invalid for a token that is neither a
// whole number nor a known variable, an empty token (except a leading sign), or a
// result beyond a billion.
CRefCompQuantity EvaluateCompQuantity(std::string_view formula, const CRefCompFigures& figures);
// The quantity in hundredths: 0 when negative, rounded to whole units or hundredths,
// times the multiplier.
std::int64_t CompQuantityHundredths(const CRefCompQuantity& quantity, int multiplier);

// The VAL text of a record for item n.
struct CRefCompValue {
  enum Kind { kUserPrice, kStep, kOtherItem, kArticle };
  bool valid = false;
  Kind kind = kUserPrice;
  double step = 0;        // kStep: metres
  int item = 0;           // kOtherItem: 1..40, not n
  std::string reference;  // kArticle
  int divisor = 0;        // kArticle: 0 = none
};
CRefCompValue ParseCompValue(std::string_view value, int item);

// The amounts of one entry in 64-bit integers: quantity q in hundredths, unit price p in
// ten-thousandths, unit time t and labour rate in hundredths.
std::int64_t CompTimeAmount(std::int64_t time, std::int64_t quantity);
std::int64_t CompLabourAmount(std::int64_t time, std::int64_t quantity, std::int64_t rate);
std::int64_t CompMaterialAmount(std::int64_t price, std::int64_t quantity);

// The stored form of an item under [Comp] "IT%02d": "%d,%02d;%d" (price in hundredths
// as whole and cents, then the time), and the reading of it back ("12,5;30" gives 1250
// and 30, "12;30" 1200 and 30; no ';' or one at the end gives the time 0).
std::string CompItemKey(int item);  // "IT%02d"
std::string CompItemText(std::int64_t price, std::int64_t time);
void ReadCompItemText(std::string_view text, std::int64_t& price, std::int64_t& time);

// Up to ten alternative installations of a line's product, each a list of up to twelve
// complementary items with quantities worked out from the line's figures, read from the
// comparison table REF_COMP.DBF; their time, labour and material totals.
class CRefComparison {
 public:
  static constexpr int kItemCount = 40;
  static constexpr int kSolutionCount = 10;
  static constexpr int kSolutionItems = 12;
  // Item states: not in the table, listed with a user price, used by a solution.
  static constexpr int kStateAbsent = 0, kStateListed = 1, kStateUsed = 2;

  struct Item {
    std::int64_t price = 0;  // ten-thousandths
    std::int64_t time = 0;   // hundredths
    std::string unit;
    int state = kStateAbsent;
  };
  // The item code holds the priced item in its low 16 bits and the group in its high
  // 16 bits: the record's item n, plus 100 for a tap-off item, plus 200 for a lamp item.
  struct Entry {
    std::uint32_t code = 0;
    std::int64_t quantity = 0;  // hundredths
    int PricedItem() const { return static_cast<int>(code & 0xFFFF); }
    int Group() const { return static_cast<int>(code >> 16); }
    // The item whose label the row shows.
    int LabelItem() const { return Group() % 100; }
  };
  struct Solution {
    std::vector<Entry> entries;
    std::int64_t time = 0, labour = 0, material = 0;  // hundredths
    double step = 0;                                  // metres; 0 = none
    std::int64_t Sum() const { return labour + material; }
  };

  // Items and solutions are numbered from 1; index 0 stays empty (the reference
  // solution of a table without solutions).
  std::array<Item, kItemCount + 1> items{};
  std::array<Solution, kSolutionCount + 1> solutions{};
  int reference = -1;
  int cableItem = -1;
  // The price list's name and currency as the article table gives them.
  std::string listName, listCurrency;

  // Reads ARTICLE.DBU and REF_COMP.DBF and builds the solutions (ReadRows, then Build);
  // false with the fault told to the notifier when a table cannot be read.
  bool CostComparisonSolutions(const CRefCatalogueSetup& setup, const CRefCompInput& input,
                               CLinearNotifier* notifier);
  // The records of REF_COMP.DBF in table order; false with error set when unreadable.
  static bool ReadRows(const std::string& catalogueFolder, std::vector<CRefCompRow>& rows,
                       std::string& error);
  // Walks the records for the input's product. Records whose quantity or value text
  // cannot be read are left out and counted; one message tells how many.
  void Build(const std::vector<CRefCompRow>& rows, const CRefArticles* articles,
             const CRefCompInput& input, CLinearReport& report);
  // The solutions that have items, by number: the entries of the solution list.
  std::vector<int> SolutionsWithItems() const;
  // The time, labour and material totals of every solution at the labour rate.
  void ComputeTotals(std::int64_t labourRate);

  // [Comp] "IT%02d" of every item whose state is not 0.
  void LoadItems(const CProfile& profile);
  [[nodiscard]] bool SaveItems(CProfile& profile) const;
  // Marks every item listed, loads all 40, and clears the states again: the opening.
  void LoadAllItems(const CProfile& profile);

 private:
  bool AddRecord(const CRefCompRow& row, const CRefArticles* articles, const CRefCompInput& input);
  void AddToSolutions(std::string_view solutionText, Entry entry, double step);
};

// Whether a record's PROD applies to the product code.
bool CompProductMatches(std::string_view prod, std::string_view productCode);

class CRefLine;

// The comparison's view of a line being edited, from its record and the length and
// count typed on the line page (each held to 9999): the product code (a QFP line adds
// its luminaire number and an "x" for connection 7), the conductor text and the
// figures. Lines with sections count tap-offs, lamps and Te pieces from them; other
// lines count one tap-off and one lamp per unit of their count.
std::string RefCompProductCode(const CRefLine& line);
std::string RefCompConductorText(const CRefLine& line, int specialMode);
CRefCompFigures RefCompFiguresOf(const CRefLine& line, int length, int count);
// Whether validating the line offers the comparison first: a QYA line of 25 A or a QFP
// line, on the first connection (special mode 2: the first three).
bool RefCompOffered(const CRefLine& line, int connectionIndex, int specialMode);
