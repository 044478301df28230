#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/bom/bom_line_index.h"

class CBOMGrid;

// One run page as the totals see it: its grid and whether its run is complete (a run
// that is not keeps the total page hidden rather than showing partial totals).
struct CBOMTotalsPage {
  const CBOMGrid* grid = nullptr;
  bool complete = true;
};

// The total page of the bill-of-materials view: the lines of every run page merged by
// reference (groups merged too), and, when asked, the summed values of each merged line.
// The summed values are the total page's own (it has no run): they are kept here, per
// total line, and written into the cells of the columns of their kinds.
class CBOMTotals {
 public:
  // The summed fields, in the order of their rules: the first three are weighted by the
  // quantity, the next three added, the last two take the text of the last run.
  static constexpr std::array<std::string_view, 8> kFields = {
      "PrixU", "CoefVente", "PoidsU", "PrixT", "PrixV", "PoidsT", "Comment", "Designation"};
  static constexpr std::string_view kPackQuantity = "Qte_Indiv";
  static constexpr std::string_view kRunPackQuantity = "HBv2_Single_Qty";

  struct CResult {
    bool allComplete = true;
    bool packaging = false;  // pack rounding was in force (every run complete, option on)
  };

  // Clears the total grid and merges the pages' lines into it; with values, the summed
  // fields too, and with packaging a quantity that is not a whole number of packs is
  // rounded up to one (its total price, sales price and weight then left empty).
  CBOMTotals() { m_keyMaker.SetCutsGroupSuffix(true); }

  CResult Compute(CBOMGrid& total, std::span<const CBOMTotalsPage> pages, bool values,
                  bool packaging);

  // The total page's value of a field for its line row; nothing when not computed.
  std::optional<std::string> GetValue(int row, std::string_view field) const;
  std::int64_t GetPackQuantity(int row) const;

 private:
  struct CLineSums {
    std::array<double, 6> sums{};
    std::array<std::string, 2> texts;
    std::int64_t packQuantity = 0;
    std::array<std::string, 8> shown;
    bool valued = false;
  };

  // A total line before it reaches the grid: the first reference text met, the summed
  // quantity.
  struct CMerged {
    std::string reference;
    std::int64_t quantity = 0;
  };

  void MergePage(const CBOMGrid& page, bool values);
  void AddLineValues(const CBOMGrid& page, int row, std::int64_t quantity, CLineSums& sums) const;
  void FillGrid(CBOMGrid& total, bool values);
  void FinishLine(CBOMGrid& total, int row, bool packaging);
  void WriteCells(CBOMGrid& total, int row) const;

  std::vector<CMerged> m_merged;   // by total row - 1
  std::vector<CLineSums> m_lines;  // by total row
  bool m_valuesShown = false;
  std::unordered_map<std::string, std::size_t> m_keys;  // line key -> index in m_merged
  CBOMLineIndex m_keyMaker;
};
