#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QString>

class CLanguageMapping;
class QAction;
class QWidget;

// Windows are built in code; every text of a window is a message number. A window gives
// each of its texts with SetMessageText (or takes ResourceQText / StringQText where it
// builds a text itself); the number stays on the object, so TranslateWindow can apply
// the language again.

// The dynamic property of a QWidget or QAction that holds its message number.
inline constexpr const char* kMessageNumberProperty = "tvrMessageNumber";

// ResourceText and StringText (app/message_text.h) as QString.
QString ResourceQText(int number);
QString StringQText(int number);

// Gives the object the text of the message and remembers the number: buttons, labels,
// group boxes and menus take it as their text or title, the page of a tab widget as its
// tab text, any other window as its title, an action as its text.
void SetMessageText(QWidget* widget, int number);
void SetMessageText(QAction* action, int number);

// Applies the language to the window and everything in it: every object that carries a
// message number takes its text again, and while the translator is active the window
// takes the language font (children that chose a font of their own keep its size and
// style in the language's family). Window captions keep the window manager's font.
// Returns true.
bool TranslateWindow(QWidget* window);

// After the program's language is loaded: the translator takes the character set of a
// language that names one (see CTranslator::SetLanguageCharset); when that makes it
// active, the language font becomes the application's font, so that menus, tool tips
// and every window show the language.
void ApplyLanguageFont(const CLanguageMapping& mapping);

// OK and Cancel in the program's language, answering the dialog's accept and reject.
// The buttons carry the control ids "1" and "2"; the caller places the box in its layout.
QDialogButtonBox* MakeOkCancelButtons(QDialog* dialog);
