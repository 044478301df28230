#include "pages/ui/run_rating_page_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgCatalogue = 2561;
constexpr int kMsgRating = 2562;
constexpr int kMsgCurrent = 2735;
constexpr int kMsgTemperature = 2736;
constexpr int kMsgTemperatureNote = 2737;
constexpr int kMsgNeutral = 2564;
constexpr int kMsgColour = 30084;
constexpr int kMsgColourStandard = 30085;
constexpr int kMsgColourGrey = 30086;
constexpr int kMsgFold = 2563;
constexpr int kMsgLowerOption = 30175;
constexpr int kMsgLowerNote = 30176;
constexpr int kMostDropLines = 10;

}  // namespace

CRunRatingPageDlg::CRunRatingPageDlg(QWidget* parent) : CPropPageDialog(parent) {
  BuildControls();
  ConnectControls();
}

void CRunRatingPageDlg::BuildControls() {
  auto* grid = new QGridLayout(this);
  m_catalogues = MakeCombo(1020);
  m_ratings = MakeCombo(1021);
  m_currentLabel = MakeLabel(1095, kMsgCurrent);
  m_current = MakeEdit(1006);
  m_temperatureLabel = MakeLabel(1096, kMsgTemperature);
  m_temperatures = MakeCombo(1023);
  m_temperatureNote = MakeLabel(1097, kMsgTemperatureNote);
  m_temperatureNote->setWordWrap(true);
  m_neutralLabel = MakeLabel(1071, kMsgNeutral);
  m_neutrals = MakeCombo(1022);
  m_colourLabel = MakeLabel(1098, kMsgColour);
  m_colours = MakeCombo(1024);
  m_colours->addItem(ResourceQText(kMsgColourStandard));
  m_colours->addItem(ResourceQText(kMsgColourGrey));
  SetComboDropHeight(m_colours, 2);
  m_fold = MakeButton(kFoldButtonId, kMsgFold);
  m_lowerNote = MakeLabel(1099, kMsgLowerNote);
  m_lowerNote->setWordWrap(true);
  m_lowerOption = MakeCheck(1603, kMsgLowerOption);
  // Nothing of the run stands behind this box: it is shown, never to be ticked.
  m_lowerOption->setEnabled(false);
  m_lowerNote->hide();
  m_lowerOption->hide();
  grid->addWidget(MakeLabel(1070, kMsgCatalogue), 0, 0);
  grid->addWidget(m_catalogues, 0, 1, 1, 2);
  grid->addWidget(MakeLabel(1069, kMsgRating), 1, 0);
  grid->addWidget(m_ratings, 1, 1, 1, 2);
  grid->addWidget(m_currentLabel, 2, 0);
  grid->addWidget(m_current, 2, 1, 1, 2);
  grid->addWidget(m_temperatureLabel, 3, 0);
  grid->addWidget(m_temperatures, 3, 1, 1, 2);
  grid->addWidget(m_temperatureNote, 4, 1, 1, 2);
  grid->addWidget(m_neutralLabel, 5, 0);
  grid->addWidget(m_neutrals, 5, 1, 1, 2);
  grid->addWidget(m_colourLabel, 6, 0);
  grid->addWidget(m_colours, 6, 1, 1, 2);
  grid->addWidget(m_fold, 7, 0);
  grid->addWidget(m_lowerOption, 8, 0, 1, 3);
  grid->addWidget(m_lowerNote, 9, 0, 1, 3);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(10, 1);
}

void CRunRatingPageDlg::ShowLowerPart(bool shown) {
  m_colours->setEnabled(shown);
  m_lowerOption->setVisible(shown);
  m_lowerNote->setVisible(shown);
}

void CRunRatingPageDlg::ConnectControls() {
  // The lower part shows before the window measures the page for it.
  connect(m_fold, &QPushButton::toggled, this, &CRunRatingPageDlg::ShowLowerPart);
  SetFoldButton(m_fold);
  connect(m_catalogues, &QComboBox::activated, this,
          [this](int index) { Choose(&CRunRatingPage::OnCatalogueChange, index); });
  connect(m_ratings, &QComboBox::activated, this,
          [this](int index) { Choose(&CRunRatingPage::OnRatingChange, index); });
  connect(m_neutrals, &QComboBox::activated, this,
          [this](int index) { Choose(&CRunRatingPage::OnNeutralChange, index); });
  connect(m_temperatures, &QComboBox::activated, this,
          [this](int index) { Choose(&CRunRatingPage::OnTemperatureChange, index); });
  connect(m_colours, &QComboBox::activated, this, [this](int index) {
    m_rules.OnColourChange(index);
    ShowValues();
  });
  connect(m_current, &QLineEdit::editingFinished, this, [this] {
    if (m_current->text().toStdString() != m_rules.GetCurrentText()) ApplyPage();
  });
}

void CRunRatingPageDlg::Choose(CApplyOutcome (CRunRatingPage::*handler)(int), int index) {
  const CApplyOutcome outcome = (m_rules.*handler)(index);
  ShowValues();
  ShowOutcome(outcome);
}

void CRunRatingPageDlg::ShowList(QComboBox* combo, const std::vector<std::string>& texts,
                                 int choice) {
  const QSignalBlocker blocker(combo);
  combo->clear();
  for (const std::string& text : texts) combo->addItem(QString::fromStdString(text));
  SetComboDropHeight(combo, std::min(kMostDropLines, static_cast<int>(texts.size())));
  combo->setCurrentIndex(choice);
}

void CRunRatingPageDlg::ShowValues() {
  ShowList(m_catalogues, m_rules.GetCatalogueTexts(), m_rules.GetCatalogueChoice());
  ShowList(m_ratings, m_rules.GetRatingTexts(), m_rules.GetRatingChoice());
  ShowList(m_temperatures, m_rules.GetTemperatureTexts(), m_rules.GetTemperatureChoice());
  ShowList(m_neutrals, m_rules.GetNeutralTexts(), m_rules.GetNeutralChoice());
  m_current->setText(QString::fromStdString(m_rules.GetCurrentText()));
  const bool temperatures = !m_rules.GetTemperatureTexts().empty();
  for (QWidget* widget :
       {static_cast<QWidget*>(m_currentLabel), static_cast<QWidget*>(m_current),
        static_cast<QWidget*>(m_temperatureLabel), static_cast<QWidget*>(m_temperatures),
        static_cast<QWidget*>(m_temperatureNote)})
    widget->setVisible(temperatures);
  m_neutralLabel->setVisible(m_rules.IsNeutralShown());
  m_neutrals->setVisible(m_rules.IsNeutralShown());
  m_colourLabel->setVisible(m_rules.IsColourShown());
  m_colours->setVisible(m_rules.IsColourShown());
  m_colours->setEnabled(true);
  const QSignalBlocker blocker(m_colours);
  m_colours->setCurrentIndex(m_rules.GetColourChoice());
}

void CRunRatingPageDlg::StoreValues() { m_rules.SetTypedCurrent(m_current->text().toStdString()); }

void CRunRatingPageDlg::FocusField(int field) {
  (void)field;
  m_current->selectAll();
  m_current->setFocus();
}
