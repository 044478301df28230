#include "model/props/prop_window_notifier.h"

#include "platform/window_thread.h"

#include <atomic>

namespace {

// The window side installs one notifier at start-up; tests install their own.
std::atomic<CPropWindowNotifier*> g_notifier = nullptr;

}  // namespace

CPropWindowNotifier* SetPropWindowNotifier(CPropWindowNotifier* notifier) {
  return g_notifier.exchange(notifier);
}

CPropWindowNotifier* GetPropWindowNotifier() {
  // A design read on a worker thread has no window to show it: the window is a widget.
  return tvr::platform::IsWindowThread() ? g_notifier.load() : nullptr;
}

void OpenPropDialog() {
  if (CPropWindowNotifier* notifier = GetPropWindowNotifier()) notifier->OpenPropDialog();
}

void ClosePropDialog() {
  if (CPropWindowNotifier* notifier = GetPropWindowNotifier()) notifier->ClosePropDialog();
}
