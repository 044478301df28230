#include "app/ui/message_dlg.h"

#include <QBoxLayout>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "app/message_box_codes.h"
#include "app/ui/message_box.h"
#include "app/ui/window_translation.h"

#include <algorithm>

namespace {

constexpr int kMsgOk = 2710;
constexpr int kMsgYes = 2711;
constexpr int kMsgNo = 2712;
constexpr int kMsgCancel = 2713;
constexpr int kIconSize = 32;
// The widest a line of text runs, in average characters, before it wraps: a long message
// reads as a paragraph, not as a band across the screen.
constexpr int kWrapCharacters = 90;

CMessageDlg::IconKind IconOfType(unsigned type) {
  switch (type & kMbIconMask) {
    case kMbIconError: return CMessageDlg::IconKind::Error;
    case kMbIconQuestion: return CMessageDlg::IconKind::Question;
    case kMbIconInformation: return CMessageDlg::IconKind::Information;
    default: return CMessageDlg::IconKind::Exclamation;
  }
}

QStyle::StandardPixmap PixmapOfIcon(CMessageDlg::IconKind icon) {
  switch (icon) {
    case CMessageDlg::IconKind::Error: return QStyle::SP_MessageBoxCritical;
    case CMessageDlg::IconKind::Question: return QStyle::SP_MessageBoxQuestion;
    case CMessageDlg::IconKind::Information: return QStyle::SP_MessageBoxInformation;
    case CMessageDlg::IconKind::Exclamation: break;
  }
  return QStyle::SP_MessageBoxWarning;
}

}  // namespace

CMessageDlg::CMessageDlg(const QString& text, const QString& caption, unsigned type,
                         QWidget* parent)
    : QDialog(parent), m_type(type), m_icon(IconOfType(type)) {
  setObjectName(QString::number(kDialogId));
  // A box without a caption of its own is the program's, never the bare executable's.
  setWindowTitle(caption.isEmpty() ? ApplicationTitle() : caption);
  BuildControls(text);
  ShowIcon();
  ShowButtons();
  TranslateWindow(this);
}

void CMessageDlg::BuildControls(const QString& text) {
  m_iconLabel = new QLabel(this);
  m_iconLabel->setObjectName(QString::number(kIconId));
  m_iconLabel->setAlignment(Qt::AlignTop);
  m_textLabel = new QLabel(this);
  m_textLabel->setObjectName(QString::number(kTextId));
  m_textLabel->setTextFormat(Qt::PlainText);  // messages may hold file names with "<"
  m_textLabel->setText(text);
  const QFontMetrics metrics = m_textLabel->fontMetrics();
  const int wrapWidth = metrics.averageCharWidth() * kWrapCharacters;
  int widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n')))
    widest = std::max(widest, metrics.horizontalAdvance(line));
  if (widest > wrapWidth) {
    m_textLabel->setWordWrap(true);
    m_textLabel->setFixedWidth(wrapWidth);
  }
  m_edit = new QLineEdit(this);
  m_edit->setObjectName(QString::number(kEditId));
  m_edit->hide();

  auto* column = new QVBoxLayout;
  column->addWidget(m_textLabel);
  column->addWidget(m_edit);
  column->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(m_iconLabel);
  top->addLayout(column, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  m_ok = AddButton(kIdOk, kMsgOk);
  m_yes = AddButton(kIdYes, kMsgYes);
  m_no = AddButton(kIdNo, kMsgNo);
  m_cancel = AddButton(kIdCancel, kMsgCancel);
  for (QPushButton* button : {m_ok, m_yes, m_no, m_cancel}) buttons->addWidget(button);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // grows with the text, as the box did
  connect(m_ok, &QPushButton::clicked, this, &CMessageDlg::OnOk);
  connect(m_yes, &QPushButton::clicked, this, [this] { done(kIdYes); });
  connect(m_no, &QPushButton::clicked, this, [this] { done(kIdNo); });
  connect(m_cancel, &QPushButton::clicked, this, [this] { done(kIdCancel); });
}

QPushButton* CMessageDlg::AddButton(int answer, int messageNumber) {
  auto* button = new QPushButton(this);
  button->setObjectName(QString::number(answer));
  SetMessageText(button, messageNumber);
  return button;
}

void CMessageDlg::ShowButtons() {
  const unsigned buttons = m_type & kMbButtonMask;
  const bool yesNo = buttons == kMbYesNo || buttons == kMbYesNoCancel;
  const bool cancel = buttons == kMbOkCancel || buttons == kMbYesNoCancel;
  m_ok->setVisible(!yesNo);
  m_yes->setVisible(yesNo);
  m_no->setVisible(yesNo);
  m_cancel->setVisible(cancel);
  QPushButton* first = yesNo ? m_yes : m_ok;
  QPushButton* second = buttons == kMbOkCancel ? m_cancel : yesNo ? m_no : nullptr;
  QPushButton* chosen = (m_type & kMbDefButton2) && second ? second : first;
  chosen->setDefault(true);
  chosen->setFocus();
}

void CMessageDlg::ShowIcon() {
  const QIcon icon = style()->standardIcon(PixmapOfIcon(m_icon), nullptr, this);
  m_iconLabel->setPixmap(icon.pixmap(kIconSize, kIconSize));
}

void CMessageDlg::SetInputText(const QString& text) {
  m_inputText = text;
  m_edit->setText(text);
  m_edit->show();
  m_edit->setFocus();
  m_edit->selectAll();
}

QPushButton* CMessageDlg::Button(int answer) const {
  switch (answer) {
    case kIdOk: return m_ok;
    case kIdYes: return m_yes;
    case kIdNo: return m_no;
    case kIdCancel: return m_cancel;
    default: return nullptr;
  }
}

void CMessageDlg::OnOk() {
  if (!m_edit->isHidden()) m_inputText = m_edit->text();
  done(m_ok->isHidden() ? kIdYes : kIdOk);
}

void CMessageDlg::reject() {
  if (!m_cancel->isHidden()) {
    done(kIdCancel);
  } else if (!m_ok->isHidden()) {
    done(kIdOk);
  }
  // A Yes/No box has no neutral answer: Escape and the close button do nothing.
}
