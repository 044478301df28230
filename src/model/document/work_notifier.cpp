#include "model/document/work_notifier.h"

#include "platform/window_thread.h"

#include <atomic>

namespace {

std::atomic<CWorkNotifier*> g_notifier = nullptr;
int g_waitDepth = 0;  // the window thread's alone

}  // namespace

CWorkNotifier* SetWorkNotifier(CWorkNotifier* notifier) { return g_notifier.exchange(notifier); }

CWorkNotifier* GetWorkNotifier() {
  // Work done on a worker thread (an undo step's design made ahead) tells nobody: the
  // cursor and the status bar are widgets of the window thread.
  return tvr::platform::IsWindowThread() ? g_notifier.load() : nullptr;
}

void ShowWorkStatus(int message) {
  if (CWorkNotifier* notifier = GetWorkNotifier()) notifier->ShowStatusMessage(message);
}

void ReportWorkProblem(const std::string& text) {
  if (CWorkNotifier* notifier = GetWorkNotifier()) notifier->ReportProblem(text);
}

void ShowWorkMessage(int message) {
  if (CWorkNotifier* notifier = GetWorkNotifier()) notifier->ShowMessage(message);
}

CWaitCursorGuard::CWaitCursorGuard() : m_counted(tvr::platform::IsWindowThread()) {
  if (!m_counted) return;
  if (g_waitDepth++ == 0)
    if (CWorkNotifier* notifier = GetWorkNotifier()) notifier->SetWaitCursor(true);
}

CWaitCursorGuard::~CWaitCursorGuard() {
  if (!m_counted) return;
  if (--g_waitDepth == 0)
    if (CWorkNotifier* notifier = GetWorkNotifier()) notifier->SetWaitCursor(false);
}
