#pragma once

#include <QPointer>

#include <functional>

#include "model/props/prop_window_notifier.h"
#include "pages/ui/prop_dialog.h"

class CDorneApp;
class QWidget;

// The one property window of the program, as the model reaches it (CPropWindowNotifier):
// made on OpenPropDialog above the owner window, shown messages at once, queued
// messages after the current command (and dropped when their object has died), closed
// on ClosePropDialog unless pinned. Installed as the model's notifier for its lifetime.
class CPropWindowHost : public CPropWindowNotifier {
 public:
  // setup and owner (the window the property window belongs to, the main frame) are
  // asked each time the window is made.
  CPropWindowHost(std::function<CPropWindowSetup()> setup, std::function<QWidget*()> owner);
  ~CPropWindowHost() override;
  CPropWindowHost(const CPropWindowHost&) = delete;
  CPropWindowHost& operator=(const CPropWindowHost&) = delete;

  // The set-up of the program: its settings file and screen scale.
  static CPropWindowSetup SetupOf(CDorneApp& app);

  // The window while it exists, else null.
  CPropDialog* Window() const;

  bool PropWindowExists() const override;
  void SendPropMessage(int message, CObjWithProp* object) override;
  void PostPropMessage(int message, CObjHandle object) override;
  void OpenPropDialog() override;
  void ClosePropDialog() override;

 private:
  std::function<CPropWindowSetup()> m_setup;
  std::function<QWidget*()> m_owner;
  QPointer<CPropDialog> m_window;
};
