#pragma once

#include <QPointer>

#include <functional>

#include "model/prop_window_notifier.h"
#include "pages/ui/prop_dialog.h"

class CApplicationShell;
class QWidget;

// The one property window of the program, as the model reaches it (CPropWindowNotifier):
// made on OpenPropDialog above the owner window, shown messages at once, queued
// messages after the current command (and dropped when their object has died), closed
// on ClosePropDialog unless pinned. Installed as the model's notifier for its lifetime.
class CPropWindowHost : public CPropWindowNotifier {
 public:
  // owner: the window the property window belongs to (the main frame), asked when the
  // window is made.
  CPropWindowHost(const CPropWindowSetup& setup, std::function<QWidget*()> owner);
  ~CPropWindowHost() override;
  CPropWindowHost(const CPropWindowHost&) = delete;
  CPropWindowHost& operator=(const CPropWindowHost&) = delete;

  // The host the program's start-up makes for its shell.
  static std::unique_ptr<CPropWindowHost> ForShell(CApplicationShell& shell);

  // The window while it exists, else null.
  CPropDialog* Window() const;

  bool PropWindowExists() const override;
  void SendPropMessage(int message, CObjWithProp* object) override;
  void PostPropMessage(int message, CObjHandle object) override;
  void OpenPropDialog() override;
  void ClosePropDialog() override;

 private:
  CPropWindowSetup m_setup;
  std::function<QWidget*()> m_owner;
  QPointer<CPropDialog> m_window;
  CPropWindowNotifier* m_previous = nullptr;
};
