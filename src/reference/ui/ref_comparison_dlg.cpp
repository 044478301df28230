#include "reference/ui/ref_comparison_dlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/profile.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "linear/ui/linear_dlg.h"
#include "platform/number_text.h"
#include "reference/ui/ref_compl_dlg.h"

namespace {

constexpr int kMsgCaption = 32113, kMsgAllSolutions = 32114, kMsgItemNames = 32124,
              kMsgSingleLine = 32043, kMsgDoubleLine = 32042, kMsgLabourRate = 32010,
              kMsgApply = 31045, kMsgClose = 31044, kMsgPrint = 311, kMsgComplementary = 32176,
              kMsgConductors = 31013, kMsgLength = 30152, kMsgLuminaires = 32190,
              kMsgProduct = 32481, kMsgPriceList = 31090, kMsgCoefficient = 32177,
              kMsgNotANumber = 8172, kMsgNegativePrice = 8171, kMsgCannotWrite = 8022,
              kMsgPrinterError = 62402;

QString Text(const std::string& text) { return QString::fromStdString(text); }

QLabel* Value(const QString& text, int id) {
  auto* label = new QLabel(text);
  label->setObjectName(QString::number(id));
  return label;
}

const std::string& Either(const std::string& given, const std::string& read) {
  return given.empty() ? read : given;
}

QLabel* Caption(int message) {
  auto* label = new QLabel;
  SetMessageText(label, message);
  return label;
}

}  // namespace

CSolutionCompareDlg::CSolutionCompareDlg(const CRefCompSetup& setup,
                                         const CLinearEnvironment& environment, QWidget* parent)
    : QDialog(parent), m_setup(setup), m_environment(environment), m_rate(setup.input.labourRate) {
  setObjectName(QStringLiteral("265"));
  SetMessageText(this, kMsgCaption);
  // The luminaire family shows its fixing kind but counts no lamp fixings.
  m_lampFixShown = m_setup.input.figures.lampFix;
  if (m_setup.input.productCode.starts_with("QFP")) m_setup.input.figures.lampFix = 0;
  if (m_environment.profile) m_comparison.LoadAllItems(*m_environment.profile);
  CLinearMessageNotifier notifier(this, m_environment);
  m_comparison.CostComparisonSolutions(m_setup.catalogue, m_setup.input, &notifier);
  m_comparison.ComputeTotals(m_rate);
  BuildControls();
  FillSolutionCombo();
  ShowEdits();
  TranslateWindow(this);
}

void CSolutionCompareDlg::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildFigures());
  auto* row = new QHBoxLayout;
  m_solutions = new QComboBox, m_solutions->setObjectName(QStringLiteral("1059"));
  row->addWidget(m_solutions, 1);
  m_cableCaption = new QLabel, m_cableCaption->setObjectName(QStringLiteral("1376"));
  m_cablePrice = new QLineEdit, m_cablePrice->setObjectName(QStringLiteral("1175"));
  m_labourRate = new QLineEdit, m_labourRate->setObjectName(QStringLiteral("1351"));
  for (QLineEdit* edit : {m_cablePrice, m_labourRate}) edit->setMaximumWidth(90);
  row->addWidget(m_cableCaption), row->addWidget(m_cablePrice);
  row->addWidget(Caption(kMsgLabourRate)), row->addWidget(m_labourRate);
  layout->addLayout(row);
  m_chart = new CRefCompChart(m_comparison, m_setup, this);
  m_chart->setObjectName(QStringLiteral("1372"));
  layout->addWidget(m_chart, 1);
  layout->addLayout(BuildButtons());
  connect(m_solutions, &QComboBox::currentIndexChanged, this, [this] { OnSolutionChange(); });
  resize(760, 560);
}

QWidget* CSolutionCompareDlg::BuildFigures() {
  const CRefCompInput& input = m_setup.input;
  auto* box = new QWidget;
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  const std::string coefficient = PrecisionText(input.coefficient, std::chars_format::general, 3);
  QString coefficientText = Text(coefficient);
  coefficientText.replace(QLatin1Char('.'), QLatin1Char(m_setup.decimal));
  const QList<std::pair<int, QLabel*>> cells{
      {kMsgProduct, Value(Text(input.productCode.substr(0, 3)), 1147)},
      {kMsgConductors, Value(Text(input.conductorText), 1166)},
      {kMsgLength, Value(QString::number(input.figures.length), 1375)},
      {kMsgLuminaires, Value(QString::number(input.figures.lamps), 1374)},
      {0, Value(StringQText(m_lampFixShown == 1 ? kMsgSingleLine : kMsgDoubleLine), 1167)},
      {0, Value(QStringLiteral("x %1").arg(input.figures.multiplier), 1337)},
      {kMsgPriceList, Value(Text(Either(input.priceListName, m_comparison.listName)), 1293)},
      {0, Value(Text(Either(input.priceListCaption, m_comparison.listCurrency)), 1295)},
      {kMsgCoefficient, Value(coefficientText, 1294)}};
  int at = 0;
  for (const auto& [message, value] : cells) {
    if (message != 0) grid->addWidget(Caption(message), at / 3, (at % 3) * 2);
    grid->addWidget(value, at / 3, (at % 3) * 2 + 1);
    ++at;
  }
  return box;
}

QLayout* CSolutionCompareDlg::BuildButtons() {
  auto* row = new QHBoxLayout;
  const QList<std::pair<int, int>> buttons{
      {1, kMsgApply}, {1377, kMsgComplementary}, {1453, kMsgPrint}, {2, kMsgClose}};
  row->addStretch(1);
  for (const auto& [id, message] : buttons) {
    auto* button = new QPushButton;
    button->setObjectName(QString::number(id));
    SetMessageText(button, message);
    button->setAutoDefault(false);
    row->addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, id] {
      if (id == 1) OnApply();
      if (id == 1377) OnComplementaryItems();
      if (id == 1453) OnPrint();
      if (id == 2) reject();
    });
  }
  return row;
}

void CSolutionCompareDlg::FillSolutionCombo() {
  const std::vector<int> numbers = m_comparison.SolutionsWithItems();
  if (!numbers.empty()) m_solutions->addItem(StringQText(kMsgAllSolutions), -1);
  for (int k : numbers) m_solutions->addItem(Text(CompSolutionListName(k)), k);
  if (!numbers.empty()) m_solutions->setCurrentIndex(0);
}

void CSolutionCompareDlg::ShowEdits() {
  const int cable = m_comparison.cableItem;
  m_cableCaption->setVisible(cable > 0), m_cablePrice->setVisible(cable > 0);
  const int item = cable > 0 ? cable : 1;
  m_cableCaption->setText(StringQText(kMsgItemNames + item));
  m_cablePrice->setText(Text(FormatGroupedNumber(
      m_comparison.items[static_cast<std::size_t>(item)].price, m_setup.decimal, true, false)));
  m_labourRate->setText(Text(RefHundredthsText(m_rate, m_setup.decimal, false)));
}

void CSolutionCompareDlg::Refresh() {
  m_comparison.ComputeTotals(m_rate);
  m_chart->SetView(m_selected, m_rate);
}

void CSolutionCompareDlg::OnSolutionChange() {
  const QVariant data = m_solutions->currentData();
  const int selected = data.isValid() ? data.toInt() : -1;
  if (selected == m_selected) return;
  m_selected = selected;
  m_chart->SetView(m_selected, m_rate);
}

void CSolutionCompareDlg::Tell(int message) {
  if (!m_environment.dialogs) return;
  QString text = StringQText(message);
  if (message == kMsgCannotWrite && m_environment.profile)
    text = Text(FormatMessageTextS(kMsgCannotWrite, m_environment.profile->Path()));
  m_environment.dialogs->Message(this, text, kMbOk | kMbIconExclamation);
}

bool CSolutionCompareDlg::OnApply() {
  const auto price = ReadRoundedValue(m_cablePrice->text().toStdString(), 4);
  const auto rate = ReadRoundedValue(m_labourRate->text().toStdString(), 2);
  const bool negative = price && *price < 0 && m_comparison.cableItem > 0;
  if (!price || !rate || negative || *rate < 0) {
    Tell(negative ? kMsgNegativePrice : kMsgNotANumber);
    ShowEdits();
    return false;
  }
  bool written = true;
  if (m_comparison.cableItem > 0) {
    auto& cable = m_comparison.items[static_cast<std::size_t>(m_comparison.cableItem)];
    cable.price = *price;
    written = m_environment.WriteText("Comp", CompItemKey(m_comparison.cableItem).c_str(),
                                      CompItemText(cable.price, cable.time));
  }
  m_rate = *rate;
  written = m_environment.WriteText("Comp", "MO", std::to_string(m_rate)) && written;
  ShowEdits();
  Refresh();
  if (!written) Tell(kMsgCannotWrite);
  return written;
}

void CSolutionCompareDlg::OnComplementaryItems() {
  CRefComplDlg items(&m_comparison, m_setup.decimal, m_environment, this);
  if (items.exec() != QDialog::Accepted) return;
  if (m_environment.profile && !m_comparison.SaveItems(*m_environment.profile))
    Tell(kMsgCannotWrite);
  ShowEdits();
  Refresh();
}

void CSolutionCompareDlg::OnPrint() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("Comparatif"));
  QPrintDialog dialog(&printer, this);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
  if (dialog.exec() == QDialog::Accepted && !PrintTo(printer) && m_environment.dialogs)
    m_environment.dialogs->Message(this, StringQText(kMsgPrinterError), kMbOk | kMbIconError);
}

bool CSolutionCompareDlg::PrintTo(QPrinter& printer) {
  // The dialog is recorded as a picture first: rendered straight onto a printer, Qt
  // would turn it into one bitmap, and its texts would no longer be texts.
  QPicture picture;
  QPainter recorder(&picture);
  render(&recorder, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
  recorder.end();
  QPainter painter;
  if (width() <= 0 || !painter.begin(&printer)) return false;
  // Replaying a picture already scales it from its resolution to the printer's.
  const double replayed = double(printer.logicalDpiX()) / picture.logicalDpiX();
  const double scale = printer.pageRect(QPrinter::DevicePixel).width() / (width() * replayed);
  painter.scale(scale, scale);
  painter.drawPicture(0, 0, picture);
  return painter.end();
}
