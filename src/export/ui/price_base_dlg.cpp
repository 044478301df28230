#include "export/ui/price_base_dlg.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/message_text.h"
#include "app/ui/window_translation.h"
#include "export/cost_summary.h"
#include "model/document/dorne_doc.h"

namespace {

constexpr int kTemplate = 208;
constexpr int kMsgCaption = 2670;
constexpr int kMsgApply = 2671;
constexpr int kMsgPercent = 7628;
constexpr int kMsgRate = 7629;
constexpr int kMsgSale = 7631;
constexpr int kMsgWeightTime = 31078;

QLineEdit* MakeEdit(int id, QWidget* parent, bool readOnly = false) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::number(id));
  edit->setReadOnly(readOnly);
  return edit;
}

QLabel* MakeLabel(int id, int message, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::number(id));
  SetMessageText(label, message);
  return label;
}

}  // namespace

CPriceBaseDlg::CPriceBaseDlg(CDorneDoc& document, const QString& priceList, QWidget* parent)
    : QDialog(parent, Qt::Tool), m_document(document), m_rules(document) {
  setObjectName(QString::number(kTemplate));
  setAttribute(Qt::WA_DeleteOnClose);
  BuildControls();
  setWindowTitle(QString::fromStdString(StringText(kMsgCaption)) + QStringLiteral("  [") +
                 priceList + QStringLiteral("]"));
  m_date->setText(QString::fromStdString(document.GetDocProperty("BaseDate")));
  m_money->setText(QString::fromStdString(document.GetDocProperty("BaseMoney")));
  Show(m_rules.Open());
  m_compare->setVisible(!BuildCostSummary(document, 2).empty());
}

void CPriceBaseDlg::BuildControls() {
  auto* grid = new QGridLayout(this);
  m_date = new QLabel(this);
  m_date->setObjectName(QStringLiteral("1293"));
  m_money = new QLabel(this);
  m_money->setObjectName(QStringLiteral("1294"));
  grid->addWidget(m_date, 0, 0, 1, 2);
  grid->addWidget(m_money, 0, 2);
  m_rate = MakeEdit(1079, this);
  m_percent = MakeEdit(1080, this);
  m_sale = MakeEdit(1007, this);
  m_weight = MakeEdit(1009, this, true);
  m_time = MakeEdit(1008, this, true);
  grid->addWidget(MakeLabel(1070, kMsgRate, this), 1, 0);
  grid->addWidget(m_rate, 1, 1);
  grid->addWidget(MakeLabel(1069, kMsgPercent, this), 2, 0);
  grid->addWidget(m_percent, 2, 1);
  grid->addWidget(MakeLabel(1071, kMsgSale, this), 3, 0);
  grid->addWidget(m_sale, 3, 1);
  grid->addWidget(MakeLabel(1095, kMsgWeightTime, this), 4, 0);
  grid->addWidget(m_weight, 4, 1);
  grid->addWidget(m_time, 4, 2);
  auto* apply = new QPushButton(this);
  apply->setObjectName(QStringLiteral("1078"));
  SetMessageText(apply, kMsgApply);
  apply->setDefault(true);
  grid->addWidget(apply, 1, 2);
  m_compare = new QPushButton(QStringLiteral("%"), this);
  m_compare->setObjectName(QStringLiteral("1081"));
  grid->addWidget(m_compare, 2, 2);
  connect(apply, &QPushButton::clicked, this, &CPriceBaseDlg::Apply);
  connect(m_rate, &QLineEdit::textEdited, this, &CPriceBaseDlg::OnRateEdited);
  connect(m_percent, &QLineEdit::textEdited, this, &CPriceBaseDlg::OnPercentEdited);
  connect(m_compare, &QPushButton::clicked, this, &CPriceBaseDlg::OnCompareCosts);
  TranslateWindow(this);
}

void CPriceBaseDlg::Show(const CPriceBaseTexts& texts) {
  m_guard = true;
  m_rate->setText(QString::fromStdString(texts.rate));
  m_percent->setText(QString::fromStdString(texts.percent));
  m_sale->setText(QString::fromStdString(texts.sale));
  m_weight->setText(QString::fromStdString(texts.weight));
  m_time->setText(QString::fromStdString(texts.time));
  m_guard = false;
}

CPriceBaseTexts CPriceBaseDlg::Read() const {
  return {m_rate->text().toStdString(), m_percent->text().toStdString(),
          m_sale->text().toStdString(), m_weight->text().toStdString(),
          m_time->text().toStdString()};
}

void CPriceBaseDlg::Apply() {
  m_busy = true;
  Show(m_rules.Apply(Read()));
  m_busy = false;
}

void CPriceBaseDlg::OnRateEdited() {
  if (m_guard) return;
  m_guard = true;
  m_percent->setText(
      QString::fromStdString(CPriceBaseRules::PercentFromRate(m_rate->text().toStdString())));
  m_guard = false;
}

void CPriceBaseDlg::OnPercentEdited() {
  if (m_guard) return;
  m_guard = true;
  m_rate->setText(
      QString::fromStdString(CPriceBaseRules::RateFromPercent(m_percent->text().toStdString())));
  m_guard = false;
}

void CPriceBaseDlg::OnCompareCosts() {
  m_busy = true;
  const std::string text = BuildCostSummary(m_document, 3);
  if (!text.empty()) QMessageBox::information(this, windowTitle(), QString::fromStdString(text));
  m_busy = false;
}

void CPriceBaseDlg::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && !isActiveWindow() && !m_busy && isVisible())
    QTimer::singleShot(0, this, &QWidget::close);
}
