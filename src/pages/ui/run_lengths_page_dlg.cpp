#include "pages/ui/run_lengths_page_dlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgLengths = 2699;
constexpr int kMsgRiser = 2733;
constexpr int kMsgRiserNone = 2719;
constexpr int kMsgRiserSol2 = 2720;
constexpr int kMsgRiserM = 30071;
constexpr int kMsgRiserNoneM = 30073;
constexpr int kMsgRiserSol2M = 30072;
constexpr int kMsgElbows = 2739;
constexpr int kMsgElbowJunction = 2740;
constexpr int kMsgElbowStandard = 2741;
constexpr int kMsgStep = 2742;
constexpr int kLengthIds[] = {1019, 1020, 1021, 1022};

}  // namespace

CRunLengthsPageDlg::CRunLengthsPageDlg(QWidget* parent) : CPropPageDialog(parent) {
  auto* column = new QVBoxLayout(this);
  column->addWidget(BuildLengths());
  m_riserGroup = BuildRadios(1069, kMsgRiser, m_riserNone, 1105, kMsgRiserNone, m_riserSol2, 1106,
                             kMsgRiserSol2);
  m_elbowGroup = BuildRadios(1071, kMsgElbows, m_elbowJunction, 1107, kMsgElbowJunction,
                             m_elbowStandard, 1108, kMsgElbowStandard);
  m_step = MakeCheck(1607, kMsgStep);
  column->addWidget(m_riserGroup);
  column->addWidget(m_elbowGroup);
  column->addWidget(m_step);
  column->addStretch(1);
}

QGroupBox* CRunLengthsPageDlg::BuildLengths() {
  QGroupBox* group = MakeGroup(1070, kMsgLengths);
  auto* layout = new QHBoxLayout(group);
  for (std::size_t i = 0; i < m_lengths.size(); ++i) {
    m_lengths[i] = MakeCheck(kLengthIds[i]);
    layout->addWidget(m_lengths[i]);
    connect(m_lengths[i], &QCheckBox::clicked, this, [this, i](bool checked) {
      m_lengths[i]->setChecked(m_rules.OnLengthClick(static_cast<int>(i), checked));
    });
  }
  layout->addStretch(1);
  return group;
}

QGroupBox* CRunLengthsPageDlg::BuildRadios(int id, int message, QRadioButton*& first, int firstId,
                                           int firstMessage, QRadioButton*& second, int secondId,
                                           int secondMessage) {
  QGroupBox* group = MakeGroup(id, message);
  auto* layout = new QHBoxLayout(group);
  first = MakeRadio(firstId, firstMessage);
  second = MakeRadio(secondId, secondMessage);
  layout->addWidget(first);
  layout->addWidget(second);
  layout->addStretch(1);
  return group;
}

void CRunLengthsPageDlg::ShowValues() {
  for (std::size_t i = 0; i < m_lengths.size(); ++i) {
    const int length = m_rules.GetLengths()[i];
    m_lengths[i]->setVisible(length != 0);
    m_lengths[i]->setText(QString::fromStdString(m_rules.FormatStandardLength(length)));
    m_lengths[i]->setChecked(m_rules.IsAllowed(static_cast<int>(i)));
  }
  const bool rangeM = m_rules.IsRiserOfRangeM();
  SetMessageText(m_riserGroup, rangeM ? kMsgRiserM : kMsgRiser);
  SetMessageText(m_riserNone, rangeM ? kMsgRiserNoneM : kMsgRiserNone);
  SetMessageText(m_riserSol2, rangeM ? kMsgRiserSol2M : kMsgRiserSol2);
  m_riserGroup->setVisible(m_rules.IsRiserShown());
  (m_rules.IsRiserSol2() ? m_riserSol2 : m_riserNone)->setChecked(true);
  m_elbowGroup->setVisible(m_rules.AreElbowsShown());
  (m_rules.IsElbowJunction() ? m_elbowJunction : m_elbowStandard)->setChecked(true);
  m_step->setVisible(m_rules.IsStepShown());
  m_step->setChecked(m_rules.IsStepChecked());
}

void CRunLengthsPageDlg::StoreValues() {
  m_rules.SetRiserSol2(m_riserSol2->isChecked());
  m_rules.SetElbowJunction(m_elbowJunction->isChecked());
  m_rules.SetStepChecked(m_step->isChecked());
}
