#include "shell/ui/empty_costing_window.h"

#include <QFileInfo>

#include "app/message_box_codes.h"
#include "app/ui/command_ids.h"
#include "shell/ui/file_checks.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgUntitled = 8004;
constexpr int kMsgLinearCaption = 30999;
constexpr int kMsgReferenceCaption = 32000;

}  // namespace

CEmptyCostingWindow::CEmptyCostingWindow(Kind kind, CShellDialogs& dialogs,
                                         std::function<void(const QString&)> opened)
    : m_kind(kind),
      m_dialogs(dialogs),
      m_opened(std::move(opened)),
      m_fileTitle(StringQText(kMsgUntitled)) {
  setObjectName(kind == Kind::Linear ? QStringLiteral("linear_window")
                                     : QStringLiteral("reference_window"));
  setMinimumSize(480, 320);
  UpdateTitle();
}

void CEmptyCostingWindow::UpdateTitle() {
  int caption = m_kind == Kind::Linear ? kMsgLinearCaption : kMsgReferenceCaption;
  setWindowTitle(StringQText(caption) + QStringLiteral(" - ") + m_fileTitle);
}

bool CEmptyCostingWindow::LoadFile(const QString& path) {
  QString problem = UnreadableFileMessage(path);
  if (!problem.isEmpty()) {
    m_dialogs.Message(window(), problem, kMbOk | kMbIconError);
    return false;
  }
  m_fileTitle = QFileInfo(path).fileName();
  UpdateTitle();
  if (m_opened) m_opened(QFileInfo(path).absoluteFilePath());
  return true;
}

bool CEmptyCostingWindow::UpdateCommand(int commandId, CCommandState& state) {
  if (commandId != kIdFileClose) return false;
  state.enabled = true;
  return true;
}

bool CEmptyCostingWindow::OnCommand(int commandId) {
  if (commandId != kIdFileClose) return false;
  CloseWithPrompt();
  return true;
}
