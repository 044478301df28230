#include "pages/ui/run_thermal_page_dlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>

#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgThermalList = 2752;
constexpr int kMsgChoices[] = {2753, 2754, 2755};
constexpr int kMsgValues1 = 2756;
constexpr int kMsgValues2 = 2757;
constexpr int kValueIds[] = {1704, 1705, 1706};

}  // namespace

CRunThermalPageDlg::CRunThermalPageDlg(QWidget* parent) : CPropPageDialog(parent) {
  auto* grid = new QGridLayout(this);
  m_choices = MakeCombo(1059);
  for (int message : kMsgChoices) m_choices->addItem(ResourceQText(message));
  SetComboDropHeight(m_choices, 3);
  m_valueLabels = {MakeLabel(1069, kMsgValues1), MakeLabel(1071, kMsgValues2)};
  for (std::size_t i = 0; i < m_values.size(); ++i) {
    m_values[i] = MakeEdit(kValueIds[i]);
    m_values[i]->setValidator(new QIntValidator(m_values[i]));
  }
  grid->addWidget(MakeLabel(1070, kMsgThermalList), 0, 0);
  grid->addWidget(m_choices, 0, 1, 1, 2);
  grid->addWidget(m_valueLabels[0], 1, 0);
  grid->addWidget(m_values[0], 1, 1);
  grid->addWidget(m_valueLabels[1], 2, 0);
  grid->addWidget(m_values[1], 2, 1);
  grid->addWidget(m_values[2], 2, 2);
  grid->setRowStretch(3, 1);
  connect(m_choices, &QComboBox::activated, this, [this](int index) {
    StoreValues();
    m_rules.OnChoiceChange(index);
    ShowValues();
  });
}

void CRunThermalPageDlg::ShowValues() {
  const QSignalBlocker blocker(m_choices);
  m_choices->setCurrentIndex(m_rules.GetChoice());
  const bool shown = m_rules.AreValuesShown();
  for (QLabel* label : m_valueLabels) label->setVisible(shown);
  for (std::size_t i = 0; i < m_values.size(); ++i) {
    m_values[i]->setVisible(shown);
    m_values[i]->setText(QString::fromStdString(m_rules.GetValues()[i]));
  }
}

void CRunThermalPageDlg::StoreValues() {
  for (std::size_t i = 0; i < m_values.size(); ++i)
    m_rules.SetValue(static_cast<int>(i), m_values[i]->text().toStdString());
}
