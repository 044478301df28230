#include "shell/ui/ui_script_orbit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QMouseEvent>
#include <QTimer>

#include <vector>

#include "geometry/box.h"
#include "geometry/element_pick.h"
#include "geometry/display_list.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "view/draw_mapping.h"
#include "view/ui/dorne_view.h"

namespace {

constexpr int kWaitLimitMs = 5000;

void SendMouse(CDorneView& view, const QPointF& local, QEvent::Type type, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  QMouseEvent event(type, local, view.mapToGlobal(local), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(&view, &event);
}

// The windows left to wait for events (so that work waiting for that starts) until the
// condition holds, at most a few seconds.
template <class Condition>
bool IdleUntil(const Condition& condition) {
  QElapsedTimer waited;
  waited.start();
  while (!condition()) {
    if (waited.elapsed() > kWaitLimitMs) return false;
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

// The middle of the current run's first element with a body box that a click there
// finds, in the view.
bool ElementMiddle(CDorneView& view, QPointF& middle) {
  const CDorneDoc* document = view.Document();
  const CRun* run = document != nullptr ? document->GetCurrentRun() : nullptr;
  if (run == nullptr) return false;
  CDrawMapping mapping;
  view.ViewWindow().ApplyTo(mapping, view.ClientSize());
  for (const CDev* element : run->GetDevices()) {
    const CBox* box = element->GetBox(CDev::kBodySlot);
    if (box == nullptr || !box->IsListed()) continue;
    const auto& corners = box->GetWindowCorners();
    const CPoint scene{(corners[0].x + corners[6].x) / 2, (corners[0].y + corners[6].y) / 2};
    const CPoint device = mapping.ToDevice(scene);
    if (device.x < 0 || device.y < 0 || device.x >= view.width() || device.y >= view.height())
      continue;
    if (!HitTestElements(document->Projection(), mapping.ToLogical(device)).point) continue;
    middle = QPointF(device.x, device.y);
    return true;
  }
  return false;
}

// "orbit dx dy now|aside|pause|rest": the orbit tool's drag from the current run's first
// element by that many pixels, released at once (a large scene then settled aside), at
// once with the scene settled aside whatever its size, once the order was sorted aside
// while the mouse paused, or once the view rested.
bool Orbit(CDorneView& view, int dx, int dy, const QString& wait) {
  QPointF from;
  if (!ElementMiddle(view, from)) return false;
  const QPointF to = from + QPointF(dx, dy);
  // The pause long enough for the sort aside, however busy the machine.
  const int rest = view.RestTime();
  if (wait == QLatin1String("pause")) view.SetRestTime(kWaitLimitMs);
  const bool aside = wait == QLatin1String("aside");
  if (aside) view.SetReleaseAsideFrom(0);
  SendMouse(view, from, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
  SendMouse(view, (from + to) / 2, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
  SendMouse(view, to, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
  // The view turns under the mouse only when the press found an element.
  bool waited = view.ShowsLightPicture();
  if (wait == QLatin1String("pause"))
    waited = waited && IdleUntil([&view] { return view.SortedAside(); });
  else if (wait == QLatin1String("rest"))
    waited = waited && IdleUntil([&view] { return !view.ShowsLightPicture(); });
  else if (wait != QLatin1String("now") && !aside) waited = false;
  SendMouse(view, to, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
  // A scene settled aside shows its full picture when done, without being asked.
  if (aside) waited = waited && view.SettlingRelease();
  waited = waited && IdleUntil([&view] { return !view.SettlingRelease(); });
  if (aside) view.SetReleaseAsideFrom(CDorneView::kReleaseAsideFromBoxes);
  view.SetRestTime(rest);
  return waited && !view.ShowsLightPicture();
}

QImage Shown(CDorneView& view) {
  return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// "asbuilt": the view shows the order and the picture of its scene built anew from an
// empty list (which it then keeps).
bool ShowsTheSceneBuiltAnew(CDorneView& view) {
  CDorneDoc* document = view.Document();
  if (document == nullptr) return false;
  const QImage shown = Shown(view);
  const std::vector<CBox*> order = document->Projection().GetDisplayList().CollectBoxes();
  document->Projection().ClearDisplayList();
  document->RebuildScene();
  const bool sameOrder = order == document->Projection().GetDisplayList().CollectBoxes();
  return sameOrder && !order.empty() && shown == Shown(view);
}

}  // namespace

bool RunOrbitLine(CDorneView& view, const QStringList& words, bool& handled) {
  const QString& verb = words.front();
  handled = true;
  if (verb == QLatin1String("orbit") && words.size() == 4)
    return Orbit(view, words[1].toInt(), words[2].toInt(), words[3]);
  if (verb == QLatin1String("asbuilt") && words.size() == 1) return ShowsTheSceneBuiltAnew(view);
  handled = false;
  return false;
}
