#include "view/ui/dialog_buttons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "app/message_text.h"

namespace {

constexpr int kMsgOk = 2710;
constexpr int kMsgCancel = 2713;

}  // namespace

QDialogButtonBox* MakeDialogButtons(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(QString::fromStdString(StringText(kMsgOk)));
  buttons->button(QDialogButtonBox::Cancel)
      ->setText(QString::fromStdString(StringText(kMsgCancel)));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}
