#pragma once

#include <string>

// How long core work (a run's rebuild) tells the user that the program is busy, which
// the core never does itself: the window side installs a notifier that turns the wait
// cursor on and off and writes message texts into the main frame's status bar. With
// none installed nothing is shown.
class CWorkNotifier {
 public:
  virtual ~CWorkNotifier() = default;

  virtual void SetWaitCursor(bool on) = 0;
  // The text of the message number in the status bar.
  virtual void ShowStatusMessage(int message) = 0;
  // A message box with the text of the message number.
  virtual void ShowMessage(int message) = 0;
  // A problem the work met and went on without (a table that cannot be opened).
  virtual void ReportProblem(const std::string& text) = 0;
};

// The message of a rebuild refused because the run's range has no part builder yet.
constexpr int kMsgNoPartBuilder = 8091;

// The installed notifier (not owned), or null to detach; returns the previous one.
CWorkNotifier* SetWorkNotifier(CWorkNotifier* notifier);
// The installed notifier on the window thread; null on any other.
CWorkNotifier* GetWorkNotifier();

// Forwarded to the installed notifier; nothing without one, or off the window thread
// (platform/window_thread.h).
void ShowWorkStatus(int message);
void ReportWorkProblem(const std::string& text);
void ShowWorkMessage(int message);

// The wait cursor for the life of the object, however the work ends. Nested guards show
// it once: the outermost turns it off. Off the window thread it does nothing.
class CWaitCursorGuard {
 public:
  CWaitCursorGuard();
  ~CWaitCursorGuard();
  CWaitCursorGuard(const CWaitCursorGuard&) = delete;
  CWaitCursorGuard& operator=(const CWaitCursorGuard&) = delete;

 private:
  bool m_counted;
};
