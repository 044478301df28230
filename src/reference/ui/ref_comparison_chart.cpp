// The picture of control 1372 of the comparison: the overview of the solutions or the
// detail of one.
#include <QPainter>

#include <numeric>
#include <utility>

#include "reference/ui/ref_comparison_dlg.h"

namespace {

const QColor kLabourColour(64, 0, 255);
const QColor kMaterialColour(128, 0, 128);
const QColor kFrameColour(96, 96, 96);
constexpr int kRowsPerHeight = 18;

QString Text(const std::string& text) { return QString::fromStdString(text); }

void Cell(QPainter& painter, const QRect& cell, const std::string& text, int align) {
  painter.drawRect(cell);
  painter.drawText(cell.adjusted(3, 0, -3, 0), align | Qt::AlignVCenter, Text(text));
}

}  // namespace

CRefCompChart::CRefCompChart(const CRefComparison& comparison, const CRefCompSetup& setup,
                             QWidget* parent)
    : QWidget(parent), m_comparison(comparison), m_setup(setup), m_rate(setup.input.labourRate) {
  setMinimumSize(640, 360);
}

void CRefCompChart::SetView(int solution, std::int64_t labourRate) {
  m_solution = solution;
  m_rate = labourRate;
  update();
}

void CRefCompChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  painter.setPen(QPen(kFrameColour, 2));
  painter.drawRect(rect().adjusted(1, 1, -1, -1));
  painter.setPen(kFrameColour);
  if (m_solution < 0) PaintOverview(painter);
  else PaintDetail(painter);
}

void CRefCompChart::PaintOverview(QPainter& painter) {
  const std::vector<CRefCompColumn> columns = CompOverview(m_comparison, m_setup.decimal);
  const int w = width() / 10, h = std::max(height() / kRowsPerHeight, 16), x0 = 8, y0 = 8;
  const int labelWidth = 2 * w;
  const std::array<std::string, 5> labels = CompOverviewLabels();
  painter.setBrush(Qt::white);
  for (int row = 0; row < 5; ++row)
    Cell(painter, QRect(x0, y0 + (row + 1) * h, labelWidth, h), labels[row], Qt::AlignLeft);
  // The key of the bars: the labour and material rows carry their bar's colour.
  for (const auto& [row, colour] : {std::pair{1, kLabourColour}, std::pair{2, kMaterialColour}}) {
    const int side = h / 2;
    painter.fillRect(
        QRect(x0 + labelWidth - side - 6, y0 + (row + 1) * h + (h - side) / 2, side, side), colour);
  }
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const int x = x0 + labelWidth + static_cast<int>(c) * w;
    Cell(painter, QRect(x, y0, w, h), columns[c].head, Qt::AlignHCenter);
    for (int row = 0; row < 5; ++row)
      Cell(painter, QRect(x, y0 + (row + 1) * h, w, h), columns[c].cells[row], Qt::AlignRight);
  }
  // The bars end a row above the bottom, where each solution's name stands under its bar.
  const QRect bars(x0 + labelWidth, y0 + 7 * h, std::max<int>(1, columns.size()) * w,
                   height() - y0 - 9 * h - 8);
  PaintBars(painter, columns, bars);
  for (std::size_t c = 0; c < columns.size(); ++c)
    painter.drawText(QRect(bars.left() + static_cast<int>(c) * w, bars.bottom() + 4, w, h),
                     Qt::AlignHCenter | Qt::AlignTop, Text(columns[c].head));
}

// Stacked bars of labour (below) and material on an axis labelled every step.
void CRefCompChart::PaintBars(QPainter& painter, const std::vector<CRefCompColumn>& columns,
                              QRect area) {
  if (columns.empty() || area.height() < 20) return;
  std::int64_t largest = 0;
  for (const CRefCompColumn& column : columns)
    largest = std::max(largest, column.labour + column.material);
  const std::int64_t step = CompChartStep(largest), end = CompChartEnd(largest);
  const double scale = static_cast<double>(area.height()) / static_cast<double>(end);
  painter.setBrush(Qt::NoBrush);
  for (std::int64_t value = 0; value <= end; value += step) {
    const int y = area.bottom() - static_cast<int>(value * scale);
    painter.drawLine(area.left() - 4, y, area.right(), y);
    painter.drawText(QRect(area.left() - 80, y - 8, 72, 16), Qt::AlignRight | Qt::AlignVCenter,
                     QString::number(value / 100));
  }
  const int w = area.width() / static_cast<int>(columns.size());
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const int x = area.left() + static_cast<int>(c) * w + w / 4;
    const int labour = static_cast<int>(std::max<std::int64_t>(columns[c].labour, 0) * scale);
    const int material = static_cast<int>(std::max<std::int64_t>(columns[c].material, 0) * scale);
    painter.fillRect(QRect(x, area.bottom() - labour, w / 2, labour), kLabourColour);
    painter.fillRect(QRect(x, area.bottom() - labour - material, w / 2, material), kMaterialColour);
  }
}

void CRefCompChart::PaintDetail(QPainter& painter) {
  const std::vector<CRefCompDetailRow> rows = CompDetailRows(
      m_comparison, m_solution, m_setup.input.figures.length, m_rate, m_setup.decimal);
  const int h = std::max(height() / kRowsPerHeight, 16), x0 = 8;
  const int unit = (width() - 16) / 12;
  const std::array<int, 7> widths{3 * unit, 2 * unit,        unit + unit / 2, unit + unit / 2,
                                  unit,     unit + unit / 2, unit + unit / 2};
  const int tableWidth = std::accumulate(widths.begin(), widths.end(), 0);
  int y = 8;
  for (const CRefCompDetailRow& row : rows) {
    const bool item = row.kind == CRefCompDetailRow::kItem;
    painter.setBrush(item ? QBrush(Qt::white) : palette().button());
    if (row.kind == CRefCompDetailRow::kGroup)
      Cell(painter, QRect(x0, y, tableWidth, h), row.cells[0], Qt::AlignLeft);
    else PaintDetailRow(painter, row, widths, QRect(x0, y, tableWidth, h));
    y += h - 1;
  }
}

void CRefCompChart::PaintDetailRow(QPainter& painter, const CRefCompDetailRow& row,
                                   const std::array<int, 7>& widths, QRect area) {
  const bool header = row.kind == CRefCompDetailRow::kHeader;
  int x = area.left();
  for (std::size_t c = 0; c < widths.size(); ++c) {
    int width = widths[c];
    // The material and time headings stand over their unit and amount columns.
    const bool spans = header && (c == 2 || c == 4) && row.cells[c + 1].empty();
    if (spans) width += widths[c + 1];
    const int align = c == 0 ? Qt::AlignLeft : header ? Qt::AlignHCenter : Qt::AlignRight;
    Cell(painter, QRect(x, area.top(), width, area.height()), row.cells[c], align);
    x += width;
    if (spans) ++c;
  }
}
