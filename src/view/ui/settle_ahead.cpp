#include "view/ui/settle_ahead.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>

#include "model/dorne_doc.h"

namespace {

// Events that may turn, pan or zoom the view: a sort for the view as it stands would
// likely be thrown away. A release ends the turn with the view as it stands, and the sort
// gives the order of the scene built anew: it is waited for.
bool MayMoveTheView(const QEvent& event) {
  switch (event.type()) {
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride: return true;
    default: return false;
  }
}

}  // namespace

CSettleAhead::~CSettleAhead() {
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
  connect(dispatcher, &QAbstractEventDispatcher::awake, this, [this] { Finish(true); });
  m_watching = true;
}

void CSettleAhead::Drop() { m_wanted = nullptr; }

void CSettleAhead::StartIfWanted() {
  if (m_wanted == nullptr || Running()) return;
  CDorneDoc& document = *m_wanted;
  m_wanted = nullptr;
  if (!document.Projection().GetDisplayList().Unordered()) return;
  m_stop.store(false);
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
  });
  m_sorting = &document;
}

void CSettleAhead::Finish(bool callOff) {
  if (!Running()) return;
  if (callOff) m_stop.store(true);
  m_thread.join();
  if (QCoreApplication* application = QCoreApplication::instance())
    application->removeEventFilter(this);
  // Called off, the sort is wanted again, the next time the windows wait.
  if (m_calledOff && m_wanted == nullptr) m_wanted = m_sorting;
  m_sorting = nullptr;
}

bool CSettleAhead::eventFilter(QObject*, QEvent* event) {
  Finish(MayMoveTheView(*event));
  return false;
}
