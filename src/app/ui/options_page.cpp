#include "app/ui/options_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>

#include "app/message_text.h"
#include "app/ui/message_box.h"
#include "app/ui/window_translation.h"

COptionsPage::COptionsPage(int dialogId, int captionMessage, QWidget* parent)
    : QWidget(parent), m_dialogId(dialogId), m_captionMessage(captionMessage) {
  setObjectName(QString::number(dialogId));
}

QLabel* COptionsPage::AddLabel(int id, int message) {
  auto* label = new QLabel(this);
  label->setObjectName(QString::number(id));
  SetMessageText(label, message);
  return label;
}

QPushButton* COptionsPage::AddButton(int id, int message) {
  auto* button = new QPushButton(this);
  button->setObjectName(QString::number(id));
  button->setAutoDefault(false);
  SetMessageText(button, message);
  return button;
}

QLineEdit* COptionsPage::AddEdit(int id) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(QString::number(id));
  return edit;
}

QLineEdit* COptionsPage::AddNumberEdit(int id, int digits) {
  QLineEdit* edit = AddEdit(id);
  edit->setMaxLength(digits);
  // Room for the digits and one more, plus the frame and the text margins.
  QStyleOptionFrame option;
  option.initFrom(edit);
  const QFontMetrics metrics = edit->fontMetrics();
  QSize text(metrics.horizontalAdvance(QString(digits + 1, QLatin1Char('0'))), metrics.height());
  edit->setFixedWidth(
      edit->style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, edit).width());
  return edit;
}

QPushButton* COptionsPage::AddDefaultsButton(int message) {
  QPushButton* button = AddButton(kDefaultsButton, message);
  connect(button, &QPushButton::clicked, this, [this] { ResetDefaults(); });
  return button;
}

bool COptionsPage::ReadNumber(QLineEdit* edit, CNumberRange range, int& value) {
  std::optional<int> number = ReadNumberInRange(edit->text().toStdString(), range);
  if (number) {
    value = *number;
    return true;
  }
  TranslatedMessageBox(
      QString::fromStdString(FormatMessageTextDD(kMsgNumberRange, range.min, range.max)),
      kMbOk | kMbIconExclamation, this);
  edit->setFocus();
  edit->selectAll();
  return false;
}
