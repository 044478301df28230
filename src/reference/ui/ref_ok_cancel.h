#pragma once

#include <QString>

class QDialog;
class QHBoxLayout;

// The OK and Cancel row of the reference dialogs: right-aligned, in the reference texts,
// OK the default button; they accept and reject the dialog. The names are the buttons'
// object names (the cancel button keeps none when it is empty).
QHBoxLayout* MakeRefOkCancelRow(QDialog* dialog, const QString& okName,
                                const QString& cancelName = QString());

// Sets the dialog's title and makes the dialog wide enough for the window manager to
// show it whole: a narrow dialog had its caption cut in the middle of a word.
void SetRefDialogTitle(QDialog* dialog, const QString& title);
