#include "view/ui/settle_ahead.h"

#include <QCoreApplication>
#include <QEvent>

#include "model/dorne_doc.h"

namespace {

// Events that may turn, pan or zoom the view: a sort for the view as it stands would
// likely be thrown away.
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

CSettleAhead::~CSettleAhead() { Finish(true); }

void CSettleAhead::Start(CDorneDoc& document) {
  if (Running()) return;
  m_stop.store(false);
  m_done = false;
  // Filtering every event of the application before the thread starts: nothing the
  // windows do can reach the document until Finish.
  if (QCoreApplication* application = QCoreApplication::instance())
    application->installEventFilter(this);
  m_thread = std::thread([this, &document] { m_done = document.SettleViewAside(m_stop); });
}

void CSettleAhead::Finish(bool callOff) {
  if (!Running()) return;
  if (callOff) m_stop.store(true);
  m_thread.join();
  if (QCoreApplication* application = QCoreApplication::instance())
    application->removeEventFilter(this);
}

bool CSettleAhead::eventFilter(QObject*, QEvent* event) {
  Finish(MayMoveTheView(*event));
  return false;
}
