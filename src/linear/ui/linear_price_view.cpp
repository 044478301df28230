#include "linear/ui/linear_price_view.h"

#include "linear/linear_line_list.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

constexpr int kScrollWidth = 16;
constexpr int kPadding = 4;

}  // namespace

CLinearPriceView::CLinearPriceView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("linear_price_view"));
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
  m_scroll = new QScrollBar(Qt::Vertical, this);
  connect(m_scroll, &QScrollBar::valueChanged, this, [this](int value) { SetFirstRow(value); });
  m_empty = new QLabel(this);
  m_empty->setObjectName(QStringLiteral("linear_price_empty"));
  m_empty->setAlignment(Qt::AlignCenter);
  m_empty->setWordWrap(true);
  m_empty->hide();
  setMinimumSize(300, 200);
}

void CLinearPriceView::SetLine(const CLinearLine* line, const CLinearPriceTable::Settings& settings,
                               const CLinearLineList* lines, int filter) {
  m_rows.clear();
  if (line) {
    CLinearPriceTable table(*line, settings, lines, filter);
    std::string text;
    int count = table.FormatDesignation(CLinearPriceTable::kCountRows, 0, text);
    std::vector<int> order;
    for (int row = 0; row <= count; ++row) order.push_back(row);
    order.push_back(-1);
    if (line->Multiplier() > 1) order.push_back(-3);
    // Over all lines only when the project has more than this one: else it is the
    // line's own total again.
    if (lines && lines->FindLine(0, filter, settings.enabled) > 1) order.push_back(-2);
    for (int row : order) {
      RowCells cells;
      for (int column = 0; column < 8; ++column) {
        int value = table.FormatDesignation(row, column, text);
        cells[static_cast<std::size_t>(column)] = {
            QString::fromStdString(text), column > 0 && value != CLinearPriceTable::kNoValue &&
                                              value != CLinearPriceTable::kNoRow};
      }
      m_rows.push_back(std::move(cells));
    }
  }
  m_firstRow = 1;
  m_empty->setVisible(m_rows.empty() && !m_empty->text().isEmpty());
  UpdateScrollRange();
  update();
}

void CLinearPriceView::SetEmptyText(const QString& text) {
  m_empty->setText(text);
  m_empty->setVisible(m_rows.empty() && !text.isEmpty());
}

void CLinearPriceView::SetColumnsShown(const std::array<bool, 8>& shown) {
  m_shown = shown;
  update();
}

void CLinearPriceView::SetFirstRow(int row) {
  int last = std::max(1, static_cast<int>(m_rows.size()) - VisibleRows());
  row = std::clamp(row, 1, last);
  if (row == m_firstRow) return;
  m_firstRow = row;
  m_scroll->setValue(row);
  update();
}

int CLinearPriceView::RowHeight() const { return fontMetrics().height() * 2 + 2; }

int CLinearPriceView::VisibleRows() const { return std::max(1, height() / RowHeight() - 1); }

void CLinearPriceView::UpdateScrollRange() {
  int rows = static_cast<int>(m_rows.size()) - 1;
  int maximum = std::max(1, rows - VisibleRows() + 1);
  m_scroll->setRange(1, maximum);
  m_scroll->setPageStep(VisibleRows());
  m_scroll->setValue(m_firstRow);
  m_scroll->setVisible(maximum > 1);
}

std::vector<int> CLinearPriceView::ColumnWidths() const {
  int available = width() - kScrollWidth;
  int first = available * 2 / 5;
  int second = available / 10;
  int shared = 0;
  for (int column = 2; column < 8; ++column)
    shared += m_shown[static_cast<std::size_t>(column)] ? 1 : 0;
  int rest = available - first - (m_shown[1] ? second : 0);
  std::vector<int> widths(8, 0);
  widths[0] = shared == 0 ? available - (m_shown[1] ? second : 0) : first;
  widths[1] = m_shown[1] ? second : 0;
  for (int column = 2; column < 8; ++column)
    widths[static_cast<std::size_t>(column)] =
        m_shown[static_cast<std::size_t>(column)] && shared > 0 ? rest / shared : 0;
  return widths;
}

void CLinearPriceView::PaintRow(QPainter& painter, const RowCells& row, int y, bool header,
                                const std::vector<int>& widths) {
  int x = 0;
  int height = RowHeight();
  for (int column = 0; column < 8; ++column) {
    int width = widths[static_cast<std::size_t>(column)];
    if (width <= 0) continue;
    QRect cell(x, y, width, height);
    painter.drawRect(cell.adjusted(0, 0, -1, -1));
    const Cell& content = row[static_cast<std::size_t>(column)];
    int align = header          ? Qt::AlignCenter
                : content.value ? (Qt::AlignRight | Qt::AlignVCenter)
                                : (Qt::AlignLeft | Qt::AlignVCenter);
    painter.drawText(cell.adjusted(kPadding, 0, -kPadding, 0), align | Qt::TextWordWrap,
                     content.text);
    x += width;
  }
}

void CLinearPriceView::paintEvent(QPaintEvent*) {
  if (m_rows.empty()) return;
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::Mid));
  std::vector<int> widths = ColumnWidths();
  QFont bold = font();
  bold.setBold(true);
  painter.setFont(bold);
  painter.setPen(palette().color(QPalette::Text));
  PaintRow(painter, m_rows[0], 0, true, widths);
  painter.setFont(font());
  int y = RowHeight();
  for (std::size_t row = static_cast<std::size_t>(m_firstRow); row < m_rows.size() && y < height();
       ++row) {
    PaintRow(painter, m_rows[row], y, false, widths);
    y += RowHeight();
  }
}

void CLinearPriceView::resizeEvent(QResizeEvent*) {
  m_scroll->setGeometry(width() - kScrollWidth, 0, kScrollWidth, height());
  m_empty->setGeometry(rect().adjusted(kPadding * 4, 0, -kPadding * 4 - kScrollWidth, 0));
  UpdateScrollRange();
}

void CLinearPriceView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton && event->position().y() < RowHeight())
    OpenColumnMenu(event->globalPosition().toPoint());
}

void CLinearPriceView::wheelEvent(QWheelEvent* event) {
  SetFirstRow(m_firstRow - event->angleDelta().y() / 120);
}

void CLinearPriceView::OpenColumnMenu(const QPoint& globalPos) {
  QMenu menu(this);
  menu.setObjectName(QStringLiteral("linear_column_menu"));
  for (int column = 1; column < 8; ++column) {
    QString title = m_rows.empty() ? QString() : m_rows[0][static_cast<std::size_t>(column)].text;
    if (title.isEmpty()) title = QStringLiteral("C%1").arg(column);
    QAction* action = menu.addAction(title);
    action->setCheckable(true);
    action->setChecked(m_shown[static_cast<std::size_t>(column)]);
    action->setData(column);
  }
  QAction* chosen = menu.exec(globalPos);
  if (chosen && m_toggle) m_toggle(chosen->data().toInt());
}
