#include "shell/ui/ui_script_texts.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QMimeDatabase>

#include "shell/ui/main_frame.h"
#include "shell/ui/ui_script_answers.h"

namespace {

// The texts of the menu of that object name, its items in turn, a line each ("-" for a
// separator); false when there is no such menu or the file cannot be written.
bool WriteMenuTexts(CMainFrame& frame, const QString& name, const QString& path) {
  frame.UpdateCommandStates();
  auto* menu = frame.findChild<QMenu*>(name);
  if (menu == nullptr) return false;
  emit menu->aboutToShow();  // menus filled or renamed as they open are as a user sees them
  QStringList lines;
  for (const QAction* action : menu->actions()) {
    if (!action->isVisible()) continue;
    lines << (action->isSeparator() ? QStringLiteral("-") : action->text());
  }
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()) >= 0;
}

}  // namespace

bool RunTextLine(CMainFrame& frame, const QStringList& words, bool& handled) {
  const QString& verb = words.front();
  handled = true;
  if (verb == QLatin1String("menutexts") && words.size() == 3)
    return WriteMenuTexts(frame, words[1], words[2]);
  // Qt's text of that context and source ("_" a blank) in the running program.
  if (verb == QLatin1String("qttext") && words.size() >= 4) {
    const QByteArray source = words[2].toUtf8().replace('_', ' ');
    const QString text =
        QCoreApplication::translate(words[1].toUtf8().constData(), source.constData());
    return text == words.mid(3).join(QLatin1Char(' '));
  }
  // The description of a file type, as the file dialogs list it.
  if (verb == QLatin1String("mimetext") && words.size() >= 3)
    return QMimeDatabase().mimeTypeForName(words[1]).comment() ==
           words.mid(2).join(QLatin1Char(' '));
  // Every message box seen so far was titled TEXT.
  if (verb == QLatin1String("boxtitles") && words.size() >= 2) {
    const auto* answers = frame.findChild<CScriptAnswers*>();
    if (answers == nullptr || answers->MessageTitles().isEmpty()) return false;
    const QString title = words.mid(1).join(QLatin1Char(' '));
    for (const QString& seen : answers->MessageTitles())
      if (seen != title) return false;
    return true;
  }
  handled = false;
  return false;
}
