#include "reference/ui/ref_price_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/typed_field.h"
#include "app/price_lists.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "linear/ui/user_article_import_ui.h"
#include "reference/ui/ref_config_dlg.h"
#include "reference/ui/ref_core.h"

namespace {

constexpr int kMsgOr = 31035, kMsgClose = 31044, kMsgApply = 31045, kMsgCoefs = 31077,
              kMsgPriceList = 31090, kMsgSave = 31018, kMsgConfirmSave = 31105, kMsgOptions = 32241,
              kMsgMo = 32010, kMsgRefGrp = 32242, kMsgRefs = 32228, kMsgRefsFind = 32071,
              kMsgRefsShow = 32072, kMsgImport = 32179, kMsgCannotWrite = 8022;

constexpr int kEditWidth = 110;

QString Text(const std::string& text) { return QString::fromStdString(text); }

// A caption followed by an etched line to the right edge, heading a part of the panel.
QWidget* EtchedSeparator(int message, const char* name) {
  auto* box = new QWidget;
  box->setObjectName(QString::fromLatin1(name));
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 6, 0, 0);
  row->addWidget(new QLabel(StringQText(message)));
  auto* line = new QFrame;
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  row->addWidget(line, 1);
  return box;
}

}  // namespace

CRefPricePanel::CRefPricePanel(CRefConfigDlg& owner)
    : m_owner(owner), m_decimal(owner.DecimalChar()) {
  setObjectName(QStringLiteral("ref_price_panel"));
  m_apod = owner.Environment().common.ReadInt("Design", "APOD", 0) != 0;
  BuildControls();
  LoadValues();
  if (!LoadUserArticles()) ShowSpecialCaptions();
}

void CRefPricePanel::ShowSpecialCaptions() {
  for (int row = 0; row < kRefPriceRowCount; ++row) {
    const std::size_t at = static_cast<std::size_t>(row);
    if (m_lightingCaptions[at] == nullptr) continue;
    const bool special = RefPriceRowSpecialCaption(m_owner.Config(), row, m_apod) != 0;
    m_lightingCaptions[at]->setVisible(special);
    if (special) m_labels[at]->hide();
  }
}

void CRefPricePanel::BuildControls() {
  auto* grid = new QGridLayout(this);
  int line = 0;
  grid->addWidget(new QLabel(StringQText(kMsgPriceList)), line, 0);
  m_lists = new QComboBox, m_lists->setObjectName(QStringLiteral("ref_price_lists"));
  grid->addWidget(m_lists, line, 1, 1, 3);
  m_currency = new QLabel, m_currency->setObjectName(QStringLiteral("ref_price_currency"));
  grid->addWidget(m_currency, line++, 4);
  grid->addWidget(EtchedSeparator(kMsgCoefs, "1305"), line++, 0, 1, 5);
  for (int row = 0; row < kRefPriceRowCount; ++row, ++line) {
    const std::size_t at = static_cast<std::size_t>(row);
    auto* label = m_labels[at] = new QLabel(Text(std::string(kRefPriceRows[at].label)));
    if (const int caption = kRefPriceRows[at].specialCaption; caption != 0) {
      m_lightingCaptions[at] = new QLabel(StringQText(caption));
      m_lightingCaptions[at]->setObjectName(QStringLiteral("ref_price_caption_%1").arg(row));
      m_lightingCaptions[at]->hide();
      grid->addWidget(m_lightingCaptions[at], line, 0);
    }
    m_descriptions[at] = new QLabel;
    m_descriptions[at]->hide();
    grid->addWidget(m_descriptions[at], line, 6);
    auto* coef = m_coef[at] = new QLineEdit;
    auto* text = m_ors[at] = new QLabel(StringQText(kMsgOr));
    auto* discount = m_discount[at] = new QLineEdit;
    auto* percent = m_percents[at] = new QLabel(QStringLiteral("%"));
    coef->setMaximumWidth(kEditWidth), discount->setMaximumWidth(kEditWidth);
    coef->setObjectName(QStringLiteral("ref_coef_%1").arg(row));
    discount->setObjectName(QStringLiteral("ref_discount_%1").arg(row));
    const QList<QWidget*> widgets{label, coef, text, discount, percent};
    m_rowShown[at] = RefPriceRowShown(m_owner.Config(), row, m_apod);
    for (int column = 0; column < widgets.size(); ++column) {
      grid->addWidget(widgets[column], line, column);
      widgets[column]->setVisible(m_rowShown[at]);
    }
    connect(coef, &QLineEdit::textEdited, this, [this, row] { SyncDiscountAndCoef(row, false); });
    connect(discount, &QLineEdit::textEdited, this,
            [this, row] { SyncDiscountAndCoef(row, true); });
  }
  grid->addWidget(EtchedSeparator(kMsgOptions, "1306"), line++, 0, 1, 5);
  auto* moLabel = new QLabel(StringQText(kMsgMo));
  m_mo = new QLineEdit, m_mo->setObjectName(QStringLiteral("ref_price_mo"));
  m_mo->setMaximumWidth(kEditWidth);
  grid->addWidget(moLabel, line, 0, 1, 2), grid->addWidget(m_mo, line++, 2);
  if (m_owner.Environment().common.ReadText("Comp", "Disabled", "0") == "1")
    moLabel->hide(), m_mo->hide();
  m_refGroup = new QCheckBox(StringQText(kMsgRefGrp));
  grid->addWidget(m_refGroup, line++, 0, 1, 5);
  auto* refsLabel = new QLabel(StringQText(kMsgRefs));
  m_refs = new QComboBox, m_refs->setObjectName(QStringLiteral("ref_price_refs"));
  m_refs->addItems({StringQText(kMsgRefsFind), StringQText(kMsgRefsShow)});
  grid->addWidget(refsLabel, line, 0, 1, 2), grid->addWidget(m_refs, line++, 2, 1, 3);
  const int refs = m_owner.Config().Refs();
  refsLabel->setVisible(refs == 1 || refs == 2), m_refs->setVisible(refs == 1 || refs == 2);
  m_refs->setCurrentIndex(refs % 2);
  auto* buttons = new QHBoxLayout;
  const std::array<std::pair<int, const char*>, 4> kButtons{
      {{kMsgClose, "1302"}, {kMsgApply, "1303"}, {kMsgSave, "1307"}, {kMsgImport, "1308"}}};
  for (const auto& [message, id] : kButtons) {
    auto* button = new QPushButton(StringQText(message));
    button->setObjectName(QStringLiteral("ref_price_button_%1").arg(QLatin1String(id)));
    buttons->addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, message] {
      if (message == kMsgClose) OnClose();
      if (message == kMsgApply) OnApply();
      if (message == kMsgSave) SaveAsDefaults();
      if (message == kMsgImport) OnImport();
    });
  }
  grid->addLayout(buttons, line++, 0, 1, 7);
  m_scroll = new QScrollBar(Qt::Vertical);
  m_scroll->setObjectName(QStringLiteral("ref_article_scroll"));
  m_scroll->hide();
  grid->addWidget(m_scroll, 3, 7, kRefPriceRowCount - 1, 1, Qt::AlignLeft);
  grid->setRowStretch(line, 1);
  grid->setColumnStretch(7, 1);
  if (m_owner.Environment().common.ReadText("Database", "JustOneCat", "no") == "yes")
    m_lists->setEnabled(false);
}

void CRefPricePanel::LoadValues() {
  const CRefPriceSettings& settings = m_owner.Project().priceSettings;
  m_priceList = std::clamp(settings.priceList, 0, 14);
  ReadCurrencies();
  FillPriceListCombo();
  connect(m_lists, &QComboBox::activated, this, [this] {
    m_priceList = m_lists->currentData().toInt();
    ShowCurrency();
  });
  // The rate is held in hundredths, as the comparison types and costs it.
  m_mo->setText(Text(RefHundredthsText(m_owner.Config().CompMo(), m_decimal, false)));
  m_refGroup->setChecked(m_owner.Config().RefGroup() != 0);
  for (int row = 0; row < kRefPriceRowCount; ++row) {
    const int product = RefPriceRowProduct(row, m_apod);
    m_coef[static_cast<std::size_t>(row)]->setText(Text(
        PanelNumberText(settings.productCoefs[static_cast<std::size_t>(product)][0], m_decimal)));
    SyncDiscountAndCoef(row, false);
  }
}

void CRefPricePanel::FillPriceListCombo() {
  m_lists->clear();
  for (int list = 0; list < 15; ++list) {
    const std::string name = m_owner.PriceListName(list);
    if (name.empty() && list >= 4) continue;
    m_lists->addItem(Text(name), list);
    if (list == m_priceList) m_lists->setCurrentIndex(m_lists->count() - 1);
  }
  if (m_lists->findData(m_priceList) < 0) m_lists->setCurrentIndex(-1);
  ShowCurrency();
}

void CRefPricePanel::ReadCurrencies() {
  m_currencies =
      ReadPriceListNames(m_owner.Environment().common.folders.article, LookupText).second;
}

// The currency of the list chosen, as soon as it is chosen: the prices of the lines
// follow only on Apply.
void CRefPricePanel::ShowCurrency() {
  m_currency->setText(Text(m_currencies[static_cast<std::size_t>(std::clamp(m_priceList, 0, 14))]));
}

void CRefPricePanel::SyncDiscountAndCoef(int row, bool fromDiscount) {
  if (m_syncing) return;
  m_syncing = true;
  QLineEdit* from = (fromDiscount ? m_discount : m_coef)[static_cast<std::size_t>(row)];
  QLineEdit* to = (fromDiscount ? m_coef : m_discount)[static_cast<std::size_t>(row)];
  to->setText(Text(PartnerNumberText(from->text().toStdString(), m_decimal, fromDiscount)));
  m_syncing = false;
}

bool CRefPricePanel::ReadValues(std::array<double, kRefPriceRowCount>& coefs, int& mo) {
  for (int row = 0; row < (m_userArticles ? 0 : kRefPriceRowCount); ++row) {
    QLineEdit* edit = m_coef[static_cast<std::size_t>(row)];
    double& value = coefs[static_cast<std::size_t>(row)];
    if (!ReadPanelNumber(edit->text().toStdString(), m_decimal, value) ||
        !IsUsableRefCoefficient(value) || value > kMaxCoef) {
      Refuse(edit, FieldRangeMessage(m_labels[static_cast<std::size_t>(row)]->text().toStdString(),
                                     "0", PanelNumberText(kMaxCoef, m_decimal), false));
      return false;
    }
  }
  const auto rate = ReadRoundedValue(m_mo->text().toStdString(), 2);
  if (!m_mo->isHidden() && (!rate || *rate < 0)) {
    Refuse(m_mo, FieldNumberMessage(StringText(kMsgMo), false));
    return false;
  }
  mo = rate && *rate >= 0 ? static_cast<int>(*rate) : m_owner.Config().CompMo();
  return true;
}

void CRefPricePanel::Refuse(QLineEdit* edit, const std::string& message) {
  if (CShellDialogs* dialogs = m_owner.Environment().common.dialogs)
    dialogs->Message(this, Text(message), kMbOk | kMbIconExclamation);
  edit->setFocus();
}

int CRefPricePanel::RefsChoice() const {
  return m_refs->currentIndex() == 0 ? 2 : m_refs->currentIndex();
}

bool CRefPricePanel::OnApply() {
  std::array<double, kRefPriceRowCount> coefs{};
  int mo = 0;
  if (!ReadValues(coefs, mo)) return false;
  CRefProject& project = m_owner.Project();
  CRefConfig& config = m_owner.MutableConfig();
  bool changed = false;
  if (m_priceList != project.priceSettings.priceList) {
    m_owner.SetPriceList(m_priceList);
    changed = true;
  }
  if (mo != config.CompMo()) config.SetCompMo(mo), changed = true;
  for (int row = 0; row < (m_userArticles ? 0 : kRefPriceRowCount); ++row) {
    const std::size_t product = static_cast<std::size_t>(RefPriceRowProduct(row, m_apod));
    const double value = coefs[static_cast<std::size_t>(row)];
    if (value == project.priceSettings.productCoefs[product][0]) continue;
    project.priceSettings.productCoefs[product][0] = value;
    config.SetCoefficient(static_cast<int>(product), value);
    changed = true;
  }
  config.SetRefGroup(m_refGroup->isChecked() ? 1 : 0);
  if (m_refs->isVisible() && RefsChoice() != config.Refs())
    config.SetRefs(RefsChoice()), changed = true;
  Close(changed || m_imported ? CEditPanelOwner::kPanelRecompute : CEditPanelOwner::kPanelNothing);
  return changed;
}

void CRefPricePanel::OnClose() {
  Close(m_imported ? CEditPanelOwner::kPanelRecompute : CEditPanelOwner::kPanelNothing);
}

void CRefPricePanel::Close(int code) {
  hide();
  CRefConfigDlg* owner = &m_owner;
  // The owner deletes the panel: not inside the panel's own handler.
  QTimer::singleShot(0, owner, [owner, code] { owner->ShowEditPanel(false, code); });
}

bool CRefPricePanel::SaveAsDefaults() {
  std::array<double, kRefPriceRowCount> coefs{};
  int mo = 0;
  if (!ReadValues(coefs, mo)) return false;
  const CLinearEnvironment& environment = m_owner.Environment().common;
  if (environment.dialogs && environment.dialogs->Message(this, StringQText(kMsgConfirmSave),
                                                          kMbOkCancel | kMbIconQuestion) != kIdOk)
    return false;
  bool written = environment.WriteText("Comp", "MO", std::to_string(mo));
  for (int row = 0; row < (m_userArticles ? 0 : kRefPriceRowCount); ++row) {
    std::string key(kRefPriceRows[static_cast<std::size_t>(row)].label);
    if (m_apod && row < 2) key += "-APOD";
    const double value = coefs[static_cast<std::size_t>(row)];
    written &=
        environment.WriteText("Ref", key.c_str(), QString::asprintf("%f", value).toStdString());
  }
  written &= environment.WriteText("Ref", "RefGrp", m_refGroup->isChecked() ? "1" : "0");
  if (m_refs->isVisible())
    written &= environment.WriteText("Ref", "Refs", std::to_string(RefsChoice()));
  if (!written && environment.dialogs)
    environment.dialogs->Message(
        this, Text(FormatMessageTextS(kMsgCannotWrite, environment.settingsFolder + "TVR.INI")),
        kMbOk | kMbIconError);
  return written;
}

bool CRefPricePanel::OnImport() {
  if (!ImportUserArticlesFromFile(this, m_owner.Environment().common, m_priceList,
                                  m_owner.Config().Refs()))
    return false;
  m_imported = true;
  m_owner.ReloadPriceLists();
  ReadCurrencies();
  FillPriceListCombo();
  return true;
}

std::array<QWidget*, 5> CRefPricePanel::RowWidgets(int row) const {
  const std::size_t at = static_cast<std::size_t>(row);
  return {m_labels[at], m_coef[at], m_ors[at], m_discount[at], m_percents[at]};
}

bool CRefPricePanel::LoadUserArticles() {
  const CLinearEnvironment& environment = m_owner.Environment().common;
  if (environment.ReadInt("Database", "UseTC", 0) == 0) return false;
  const int field = LocalDesignField(environment.ReadText("Database", "LANG_DESIGN", "1"));
  std::optional<std::vector<CLocalArticle>> articles =
      ReadLocalArticles(m_owner.Environment().catalogueSetup.articleFolder, field);
  if (!articles) return false;
  m_articles = std::move(*articles);
  m_userArticles = true;
  // The six rows under the QPC row list the articles.
  for (QWidget* widget : RowWidgets(0)) widget->hide();
  for (int row = 1; row < kRefPriceRowCount; ++row) {
    const std::size_t at = static_cast<std::size_t>(row);
    // Every list row is shown, whatever the options offer of the product it stands for.
    for (QWidget* widget : RowWidgets(row)) widget->show();
    m_descriptions[at]->show();
    m_coef[at]->setReadOnly(true), m_discount[at]->setReadOnly(true);
  }
  const int rows = kRefPriceRowCount - 1;
  const int count = static_cast<int>(m_articles.size());
  m_scroll->setRange(0, std::max(0, count - rows));
  m_scroll->setPageStep(rows);
  m_scroll->setEnabled(count > rows);
  m_scroll->show();
  connect(m_scroll, &QScrollBar::valueChanged, this, [this](int first) { FillArticleRows(first); });
  FillArticleRows(0);
  return true;
}

void CRefPricePanel::FillArticleRows(int first) {
  for (int row = 1; row < kRefPriceRowCount; ++row) {
    const std::size_t at = static_cast<std::size_t>(row);
    const std::size_t index = static_cast<std::size_t>(first + row - 1);
    const CLocalArticle* article = index < m_articles.size() ? &m_articles[index] : nullptr;
    m_descriptions[at]->setText(article ? Text(article->designation) : QStringLiteral("-"));
    m_labels[at]->setText(article ? Text(article->reference) : QString());
    m_coef[at]->setText(article ? Text(PanelNumberText(article->value, m_decimal)) : QString());
    SyncDiscountAndCoef(row, false);
  }
}
