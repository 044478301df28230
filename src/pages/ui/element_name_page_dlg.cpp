#include "pages/ui/element_name_page_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "pages/ui/prop_dialog.h"

namespace {

constexpr int kMsgReferenceNote = 2677;
constexpr int kMsgReplaceAll = 2678;
constexpr int kPictureSize = 32;

// The button's picture: a tap-off unit plugged onto a length of trunking.
QIcon TapOffPicture() {
  QPixmap picture(kPictureSize, kPictureSize);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.setPen(QPen(Qt::black, 1));
  painter.fillRect(2, 22, 28, 6, Qt::lightGray);
  painter.drawRect(2, 22, 28, 6);
  painter.fillRect(9, 4, 14, 14, Qt::darkCyan);
  painter.drawRect(9, 4, 14, 14);
  painter.drawLine(16, 18, 16, 22);
  return QIcon(picture);
}

}  // namespace

CElementNamePageDlg::CElementNamePageDlg(QWidget* parent) : CPropPageDialog(parent) {
  QGridLayout* grid = MakeGrid();
  m_reference = MakeEdit(1073);
  QLabel* note = MakeLabel(1070, kMsgReferenceNote);
  note->setWordWrap(true);
  m_replaceAll = MakeCheck(1072, kMsgReplaceAll);
  m_tapOff = MakeButton(1374);
  m_tapOff->setIcon(TapOffPicture());
  m_tapOff->setIconSize(QSize(kPictureSize, kPictureSize));
  grid->addWidget(m_reference, 0, 0, 1, 2);
  grid->addWidget(note, 1, 0, 1, 2);
  grid->addWidget(m_replaceAll, 2, 0);
  grid->addWidget(m_tapOff, 2, 1);
  grid->setRowStretch(3, 1);
  connect(m_tapOff, &QPushButton::clicked, this, &CElementNamePageDlg::StartTapOffChoice);
}

void CElementNamePageDlg::ShowValues() {
  m_reference->setText(QString::fromStdString(m_rules.GetText()));
  m_reference->setEnabled(m_rules.IsEditable());
  m_replaceAll->setChecked(m_rules.IsReplaceAll());
  m_replaceAll->setVisible(m_rules.IsEditable());
  m_tapOff->setVisible(m_rules.OffersTapOffChoice());
}

void CElementNamePageDlg::StoreValues() {
  m_rules.SetText(m_reference->text().toStdString());
  m_rules.SetReplaceAll(m_replaceAll->isChecked());
}

void CElementNamePageDlg::FocusField(int field) {
  (void)field;
  m_reference->selectAll();
  m_reference->setFocus();
}

// The window that shows this page goes first unless pinned; the command runs once the
// click is over, as the page itself may be gone by then.
void CElementNamePageDlg::StartTapOffChoice() {
  QPointer<CPropDialog> window = qobject_cast<CPropDialog*>(this->window());
  QTimer::singleShot(0, [window] {
    if (window && !window->IsPinned()) window->ClearObject();
    RunPageCommand(kTapOffCommand);
  });
}
