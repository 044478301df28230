#pragma once

#include <QString>

class QPushButton;
class QWidget;

// What the annotation dialogs build their controls from.
namespace annotation_dialog_parts {

// The dialog text of that number.
QString Text(int number);
// The message of that number; a message of two lines gives its second.
QString Caption(int number);
// A push button whose object name is the control number of the original dialog.
QPushButton* NamedButton(QWidget* parent, int id, const QString& text);

}  // namespace annotation_dialog_parts
