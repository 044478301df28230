#include <QAction>
#include <QFileInfo>
#include <QMdiArea>
#include <QStatusBar>
#include <QToolBar>

#include "app/dorne_app.h"
#include "app/settings_keys.h"
#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/command_ids.h"
#include "shell/ui/frame_actions.h"
#include "shell/ui/main_frame.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"

// The frame's own commands: toolbars and status bar, help pages, the web page, the
// design-check switch and the arrangement of the child windows.

namespace {

constexpr int kMsgHelpFile = 800;
constexpr int kMsgHelpMissing = 393;
constexpr int kMsgWebFailed = 394;

bool IsHelpCommand(int commandId) {
  return commandId == kIdHelpIndex || commandId == kIdHelpTutorial ||
         commandId == kIdHelpTroubleshooting || commandId == kIdWebPage;
}

}  // namespace

bool CMainFrame::UpdateViewCommand(int commandId, CCommandState& state) const {
  if (QToolBar* bar = m_toolBars.DesignBar(commandId)) {
    state.checked = !bar->isHidden();
    return true;
  }
  if (commandId == kIdViewToolbar) {
    state.checked = !m_toolBars.MainBar()->isHidden();
    return true;
  }
  if (commandId == kIdViewStatusBar) {
    state.checked = !statusBar()->isHidden();
    return true;
  }
  return false;
}

bool CMainFrame::UpdateCommand(int commandId, CCommandState& state) {
  if (UpdateViewCommand(commandId, state)) return true;
  switch (commandId) {
    case kIdHelpTroubleshooting:  // handled by the frame when the document has no say
    case kIdHelpIndex:
    case kIdHelpTutorial:
    case kIdWebPage:
    case kIdAppExit: return true;
    case kIdDesignCheck: state.checked = m_services.app->DesignCheck(); return true;
    case kIdWindowCascade:
    case kIdWindowTile:
    case kIdWindowArrange: state.enabled = !m_mdiArea->subWindowList().isEmpty(); return true;
    default: return false;
  }
}

bool CMainFrame::HandleViewCommand(int commandId) {
  if (QToolBar* bar = m_toolBars.DesignBar(commandId)) {
    bar->setVisible(bar->isHidden());
    return true;
  }
  if (commandId == kIdViewToolbar) {
    m_toolBars.MainBar()->setVisible(m_toolBars.MainBar()->isHidden());
    return true;
  }
  if (commandId == kIdViewStatusBar) {
    statusBar()->setVisible(statusBar()->isHidden());
    return true;
  }
  return false;
}

bool CMainFrame::OpenHelpPage(const std::string& page) {
  QString helpFile =
      QString::fromStdString(m_services.app->ProgramFolder()) + StringQText(kMsgHelpFile);
  QString target = helpFile;
  QString anchor;
  if (!page.empty()) {
    QString name = QString::fromStdString(page);
    anchor = name.section(QLatin1Char('#'), 1);
    target = QFileInfo(helpFile).absolutePath() + QLatin1Char('/') +
             name.section(QLatin1Char('#'), 0, 0);
  }
  if (QFileInfo::exists(target)) {
    QUrl url = QUrl::fromLocalFile(target);
    if (!anchor.isEmpty()) url.setFragment(anchor);
    if (m_services.openUrl(url)) return true;
  }
  QString text = QString::fromStdString(FormatMessageTextS(kMsgHelpMissing, target.toStdString()));
  m_services.dialogs->Message(this, text, kMbOk | kMbIconExclamation);
  return false;
}

bool CMainFrame::HandleHelpCommand(int commandId) {
  if (commandId == kIdHelpIndex) OpenHelpPage(HelpIndexPage(m_mode));
  if (commandId == kIdHelpTutorial) OpenHelpPage(TutorialPage(m_mode));
  if (commandId == kIdHelpTroubleshooting) OpenHelpPage("SOS.htm#SOS");
  if (commandId == kIdWebPage) {
    std::string address = ReadSetting(m_services.app->Profile(), settings_key::kWebPage);
    QUrl url(QString::fromStdString(address), QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty() || !m_services.openUrl(url)) {
      QString text = QString::fromStdString(FormatMessageTextS(kMsgWebFailed, address));
      m_services.dialogs->Message(this, text, kMbOk | kMbIconExclamation);
    }
  }
  return IsHelpCommand(commandId);
}

bool CMainFrame::OnCommand(int commandId) {
  if (HandleViewCommand(commandId) || HandleHelpCommand(commandId)) return true;
  switch (commandId) {
    case kIdDesignCheck:
      m_services.app->SetDesignCheck(!m_services.app->DesignCheck());
      return true;
    case kIdWindowCascade: m_mdiArea->cascadeSubWindows(); return true;
    case kIdWindowTile: m_mdiArea->tileSubWindows(); return true;
    case kIdWindowArrange: m_mdiArea->tileSubWindows(); return true;
    case kIdAppExit: close(); return true;
    default: return false;
  }
}
