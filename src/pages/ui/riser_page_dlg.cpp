#include "pages/ui/riser_page_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/message_box.h"
#include "app/ui/window_translation.h"
#include "model/element/dev.h"
#include "model/props/prop_window_notifier.h"
#include "model/run/run.h"
#include "pages/ui/prop_dialog.h"

#include <utility>

namespace {

constexpr int kMsgSpacing = 2656;
constexpr int kMsgCount = 2658;
constexpr int kMsgWithLength = 2657;
constexpr int kMsgInsert = 2659;
constexpr int kMsgSupportsAsk = 30155;
constexpr int kMsgSupportsNote = 30156;
constexpr int kMsgSupportsCheck = 30157;

CRiserPageDlg::CQuestion& Question() {
  static CRiserPageDlg::CQuestion question;
  return question;
}

}  // namespace

CRiserPageDlg::CQuestion CRiserPageDlg::SetSupportsQuestion(CQuestion question) {
  return std::exchange(Question(), std::move(question));
}

CRiserPageDlg::CRiserPageDlg(QWidget* parent) : CPropPageDialog(parent) {
  QGridLayout* grid = MakeGrid();
  m_spacing = MakeEdit(1066);
  m_spacingValue = MakeValueLabel(1070);
  m_plugCaption = MakeLabel(1097);
  m_plug = MakeEdit(1067);
  m_plugValue = MakeValueLabel(1096);
  m_count = MakeEdit(1071);
  m_withLength = MakeCheck(1068, kMsgWithLength);
  QPushButton* insert = MakeButton(1074, kMsgInsert);
  grid->addWidget(MakeLabel(1069, kMsgSpacing), 0, 0);
  grid->addWidget(m_spacing, 0, 1);
  grid->addWidget(m_spacingValue, 0, 2);
  grid->addWidget(m_plugCaption, 1, 0);
  grid->addWidget(m_plug, 1, 1);
  grid->addWidget(m_plugValue, 1, 2);
  grid->addWidget(MakeLabel(1095, kMsgCount), 2, 0);
  grid->addWidget(m_count, 2, 1);
  grid->addWidget(insert, 2, 2);
  grid->addWidget(m_withLength, 3, 0, 1, 3);
  grid->setRowStretch(4, 1);
  connect(insert, &QPushButton::clicked, this, &CRiserPageDlg::OnInsert);
}

void CRiserPageDlg::ShowValues() {
  m_spacing->setText(QString::fromStdString(m_rules.GetSpacingText()));
  m_spacingValue->setText(QString::fromStdString(m_rules.GetSpacingLabel()));
  SetMessageText(m_plugCaption, m_rules.GetPlugCaptionMessage());
  m_plug->setText(QString::fromStdString(m_rules.GetPlugText()));
  m_plugValue->setText(QString::fromStdString(m_rules.GetPlugLabel()));
  for (QWidget* widget : {static_cast<QWidget*>(m_plugCaption), static_cast<QWidget*>(m_plug),
                          static_cast<QWidget*>(m_plugValue)})
    widget->setVisible(m_rules.IsPlugShown());
  m_plug->setEnabled(m_rules.IsPlugEditable());
  m_count->setText(QString::fromStdString(m_rules.GetCountText()));
  m_withLength->setChecked(m_rules.IsInsertWithLength());
}

void CRiserPageDlg::StoreValues() {
  m_rules.SetSpacingText(m_spacing->text().toStdString());
  m_rules.SetPlugText(m_plug->text().toStdString());
  m_rules.SetCountText(m_count->text().toStdString());
  m_rules.SetInsertWithLength(m_withLength->isChecked());
}

void CRiserPageDlg::FocusField(int field) {
  (void)field;
  m_spacing->selectAll();
  m_spacing->setFocus();
}

void CRiserPageDlg::OnInsert() {
  StoreValues();
  const CApplyOutcome outcome = m_rules.InsertFixings();
  if (outcome.result == EApplyResult::kRefused) {
    QApplication::beep();
    FocusField(outcome.refusal.field);
  }
  ShowValues();
  if (outcome.result == EApplyResult::kApplied && m_rules.AsksForSupports()) AskForSupports();
}

void CRiserPageDlg::AskForSupports() {
  QString text = StringQText(kMsgSupportsAsk);
  if (!StringQText(kMsgSupportsNote).isEmpty()) text += '\n' + StringQText(kMsgSupportsNote);
  text +=
      '\n' + StringQText(kMsgSupportsCheck) + '\n' + StringQText(m_rules.GetSupportsQuestionLast());
  const int marker = ModalMarker();
  SetModalMarker(kModalMarker);
  const bool yes =
      Question()
          ? Question()(this, text)
          : TranslatedMessageBox(text, kMbYesNo | kMbIconQuestion | kMbDefButton2, this) == kIdYes;
  SetModalMarker(marker);
  CDev* element = dynamic_cast<CDev*>(m_rules.GetObject());
  if (!yes || element == nullptr || element->GetRun() == nullptr) return;
  // Showing the run's pages replaces this page: nothing of it is touched afterwards.
  const QPointer<CPropDialog> window = qobject_cast<CPropDialog*>(this->window());
  element->GetRun()->NotifyPropDialog(kPropMsgShowObject);
  if (window) window->SelectPage(window->PageCount() - 1);
}
