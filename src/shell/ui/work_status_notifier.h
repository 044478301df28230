#pragma once

#include "model/document/work_notifier.h"

class QStatusBar;

// The window side of the core's work notices: the wait cursor over the whole program,
// message texts in the main frame's status bar and message boxes above the active
// window. The main frame installs one (SetWorkNotifier) for its lifetime.
class CWorkStatusNotifier : public CWorkNotifier {
 public:
  // statusBar: the main frame's (not owned; may be null).
  explicit CWorkStatusNotifier(QStatusBar* statusBar);
  ~CWorkStatusNotifier() override;
  CWorkStatusNotifier(const CWorkStatusNotifier&) = delete;
  CWorkStatusNotifier& operator=(const CWorkStatusNotifier&) = delete;

  void SetWaitCursor(bool on) override;
  void ShowStatusMessage(int message) override;
  void ShowMessage(int message) override;
  void ReportProblem(const std::string& text) override;

 private:
  QStatusBar* m_statusBar;
  bool m_cursorShown = false;
};
