#include "reference/ui/ref_ok_cancel.h"

#include <algorithm>

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

void SetRefDialogTitle(QDialog* dialog, const QString& title) {
  dialog->setWindowTitle(title);
  // The frame's buttons and margins take about as much again as an icon and three
  // buttons; a bold title font is up to a fifth wider than the dialog's.
  constexpr int kFrameRoom = 140;
  const int width = dialog->fontMetrics().horizontalAdvance(title) * 6 / 5 + kFrameRoom;
  dialog->setMinimumWidth(std::max(dialog->minimumWidth(), width));
}
