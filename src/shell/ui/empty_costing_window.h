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
  // What the window's set-up reads before it is shown (the option lists of its mode).
  void SetConfigCheck(std::function<bool()> check) { m_checkConfig = std::move(check); }
  bool CheckConfig() override { return m_checkConfig ? m_checkConfig() : true; }
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
  std::function<bool()> m_checkConfig;
  QString m_fileTitle;
};
