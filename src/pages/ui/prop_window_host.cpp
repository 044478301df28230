#include "pages/ui/prop_window_host.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <vector>

#include "app/dorne_app.h"

namespace {

// Hosts alive, the newest last: it is the model's notifier. Hosts may end in any order
// (tests make shells of their own), so the one installed after a host ends is always a
// live one.
std::vector<CPropWindowHost*>& LiveHosts() {
  static std::vector<CPropWindowHost*> hosts;
  return hosts;
}

// Documents are read on worker threads too; the window is touched on its own thread only.
bool OnWindowThread() { return QThread::currentThread() == QCoreApplication::instance()->thread(); }

}  // namespace

CPropWindowHost::CPropWindowHost(std::function<CPropWindowSetup()> setup,
                                 std::function<QWidget*()> owner)
    : m_setup(std::move(setup)), m_owner(std::move(owner)) {
  LiveHosts().push_back(this);
  SetPropWindowNotifier(this);
}

CPropWindowHost::~CPropWindowHost() {
  std::erase(LiveHosts(), this);
  if (GetPropWindowNotifier() == this)
    SetPropWindowNotifier(LiveHosts().empty() ? nullptr : LiveHosts().back());
  if (m_window != nullptr) delete m_window.data();
}

CPropWindowSetup CPropWindowHost::SetupOf(CDorneApp& app) {
  CPropWindowSetup setup;
  setup.profile = &app.Profile();
  setup.scaleX = app.ScaleX();
  setup.scaleY = app.ScaleY();
  return setup;
}

CPropDialog* CPropWindowHost::Window() const { return m_window.data(); }

bool CPropWindowHost::PropWindowExists() const { return m_window != nullptr; }

void CPropWindowHost::SendPropMessage(int message, CObjWithProp* object) {
  if (m_window == nullptr || !OnWindowThread()) return;
  if (message == kPropMsgShowObject) m_window->ShowObject(object);
  else if (message == kPropMsgClear) m_window->ClearObject();
}

void CPropWindowHost::PostPropMessage(int message, CObjHandle object) {
  if (m_window == nullptr || !OnWindowThread()) return;
  // The object may die before the event loop comes back: the handle tells.
  QTimer::singleShot(0, m_window.data(), [this, message, object] {
    if (CObjWithProp* alive = object.Get()) SendPropMessage(message, alive);
  });
}

void CPropWindowHost::OpenPropDialog() {
  if (m_window != nullptr) {
    m_window->KeepOpen();
    m_window->activateWindow();
    m_window->setFocus();
    return;
  }
  auto* window =
      new CPropDialog(m_setup ? m_setup() : CPropWindowSetup(), m_owner ? m_owner() : nullptr);
  m_window = window;
  QObject::connect(window, &CPropDialog::Closed, window, [this, window] {
    if (m_window == window) m_window = nullptr;
  });
  window->show();
  window->raise();
  window->activateWindow();
}

void CPropWindowHost::ClosePropDialog() {
  if (m_window != nullptr && !m_window->IsPinned()) m_window->close();
}
