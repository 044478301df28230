#include "shell/ui_script.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>

#include <algorithm>
#include <memory>
#include <optional>

#include "geometry/box.h"
#include "geometry/element_pick.h"
#include "model/dev.h"
#include "model/tap_off_choice.h"
#include "shell/layout_doc_window.h"
#include "shell/main_frame.h"
#include "model/dorne_doc.h"
#include "model/run.h"
#include "view/draw_mapping.h"
#include "view/ui/child_frame.h"
#include "view/view_tools.h"

namespace {

CLayoutDocWindow* ActiveLayout(CMainFrame& frame) {
  QMdiSubWindow* active = frame.MdiArea()->currentSubWindow();
  return active != nullptr ? dynamic_cast<CLayoutDocWindow*>(active->widget()) : nullptr;
}

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
  const CRun* run = document != nullptr ? document->GetCurrentRun() : nullptr;
  if (run == nullptr || elementIndex < 0 ||
      elementIndex >= static_cast<int>(run->GetDevices().size()))
    return false;
  const CBox* box = run->GetDevices()[static_cast<std::size_t>(elementIndex)]->GetBox(slot);
  if (box == nullptr) return false;
  C3DPoint middle;
  for (int corner = 0; corner < CBox::kCornerCount; ++corner)
    middle = middle + box->GetCorner(corner) * (1.0 / CBox::kCornerCount);
  CDrawMapping mapping;
  view.ViewWindow().ApplyTo(mapping, view.ClientSize());
  const CPoint device = mapping.ToDevice(document->Projection().ProjectPoint(middle));
  const QPointF local(device.x, device.y);
  SendClick(view, local, QEvent::MouseButtonPress, Qt::LeftButton);
  SendClick(view, local, QEvent::MouseButtonRelease, Qt::NoButton);
  SendClick(view, local, QEvent::MouseButtonDblClick, Qt::LeftButton);
  SendClick(view, local, QEvent::MouseButtonRelease, Qt::NoButton);
  return true;
}

// The first outlet of the current run, in device order, where the tap-off tool would
// take the mouse to an outlet for the remembered unit: the scene point of its centre.
std::optional<CPoint> PickableOutlet(const CDorneDoc& document, const CRun& run) {
  const int code = static_cast<int>(RememberedTapOffChoice().record.mask << 8) + 10;
  for (const CDev* joint : run.GetDevices()) {
    const CBox* box =
        joint->GetKind() == CDev::kJoint ? joint->GetBox(joint->GetBackFace()) : nullptr;
    for (int side = 10; box != nullptr && side <= 20; side += 10) {
      const int count = C3DPoint::ToStoredInt(joint->GetConnectionCode(*box, side, 0).x);
      for (int k = 0; k < std::min(count, 10); ++k) {
        const CPoint at = document.Projection().ProjectPoint(joint->GetConnectionCode(*box, k, 0));
        const CElementPick pick = HitTestElements(document.Projection(), at, code);
        if (pick.point && pick.code >= 10 && pick.code <= 29) return at;
      }
    }
  }
  return std::nullopt;
}

// The mouse brought over the outlet, then a left click there.
bool ClickOutlet(CDorneView& view) {
  const CDorneDoc* document = view.Document();
  const CRun* run = document != nullptr ? document->GetCurrentRun() : nullptr;
  const std::optional<CPoint> outlet =
      run != nullptr ? PickableOutlet(*document, *run) : std::nullopt;
  if (!outlet) return false;
  CDrawMapping mapping;
  view.ViewWindow().ApplyTo(mapping, view.ClientSize());
  const CPoint device = mapping.ToDevice(*outlet);
  const QPointF local(device.x, device.y);
  QMouseEvent move(QEvent::MouseMove, local, view.mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&view, &move);
  SendClick(view, local, QEvent::MouseButtonPress, Qt::LeftButton);
  SendClick(view, local, QEvent::MouseButtonRelease, Qt::NoButton);
  return true;
}

// The next modal dialog, once it shows (looked for a few seconds), gets its button `id`
// clicked and then OK.
bool AnswerNextDialog(const QString& id) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, id] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr && ++*tries < 200) return;
    timer->stop();
    timer->deleteLater();
    auto* control = modal != nullptr ? modal->findChild<QAbstractButton*>(id) : nullptr;
    if (control == nullptr) return;
    control->click();
    if (auto* buttons = modal->findChild<QDialogButtonBox*>())
      if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->click();
  });
  timer->start(25);
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

bool PressKey(CDorneView& view, const QString& name) {
  const int key = name == QLatin1String("return")   ? Qt::Key_Return
                  : name == QLatin1String("escape") ? Qt::Key_Escape
                                                    : 0;
  if (key == 0) return false;
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(&view, &event);
  return true;
}

bool RunLine(CMainFrame& frame, const QStringList& words) {
  const QString& verb = words.front();
  if (verb == QLatin1String("command") && words.size() == 2)
    return frame.RouteCommand(words[1].toInt());
  if (verb == QLatin1String("shot") && words.size() == 2) return frame.grab().save(words[1]);
  if (verb == QLatin1String("proptype") && words.size() == 3)
    return TypeInPropertyPage(frame, words[1], words[2]);
  if (verb == QLatin1String("propshot") && words.size() == 2) {
    auto* window = frame.findChild<QWidget*>(QStringLiteral("CPropDialog"));
    return window != nullptr && window->isVisible() && window->grab().save(words[1]);
  }
  if (verb == QLatin1String("answer") && words.size() == 2) return AnswerNextDialog(words[1]);
  if (verb == QLatin1String("open") && words.size() == 2) {
    QString path = words[1];
    return frame.OpenAnyFile(path) != nullptr;
  }
  CLayoutDocWindow* layout = ActiveLayout(frame);
  if (layout == nullptr) return false;
  CDorneView& view = *layout->Frame()->View();
  if (verb == QLatin1String("toward") && words.size() == 3)
    return ClickToward(view, words[1].toInt(), words[2].toDouble());
  if (verb == QLatin1String("key") && words.size() == 2) return PressKey(view, words[1]);
  if (verb == QLatin1String("outlet") && words.size() == 1) return ClickOutlet(view);
  if (verb == QLatin1String("pick") && words.size() == 3)
    return DoubleClickBox(view, words[1].toInt(), words[2].toInt());
  std::string error;
  if (verb == QLatin1String("save") && words.size() == 2)
    return layout->SaveToFile(words[1].toStdString(), error);
  return false;
}

}  // namespace

QStringList RunUiScript(CMainFrame& frame, const QString& path) {
  QStringList failed;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {path};
  for (const QString& line : QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)) {
    const QStringList words = line.simplified().split(' ');
    QApplication::processEvents();
    if (!RunLine(frame, words)) failed << line;
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
