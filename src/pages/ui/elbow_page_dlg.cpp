#include "pages/ui/elbow_page_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int kMsgSpecialAngle = 2510;
constexpr int kMsgAngle = 2511;
constexpr int kMsgSpecialLength = 2679;
constexpr int kMsgAngleExtension = 30107;

}  // namespace

CElbowPageDlg::CElbowPageDlg(QWidget* parent) : CPropPageDialog(parent) {
  QGridLayout* grid = MakeGrid();
  m_special = MakeCheck(1019, kMsgSpecialAngle);
  m_specialText = m_special->text();
  m_angleCaption = MakeLabel(1114, kMsgAngle);
  m_angle = MakeEdit(1006);
  m_extension = MakeLabel(1115, kMsgAngleExtension);
  m_extension->hide();
  m_length = MakeCheck(1020, kMsgSpecialLength);
  grid->addWidget(m_special, 0, 0, 1, 2);
  grid->addWidget(m_angleCaption, 1, 0);
  grid->addWidget(m_angle, 1, 1);
  grid->addWidget(m_length, 2, 0, 1, 2);
  grid->setRowStretch(3, 1);
  connect(m_special, &QCheckBox::clicked, this, [this] {
    StoreValues();
    m_rules.ToggleSpecialAngle();
    if (m_rules.IsSpecialAngle()) ShowValues();
    else ApplyPage();
  });
}

void CElbowPageDlg::ShowValues() {
  m_special->setText(m_rules.IsAngleCaptionExtended()
                         ? m_specialText + QStringLiteral("  ( ") + m_extension->text() +
                               QStringLiteral(" )")
                         : m_specialText);
  m_special->setChecked(m_rules.IsSpecialAngle());
  m_special->setEnabled(m_rules.IsAngleBoxEnabled());
  m_angleCaption->setVisible(m_rules.IsAngleShown());
  m_angleCaption->setEnabled(m_rules.IsAngleBoxEnabled());
  m_angle->setVisible(m_rules.IsAngleShown());
  m_angle->setEnabled(m_rules.IsAngleEditable());
  m_angle->setText(QString::fromStdString(m_rules.GetAngleText()));
  m_length->setVisible(m_rules.IsLengthShown());
  m_length->setEnabled(m_rules.IsLengthBoxEnabled());
  m_length->setChecked(m_rules.IsSpecialLength());
}

void CElbowPageDlg::StoreValues() {
  m_rules.SetAngleText(m_angle->text().toStdString());
  m_rules.SetSpecialLength(m_length->isChecked());
}

void CElbowPageDlg::FocusField(int field) {
  (void)field;
  m_angle->selectAll();
  m_angle->setFocus();
}
