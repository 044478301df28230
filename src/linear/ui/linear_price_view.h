#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

#include "linear/linear_price_table.h"

class QLabel;
class QScrollBar;

// The price table of one line, painted by hand: the cell texts are taken from
// FormatDesignation once when the line is set and painted from that copy, so a repaint
// never walks the lines again. A right click on the header row opens the column menu.
class CLinearPriceView : public QWidget {
  Q_OBJECT

 public:
  struct Cell {
    QString text;
    bool value = false;  // a number, drawn right-aligned
  };
  using RowCells = std::array<Cell, 8>;

  explicit CLinearPriceView(QWidget* parent = nullptr);

  // line null empties the view. lines (may be null) adds the total over those lines.
  void SetLine(const CLinearLine* line, const CLinearPriceTable::Settings& settings,
               const CLinearLineList* lines, int filter);
  void SetColumnsShown(const std::array<bool, 8>& shown);
  const std::array<bool, 8>& ColumnsShown() const { return m_shown; }
  // What the view says while it shows no line; empty says nothing.
  void SetEmptyText(const QString& text);
  // Called with a column 1..7 the user toggled in the column menu.
  void SetColumnToggle(std::function<void(int)> toggle) { m_toggle = std::move(toggle); }

  const std::vector<RowCells>& Rows() const { return m_rows; }
  int FirstRow() const { return m_firstRow; }
  void SetFirstRow(int row);
  // The column menu as it would open now (tests and the right click).
  void OpenColumnMenu(const QPoint& globalPos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  int RowHeight() const;
  int VisibleRows() const;
  std::vector<int> ColumnWidths() const;
  void UpdateScrollRange();
  void PaintRow(QPainter& painter, const RowCells& row, int y, bool header,
                const std::vector<int>& widths);

  std::vector<RowCells> m_rows;  // row 0 the header
  std::array<bool, 8> m_shown{true, true, true, true, true, false, false, false};
  int m_firstRow = 1;
  QScrollBar* m_scroll = nullptr;
  QLabel* m_empty = nullptr;
  std::function<void(int)> m_toggle;
};
