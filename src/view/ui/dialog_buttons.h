#pragma once

class QDialog;
class QDialogButtonBox;

// OK and Cancel in the program's language, accepting and rejecting the dialog (Qt's own
// button texts are English).
QDialogButtonBox* MakeDialogButtons(QDialog* dialog);
