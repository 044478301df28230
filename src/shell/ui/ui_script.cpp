#include "shell/ui/ui_script.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QStatusBar>
#include <QScreen>
#include <QStatusTipEvent>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <optional>

#include "geometry/box.h"
#include "export/ui/layout_exports.h"
#include "geometry/element_pick.h"
#include "model/element/dev.h"
#include "model/tapoff/tap_off_choice.h"
#include "shell/ui/frame_actions.h"
#include "shell/ui/layout_doc_window.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/ui_script_annotations.h"
#include "shell/ui/ui_script_answers.h"
#include "shell/ui/ui_script_edit.h"
#include "shell/ui/ui_script_linear.h"
#include "shell/ui/ui_script_texts.h"
#include "shell/ui/ui_script_orbit.h"
#include "shell/ui/ui_script_props.h"
#include "shell/ui/ui_view_points.h"
#include "shell/ui/ui_script_reference.h"
#include "model/document/check_message_frame.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "pages/ui/prop_dialog.h"
#include "view/draw_mapping.h"
#include "grid/ui/grid_control.h"
#include "view/ui/bom_view.h"
#include "view/ui/onglet_control.h"
#include "view/ui/child_frame.h"
#include "view/view_tools.h"

namespace {

constexpr int kSettleMs = 50;
constexpr int kStatusWaitMs = 5000;

bool ClickToward(CDorneView& view, int axis, double length) {
  const CDorneDoc* document = view.Document();
  if (document == nullptr) return false;
  CDrawMapping mapping;
  view.ViewWindow().ApplyTo(mapping, view.ClientSize());
  const C3DPoint point = document->GetCursorPoint() + RunMoveVector(axis, length);
  const CPoint device = mapping.ToDevice(document->Projection().ProjectPoint(point));
  const QPointF local(device.x, device.y);
  const QPointF global = view.mapToGlobal(local);
  QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&view, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(&view, &release);
  return true;
}

void SendClick(QWidget& target, const QPointF& local, QEvent::Type type, Qt::MouseButtons buttons) {
  QMouseEvent event(type, local, target.mapToGlobal(local), Qt::LeftButton, buttons,
                    Qt::NoModifier);
  QApplication::sendEvent(&target, &event);
}

bool DoubleClickBox(CDorneView& view, int elementIndex, int slot) {
  const CDorneDoc* document = view.Document();
  const std::optional<QPointF> local = BoxMiddle(
      view, document != nullptr ? document->GetCurrentRun() : nullptr, elementIndex, slot);
  if (!local) return false;
  SendClick(view, *local, QEvent::MouseButtonPress, Qt::LeftButton);
  SendClick(view, *local, QEvent::MouseButtonRelease, Qt::NoButton);
  SendClick(view, *local, QEvent::MouseButtonDblClick, Qt::LeftButton);
  SendClick(view, *local, QEvent::MouseButtonRelease, Qt::NoButton);
  return true;
}

// Whether the property window shows the pages of element E of the current run.
bool PropertiesShowElement(CMainFrame& frame, const CDorneView& view, int elementIndex) {
  auto* window = frame.findChild<CPropDialog*>(QStringLiteral("CPropDialog"));
  const CDorneDoc* document = view.Document();
  const CRun* run = document != nullptr ? document->GetCurrentRun() : nullptr;
  if (window == nullptr || !window->isVisible() || run == nullptr || elementIndex < 0 ||
      elementIndex >= static_cast<int>(run->GetDevices().size()))
    return false;
  return window->ShownObject() == run->GetDevices()[static_cast<std::size_t>(elementIndex)];
}

// One click on a box of an element of the document's n-th run (0: the first), as the
// user picks an element of another run to work on it.
bool ClickRunBox(CDorneView& view, int runIndex, int elementIndex, int slot) {
  const CDorneDoc* document = view.Document();
  if (document == nullptr || runIndex < 0 ||
      runIndex >= static_cast<int>(document->GetRuns().size()))
    return false;
  const CRun* run = document->GetRuns()[static_cast<std::size_t>(runIndex)];
  const std::optional<QPointF> local = BoxMiddle(view, run, elementIndex, slot);
  if (!local) return false;
  SendClick(view, *local, QEvent::MouseButtonPress, Qt::LeftButton);
  SendClick(view, *local, QEvent::MouseButtonRelease, Qt::NoButton);
  return document->GetCurrentRun() == run;
}

void SendMouse(QWidget& target, const QPointF& local, QEvent::Type type, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  QMouseEvent event(type, local, target.mapToGlobal(local), button, buttons, modifiers);
  QApplication::sendEvent(&target, &event);
}

// The mouse brought over the first outlet that takes the remembered unit, then a left
// click there; with `front`, the first on a joint's front box.
bool ClickOutlet(CDorneView& view, bool front) {
  const CDorneDoc* document = view.Document();
  const CRun* run = document != nullptr ? document->GetCurrentRun() : nullptr;
  if (run == nullptr) return false;
  const int code = static_cast<int>(RememberedTapOffChoice().record.mask << 8) + 10;
  const std::vector<CPoint> outlets = PickableOutlets(*document, *run, code, false, front);
  if (outlets.empty()) return false;
  const QPointF local = ViewPoint(view, outlets.front());
  SendMouse(view, local, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  SendClick(view, local, QEvent::MouseButtonPress, Qt::LeftButton);
  SendClick(view, local, QEvent::MouseButtonRelease, Qt::NoButton);
  return true;
}

// The current run's first tap-off unit grabbed with the mouse and dragged to the run's
// k-th outlet (in device order), released there with Ctrl held for a copy.
bool DragUnitToOutlet(CDorneView& view, int k, bool copy) {
  const CDorneDoc* document = view.Document();
  const CRun* run = document != nullptr ? document->GetCurrentRun() : nullptr;
  if (run == nullptr) return false;
  const auto& devices = run->GetDevices();
  const auto unit = std::find_if(devices.begin(), devices.end(), [](const CDev* d) {
    return d->GetKind() == CDev::kTapOff && d->GetBox(CDev::kBodySlot) != nullptr;
  });
  // A grabbed unit is offered the outlets that take its connection mask.
  const int code =
      static_cast<int>((static_cast<std::uint32_t>((*unit)->GetBookedLength()) & ~kTapOffMarkBit)
                       << 8) +
      10;
  const std::vector<CPoint> outlets = PickableOutlets(*document, *run, code, true);
  if (unit == devices.end() || k < 0 || k >= static_cast<int>(outlets.size())) return false;
  const std::optional<QPointF> from =
      BoxMiddle(view, run, static_cast<int>(unit - devices.begin()), CDev::kBodySlot);
  if (!from) return false;
  const QPointF to = ViewPoint(view, outlets[static_cast<std::size_t>(k)]);
  const Qt::KeyboardModifiers keys = copy ? Qt::ControlModifier : Qt::NoModifier;
  SendMouse(view, *from, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  // The first move leaves the unit (the drag begins), the second hovers the outlet.
  SendMouse(view, to, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, keys);
  SendMouse(view, to, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, keys);
  SendMouse(view, to, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, keys);
  return true;
}

// The view zoomed on the current run, as the design-check window zooms on an element:
// the scene rectangle around the corners of its elements' boxes.
bool ZoomOnRun(CDorneView& view) {
  const CDorneDoc* document = view.Document();
  const CRun* run = document != nullptr ? document->GetCurrentRun() : nullptr;
  if (run == nullptr) return false;
  std::optional<CZoomRect> area;
  for (const CDev* element : run->GetDevices()) {
    for (int slot = 0; slot < CDev::kStoredBoxCount; ++slot) {
      const CBox* box = element->GetBox(slot);
      for (int corner = 0; box != nullptr && corner < CBox::kCornerCount; ++corner) {
        const CPoint at = document->Projection().ProjectPoint(box->GetCorner(corner));
        if (!area) area = CZoomRect{double(at.x), double(at.y), double(at.x), double(at.y)};
        area->left = std::min(area->left, double(at.x));
        area->top = std::min(area->top, double(at.y));
        area->right = std::max(area->right, double(at.x));
        area->bottom = std::max(area->bottom, double(at.y));
      }
    }
  }
  if (!area) return false;
  view.ZoomToRect(*area);
  QApplication::processEvents();
  return true;
}

QWidget* PropertyPage(CMainFrame& frame) {
  auto* window = frame.findChild<QWidget*>(QStringLiteral("CPropDialog"));
  if (window == nullptr || !window->isVisible()) return nullptr;
  for (QWidget* page : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (page->isVisible() && page->findChild<QLineEdit*>() != nullptr) return page;
  return nullptr;
}

bool TypeInPropertyPage(CMainFrame& frame, const QString& id, const QString& text) {
  QWidget* page = PropertyPage(frame);
  auto* edit = page != nullptr ? page->findChild<QLineEdit*>(id) : nullptr;
  if (edit == nullptr) return false;
  edit->setText(text);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(page, &enter);
  return true;
}

// The entry of list ID of the shown page whose text begins with TEXT, chosen as a click
// chooses it.
bool ChooseInPropertyPage(CMainFrame& frame, const QString& id, const QString& text) {
  auto* window = frame.findChild<QWidget*>(QStringLiteral("CPropDialog"));
  if (window == nullptr || !window->isVisible()) return false;
  for (QComboBox* combo : window->findChildren<QComboBox*>(id)) {
    if (!combo->isVisible()) continue;
    for (int i = 0; i < combo->count(); ++i) {
      if (!combo->itemText(i).startsWith(text)) continue;
      combo->setCurrentIndex(i);
      emit combo->activated(i);
      return true;
    }
  }
  return false;
}

// Row ROW of picture list ID of the shown page, clicked.
bool PickInPropertyPage(CMainFrame& frame, const QString& id, int row) {
  auto* window = frame.findChild<QWidget*>(QStringLiteral("CPropDialog"));
  if (window == nullptr || !window->isVisible()) return false;
  for (QListWidget* list : window->findChildren<QListWidget*>(id)) {
    if (!list->isVisible() || row < 0 || row >= list->count()) continue;
    list->setCurrentRow(row);
    emit list->itemClicked(list->item(row));
    return true;
  }
  return false;
}

// From now on, a modal window that a command opens (a message, the design-check list)
// is closed as soon as it shows, as a user who reads and closes it would.
bool CloseModalWindows(CMainFrame& frame) {
  auto* timer = new QTimer(&frame);
  QObject::connect(timer, &QTimer::timeout, timer, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  timer->start(200);
  return true;
}

bool PressKey(CDorneView& view, const QString& name) {
  const int key = name == QLatin1String("return")   ? Qt::Key_Return
                  : name == QLatin1String("escape") ? Qt::Key_Escape
                                                    : 0;
  if (key == 0) return false;
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(&view, &event);
  return true;
}

CScriptAnswers& AnswersOf(CMainFrame& frame) {
  auto* answers = frame.findChild<CScriptAnswers*>();
  return answers != nullptr ? *answers : *new CScriptAnswers(&frame);
}

// A folder in place of the file: writing the file fails then, even for the super-user.
bool BlockFile(const QString& path) {
  return QFile::remove(path) && QDir().mkpath(path + QStringLiteral("/blocked"));
}

// A double click on a cell of the bill-of-materials page shown, as the mouse gives it.
bool DoubleClickBOMCell(CLayoutDocWindow& layout, int row, int column) {
  const auto* bom = layout.findChild<CBOMView*>();
  CGridControl* grid = bom != nullptr ? bom->GetGridWindow() : nullptr;
  if (grid == nullptr) return false;
  const QPointF local = grid->GetCellRangeRect({row, column, row, column}).center();
  const QPointF global = grid->viewport()->mapToGlobal(local);
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                            QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, global, Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &event);
  }
  return true;
}

// A menu item chosen: its prompt while it is hovered, the command, then the menu closes
// and the status bar no longer shows a prompt of the menu.
bool ChooseMenuItem(CMainFrame& frame, int command) {
  QAction* action = frame.Actions().Action(command);
  if (action == nullptr) return false;
  frame.UpdateCommandStates();
  if (!action->isEnabled()) return false;
  QStatusTipEvent hovered(action->statusTip());
  QApplication::sendEvent(&frame, &hovered);
  action->trigger();
  QStatusTipEvent left{QString()};
  QApplication::sendEvent(&frame, &left);
  return true;
}

// The status bar follows menus and tools through queued events: on a busy machine the
// text may come a little later than the line that asked for it.
bool WaitForStatus(CMainFrame& frame, const QString& text) {
  QElapsedTimer waited;
  waited.start();
  while (frame.statusBar()->currentMessage() != text) {
    if (waited.elapsed() > kStatusWaitMs) return false;
    QApplication::processEvents(QEventLoop::AllEvents, kSettleMs);
  }
  return true;
}

// A user reaches a new window's menus only once it is the current one; on a busy
// machine the window system makes it so a little after the file is read.
bool WaitUntilCurrent(CMainFrame& frame, QMdiSubWindow* window) {
  QElapsedTimer waited;
  waited.start();
  while (frame.MdiArea()->currentSubWindow() != window) {
    if (waited.elapsed() > kStatusWaitMs) return false;
    QApplication::processEvents(QEventLoop::AllEvents, kSettleMs);
  }
  return true;
}

// A file another process writes (the spreadsheet helper): the script waits for it
// before it goes on, at most the given seconds.
bool WaitForFile(const QString& path, int seconds) {
  QElapsedTimer waited;
  waited.start();
  while (!QFileInfo::exists(path)) {
    if (waited.elapsed() > seconds * 1000) return false;
    QApplication::processEvents(QEventLoop::AllEvents, kSettleMs);
    QThread::msleep(kSettleMs);
  }
  return true;
}

// The program left to its idle work (timers, read-ahead) as a user pausing would.
bool StayIdle(int milliseconds) {
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < milliseconds)
    QApplication::processEvents(QEventLoop::AllEvents, kSettleMs);
  return true;
}

bool RunLine(CMainFrame& frame, const QStringList& words) {
  const QString& verb = words.front();
  bool reference = false;
  const bool referenceDone = RunReferenceLine(frame, words, reference);
  if (reference) return referenceDone;
  bool linear = false;
  const bool linearDone = RunLinearLine(frame, words, linear);
  if (linear) return linearDone;
  bool property = false;
  const bool propertyDone = RunPropertyLine(frame, words, property);
  if (property) return propertyDone;
  bool texts = false;
  const bool textsDone = RunTextLine(frame, words, texts);
  if (texts) return textsDone;
  if (verb == QLatin1String("answer") && words.size() >= 3) {
    AnswersOf(frame).Queue(words.mid(1));
    return true;
  }
  if (verb == QLatin1String("block") && words.size() == 2) return BlockFile(words[1]);
  if (verb == QLatin1String("menu") && words.size() == 2)
    return ChooseMenuItem(frame, words[1].toInt());
  if (verb == QLatin1String("waitfile") && words.size() == 3)
    return WaitForFile(words[1], words[2].toInt());
  if (verb == QLatin1String("idle") && words.size() == 2) return StayIdle(words[1].toInt());
  if (verb == QLatin1String("status") && words.size() >= 2)
    return WaitForStatus(frame, words.mid(1).join(QLatin1Char(' ')));
  if ((verb == QLatin1String("enabled") || verb == QLatin1String("checkable")) &&
      words.size() == 3) {
    frame.UpdateCommandStates();
    const QAction* action = frame.Actions().Action(words[1].toInt());
    const bool state = verb == QLatin1String("enabled") ? action && action->isEnabled()
                                                        : action && action->isCheckable();
    return action != nullptr && state == (words[2] == QLatin1String("1"));
  }
  if (verb == QLatin1String("command") && words.size() == 2)
    return frame.RouteCommand(words[1].toInt());
  if (verb == QLatin1String("shot") && words.size() == 2) return frame.grab().save(words[1]);
  if (verb == QLatin1String("proptype") && words.size() == 3)
    return TypeInPropertyPage(frame, words[1], words[2]);
  if (verb == QLatin1String("proptab") && words.size() == 2) {
    auto* window = frame.findChild<CPropDialog*>(QStringLiteral("CPropDialog"));
    return window != nullptr && window->isVisible() && window->SelectPage(words[1].toInt()) == 1;
  }
  if (verb == QLatin1String("closemodals") && words.size() == 1) return CloseModalWindows(frame);
  if (verb == QLatin1String("proppick") && words.size() == 3)
    return PickInPropertyPage(frame, words[1], words[2].toInt());
  if (verb == QLatin1String("propchoose") && words.size() >= 3)
    return ChooseInPropertyPage(frame, words[1], QStringList(words.mid(2)).join(' '));
  if (verb == QLatin1String("propshot") && words.size() == 2) {
    auto* window = frame.findChild<QWidget*>(QStringLiteral("CPropDialog"));
    return window != nullptr && window->isVisible() && window->grab().save(words[1]);
  }
  if (verb == QLatin1String("open") && words.size() == 2) {
    QString path = words[1];
    QMdiSubWindow* opened = frame.OpenAnyFile(path);
    return opened != nullptr && WaitUntilCurrent(frame, opened);
  }
  CLayoutDocWindow* layout = ActiveLayout(frame);
  if (layout == nullptr) return false;
  CDorneView& view = *layout->Frame()->View();
  bool handled = false;
  const bool done = RunAnnotationLine(*layout, words, handled);
  if (handled) return done;
  const bool turned = RunOrbitLine(view, words, handled);
  if (handled) return turned;
  const bool held = RunEditLine(*layout, words, handled);
  if (handled) return held;
  if (verb == QLatin1String("toward") && words.size() == 3)
    return ClickToward(view, words[1].toInt(), words[2].toDouble());
  if (verb == QLatin1String("key") && words.size() == 2) return PressKey(view, words[1]);
  if (verb == QLatin1String("outlet") && words.size() == 1) return ClickOutlet(view, false);
  if (verb == QLatin1String("outlet") && words.size() == 2 && words[1] == QLatin1String("front"))
    return ClickOutlet(view, true);
  if (verb == QLatin1String("zoomrun") && words.size() == 1) return ZoomOnRun(view);
  if (verb == QLatin1String("drag") && (words.size() == 2 || words.size() == 3))
    return DragUnitToOutlet(view, words[1].toInt(),
                            words.size() == 3 && words[2] == QLatin1String("copy"));
  if (verb == QLatin1String("runclick") && words.size() == 4)
    return ClickRunBox(view, words[1].toInt(), words[2].toInt(), words[3].toInt());
  if (verb == QLatin1String("pick") && words.size() == 3)
    return DoubleClickBox(view, words[1].toInt(),
                          words[2] == QLatin1String("equipment") ? -1 : words[2].toInt());
  if (verb == QLatin1String("propshows") && words.size() == 2)
    return PropertiesShowElement(frame, view, words[1].toInt());
  if (verb == QLatin1String("bomdouble") && words.size() == 3)
    return DoubleClickBOMCell(*layout, words[1].toInt(), words[2].toInt());
  if (verb == QLatin1String("bomtab") && words.size() == 2) {
    auto* bom = layout->findChild<CBOMView*>();
    const CDorneDoc* document = layout->Document();
    const CRun* current = document != nullptr ? document->GetCurrentRun() : nullptr;
    int page = words[1].toInt();
    if (words[1] == QLatin1String("current"))
      page = current != nullptr && bom != nullptr ? bom->FindRunPage(&current->GetBOM()) : -1;
    return bom != nullptr && bom->GetTabs().SelectTab(page, 1);
  }
  std::string error;
  if (verb == QLatin1String("save") && words.size() == 2)
    return layout->SaveToFile(words[1].toStdString(), error);
  if (verb == QLatin1String("csv") && words.size() == 3)
    return layout->Frame()->Exports().ExportCsv(words[1] == QLatin1String("all"), words[2], error);
  if (verb == QLatin1String("workbook") && words.size() == 2)
    return layout->Frame()->Exports().ExportWorkbook(true, true, words[1].toStdString(),
                                                     layout->Frame()->DocumentPath(), error);
  return false;
}

}  // namespace

QStringList RunUiScript(CMainFrame& frame, const QString& path) {
  AnswersOf(frame);
  QStringList failed;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {path};
  // The pointer of the virtual screen rests where windows open; widgets that slide under
  // it as they are laid out would show their own tips in the status line.
  if (const QScreen* screen = frame.screen()) QCursor::setPos(screen->geometry().bottomRight());
  for (const QString& line : QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)) {
    const QStringList words = line.simplified().split(' ');
    // Windows opened by the line before (their first showing, their layout) settle first.
    QApplication::sendPostedEvents();
    QApplication::processEvents(QEventLoop::AllEvents, kSettleMs);
    if (RunLine(frame, words)) continue;
    // A status line that waited in vain tells what the status line showed instead.
    const bool status = words.front() == QLatin1String("status");
    failed << (status
                   ? line + QStringLiteral(" [shown: %1]").arg(frame.statusBar()->currentMessage())
                   : line);
  }
  return failed;
}

QString ActiveLayoutSummary(CMainFrame& frame) {
  const CLayoutDocWindow* layout = ActiveLayout(frame);
  const CDorneDoc* document = layout != nullptr ? layout->Document() : nullptr;
  if (document == nullptr || document->GetCurrentRun() == nullptr) return {};
  return QStringLiteral("%1/%2")
      .arg(document->GetRunCount())
      .arg(document->GetCurrentRun()->GetDevices().size());
}

QString ScriptDialogLog(CMainFrame& frame) {
  const auto* answers = frame.findChild<CScriptAnswers*>();
  return answers != nullptr ? answers->Log().join(QLatin1Char('|')) : QString();
}

QString ActiveLayoutState(CMainFrame& frame) {
  const CLayoutDocWindow* layout = ActiveLayout(frame);
  if (layout == nullptr) return {};
  return QStringLiteral("%1 %2").arg(layout->IsModified() ? 1 : 0).arg(layout->windowTitle());
}
