#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QUrl>

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "app/frame_rules.h"
#include "app/ui/command_target.h"
#include "app/ui/costing_window.h"
#include "shell/ui/frame_toolbars.h"
#include "shell/ui/menu_hint_filter.h"

class CCatalogueMenu;
class CDorneApp;
class CFrameActions;
class CFrameStatusBar;
class CWorkStatusNotifier;
class CLayoutDocuments;
class CRecentFileList;
class CShellDialogs;
class QMdiArea;
class QMdiSubWindow;

// What the main frame works with; the program gives its own, tests their own.
struct CFrameServices {
  CDorneApp* app = nullptr;
  CRecentFileList* recentFiles = nullptr;
  CLayoutDocuments* layoutDocuments = nullptr;
  CShellDialogs* dialogs = nullptr;
  CCatalogueMenu* catalogueMenu = nullptr;
  // Make the window of the linear and the reference mode (not yet shown).
  std::function<CCostingWindow*()> makeLinearWindow;
  std::function<CCostingWindow*()> makeReferenceWindow;
  // Opens an address in the desktop's browser or viewer; false when it could not.
  std::function<bool(const QUrl&)> openUrl;
  // A new layout document seeded from a model document, asking for it or not.
  std::function<void(bool ask)> newFromModel;
  // Why the file cannot be opened as that kind, as the message naming it; empty when it
  // can. Without it only whether the file reads is checked.
  std::function<QString(const QString& path, EFileKind kind)> fileProblem;
};

// The program's main window: an MDI frame with five modes (start, empty, graphical,
// linear, reference) that choose its menu bar and its toolbars. Every file open ends in
// OpenAnyFile; the start-mode choice is carried out by ChooseStartMode. Commands go to
// the active child window first, then to the frame, then to the targets added with
// AddCommandTarget (the application).
class CMainFrame : public QMainWindow, public CCommandTarget {
  Q_OBJECT

 public:
  explicit CMainFrame(CFrameServices services, QWidget* parent = nullptr);
  ~CMainFrame() override;

  EFrameMode Mode() const { return m_mode; }
  const CModeAvailability& Availability() const { return m_availability; }

  // The mode operations; each returns true on success.
  bool EnterEmptyMode();
  bool EnterGraphicalMode();
  bool EnterLinearMode(const QString& path);
  bool LeaveLinearMode();
  bool EnterRefMode(const QString& path);
  bool LeaveRefMode();
  // File New and the end of start-up: the start-mode dialog in the start and empty
  // modes, a new project of the running mode otherwise.
  void ChooseStartMode();
  // Opens a file by its extension (asks for one when the path is empty). Returns the
  // layout document opened, or null: always for linear and reference files, whose
  // path is emptied when their window opened them, and on failure or refusal.
  QMdiSubWindow* OpenAnyFile(QString& path);

  // Command routing.
  void AddCommandTarget(CCommandTarget* target);
  bool RouteCommand(int commandId);
  void UpdateCommandStates();
  // What the program did when idle: the command states, and the idle prompt in the
  // status bar once after a layout document was created, opened or closed.
  void OnIdle();
  bool UpdateCommand(int commandId, CCommandState& state) override;
  bool OnCommand(int commandId) override;

  CFrameActions& Actions() { return *m_actions; }
  QMdiArea* MdiArea() const { return m_mdiArea; }
  CFrameStatusBar* FrameStatusBar() const { return m_statusBar; }
  const CFrameToolBars& ToolBars() const { return m_toolBars; }
  CCostingWindow* LinearWindow() const { return m_linearWindow; }
  CCostingWindow* ReferenceWindow() const { return m_referenceWindow; }
  const CFrameServices& Services() const { return m_services; }
  // The menu bar of the mode: 128, 129, 249 or 251.
  int InstalledMenu() const { return m_installedMenu; }
  void InstallMenuForMode();
  // The texts of the recent-file entries of the File menus.
  void RefreshRecentFiles();
  // The design toolbars are saved as the graphical mode shows them, the placement too.
  void SaveBarStateAndPlacement();
  // A quit asked for while the program waits for an external program: the frame
  // closes once the wait is over.
  void SetWaiting(bool waiting);
  bool QuitRequested() const { return m_quitRequested; }

 protected:
  // A command's prompt while a menu item or a toolbar button is hovered; the idle
  // prompt again once none is.
  bool event(QEvent* event) override;
  // The caption in linear mode: the application and the project's file; empty in the
  // other modes.
  QString LinearCaption() const;
  void closeEvent(QCloseEvent* event) override;
  // Files dropped on the window are opened one after the other.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateBars();
  void RestoreBarState();
  void ConnectDocuments();
  void OnDocumentClosed();
  void OnCostingWindowClosing(CCostingWindow* window);
  bool EnterCostingMode(EFrameMode mode, const QString& path);
  bool LeaveCostingMode(EFrameMode mode);
  void AdjustReferenceMenu();
  void FinishGraphicalOpen();
  // Why OpenAnyFile must refuse the file before it closes any work for it; empty when
  // it may go on.
  QString FileProblem(const QString& path, EFileKind kind) const;
  void UpdateTitle();
  bool HandleViewCommand(int commandId);
  bool HandleHelpCommand(int commandId);
  bool UpdateViewCommand(int commandId, CCommandState& state) const;
  void ShowRestingPrompt();
  // The file goes to the top of the recent files, in the settings and the File menus.
  void AddRecentFile(const QString& path);
  bool OpenHelpPage(const std::string& page);
  std::vector<CCommandTarget*> RouteChain() const;

  CFrameServices m_services;
  CFrameActions* m_actions = nullptr;
  QMdiArea* m_mdiArea = nullptr;
  CFrameStatusBar* m_statusBar = nullptr;
  // Shows why a grey menu item is grey (owned by the frame).
  CMenuHintFilter* m_menuHints = new CMenuHintFilter(this);
  std::unique_ptr<CWorkStatusNotifier> m_workNotifier;
  CFrameToolBars m_toolBars;
  std::array<bool, 4> m_designBarsShown{};
  CModeAvailability m_availability;
  EFrameMode m_mode = EFrameMode::Start;
  int m_installedMenu = 0;
  QPointer<CCostingWindow> m_linearWindow;
  QPointer<CCostingWindow> m_referenceWindow;
  std::vector<CCommandTarget*> m_extraTargets;
  bool m_waiting = false;
  bool m_quitRequested = false;
};
