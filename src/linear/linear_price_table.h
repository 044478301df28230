#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "linear/linear_line.h"
#include "linear/linear_products.h"

class CLinearLineList;

// The price table of one line: one row per priced item, headings between the blocks and
// the total rows, in columns 0 (designation) to 7. FormatDesignation is the one source
// of its cells for the window, the exports and the totals.
class CLinearPriceTable {
 public:
  // Item numbers of rows that price nothing.
  static constexpr int kEmptyRow = -1;
  static constexpr int kHeading = -2;
  static constexpr int kLineTotal = -3;
  static constexpr int kAllTotal = -4;
  static constexpr int kMultipliedTotal = -5;
  static constexpr int kServicesItem = 131;
  // FormatDesignation results that are no value.
  static constexpr int kNoRow = -3;
  static constexpr int kNoValue = -1;
  static constexpr int kCountRows = 10000;

  struct Row {
    int item = kEmptyRow;
    int label = 0;  // message number; 0 for a text built otherwise
  };

  struct Settings {
    double services = 10.0;
    char decimal = '.';
    bool apod = false;
    std::array<bool, kLinearGroupCount> enabled{true, true, true, true};
  };

  // lines may be null (no all-lines total); filter is the FindLine filter of the lines
  // that the all-lines total covers.
  CLinearPriceTable(const CLinearLine& line, const Settings& settings,
                    const CLinearLineList* lines = nullptr, int filter = -999);

  const std::vector<Row>& Rows() const { return m_rows; }

  // The items 0..129 that the line's rows show, each once: what its totals add up.
  static std::array<bool, kLinearSlotCount> ShownItems(const CLinearLine& line);

  // Row 0 is the header, rows 1.. the line's rows; row -1 the line's total, -2 the
  // total over the lines, -3 the line's total times its number of identical lines;
  // row 10000 returns the number of rows. Fills text and returns the cell's value: -3
  // for no such row or column, -1 for a cell without value (a heading, an empty cell).
  // raw asks for money as a plain number.
  int FormatDesignation(int row, int column, std::string& text, bool raw = false) const;

  // Money in groups of three digits separated by blanks ("1 200 000").
  static std::string FormatMoney(std::int64_t value);

 private:
  void BuildRows();
  // An item that is already shown is not shown again: each row that prices adds to the
  // total once.
  void Add(int item, int label);
  void AddUpstream();
  void AddBody();
  void AddDownstream();
  void AddTapOffs();
  std::string LabelText(const Row& row) const;
  std::string BoxLabel(int slot) const;
  std::int64_t ValueOf(int item, int column) const;
  // The number of lines a total row stands for: 1 for the line's own total, its number
  // of identical lines for the multiplied one, all of them over the lines covered.
  int LinesOf(int totalItem) const;
  std::string FormatValue(int item, int column, std::int64_t value, bool raw) const;
  bool Set(int slot) const { return m_line.Slots[slot] > 0; }
  bool Present(int slot) const { return m_line.Slots[slot] >= 0; }

  const CLinearLine& m_line;
  Settings m_settings;
  const CLinearLineList* m_lines;
  int m_filter;
  std::vector<Row> m_rows;
};
