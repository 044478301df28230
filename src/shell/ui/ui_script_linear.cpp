#include "shell/ui/ui_script_linear.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>

#include "linear/ui/linear_dlg.h"
#include "linear/ui/linear_price_view.h"
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

// Key by key, as the keyboard types it: what the edit refuses does not get in.
bool TypeKeys(CLinearWnd& window, const QString& name, const QString& text) {
  auto* edit = window.findChild<QLineEdit*>(name);
  if (!edit || !edit->isVisible() || !edit->isEnabled()) return false;
  edit->setFocus();
  edit->selectAll();
  for (const QChar character : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(character));
    QApplication::sendEvent(edit, &press);
    QApplication::sendEvent(edit, &release);
  }
  return true;
}

// A left click on the middle of tab N, as the mouse gives it.
bool ClickTab(CLinearWnd& window, int tab) {
  auto* tabs = window.findChild<QTabBar*>(QStringLiteral("linear_tabs"));
  if (!tabs || !tabs->isVisible() || tab < 0 || tab >= tabs->count()) return false;
  const QPointF point = tabs->tabRect(tab).center();
  const QPointF global = tabs->mapToGlobal(point);
  QMouseEvent press(QEvent::MouseButtonPress, point, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, point, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(tabs, &press);
  QApplication::sendEvent(tabs, &release);
  QApplication::processEvents();
  return true;
}

// The page on the right is NAME or holds a visible NAME.
bool PageShown(CLinearWnd& window, const QString& name) {
  auto* pages = window.findChild<QStackedWidget*>(QStringLiteral("linear_pages"));
  QWidget* page = pages ? pages->currentWidget() : nullptr;
  if (page == nullptr) return false;
  if (page->objectName() == name) return true;
  auto* inside = page->findChild<QWidget*>(name);
  return inside != nullptr && inside->isVisible();
}

// The first column of the price table shown, a row a line.
bool WriteRows(CLinearWnd& window, const QString& path) {
  QStringList lines;
  for (const CLinearPriceView::RowCells& row : window.Dialog().PriceView().Rows())
    lines << row[0].text;
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()) >= 0;
}

bool Click(CLinearWnd& window, const QString& name) {
  auto* button = window.findChild<QAbstractButton*>(name);
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
  if (auto* tabs = window.findChild<QTabBar*>(name)) {
    const int current = tabs->currentIndex();
    const bool none = current < 0 || !tabs->isTabVisible(current);
    if (text == QLatin1String("-")) return tabs->isVisible() && none;
    return tabs->isVisible() && !none && tabs->tabText(current).remove(QLatin1Char('&')) == text;
  }
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
  if (verb == QLatin1String("linkeys") && words.size() == 3)
    return TypeKeys(*window, words[1], words[2]);
  if (verb == QLatin1String("lintab") && words.size() == 2)
    return ClickTab(*window, words[1].toInt());
  if (verb == QLatin1String("linpage") && words.size() == 2) return PageShown(*window, words[1]);
  if (verb == QLatin1String("linrows") && words.size() == 2) return WriteRows(*window, words[1]);
  if (verb == QLatin1String("linshows") && words.size() >= 3)
    return Shows(*window, words[1], QStringList(words.mid(2)).join(QLatin1Char(' ')));
  return false;
}
