// The price table of the line area: the report of the current record painted row by row.
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

#include <array>

#include "reference/ui/ref_line_area.h"

namespace {

constexpr int kQuantityColumn = 4;
constexpr int kRefReportColumns = 7;

// Column widths in column units; the last gives up half a scroll bar.
constexpr std::array<int, kRefReportColumns> kColumnUnits = {3, 3, 6, 2, 1, 2, 2};

struct Columns {
  std::array<int, kRefReportColumns> left{};
  std::array<int, kRefReportColumns> width{};
};

Columns MeasureColumns(const CRefReportView& view, int unit, int scrollWidth) {
  Columns columns;
  int x = 0;
  std::string text;
  for (int c = 0; c < kRefReportColumns; ++c) {
    const auto at = static_cast<std::size_t>(c);
    columns.left[at] = x;
    if (WriteLineReport(view, 0, c, text) == kRefReportHidden) continue;
    columns.width[at] =
        kColumnUnits[at] * unit - (c == kRefReportColumns - 1 ? scrollWidth / 2 : 0);
    x += columns.width[at];
  }
  return columns;
}

}  // namespace

QString CRefLineArea::CellText(int row, int column) const {
  std::string text;
  if (m_content != Content::Prices) return {};
  if ((row == kRefReportLineTotal && !m_lineTotal) ||
      (row == kRefReportSelectionTotal && !m_selectionTotal))
    return {};  // a total row the table does not show
  const std::int64_t code = WriteLineReport(m_view, row, column, text);
  return code == kRefReportNoCell || code == kRefReportHidden ? QString()
                                                              : QString::fromStdString(text);
}

int CRefLineArea::VisibleRows() const {
  const int r = RowHeight();
  return std::max(1, (height() - (2 * r - 1) - 4 * (r - 1) - 4) / (r - 1));
}

void CRefLineArea::PaintPrices(QPainter& painter) {
  painter.fillRect(rect(), palette().window());
  const int r = RowHeight();
  const int visible = VisibleRows();
  std::string text;
  const auto rows = static_cast<int>(WriteLineReport(m_view, kRefReportRowCount, 0, text));
  const Columns columns = MeasureColumns(m_view, ColumnUnit(), m_rows->sizeHint().width());
  const int tableRight = columns.left.back() + columns.width.back();
  if (rows > visible) {
    m_rows->setRange(1, rows - visible + 1);
    m_rows->setGeometry(tableRight, 2 * r - 1, m_rows->sizeHint().width(), visible * (r - 1) + 1);
    m_rows->show();
  } else {
    m_rows->hide();
  }
  const int first = m_rows->isVisible() ? m_rows->value() : 1;
  int top = PaintRow(painter, 0, 0);
  for (int row = first; row < first + visible && row <= rows; ++row)
    top = PaintRow(painter, row, top);
  top = 2 * r - 1 + visible * (r - 1);
  if (m_lineTotal) top = PaintRow(painter, kRefReportLineTotal, top);
  if (m_selectionTotal) PaintRow(painter, kRefReportSelectionTotal, top);
  if (!m_lineTotal) m_plus->hide(), m_minus->hide();
}

int CRefLineArea::PaintRow(QPainter& painter, int row, int top) {
  const int r = RowHeight();
  const Columns columns = MeasureColumns(m_view, ColumnUnit(), m_rows->sizeHint().width());
  const bool header = row == 0, total = row < 0;
  const int height = header ? 2 * r - 1 : r;
  if (total) top += r - 1;
  painter.setPen(palette().color(QPalette::Mid));
  std::string text;
  for (int c = 0; c < kRefReportColumns; ++c) {
    const auto at = static_cast<std::size_t>(c);
    const std::int64_t code = WriteLineReport(m_view, row, c, text);
    if (code == kRefReportHidden || code == kRefReportNoCell) continue;
    QRect cell(columns.left[at], top, columns.width[at], height);
    if (total && code == -1) cell.setLeft(0), cell.setRight(columns.left[kQuantityColumn] - 1);
    painter.setBrush(header || total ? palette().window() : QBrush(Qt::white));
    painter.drawRect(cell);
    int align = c <= 2 ? Qt::AlignLeft : Qt::AlignRight;
    if (header) align = Qt::AlignHCenter | Qt::TextWordWrap;
    if (total && code == -1) align = Qt::AlignRight;
    painter.setPen(Qt::black);
    painter.drawText(cell.adjusted(3, 1, -3, -1), align | Qt::AlignVCenter,
                     QString::fromStdString(text));
    painter.setPen(palette().color(QPalette::Mid));
  }
  if (row == kRefReportLineTotal && m_quantityButtons) {
    const int x = columns.left[kQuantityColumn];
    m_minus->setGeometry(x, top, r + 1, r - 1);
    m_plus->setGeometry(x + r, top, r + 1, r - 1);
    m_minus->show();
    m_plus->show();
  }
  return top + (header ? 2 * r - 1 : r - 1);
}
