#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "app/dorne_app.h"
#include "app/settings_keys.h"
#include "shell/ui/catalogue_menu.h"
#include "app/ui/command_ids.h"
#include "app/ui/costing_window.h"
#include "shell/ui/frame_actions.h"
#include "shell/ui/frame_status_bar.h"
#include "shell/ui/layout_documents.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/mode_menus.h"
#include "app/ui/shell_dialogs.h"

// The frame's modes: which menu bar, toolbars and child windows each one shows, and the
// start-mode choice.

bool CMainFrame::EnterEmptyMode() {
  const auto& bars = m_toolBars.DesignBars();
  if (m_mode != EFrameMode::Empty) {  // a second call must not forget what was shown
    for (std::size_t index = 0; index < bars.size(); ++index) {
      m_designBarsShown[index] = !bars[index]->isHidden();
      bars[index]->hide();
    }
  }
  m_actions->Action(kIdEditUndo)->setVisible(false);
  m_actions->Action(kIdEditRedo)->setVisible(false);
  m_statusBar->SetPaneText(kPaneDistance, QString());
  m_mode = EFrameMode::Empty;
  InstallMenuForMode();
  return true;
}

bool CMainFrame::EnterGraphicalMode() {
  if (m_mode != EFrameMode::Start && m_mode != EFrameMode::Empty) return false;
  if (m_mode == EFrameMode::Empty) {
    const auto& bars = m_toolBars.DesignBars();
    for (std::size_t index = 0; index < bars.size(); ++index)
      bars[index]->setVisible(m_designBarsShown[index]);
  }
  m_actions->Action(kIdEditUndo)->setVisible(true);
  m_actions->Action(kIdEditRedo)->setVisible(true);
  m_mode = EFrameMode::Graphical;
  InstallMenuForMode();
  return true;
}

bool CMainFrame::EnterLinearMode(const QString& path) {
  return EnterCostingMode(EFrameMode::Linear, path);
}
bool CMainFrame::EnterRefMode(const QString& path) {
  return EnterCostingMode(EFrameMode::Reference, path);
}
bool CMainFrame::LeaveLinearMode() { return LeaveCostingMode(EFrameMode::Linear); }
bool CMainFrame::LeaveRefMode() { return LeaveCostingMode(EFrameMode::Reference); }

bool CMainFrame::EnterCostingMode(EFrameMode mode, const QString& path) {
  if (m_mode == EFrameMode::Start) EnterEmptyMode();
  if (m_mode != EFrameMode::Empty) return false;
  bool linear = mode == EFrameMode::Linear;
  const auto& make = linear ? m_services.makeLinearWindow : m_services.makeReferenceWindow;
  CCostingWindow* window = make ? make() : nullptr;
  if (!window) return false;
  m_mode = mode;
  InstallMenuForMode();
  (linear ? m_linearWindow : m_referenceWindow) = window;
  QMdiSubWindow* container = m_mdiArea->addSubWindow(window);
  container->setAttribute(Qt::WA_DeleteOnClose);
  connect(window, &CCostingWindow::Closing, this,
          [this, window] { OnCostingWindowClosing(window); });
  connect(window, &CCostingWindow::CaptionChanged, this, &CMainFrame::UpdateTitle);
  container->showMaximized();
  if (!window->CheckConfig() || (!path.isEmpty() && !window->LoadFile(path))) {
    window->CloseWithPrompt();
    if (m_mode == mode) LeaveCostingMode(mode);
    return false;
  }
  UpdateTitle();
  return true;
}

void CMainFrame::OnCostingWindowClosing(CCostingWindow* window) {
  if (window == m_linearWindow) {
    m_linearWindow = nullptr;
    LeaveLinearMode();
  } else if (window == m_referenceWindow) {
    m_referenceWindow = nullptr;
    LeaveRefMode();
  }
}

bool CMainFrame::LeaveCostingMode(EFrameMode mode) {
  if (m_mode != mode) return false;
  CCostingWindow* window = mode == EFrameMode::Linear ? m_linearWindow : m_referenceWindow;
  if (window) return window->CloseWithPrompt();  // its closing comes back here
  if (mode == EFrameMode::Reference) {
    m_actions->Action(kIdLightingCalc)->setVisible(false);
    m_actions->Action(kIdLightingRange)->setVisible(false);
  }
  m_mode = EFrameMode::Empty;
  InstallMenuForMode();
  UpdateTitle();
  return true;
}

void CMainFrame::AdjustReferenceMenu() {
  // The XML order export stays in the export menu: the window routes and enables its
  // two commands, and taking the sub-menu away left them out of reach.
  QList<QAction*> bar = menuBar()->actions();
  bool calc = ReadSettingInt(m_services.app->Profile(), settings_key::kReferenceCosting) > 0;
  bool range = ReadSettingInt(m_services.app->Profile(), settings_key::kReferenceRanges) > 0;
  m_actions->Action(kIdLightingCalc)->setVisible(calc);
  m_actions->Action(kIdLightingRange)->setVisible(range);
  QMenu* lighting = bar.size() > 3 ? bar[3]->menu() : nullptr;
  if (!lighting) return;
  if (!calc) lighting->removeAction(m_actions->Action(kIdLightingCalc));
  if (!range) lighting->removeAction(m_actions->Action(kIdLightingRange));
  if (!calc && !range) menuBar()->removeAction(bar[3]);
}

void CMainFrame::FinishGraphicalOpen() {
  QList<QMdiSubWindow*> documents = m_services.layoutDocuments->Documents();
  if (m_mode == EFrameMode::Graphical && documents.isEmpty()) {
    EnterEmptyMode();
  } else if (m_mode == EFrameMode::Graphical && documents.size() == 1) {
    documents.front()->showMaximized();
    if (m_services.catalogueMenu) m_services.catalogueMenu->BuildCatalogueMenu();
  }
}

void CMainFrame::ChooseStartMode() {
  switch (m_mode) {
    case EFrameMode::Start:
    case EFrameMode::Empty: {
      int choice = m_services.dialogs->ChooseStartMode(
          this, !m_availability.noLinear, !m_availability.noReference, !m_availability.noGraphical);
      if (choice == kStartLinear) EnterLinearMode(QString());
      if (choice == kStartReference) EnterRefMode(QString());
      if (choice == kStartGraphical) {
        EnterGraphicalMode();
        if (m_services.newFromModel) m_services.newFromModel(false);
        FinishGraphicalOpen();
      }
      break;
    }
    case EFrameMode::Graphical:
      if (m_services.newFromModel) m_services.newFromModel(true);
      break;
    case EFrameMode::Linear:
      if (LeaveLinearMode()) EnterLinearMode(QString());
      break;
    case EFrameMode::Reference:
      if (LeaveRefMode()) EnterRefMode(QString());
      break;
  }
}
