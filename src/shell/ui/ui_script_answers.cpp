#include "shell/ui/ui_script_answers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>

#include "app/ui/message_dlg.h"

namespace {

constexpr int kPollMs = 50;

QString Describe(const QWidget& dialog) {
  const auto* text = dialog.findChild<QLabel*>(QString::number(CMessageDlg::kTextId));
  const QString name = dialog.objectName().isEmpty()
                           ? QString::fromLatin1(dialog.metaObject()->className())
                           : dialog.objectName();
  return name + QLatin1Char(':') +
         (text != nullptr ? text->text() : dialog.windowTitle()).simplified();
}

// CONTROL=TEXT: the text goes into the edit of that object name; "_" stands for a blank.
// A list takes its item of that text (or the row of that number); "color" names the colour
// a colour dialog takes.
// A check box or radio button of that name is clicked to be checked for "1" and cleared
// otherwise.
void FillControl(QDialog& dialog, const QString& assignment) {
  const qsizetype equals = assignment.indexOf(QLatin1Char('='));
  if (equals <= 0) return;
  const QString name = assignment.left(equals);
  const QString text = assignment.mid(equals + 1).replace(QLatin1Char('_'), QLatin1Char(' '));
  if (auto* line = dialog.findChild<QLineEdit*>(name)) line->setText(text);
  if (auto* plain = dialog.findChild<QPlainTextEdit*>(name)) plain->setPlainText(text);
  // A list takes the item of that text, as if the user picked it.
  if (auto* combo = dialog.findChild<QComboBox*>(name); combo != nullptr && !combo->isEditable()) {
    if (const int index = combo->findText(text); index >= 0) {
      combo->setCurrentIndex(index);
      emit combo->activated(index);
    }
  }
  // A list of items takes the item of that text, or else the row of that number.
  if (auto* list = dialog.findChild<QListWidget*>(name)) {
    const QList<QListWidgetItem*> items = list->findItems(text, Qt::MatchExactly);
    bool number = false;
    const int row = text.toInt(&number);
    if (!items.isEmpty()) list->setCurrentItem(items.front());
    else if (number && row >= 0 && row < list->count()) list->setCurrentRow(row);
  }
  // "color=#RRGGBB" answers the colour dialog with that colour.
  if (auto* colors = qobject_cast<QColorDialog*>(&dialog);
      colors != nullptr && name == QLatin1String("color"))
    colors->setCurrentColor(QColor::fromString(text));
  auto* button = dialog.findChild<QAbstractButton*>(name);
  if (button == nullptr || !button->isCheckable()) return;
  const bool wanted = text == QLatin1String("1");
  // Clicked as the user clicks it, so that what hangs on the click follows.
  if (wanted != button->isChecked()) button->click();
  if (wanted != button->isChecked()) button->setChecked(wanted);
}

// "pdf=PATH" answers a print dialog: the page goes to that PDF file, as if the user had
// chosen to print to it.
bool AnswerPrintDialog(QDialog& dialog, const QStringList& words) {
  auto* print = qobject_cast<QPrintDialog*>(&dialog);
  if (print == nullptr) return false;
  for (const QString& word : words) {
    if (!word.startsWith(QLatin1String("pdf="))) continue;
    print->printer()->setOutputFormat(QPrinter::PdfFormat);
    print->printer()->setOutputFileName(word.mid(4));
    // done() rather than accept(): accept() would take the printer back from the
    // dialog's own fields.
    print->done(QDialog::Accepted);
    return true;
  }
  return false;
}

// Enter pressed where the focus is, once this answer is done, as the keyboard gives it:
// the dialog's default button answers.
void PressEnter(QDialog& dialog) {
  QPointer<QWidget> target = dialog.focusWidget() != nullptr ? dialog.focusWidget() : &dialog;
  QMetaObject::invokeMethod(
      &dialog,
      [target] {
        if (target == nullptr) return;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(target, &press);
        if (target != nullptr) QApplication::sendEvent(target, &release);
      },
      Qt::QueuedConnection);
}

}  // namespace

CScriptAnswers::CScriptAnswers(QObject* parent) : QObject(parent) {
  connect(&m_timer, &QTimer::timeout, this, &CScriptAnswers::Poll);
  m_timer.start(kPollMs);
}

void CScriptAnswers::Poll() {
  auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
  if (dialog == nullptr || !dialog->isVisible() || dialog == m_last) return;
  m_last = dialog;
  if (qobject_cast<CMessageDlg*>(dialog) != nullptr) m_titles << dialog->windowTitle();
  if (m_queue.empty()) {
    m_log << QLatin1Char('!') + Describe(*dialog);
    dialog->reject();
    return;
  }
  const QStringList words = m_queue.front();
  m_queue.pop_front();
  m_log << Describe(*dialog);
  Answer(*dialog, words);
  // "+BUTTON" leaves the dialog open for the next answer: the steps of a wizard.
  if (words.size() > 1 && words[1].startsWith(QLatin1Char('+'))) m_last = nullptr;
}

void CScriptAnswers::Answer(QDialog& dialog, const QStringList& words) {
  if (AnswerPrintDialog(dialog, words)) return;
  for (qsizetype i = 2; i < words.size(); ++i) FillControl(dialog, words[i]);
  if (words.size() > 0 && words[0] != QLatin1String("-")) dialog.grab().save(words[0]);
  QString button = words.size() > 1 ? words[1] : QStringLiteral("reject");
  if (button.startsWith(QLatin1Char('+'))) button.remove(0, 1);
  if (button == QLatin1String("accept")) {
    dialog.accept();
  } else if (button == QLatin1String("enter")) {
    PressEnter(dialog);
  } else if (auto* found = dialog.findChild<QAbstractButton*>(button);
             found != nullptr && button != QLatin1String("reject")) {
    // Clicked once this answer is done: a button that opens a window of its own (a
    // question) then leaves that window to the next answer.
    QMetaObject::invokeMethod(found, &QAbstractButton::click, Qt::QueuedConnection);
  } else {
    dialog.reject();
  }
}
