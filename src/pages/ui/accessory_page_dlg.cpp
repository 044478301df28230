#include "pages/ui/accessory_page_dlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgAdapterCaption = 30066;
constexpr int kMsgCatalogueCaption = 30068;
constexpr int kMsgRating = 2562;

void FillCombo(QComboBox* combo, const std::vector<CFeedEntry>& entries, int index) {
  const QSignalBlocker blocker(combo);
  combo->clear();
  for (const CFeedEntry& entry : entries) combo->addItem(QString::fromStdString(entry.text));
  combo->setCurrentIndex(index);
}

}  // namespace

CAccessoryPageDlg::CAccessoryPageDlg(QWidget* parent) : CPropPageDialog(parent) {
  QGridLayout* grid = MakeGrid();
  m_caption = MakeLabel(1070, kMsgAdapterCaption);
  m_accessory = MakeCombo(1167);
  m_choice = MakeCombo(1168);
  grid->addWidget(m_caption, 0, 0, 1, 2);
  grid->addWidget(MakeLabel(1069, kMsgRating), 1, 0);
  grid->addWidget(m_accessory, 1, 1);
  grid->addWidget(m_choice, 2, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(3, 1);
  connect(m_accessory, &QComboBox::activated, this, [this](int index) {
    ShowOutcome(m_rules.ChooseAccessory(index));
    ShowValues();
  });
  connect(m_choice, &QComboBox::activated, this, [this](int index) {
    ShowOutcome(m_rules.ChooseChoice(index));
    ShowValues();
  });
}

void CAccessoryPageDlg::ShowValues() {
  SetMessageText(m_caption, m_rules.IsQG() ? kMsgCatalogueCaption : kMsgAdapterCaption);
  FillCombo(m_accessory, m_rules.GetAccessories(), m_rules.GetAccessoryIndex());
  m_accessory->setEnabled(m_rules.IsAccessoryEnabled());
  FillCombo(m_choice, m_rules.GetChoices(), m_rules.GetChoiceIndex());
  m_choice->setVisible(!m_rules.GetChoices().empty());
  m_choice->setEnabled(m_rules.IsChoiceEnabled());
}
