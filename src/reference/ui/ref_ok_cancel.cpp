#include "reference/ui/ref_ok_cancel.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgOk = 31045;
constexpr int kMsgCancel = 31044;

}  // namespace

QHBoxLayout* MakeRefOkCancelRow(QDialog* dialog, const QString& okName, const QString& cancelName) {
  auto* ok = new QPushButton;
  ok->setObjectName(okName);
  SetMessageText(ok, kMsgOk);
  auto* cancel = new QPushButton;
  if (!cancelName.isEmpty()) cancel->setObjectName(cancelName);
  SetMessageText(cancel, kMsgCancel);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return buttons;
}
