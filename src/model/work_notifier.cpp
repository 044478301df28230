#include "model/work_notifier.h"

namespace {

CWorkNotifier* g_notifier = nullptr;
int g_waitDepth = 0;

}  // namespace

CWorkNotifier* SetWorkNotifier(CWorkNotifier* notifier) {
  CWorkNotifier* previous = g_notifier;
  g_notifier = notifier;
  return previous;
}

CWorkNotifier* GetWorkNotifier() { return g_notifier; }

void ShowWorkStatus(int message) {
  if (g_notifier != nullptr) g_notifier->ShowStatusMessage(message);
}

void ReportWorkProblem(const std::string& text) {
  if (g_notifier != nullptr) g_notifier->ReportProblem(text);
}

void ShowWorkMessage(int message) {
  if (g_notifier != nullptr) g_notifier->ShowMessage(message);
}

CWaitCursorGuard::CWaitCursorGuard() {
  if (g_waitDepth++ == 0 && g_notifier != nullptr) g_notifier->SetWaitCursor(true);
}

CWaitCursorGuard::~CWaitCursorGuard() {
  if (--g_waitDepth == 0 && g_notifier != nullptr) g_notifier->SetWaitCursor(false);
}
