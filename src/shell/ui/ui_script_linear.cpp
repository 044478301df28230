#include "shell/ui/ui_script_linear.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "linear/ui/linear_dlg.h"
#include "linear/ui/linear_wnd.h"
#include "shell/ui/main_frame.h"

namespace {

bool Type(CLinearWnd& window, const QString& name, const QString& text) {
  auto* edit = window.findChild<QLineEdit*>(name);
  if (!edit || !edit->isVisible() || !edit->isEnabled()) return false;
  edit->setText(text);
  emit edit->textEdited(text);
  return true;
}

bool Click(CLinearWnd& window, const QString& name) {
  auto* button = window.findChild<QPushButton*>(name);
  if (!button || !button->isVisible() || !button->isEnabled()) return false;
  button->click();
  return true;
}

// A label, an edit or a list (its chosen entry) shown with that text, runs of blanks
// read as one (the script's words are parted by blanks); "-" for a label that is hidden.
bool Shows(CLinearWnd& window, const QString& name, const QString& text) {
  if (auto* label = window.findChild<QLabel*>(name))
    return text == QLatin1String("-") ? !label->isVisible()
                                      : label->isVisible() && label->text().simplified() == text;
  if (auto* edit = window.findChild<QLineEdit*>(name))
    return edit->isVisible() && edit->text().simplified() == text;
  auto* combo = window.findChild<QComboBox*>(name);
  return combo != nullptr && combo->isVisible() && combo->currentText().simplified() == text;
}

}  // namespace

bool RunLinearLine(CMainFrame& frame, const QStringList& words, bool& handled) {
  const QString& verb = words.front();
  handled = verb.startsWith(QLatin1String("lin"));
  if (!handled) return false;
  auto* window = dynamic_cast<CLinearWnd*>(frame.LinearWindow());
  if (window == nullptr) return false;
  if (verb == QLatin1String("linselect") && words.size() == 2) {
    window->Dialog().SelectItem(words[1].toInt());
    return true;
  }
  if (verb == QLatin1String("lintype") && words.size() == 3)
    return Type(*window, words[1], words[2]);
  if (verb == QLatin1String("linbutton") && words.size() == 2) return Click(*window, words[1]);
  if (verb == QLatin1String("linshows") && words.size() >= 3)
    return Shows(*window, words[1], QStringList(words.mid(2)).join(QLatin1Char(' ')));
  return false;
}
