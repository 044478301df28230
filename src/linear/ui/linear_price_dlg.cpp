#include "linear/ui/linear_price_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "linear/ui/linear_dlg.h"

namespace {

constexpr int kMsgPriceList = 31090;
constexpr int kMsgRanges = 31062;
constexpr int kMsgTaux = 31097;
constexpr int kMsgServices = 31073;
constexpr int kMsgGroupsTitle = 31104;
constexpr int kMsgApply = 31045;
constexpr int kMsgCancel = 31016;
constexpr int kMsgSave = 31018;
constexpr int kMsgConfirmSave = 31105;
constexpr int kMsgImport = 31098;
constexpr int kMsgSalesCoef = 7566;
constexpr int kMsgRealRange = 8013;
constexpr int kMsgOwnDiscount = 31192;
constexpr std::array<int, 4> kMsgGroups = {31001, 31002, 31003, 31123};
constexpr std::array<const char*, CLinearPriceDlg::kRowCount> kRowNames = {
    "", "QM", "QJ", "QW", "QP", "QD", "QY", "QFP", "QYX"};
constexpr double kMaxPercent = 100.0;

}  // namespace

QString CLinearPriceDlg::NumberText(double value, char decimal) {
  QString text = QString::asprintf("%.15g", value);
  if (decimal != '.') text.replace(QLatin1Char('.'), QLatin1Char(decimal));
  return text;
}

bool CLinearPriceDlg::ReadNumber(const QString& text, char decimal, double& value) {
  QString plain = text.trimmed();
  plain.replace(QLatin1Char(decimal), QLatin1Char('.')).replace(QLatin1Char(','), QLatin1Char('.'));
  bool ok = false;
  value = plain.toDouble(&ok);
  return ok;
}

CLinearPriceDlg::CLinearPriceDlg(CLinearDlg& parent)
    : m_parent(parent), m_decimal(parent.DecimalChar()) {
  setObjectName(QStringLiteral("linear_price_dlg"));
  m_productP = parent.Config().Apod() ? kProductQPC : kProductQPA;
  BuildRows();
  LoadArticleView();
  LoadValues();
}

int CLinearPriceDlg::RangeProduct(int row) const {
  switch (row) {
    case kRowQM: return kProductQMA;
    case kRowQJ: return kProductQJF;
    case kRowQW: return kProductQWA;
    case kRowQP: return m_productP;
    case kRowQD: return kProductQDA;
    case kRowQY: return kProductQYA;
    case kRowQFP: return kProductQFP;
    case kRowQYX: return kProductQYX;
    default: return -1;
  }
}

void CLinearPriceDlg::BuildRows() {
  auto* grid = new QGridLayout(this);
  m_lists = new QComboBox;
  m_lists->setObjectName(QStringLiteral("linear_price_lists"));
  m_currency = new QLabel;
  auto* listLabel = new QLabel;
  SetMessageText(listLabel, kMsgPriceList);
  grid->addWidget(listLabel, 0, 0);
  grid->addWidget(m_lists, 0, 1, 1, 2);
  grid->addWidget(m_currency, 0, 3);
  m_listNote = new QLabel;
  m_listNote->setObjectName(QStringLiteral("linear_price_list_note"));
  m_listNote->setWordWrap(true);
  m_listNote->hide();
  grid->addWidget(m_listNote, 1, 4);
  m_rangeHeader = new QLabel;
  SetMessageText(m_rangeHeader, kMsgRanges);
  grid->addWidget(m_rangeHeader, 2, 0, 1, 4);
  for (int row = 0; row < kRowCount; ++row) {
    const int y = row == kRowList ? 1 : row + 2;
    if (row >= kFirstArticleRow && row < kFirstArticleRow + kArticleRows) {
      auto* description = new QLabel;
      description->hide();
      m_descriptions[static_cast<std::size_t>(row - kFirstArticleRow)] = description;
      grid->addWidget(description, y, 4);
    }
    auto* label = new QLabel(QString::fromLatin1(kRowNames[static_cast<std::size_t>(row)]));
    // The price list's own coefficient and discount would otherwise stand unnamed.
    if (row == kRowList) SetMessageText(label, kMsgSalesCoef);
    m_labels[static_cast<std::size_t>(row)] = label;
    auto* coef = new QLineEdit;
    auto* discount = new QLineEdit;
    coef->setObjectName(QStringLiteral("linear_coef_%1").arg(row));
    discount->setObjectName(QStringLiteral("linear_discount_%1").arg(row));
    m_coef[static_cast<std::size_t>(row)] = coef;
    m_discount[static_cast<std::size_t>(row)] = discount;
    grid->addWidget(label, y, 0);
    grid->addWidget(coef, y, 1);
    grid->addWidget(discount, y, 2);
    m_percent[static_cast<std::size_t>(row)] = new QLabel(QStringLiteral("%"));
    grid->addWidget(m_percent[static_cast<std::size_t>(row)], y, 3);
    connect(coef, &QLineEdit::textChanged, this, [this, row] { SyncDiscountAndCoef(row, false); });
    connect(discount, &QLineEdit::textChanged, this,
            [this, row] { SyncDiscountAndCoef(row, true); });
  }
  int y = kRowCount + 2;
  m_tauxLabel = new QLabel;
  SetMessageText(m_tauxLabel, kMsgTaux);
  m_taux = new QLineEdit;
  grid->addWidget(m_tauxLabel, y, 0);
  grid->addWidget(m_taux, y++, 1);
  auto* servicesLabel = new QLabel;
  SetMessageText(servicesLabel, kMsgServices);
  m_services = new QLineEdit;
  m_services->setObjectName(QStringLiteral("linear_services"));
  grid->addWidget(servicesLabel, y, 0);
  grid->addWidget(m_services, y, 1);
  grid->addWidget(new QLabel(QStringLiteral("%")), y++, 3);
  auto* groupsTitle = new QLabel;
  SetMessageText(groupsTitle, kMsgGroupsTitle);
  grid->addWidget(groupsTitle, y++, 0, 1, 4);
  for (int group = 0; group < 4; ++group) {
    auto* box = new QCheckBox;
    SetMessageText(box, kMsgGroups[static_cast<std::size_t>(group)]);
    m_groups[static_cast<std::size_t>(group)] = box;
    grid->addWidget(box, y++, 0, 1, 4);
  }
  auto* cancel = new QPushButton(QStringLiteral(" << ") + StringQText(kMsgCancel));
  auto* save = new QPushButton;
  SetMessageText(save, kMsgSave);
  auto* apply = new QPushButton;
  apply->setObjectName(QStringLiteral("linear_price_apply"));
  SetMessageText(apply, kMsgApply);
  grid->addWidget(cancel, y, 0);
  grid->addWidget(save, y, 1);
  grid->addWidget(apply, y, 3);
  auto* import = new QPushButton;
  import->setObjectName(QStringLiteral("linear_price_import"));
  SetMessageText(import, kMsgImport);
  grid->addWidget(import, y, 2);
  connect(import, &QPushButton::clicked, this, &CLinearPriceDlg::OnImportArticles);
  grid->setRowStretch(y + 1, 1);
  connect(cancel, &QPushButton::clicked, this, &CLinearPriceDlg::OnCancel);
  connect(save, &QPushButton::clicked, this, &CLinearPriceDlg::SavePriceSettings);
  connect(apply, &QPushButton::clicked, this, &CLinearPriceDlg::OnApply);
  connect(m_lists, &QComboBox::activated, this, &CLinearPriceDlg::OnPriceListChange);
}

void CLinearPriceDlg::FillPriceListCombo() {
  m_lists->clear();
  for (int list = 0; list < 15; ++list) {
    std::string name = m_parent.PriceListName(list);
    if (name.empty() && list >= 4) continue;
    m_lists->addItem(QString::fromStdString(name), list);
  }
  m_lists->setCurrentIndex(std::max(0, m_lists->findData(m_priceList)));
  m_currency->setText(QString::fromStdString(m_parent.PriceListCurrency(m_priceList)));
}

void CLinearPriceDlg::LoadValues() {
  const CLinearPriceSettings& settings = m_parent.Project().settings;
  m_priceList = settings.priceList;
  FillPriceListCombo();
  m_listCoefs = settings.listCoefs;
  m_coef[kRowList]->setText(
      NumberText(m_listCoefs[static_cast<std::size_t>(m_priceList)], m_decimal));
  for (int row = kRowQM; row < kRowCount && !m_articleView; ++row)
    m_coef[static_cast<std::size_t>(row)]->setText(
        NumberText(settings.saleCoefs[static_cast<std::size_t>(RangeProduct(row))][0], m_decimal));
  m_taux->setText(NumberText(settings.rates[0], m_decimal));
  m_services->setText(NumberText(settings.services, m_decimal));
  for (int group = 0; group < 4; ++group) {
    m_groups[static_cast<std::size_t>(group)]->setChecked(
        settings.groupsOn[static_cast<std::size_t>(group)]);
    m_groups[static_cast<std::size_t>(group)]->setVisible(m_parent.Config().IsAvailable(group));
  }
  if (!m_articleView) ShowRangeRows(m_priceList == 0);
  if (m_parent.Environment().ReadText("Database", "JustOneCat", "no") == "yes")
    m_lists->setEnabled(false);
}

void CLinearPriceDlg::ShowRangeRows(bool showTaux) {
  const bool ranges = m_parent.Project().settings.kCoefs > 0;
  m_rangeHeader->setVisible(ranges);
  for (int row = kRowQM; row < kRowCount; ++row) {
    const bool shown = ranges && row != kRowQYX;  // QYX keeps its value but is never offered
    m_labels[static_cast<std::size_t>(row)]->setVisible(shown);
    m_coef[static_cast<std::size_t>(row)]->setVisible(shown);
    m_discount[static_cast<std::size_t>(row)]->setVisible(shown);
    m_percent[static_cast<std::size_t>(row)]->setVisible(shown);
  }
  const bool taux = showTaux && m_parent.Project().settings.taux > 0;
  m_tauxLabel->setVisible(taux);
  m_taux->setVisible(taux);
}

void CLinearPriceDlg::SyncDiscountAndCoef(int row, bool fromDiscount) {
  // The article rows show values, not coefficients with a discount.
  if (m_syncing || (m_articleView && row != kRowList)) return;
  m_syncing = true;
  QLineEdit* source = fromDiscount ? m_discount[static_cast<std::size_t>(row)]
                                   : m_coef[static_cast<std::size_t>(row)];
  QLineEdit* partner = fromDiscount ? m_coef[static_cast<std::size_t>(row)]
                                    : m_discount[static_cast<std::size_t>(row)];
  double value = 0.0;
  if (ReadNumber(source->text(), m_decimal, value))
    partner->setText(
        NumberText(fromDiscount ? 1.0 - value * 0.01 : (1.0 - value) * 100.0, m_decimal));
  m_syncing = false;
}

void CLinearPriceDlg::OnPriceListChange() {
  double value = 0.0;
  // The same limit as Apply: a coefficient Apply takes is never dropped by a switch.
  if (m_priceList >= 0 && m_priceList < 15 &&
      ReadNumber(m_coef[kRowList]->text(), m_decimal, value) && value > 0 && value <= kMaxCoef)
    m_listCoefs[static_cast<std::size_t>(m_priceList)] = value;
  const int old = m_priceList;
  m_priceList = m_lists->currentData().toInt();
  m_currency->setText(QString::fromStdString(m_parent.PriceListCurrency(m_priceList)));
  m_coef[kRowList]->setText(
      NumberText(m_listCoefs[static_cast<std::size_t>(m_priceList)], m_decimal));
  ShowOwnDiscountNote(old);
  if ((old == 0) != (m_priceList == 0) && !m_articleView) ShowRangeRows(m_priceList == 0);
  double taux = 0.0;
  if (m_priceList != 0 && ReadNumber(m_taux->text(), m_decimal, taux) && taux > 0 && taux <= 100.0)
    m_taux->setText(NumberText(taux, m_decimal));
}

void CLinearPriceDlg::ShowOwnDiscountNote(int old) {
  // A discount typed for one list is kept for that list, not carried to the next: the
  // user is told so when the new list shows another one.
  const bool differs = old >= 0 && old < 15 && old != m_priceList &&
                       m_listCoefs[static_cast<std::size_t>(old)] !=
                           m_listCoefs[static_cast<std::size_t>(m_priceList)];
  m_listNote->setVisible(differs);
  if (!differs) return;
  auto discount = [this](int list) {
    return NumberText((1.0 - m_listCoefs[static_cast<std::size_t>(list)]) * 100.0, m_decimal)
        .toStdString();
  };
  m_listNote->setText(QString::fromStdString(
      FormatMessageText(kMsgOwnDiscount, "ssss", discount(old), m_parent.PriceListName(old),
                        m_parent.PriceListName(m_priceList), discount(m_priceList))));
}

bool CLinearPriceDlg::ReadValues(std::array<double, kRowCount>& coefs, double& taux,
                                 double& services) {
  auto fail = [this](QLineEdit* edit, double maximum) {
    edit->setFocus();
    if (m_parent.Environment().dialogs)
      m_parent.Environment().dialogs->Message(
          this,
          QString::fromStdString(
              FormatMessageTextSS(kMsgRealRange, "0", QString::number(maximum).toStdString())),
          kMbOk | kMbIconExclamation);
    return false;
  };
  for (int row = 0; row < (m_articleView ? kRowList + 1 : kRowCount); ++row) {
    QLineEdit* edit = m_coef[static_cast<std::size_t>(row)];
    double& value = coefs[static_cast<std::size_t>(row)];
    if (!ReadNumber(edit->text(), m_decimal, value) || value < 0 || value > kMaxCoef)
      return fail(edit, kMaxCoef);
  }
  if (!ReadNumber(m_taux->text(), m_decimal, taux) || taux < 0 || taux > kMaxPercent)
    return fail(m_taux, kMaxPercent);
  if (!ReadNumber(m_services->text(), m_decimal, services) || services < 0 ||
      services > kMaxPercent)
    return fail(m_services, kMaxPercent);
  return true;
}
