#include "view/ui/settle_ahead.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>

#include <utility>

#include "model/document/dorne_doc.h"

namespace {

// Events that may turn, pan or zoom the view: a sort for the view as it stands would
// likely be thrown away. Any other event waits for it, but for the release that ends the
// turn: the view's handler of it either keeps the work on (FinishLater) or waits.
bool MayMoveTheView(const QEvent& event) {
  switch (event.type()) {
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride: return true;
    default: return false;
  }
}

// Events whose handlers leave the document alone (the pointer moving over the windows with
// no button down; objects made, polished or laid out), which need not wait for work that
// is to finish later.
bool LeavesTheDocumentAlone(const QEvent& event) {
  switch (event.type()) {
    case QEvent::MouseMove: return static_cast<const QMouseEvent&>(event).buttons() == Qt::NoButton;
    case QEvent::ChildAdded:
    case QEvent::ChildPolished:
    case QEvent::ChildRemoved:
    case QEvent::PolishRequest:
    case QEvent::Polish:
    case QEvent::LayoutRequest:
    case QEvent::HoverMove:
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
    case QEvent::Enter:
    case QEvent::Leave: return true;
    default: return false;
  }
}

// The release that ends a turn: its handler decides whether the work goes on.
bool EndsATurn(const QEvent& event) {
  return event.type() == QEvent::MouseButtonRelease &&
         static_cast<const QMouseEvent&>(event).button() == Qt::LeftButton;
}

}  // namespace

CSettleAhead::~CSettleAhead() {
  m_settled = nullptr;
  Drop();
  Finish(true);
}

void CSettleAhead::Want(CDorneDoc& document, std::function<void(const std::atomic<bool>&)> then) {
  m_wanted = &document;
  if (!Running()) m_then = std::move(then);
  if (m_watching) return;
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  if (dispatcher == nullptr) return;
  connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &CSettleAhead::StartIfWanted);
  // Whatever wakes the thread, it finds the document its own.
  connect(dispatcher, &QAbstractEventDispatcher::awake, this, [this] {
    if (!m_later.load()) Finish(true);
  });
  m_watching = true;
}

void CSettleAhead::Drop() { m_wanted = nullptr; }

void CSettleAhead::StartIfWanted() {
  if (m_wanted == nullptr || Running()) return;
  CDorneDoc& document = *m_wanted;
  m_wanted = nullptr;
  if (!document.Projection().GetDisplayList().Unordered()) return;
  m_stop.store(false);
  m_finished.store(false);
  m_done = m_calledOff = false;
  // Every event of the application is filtered before the thread starts: nothing the
  // windows do reaches the document until Finish.
  if (QCoreApplication* application = QCoreApplication::instance())
    application->installEventFilter(this);
  m_thread = std::thread([this, &document] {
    m_done = document.SettleViewAside(m_stop);
    // Not done without being stopped: the sort is one SettleView makes itself.
    m_calledOff = !m_done && m_stop.load();
    if (m_done && m_then && !m_stop.load()) m_then(m_stop);
    m_finished.store(true);
    if (m_later.load()) WakeWhenDone();
  });
  m_sorting = &document;
}

bool CSettleAhead::StartNow() {
  StartIfWanted();
  return Running();
}

void CSettleAhead::FinishLater(std::function<void()> settled) {
  if (!Running()) return;
  m_settled = std::move(settled);
  m_later.store(true);
  // The thread may have looked before the flag was set: one of the two wakes the windows.
  if (m_finished.load()) WakeWhenDone();
}

void CSettleAhead::WakeWhenDone() {
  // Whatever event comes first joins the thread (the filter waits for it); this one only
  // makes sure that one comes.
  QMetaObject::invokeMethod(
      this, [this] { Finish(false); }, Qt::QueuedConnection);
}

void CSettleAhead::Finish(bool callOff) {
  if (!Running()) return;
  if (callOff) m_stop.store(true);
  m_thread.join();
  if (QCoreApplication* application = QCoreApplication::instance())
    application->removeEventFilter(this);
  // Called off, the sort is wanted again, the next time the windows wait; but not once it
  // was to finish later: what it was for is settled now.
  const bool later = m_later.exchange(false);
  if (m_calledOff && m_wanted == nullptr && !later) m_wanted = m_sorting;
  m_sorting = nullptr;
  if (!later) return;
  const std::function<void()> settled = std::exchange(m_settled, nullptr);
  if (settled) settled();
}

bool CSettleAhead::eventFilter(QObject*, QEvent* event) {
  if (m_later.load() ? LeavesTheDocumentAlone(*event) : EndsATurn(*event)) return false;
  Finish(!m_later.load() && MayMoveTheView(*event));
  return false;
}
