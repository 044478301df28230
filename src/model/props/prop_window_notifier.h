#pragma once

#include "model/props/obj_handle.h"

class CObjWithProp;

// Messages of the floating property window.
constexpr int kPropMsgShowObject = 1025;  // show the pages of this object
constexpr int kPropMsgClear = 1026;       // clear the window
constexpr int kPropMsgRefresh = 1027;     // show this object once the current command ends

// How the core reaches the one property window of the program, which it never touches
// itself. The window side installs an implementation with SetPropWindowNotifier; with
// none installed the window counts as absent and every call does nothing.
class CPropWindowNotifier {
 public:
  virtual ~CPropWindowNotifier() = default;

  // True while the window exists (made and not destroyed).
  virtual bool PropWindowExists() const = 0;
  // Delivers the message to the window at once, with the object (may be null).
  virtual void SendPropMessage(int message, CObjWithProp* object) = 0;
  // Queues the message for after the current command. The object may be destroyed
  // before it is delivered: the window must check the handle and drop a dead one.
  virtual void PostPropMessage(int message, CObjHandle object) = 0;
  // Makes the window when it does not exist, else gives it the keyboard focus.
  virtual void OpenPropDialog() = 0;
  // Closes the window unless it is pinned.
  virtual void ClosePropDialog() = 0;
};

// The installed notifier (not owned), or null to detach; returns the previous one.
CPropWindowNotifier* SetPropWindowNotifier(CPropWindowNotifier* notifier);
// The installed notifier on the window thread (platform/window_thread.h); null on any
// other, where the window counts as absent.
CPropWindowNotifier* GetPropWindowNotifier();

// Forwarded to the installed notifier; nothing without one.
void OpenPropDialog();
void ClosePropDialog();
