#pragma once

#include <QString>

class QDialog;
class QHBoxLayout;

// The OK and Cancel row of the reference dialogs: right-aligned, in the reference texts,
// OK the default button; they accept and reject the dialog. The names are the buttons'
// object names (the cancel button keeps none when it is empty).
QHBoxLayout* MakeRefOkCancelRow(QDialog* dialog, const QString& okName,
                                const QString& cancelName = QString());
