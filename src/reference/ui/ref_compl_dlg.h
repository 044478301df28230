#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <string>

#include "linear/ui/linear_environment.h"
#include "reference/ui/ref_core.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QScrollBar;

// The unit prices and unit times of a comparison's complementary items, twelve to a
// page, optionally only those a solution uses. The values are edited in a working copy;
// OK hands them back to the comparison, Cancel leaves it as it was.
class CRefComplDlg : public QDialog {
  Q_OBJECT

 public:
  CRefComplDlg(CRefComparison* comparison, char decimal, const CLinearEnvironment& environment,
               QWidget* parent = nullptr);

  // False for a page outside 1..page count; a page beyond the count shows the last.
  bool ShowPage(int page);
  // Fills a row's controls from the working copy (toControls) or reads its two edits
  // back; false for an empty or invalid row.
  bool ShowRow(int row, bool toControls);
  // Column 1 the price, 2 the time: rounds the typed value, writes it back, stores it.
  void ReformatRowValue(int column, int row);
  std::string FormatValue(std::int64_t value, bool fourDecimals) const;
  void OnFilter();
  void OnHelp();
  void accept() override;

  int CurrentPage() const { return m_page; }
  int PageCount() const { return m_pageCount; }
  // The path of the help page this dialog opens.
  static QString HelpPagePath(const CLinearEnvironment& environment);

 private:
  static constexpr int kPending = -1;
  struct Row {
    QLabel* label = nullptr;
    QLineEdit* price = nullptr;
    QLineEdit* time = nullptr;
    QLabel* unit = nullptr;
  };
  void BuildControls();
  void OnScroll(int action);

  CRefComparison* m_comparison;
  char m_decimal;
  const CLinearEnvironment& m_environment;
  std::array<std::int64_t, CRefComparison::kItemCount + 1> m_prices{};
  std::array<std::int64_t, CRefComparison::kItemCount + 1> m_times{};
  std::array<int, kComplRowsPerPage> m_rowItems{};
  std::array<Row, kComplRowsPerPage> m_rows{};
  int m_page = -1;
  int m_pageCount = kPending;
  QLabel* m_counter = nullptr;
  QCheckBox* m_filter = nullptr;
  QScrollBar* m_scroll = nullptr;
};
