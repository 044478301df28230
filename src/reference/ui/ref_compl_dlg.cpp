#include "reference/ui/ref_compl_dlg.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QUrl>

#include <algorithm>

#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgCaption = 32482, kMsgFilter = 32483, kMsgHelp = 32191, kMsgItemNames = 32124,
              kMsgPrice = 31533, kMsgTime = 31539, kMsgUnit = 32170;

// Label, price, time and unit of each row.
constexpr std::array<std::array<int, 4>, kComplRowsPerPage> kRowIds{{{1378, 1379, 1381, 1380},
                                                                     {1382, 1383, 1384, 1385},
                                                                     {1386, 1387, 1388, 1389},
                                                                     {1390, 1391, 1392, 1393},
                                                                     {1394, 1395, 1396, 1397},
                                                                     {1402, 1403, 1404, 1405},
                                                                     {1406, 1407, 1408, 1409},
                                                                     {1410, 1411, 1412, 1413},
                                                                     {1414, 1415, 1416, 1417},
                                                                     {1418, 1419, 1420, 1421},
                                                                     {1422, 1423, 1424, 1425},
                                                                     {1426, 1427, 1428, 1429}}};

template <typename Widget>
Widget* Named(Widget* widget, int id) {
  widget->setObjectName(QString::number(id));
  return widget;
}

}  // namespace

CRefComplDlg::CRefComplDlg(CRefComparison* comparison, char decimal,
                           const CLinearEnvironment& environment, QWidget* parent)
    : QDialog(parent), m_comparison(comparison), m_decimal(decimal), m_environment(environment) {
  setObjectName(QStringLiteral("266"));
  SetMessageText(this, kMsgCaption);
  BuildControls();
  if (m_comparison)
    for (std::size_t n = 0; n < m_prices.size(); ++n)
      m_prices[n] = m_comparison->items[n].price, m_times[n] = m_comparison->items[n].time;
  ShowPage(1);
  TranslateWindow(this);
}

void CRefComplDlg::BuildControls() {
  auto* grid = new QGridLayout(this);
  const std::array<int, 3> heads{kMsgPrice, kMsgTime, kMsgUnit};
  for (int c = 0; c < 3; ++c) {
    auto* head = new QLabel;
    SetMessageText(head, heads[static_cast<std::size_t>(c)]);
    grid->addWidget(head, 0, c + 1);
  }
  for (std::size_t r = 0; r < m_rows.size(); ++r) {
    const auto& ids = kRowIds[r];
    Row& row = m_rows[r];
    row = {Named(new QLabel, ids[0]), Named(new QLineEdit, ids[1]), Named(new QLineEdit, ids[2]),
           Named(new QLabel, ids[3])};
    const int line = static_cast<int>(r) + 1, index = static_cast<int>(r);
    grid->addWidget(row.label, line, 0), grid->addWidget(row.price, line, 1);
    grid->addWidget(row.time, line, 2), grid->addWidget(row.unit, line, 3);
    connect(row.price, &QLineEdit::editingFinished, this,
            [this, index] { ReformatRowValue(1, index); });
    connect(row.time, &QLineEdit::editingFinished, this,
            [this, index] { ReformatRowValue(2, index); });
  }
  m_scroll = Named(new QScrollBar(Qt::Vertical), 1292);
  m_scroll->setPageStep(1);
  grid->addWidget(m_scroll, 1, 4, kComplRowsPerPage, 1);
  connect(m_scroll, &QScrollBar::actionTriggered, this, &CRefComplDlg::OnScroll);
  m_counter = Named(new QLabel, 1433);
  m_filter = Named(new QCheckBox, 1325);
  SetMessageText(m_filter, kMsgFilter);
  connect(m_filter, &QCheckBox::clicked, this, &CRefComplDlg::OnFilter);
  const int bottom = kComplRowsPerPage + 1;
  grid->addWidget(m_filter, bottom, 0, 1, 3), grid->addWidget(m_counter, bottom, 3);
  auto* buttons = MakeOkCancelButtons(this);
  auto* help = Named(buttons->addButton(QString(), QDialogButtonBox::HelpRole), 1434);
  SetMessageText(help, kMsgHelp);
  connect(help, &QPushButton::clicked, this, &CRefComplDlg::OnHelp);
  grid->addWidget(buttons, bottom + 1, 0, 1, 5);
}

bool CRefComplDlg::ShowPage(int page) {
  const bool usedOnly = m_filter->isChecked();
  const std::vector<int> listed =
      m_comparison ? ComplListedItems(*m_comparison, usedOnly) : std::vector<int>{};
  if (m_pageCount == kPending) {
    m_pageCount = ComplPageCount(listed.size());
    m_scroll->setRange(1, m_pageCount);
    m_scroll->setEnabled(m_pageCount >= 2);
  }
  if (page < 1) return false;
  page = std::min(page, m_pageCount);
  m_scroll->setValue(page);
  m_rowItems = ComplPageRows(listed, page);
  for (std::size_t r = 0; r < m_rows.size(); ++r) {
    const bool shown = m_rowItems[r] != 0;
    for (QWidget* widget :
         {static_cast<QWidget*>(m_rows[r].label), static_cast<QWidget*>(m_rows[r].price),
          static_cast<QWidget*>(m_rows[r].time), static_cast<QWidget*>(m_rows[r].unit)})
      widget->setVisible(shown);
    ShowRow(static_cast<int>(r), true);
  }
  m_page = page;
  m_counter->setText(QStringLiteral("%1/%2").arg(m_page).arg(m_pageCount));
  return true;
}

bool CRefComplDlg::ShowRow(int row, bool toControls) {
  if (row < 0 || row >= kComplRowsPerPage || !m_comparison) return false;
  const int item = m_rowItems[static_cast<std::size_t>(row)];
  if (item < 1 || item > CRefComparison::kItemCount) return false;
  const Row& controls = m_rows[static_cast<std::size_t>(row)];
  const auto n = static_cast<std::size_t>(item);
  if (toControls) {
    controls.label->setText(StringQText(kMsgItemNames + item));
    controls.price->setText(QString::fromStdString(FormatValue(m_prices[n], true)));
    controls.time->setText(QString::fromStdString(FormatValue(m_times[n], false)));
    controls.unit->setText(QString::fromStdString(m_comparison->items[n].unit));
    return true;
  }
  if (const auto price = ReadRoundedValue(controls.price->text().toStdString(), 4))
    m_prices[n] = *price;
  if (const auto time = ReadRoundedValue(controls.time->text().toStdString(), 2))
    m_times[n] = *time;
  return true;
}

void CRefComplDlg::ReformatRowValue(int column, int row) {
  if (!ShowRow(row, false)) return;
  const auto n = static_cast<std::size_t>(m_rowItems[static_cast<std::size_t>(row)]);
  const Row& controls = m_rows[static_cast<std::size_t>(row)];
  // A text that is no number shows the stored value again.
  if (column == 1) controls.price->setText(QString::fromStdString(FormatValue(m_prices[n], true)));
  if (column == 2) controls.time->setText(QString::fromStdString(FormatValue(m_times[n], false)));
}

std::string CRefComplDlg::FormatValue(std::int64_t value, bool fourDecimals) const {
  if (!m_comparison) return std::string();
  return FormatGroupedNumber(value, m_decimal, fourDecimals, false);
}

void CRefComplDlg::OnScroll(int action) {
  int page = m_page;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: page = m_page - 1; break;
    case QAbstractSlider::SliderSingleStepAdd: page = m_page + 1; break;
    case QAbstractSlider::SliderPageStepSub: page = 1; break;
    case QAbstractSlider::SliderPageStepAdd: page = m_pageCount; break;
    case QAbstractSlider::SliderMove: page = m_scroll->sliderPosition(); break;
    default: break;
  }
  if (page == m_page || page < 1 || page > m_pageCount) {
    m_scroll->setSliderPosition(m_page);
    return;
  }
  for (int row = 0; row < kComplRowsPerPage; ++row) ShowRow(row, false);
  m_scroll->setSliderPosition(page);
  ShowPage(page);
}

void CRefComplDlg::OnFilter() {
  for (int row = 0; row < kComplRowsPerPage; ++row) ShowRow(row, false);
  m_pageCount = kPending;
  ShowPage(m_page);
}

QString CRefComplDlg::HelpPagePath(const CLinearEnvironment& environment) {
  return QString::fromStdString(environment.programFolder) + QStringLiteral("help/COMP.htm");
}

void CRefComplDlg::OnHelp() {
  QDesktopServices::openUrl(QUrl::fromLocalFile(HelpPagePath(m_environment)));
}

void CRefComplDlg::accept() {
  for (int row = 0; row < kComplRowsPerPage; ++row) ShowRow(row, false);
  if (m_comparison)
    for (std::size_t n = 0; n < m_prices.size(); ++n)
      m_comparison->items[n].price = m_prices[n], m_comparison->items[n].time = m_times[n];
  QDialog::accept();
}
