#include "model/prop_window_notifier.h"

namespace {

// The window side installs one notifier at start-up; tests install their own.
CPropWindowNotifier* g_notifier = nullptr;

}  // namespace

CPropWindowNotifier* SetPropWindowNotifier(CPropWindowNotifier* notifier) {
  CPropWindowNotifier* previous = g_notifier;
  g_notifier = notifier;
  return previous;
}

CPropWindowNotifier* GetPropWindowNotifier() { return g_notifier; }

void OpenPropDialog() {
  if (g_notifier) g_notifier->OpenPropDialog();
}

void ClosePropDialog() {
  if (g_notifier) g_notifier->ClosePropDialog();
}
