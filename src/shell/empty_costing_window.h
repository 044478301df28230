#pragma once

#include <functional>

#include "app/ui/costing_window.h"

class CShellDialogs;

// The placeholder of the linear and the reference windows until they exist: an empty
// window with the mode's caption that opens a readable file by name and closes.
class CEmptyCostingWindow : public CCostingWindow {
  Q_OBJECT

 public:
  enum class Kind { Linear, Reference };

  // opened is told the path of every file the window opened (the recent-file list).
  CEmptyCostingWindow(Kind kind, CShellDialogs& dialogs,
                      std::function<void(const QString&)> opened);

  Kind WindowKind() const { return m_kind; }
  bool CheckConfig() override { return true; }
  bool LoadFile(const QString& path) override;

  bool UpdateCommand(int commandId, CCommandState& state) override;
  bool OnCommand(int commandId) override;

 protected:
  bool PromptToClose() override { return true; }

 private:
  void UpdateTitle();

  Kind m_kind;
  CShellDialogs& m_dialogs;
  std::function<void(const QString&)> m_opened;
  QString m_fileTitle;
};
