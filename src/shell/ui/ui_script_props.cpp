#include "shell/ui/ui_script_props.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTabBar>
#include <QThread>
#include <QToolButton>

#include <algorithm>

#include "pages/ui/prop_dialog.h"
#include "pages/ui/prop_page_dialog.h"
#include "shell/ui/main_frame.h"

namespace {

constexpr int kSettleMs = 50;
constexpr int kDragSteps = 8;

CPropDialog* ShownWindow(CMainFrame& frame) {
  auto* window = frame.findChild<CPropDialog*>(QStringLiteral("CPropDialog"));
  return window != nullptr && window->isVisible() ? window : nullptr;
}

void Settle() {
  QApplication::sendPostedEvents();
  QApplication::processEvents(QEventLoop::AllEvents, kSettleMs);
}

// The pin clicked until it shows the state asked for.
bool Pin(CMainFrame& frame, bool pinned) {
  CPropDialog* window = ShownWindow(frame);
  auto* pin =
      window != nullptr ? window->findChild<QAbstractButton*>(QStringLiteral("pin")) : nullptr;
  if (pin == nullptr) return false;
  if (pin->isChecked() != pinned) pin->click();
  return window->IsPinned() == pinned;
}

// The tab strip highlights page N, and page N is the one page shown.
bool ShowsPage(CMainFrame& frame, int index) {
  CPropDialog* window = ShownWindow(frame);
  if (window == nullptr || window->CurrentIndex() != index ||
      window->TabStrip()->currentIndex() != index)
    return false;
  for (auto* page : window->findChildren<CPropPageDialog*>(Qt::FindDirectChildrenOnly))
    if (page->isVisible() != (page == window->CurrentPage())) return false;
  return window->CurrentPage() != nullptr;
}

// A click on tab N of the strip, where the mouse puts it.
bool ClickTab(CMainFrame& frame, int index) {
  CPropDialog* window = ShownWindow(frame);
  QTabBar* tabs = window != nullptr ? window->TabStrip() : nullptr;
  if (tabs == nullptr || index < 0 || index >= tabs->count()) return false;
  const QPoint at = tabs->tabRect(index).center();
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, at, tabs->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(tabs, &event);
  }
  return true;
}

// Every tab's text fits its tab, the tabs fit the strip and the shown page's labels show
// their whole texts.
bool TabsFit(CMainFrame& frame) {
  CPropDialog* window = ShownWindow(frame);
  QTabBar* tabs = window != nullptr ? window->TabStrip() : nullptr;
  if (tabs == nullptr || tabs->count() == 0) return false;
  // Tabs beyond the strip's end are reached by its scroll buttons, which must show.
  const QRect last = tabs->tabRect(tabs->count() - 1);
  if (last.right() >= tabs->width()) {
    const QList<QToolButton*> arrows = tabs->findChildren<QToolButton*>();
    if (std::none_of(arrows.begin(), arrows.end(),
                     [](const QToolButton* arrow) { return arrow->isVisible(); }))
      return false;
  }
  for (int i = 0; i < tabs->count(); ++i) {
    const int text = tabs->fontMetrics().horizontalAdvance(tabs->tabText(i));
    if (text > tabs->tabRect(i).width()) return false;
  }
  // The shown page's one-line labels are not cut either.
  CPropPageDialog* page = window->CurrentPage();
  if (page == nullptr) return true;
  for (const QLabel* label : page->findChildren<QLabel*>()) {
    if (!label->isVisible() || label->wordWrap() || label->text().isEmpty()) continue;
    if (label->fontMetrics().horizontalAdvance(label->text()) > label->contentsRect().width())
      return false;
  }
  return true;
}

// The whole window lies on its screen.
bool Inside(CMainFrame& frame) {
  CPropDialog* window = ShownWindow(frame);
  const QScreen* screen = window != nullptr ? window->screen() : nullptr;
  return screen != nullptr && screen->geometry().contains(window->frameGeometry());
}

// The window moved by DX, DY as the window manager moves it while the user drags its
// caption: a first step, the activation taken from it (by the main window, as the
// manager's grab takes it), then the rest of the way. Fails when the window closed.
bool Drag(CMainFrame& frame, int dx, int dy) {
  const QPointer<CPropDialog> window = ShownWindow(frame);
  if (window == nullptr) return false;
  const QPoint start = window->pos();
  window->move(start + QPoint(dx, dy) / kDragSteps);
  Settle();
  // The manager's grab leaves the program without an active window: another window of
  // its own takes the activation for the length of the drag.
  QWidget grab(nullptr, Qt::FramelessWindowHint);
  grab.setGeometry(0, 0, 1, 1);
  grab.show();
  grab.activateWindow();
  // A busy X server hands the activation over a while later.
  QElapsedTimer waited;
  waited.start();
  do Settle();
  while (window != nullptr && window->isActiveWindow() && waited.elapsed() < 3000);
  if (window == nullptr || window->isActiveWindow()) return false;
  // Without a window manager the activation may never have been the window's: the
  // change reaches it all the same, as the grab sends it.
  QEvent change(QEvent::ActivationChange);
  QApplication::sendEvent(window, &change);
  Settle();
  for (int step = 2; step <= kDragSteps && window != nullptr; ++step) {
    window->move(start + QPoint(dx, dy) * step / kDragSteps);
    Settle();
  }
  grab.hide();
  QThread::msleep(kSettleMs);
  Settle();
  return window != nullptr && ShownWindow(frame) == window &&
         window->pos() == start + QPoint(dx, dy);
}

// The check box (or push-like check box) ID of the shown page clicked until it shows the
// state asked for.
bool Check(CMainFrame& frame, const QString& id, bool checked) {
  CPropDialog* window = ShownWindow(frame);
  CPropPageDialog* page = window != nullptr ? window->CurrentPage() : nullptr;
  auto* box = page != nullptr ? page->findChild<QAbstractButton*>(id) : nullptr;
  if (box == nullptr || !box->isCheckable() || !box->isVisible() || !box->isEnabled()) return false;
  if (box->isChecked() != checked) box->click();
  return box->isChecked() == checked;
}

// Control ID of the shown page is hidden (shown false), or shown whole inside the window's
// page area, not cut by its edge (shown true).
bool ControlShown(CMainFrame& frame, const QString& id, bool shown) {
  Settle();
  CPropDialog* window = ShownWindow(frame);
  CPropPageDialog* page = window != nullptr ? window->CurrentPage() : nullptr;
  auto* control = page != nullptr ? page->findChild<QWidget*>(id) : nullptr;
  if (control == nullptr) return false;
  if (!shown) return !control->isVisible();
  const QRect place(control->mapTo(window, QPoint(0, 0)), control->size());
  return control->isVisible() && window->PageArea().contains(place) &&
         window->rect().contains(place);
}

// The window's height appended to FILE, a line each time.
bool WriteHeight(CMainFrame& frame, const QString& path) {
  Settle();
  CPropDialog* window = ShownWindow(frame);
  QFile file(path);
  if (window == nullptr || !file.open(QIODevice::Append | QIODevice::Text)) return false;
  return file.write(QByteArray::number(window->height()) + '\n') > 0;
}

// The scroll bar ID of the shown page moved to VALUE, as a drag of its slider moves it.
bool Scroll(CMainFrame& frame, const QString& id, int value) {
  CPropDialog* window = ShownWindow(frame);
  CPropPageDialog* page = window != nullptr ? window->CurrentPage() : nullptr;
  auto* bar = page != nullptr ? page->findChild<QScrollBar*>(id) : nullptr;
  if (bar == nullptr || !bar->isVisible() || !bar->isEnabled()) return false;
  bar->setSliderPosition(value);
  return true;
}

}  // namespace

bool RunPropertyLine(CMainFrame& frame, const QStringList& words, bool& handled) {
  const QString& verb = words.front();
  handled = true;
  if (verb == QLatin1String("proppin") && words.size() == 2)
    return Pin(frame, words[1] == QLatin1String("1"));
  if (verb == QLatin1String("propclosed") && words.size() == 1) {
    Settle();
    return ShownWindow(frame) == nullptr;
  }
  if (verb == QLatin1String("propcurrent") && words.size() == 2)
    return ShowsPage(frame, words[1].toInt());
  if (verb == QLatin1String("propclicktab") && words.size() == 2)
    return ClickTab(frame, words[1].toInt());
  if (verb == QLatin1String("proptabsfit") && words.size() == 1) return TabsFit(frame);
  if (verb == QLatin1String("propinside") && words.size() == 1) return Inside(frame);
  if (verb == QLatin1String("propdrag") && words.size() == 3)
    return Drag(frame, words[1].toInt(), words[2].toInt());
  if (verb == QLatin1String("propcheck") && words.size() == 3)
    return Check(frame, words[1], words[2] == QLatin1String("1"));
  if (verb == QLatin1String("propshown") && words.size() == 3)
    return ControlShown(frame, words[1], words[2] == QLatin1String("1"));
  if (verb == QLatin1String("propheight") && words.size() == 2) return WriteHeight(frame, words[1]);
  if (verb == QLatin1String("propscroll") && words.size() == 3)
    return Scroll(frame, words[1], words[2].toInt());
  handled = false;
  return false;
}
