#include "shell/ui/ui_script_reference.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

#include "reference/ui/ref_config_dlg.h"
#include "reference/ui/ref_core.h"
#include "reference/ui/ref_wnd.h"
#include "shell/ui/main_frame.h"

namespace {

// The item slots of a line that hold units, "slot:units" (Qt's "slots" word set aside).
#pragma push_macro("slots")
#undef slots
QString SlotUnits(const CRefLine& line) {
  QStringList held;
  for (std::size_t slot = 0; slot < line.slots.size(); ++slot)
    if ((line.slots[slot] & 0xFFFF) != 0)
      held << QStringLiteral("%1:%2").arg(slot).arg(line.slots[slot] & 0xFFFF);
  return held.join(QLatin1Char(' '));
}
#pragma pop_macro("slots")

// Each priced item of a line, "item<line>_<n>=reference|designation|unit|quantity|kind".
QString ItemLines(const CRefLine& line, int index) {
  QString text;
  for (std::size_t n = 0; n < line.Items().size(); ++n) {
    const CRefItemNode& item = line.Items()[n];
    text += QStringLiteral("item%1_%2=%3|%4|%5|%6|%7\n")
                .arg(index)
                .arg(n + 1)
                .arg(QString::fromStdString(item.reference)
                         .replace(QLatin1Char('\n'), QLatin1Char(' '))
                         .replace(QLatin1Char('\r'), QLatin1Char(' ')))
                .arg(QString::fromStdString(item.designation))
                .arg(item.unitPrice)
                .arg(item.quantity)
                .arg(item.kind);
  }
  return text;
}

// The reference window's figures: its lines, the total its price table shows, and
// each line's amount in hundredths.
bool WriteReport(CRefWnd& window, const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const CRefProject& project = window.Project();
  const int lines = RefLineCount(project);
  QString text = QStringLiteral("lines=%1\ntotal=%2\ndecimal=%3\n")
                     .arg(lines)
                     .arg(QString::fromStdString(window.Dialog().TotalText()))
                     .arg(QLatin1Char(window.Dialog().DecimalChar()));
  for (int index = 1; index <= lines; ++index) {
    const CRefLine& line = project.lines[static_cast<std::size_t>(index)];
    QStringList counts;  // the line's component values that are set, "function:value"
    for (int c = 0; c < CRefLine::kComponentCount; ++c)
      if (line.Component(c) != 0) counts << QStringLiteral("%1:%2").arg(c).arg(line.Component(c));
    text += QStringLiteral("slots%1=%2\n").arg(index).arg(SlotUnits(line));
    text += QStringLiteral("name%1=%2\namount%1=%3\ncomponents%1=%4\n")
                .arg(index)
                .arg(QString::fromStdString(line.name))
                .arg(RefRecordAmount(project, index))
                .arg(counts.join(QLatin1Char(' ')));
    text += QStringLiteral("spacing%1=%2\nmode%1=%3\nextra%1=%4\nunits%1=%5\n")
                .arg(index)
                .arg(line.fixingSpacing)
                .arg(line.lineMode)
                .arg(line.extraCode)
                .arg(RefSlotUnitTotal(line));
    text += QStringLiteral("kind%1=%2\nlength%1=%3\ncount%1=%4\nquantity%1=%5\nitems%1=%6\n")
                .arg(index)
                .arg(line.productKind)
                .arg(line.length)
                .arg(line.count)
                .arg(line.lineQuantity)
                .arg(line.Items().size());
    text += ItemLines(line, index);
  }
  return file.write(text.toUtf8()) > 0;
}

bool Choose(CRefWnd& window, const QString& name, int data) {
  auto* combo = window.findChild<QComboBox*>(name);
  // A user cannot choose in a list the page hides.
  const int index = combo && combo->isVisible() ? combo->findData(data) : -1;
  if (index < 0) return false;
  combo->setCurrentIndex(index);
  emit combo->activated(index);  // as a user's choice
  return true;
}

// A label, list or edit shown with that text.
bool Shows(CRefWnd& window, const QString& name, const QString& text) {
  if (auto* label = window.findChild<QLabel*>(name))
    return label->isVisible() && label->text() == text;
  if (auto* combo = window.findChild<QComboBox*>(name))
    return combo->isVisible() && combo->currentText() == text;
  auto* edit = window.findChild<QLineEdit*>(name);
  return edit != nullptr && edit->isVisible() && edit->text() == text;
}

bool Type(CRefWnd& window, const QString& name, const QString& text) {
  auto* edit = window.findChild<QLineEdit*>(name);
  if (!edit || !edit->isVisible() || !edit->isEnabled()) return false;
  edit->setText(text);
  emit edit->textEdited(text);
  return true;
}

bool Click(CRefWnd& window, const QString& name) {
  auto* button = window.findChild<QAbstractButton*>(name);
  if (!button || !button->isVisible() || !button->isEnabled()) return false;
  button->click();
  return true;
}

}  // namespace

bool RunReferenceLine(CMainFrame& frame, const QStringList& words, bool& handled) {
  const QString& verb = words.front();
  handled = verb.startsWith(QLatin1String("ref"));
  if (!handled) return false;
  auto* window = dynamic_cast<CRefWnd*>(frame.ReferenceWindow());
  if (window == nullptr) return false;
  CRefConfigDlg& dialog = window->Dialog();
  if (verb == QLatin1String("refnew") && words.size() == 3)
    return dialog.AddNewLineItem(RefProductNodeCode(words[1].toInt(), words[2].toInt()));
  if (verb == QLatin1String("refchoose") && words.size() == 3)
    return Choose(*window, words[1], words[2].toInt());
  if (verb == QLatin1String("reftype") && words.size() == 3)
    return Type(*window, words[1], words[2]);
  if (verb == QLatin1String("refbutton") && words.size() == 2) return Click(*window, words[1]);
  if (verb == QLatin1String("refshows") && words.size() >= 3)
    return Shows(*window, words[1], QStringList(words.mid(2)).join(QLatin1Char(' ')));
  if (verb == QLatin1String("refhidden") && words.size() == 2) {
    const auto* widget = window->findChild<QWidget*>(words[1]);
    return widget != nullptr && !widget->isVisible();
  }
  if (verb == QLatin1String("refselect") && words.size() == 2)
    return dialog.SelectCode(words[1].toInt());
  if (verb == QLatin1String("reftab") && words.size() == 2)
    return dialog.ShowTabPage(words[1].toInt());
  if (verb == QLatin1String("refreport") && words.size() == 2)
    return WriteReport(*window, words[1]);
  return false;
}
