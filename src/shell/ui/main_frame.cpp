#include "shell/ui/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>

#include "app/dorne_app.h"
#include "app/settings_keys.h"
#include "app/recent_file_list.h"
#include "shell/ui/catalogue_menu.h"
#include "app/ui/command_ids.h"
#include "app/ui/command_texts.h"
#include "app/ui/costing_window.h"
#include "shell/ui/frame_actions.h"
#include "shell/ui/frame_placement.h"
#include "shell/ui/frame_status_bar.h"
#include "shell/ui/layout_doc_window.h"
#include "shell/ui/menu_hint_filter.h"
#include "shell/ui/layout_documents.h"
#include "view/ui/child_frame.h"
#include "app/ui/message_box.h"
#include "shell/ui/mode_menus.h"
#include "app/ui/pictures.h"
#include "shell/ui/window_list_menu.h"
#include "app/ui/window_translation.h"
#include "shell/ui/work_status_notifier.h"

namespace {

constexpr int kMsgRecentFilePlaceholder = 307;
// Toolbar and menu states are refreshed this often, as idle processing did.
constexpr int kCommandUpdateMs = 300;

CModeAvailability ReadAvailability(const CDorneApp& app) {
  auto read = [&app](const CSettingKey& key) { return ReadSetting(app.Profile(), key); };
  return ModeAvailabilityFromSettings(read(settings_key::kNoLinear),
                                      read(settings_key::kNoReference),
                                      read(settings_key::kNoDesign), read(settings_key::kNoDorne));
}

QString RecentEntryText(std::size_t index, const std::string& path) {
  QString text = QString::fromStdString(path);
  if (text.size() > 60) text = text.left(20) + QStringLiteral("...") + text.right(37);
  text.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return QStringLiteral("&%1 %2").arg(index + 1).arg(text);
}

}  // namespace

CMainFrame::CMainFrame(CFrameServices services, QWidget* parent)
    : QMainWindow(parent), m_services(std::move(services)) {
  setObjectName(QStringLiteral("main_frame"));
  setWindowIcon(ProgramIcon());
  if (!m_services.openUrl)
    m_services.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  m_availability = ReadAvailability(*m_services.app);
  m_actions = new CFrameActions(this);
  connect(m_actions, &CFrameActions::CommandTriggered, this,
          [this](int commandId) { RouteCommand(commandId); });
  m_mdiArea = new QMdiArea(this);
  m_mdiArea->setObjectName(QStringLiteral("mdi_area"));
  m_mdiArea->setBackground(QColor(128, 128, 128));
  setCentralWidget(m_mdiArea);
  connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this] {
    UpdateTitle();
    // Each layout keeps its own tool, so the prompt follows the window that comes forward.
    ShowRestingPrompt();
  });
  RestoreWindowPlacement(*this, m_services.app->Profile());
  CreateBars();
  m_workNotifier = std::make_unique<CWorkStatusNotifier>(m_statusBar);
  SetWorkNotifier(m_workNotifier.get());
  ConnectDocuments();
  if (m_services.catalogueMenu)
    m_services.catalogueMenu->SetMenuChanged([this] { InstallMenuForMode(); });
  InstallMenuForMode();
  TranslateWindow(this);
  UpdateTitle();
  auto* updates = new QTimer(this);
  connect(updates, &QTimer::timeout, this, &CMainFrame::OnIdle);
  updates->start(kCommandUpdateMs);
}

CMainFrame::~CMainFrame() {
  if (GetWorkNotifier() == m_workNotifier.get()) SetWorkNotifier(nullptr);
  if (m_services.catalogueMenu) m_services.catalogueMenu->SetMenuChanged({});
  // The MDI area outlives this destructor and reports its last window going while it is
  // torn down; by then this frame is no longer one.
  disconnect(m_mdiArea, nullptr, this, nullptr);
}

void CMainFrame::CreateBars() {
  m_toolBars.Create(*this, *m_actions);
  m_statusBar = new CFrameStatusBar(this);
  setStatusBar(m_statusBar);
  RestoreBarState();
}

void CMainFrame::RestoreBarState() {
  std::string saved = ReadSetting(m_services.app->Profile(), settings_key::kToolBarState);
  if (saved.empty()) return;
  QByteArray state = QByteArray::fromBase64(QByteArray::fromStdString(saved));
  restoreState(state);  // a damaged state is refused and the bars stay as made
}

void CMainFrame::ConnectDocuments() {
  if (!m_services.layoutDocuments) return;
  connect(m_services.layoutDocuments, &CLayoutDocuments::DocumentClosed, this,
          [this] { OnDocumentClosed(); });
  connect(m_services.layoutDocuments, &CLayoutDocuments::DocumentSaved, this,
          &CMainFrame::AddRecentFile);
}

void CMainFrame::AddRecentFile(const QString& path) {
  if (!m_services.recentFiles) return;
  // Opening the file listed first again, as a start with it does, leaves the settings
  // file alone.
  if (m_services.recentFiles->Add(QFileInfo(path).absoluteFilePath().toStdString()) &&
      !m_services.recentFiles->WriteTo(m_services.app->Profile()))
    SettingsNotSavedMessage(m_services.app->Profile(), this);
  RefreshRecentFiles();
}

void CMainFrame::OnDocumentClosed() {
  if (m_services.app) m_services.app->SetIdlePrompt(true);
  if (m_services.layoutDocuments->Documents().isEmpty()) EnterEmptyMode();
}

void CMainFrame::InstallMenuForMode() {
  int menuId = kMenuStart;
  if (m_mode == EFrameMode::Graphical) menuId = kMenuLayout;
  if (m_mode == EFrameMode::Linear) menuId = kMenuLinear;
  if (m_mode == EFrameMode::Reference) menuId = kMenuReference;
  BuildModeMenu(menuId, *menuBar(), *m_actions);
  m_installedMenu = menuId;
  if (menuId == kMenuLayout && m_services.catalogueMenu)
    m_services.catalogueMenu->FillMenu(*menuBar(), *m_actions);
  if (menuId == kMenuReference) AdjustReferenceMenu();
  if (QMenu* windows = FindWindowMenu(*menuBar()))
    connect(windows, &QMenu::aboutToShow, this,
            [this, windows] { ListChildWindowsInMenu(*windows, *m_mdiArea); });
  // A menu opened right after a click or key shows the states that click or key left,
  // not those of the last idle pass.
  for (QAction* top : menuBar()->actions())
    if (QMenu* menu = top->menu()) {
      connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
      menu->installEventFilter(m_menuHints);
    }
  RefreshRecentFiles();
  TranslateWindow(menuBar());
  UpdateCommandStates();
}

void CMainFrame::RefreshRecentFiles() {
  const std::vector<std::string> none;
  const std::vector<std::string>& entries =
      m_services.recentFiles ? m_services.recentFiles->Entries() : none;
  for (std::size_t index = 0; index < CRecentFileList::kCapacity; ++index) {
    QAction* action = m_actions->Action(kIdFileMruFirst + static_cast<int>(index));
    bool listed = index < entries.size();
    action->setVisible(listed || index == 0);
    action->setText(listed ? RecentEntryText(index, entries[index])
                           : MessageText(kMsgRecentFilePlaceholder));
  }
}

void CMainFrame::UpdateTitle() {
  // A maximised layout child's title is added by the MDI area itself.
  const QString linear = LinearCaption();
  setWindowTitle(linear.isEmpty() ? ApplicationTitle() : linear);
}

QString CMainFrame::LinearCaption() const {
  if (!m_linearWindow) return {};
  const QString file = m_linearWindow->CaptionFileTitle();
  return file.isEmpty() ? ApplicationTitle()
                        : QStringLiteral("%1 - (%2)").arg(ApplicationTitle(), file);
}

void CMainFrame::AddCommandTarget(CCommandTarget* target) { m_extraTargets.push_back(target); }

std::vector<CCommandTarget*> CMainFrame::RouteChain() const {
  std::vector<CCommandTarget*> chain;
  if (QMdiSubWindow* active = m_mdiArea->currentSubWindow())
    if (auto* target = dynamic_cast<CCommandTarget*>(active->widget())) chain.push_back(target);
  chain.push_back(const_cast<CMainFrame*>(this));
  chain.insert(chain.end(), m_extraTargets.begin(), m_extraTargets.end());
  return chain;
}

bool CMainFrame::RouteCommand(int commandId) {
  for (CCommandTarget* target : RouteChain()) {
    if (target->OnCommand(commandId)) {
      UpdateCommandStates();
      return true;
    }
  }
  return false;
}

void CMainFrame::UpdateCommandStates() {
  std::vector<CCommandTarget*> chain = RouteChain();
  for (auto& [commandId, action] : m_actions->All()) {
    CCommandState state;
    bool handled = false;
    for (CCommandTarget* target : chain)
      if ((handled = target->UpdateCommand(commandId, state))) break;
    action->setEnabled(handled && state.enabled);
    CMenuHintFilter::SetHint(*action, state.hint);
    action->setCheckable(state.checked.has_value());
    if (state.checked) action->setChecked(*state.checked);
    if (state.text) action->setText(*state.text);
  }
}

void CMainFrame::OnIdle() {
  UpdateCommandStates();
  if (m_services.app->IdlePrompt()) {
    // A tool chosen since the layout opened keeps its prompt: on a busy machine the idle
    // time may come only after the user has picked one.
    ShowRestingPrompt();
    m_services.app->SetIdlePrompt(false);
  }
}

void CMainFrame::SetWaiting(bool waiting) {
  m_waiting = waiting;
  if (!waiting && m_quitRequested) QTimer::singleShot(0, this, &QWidget::close);
}

bool CMainFrame::event(QEvent* event) {
  if (event->type() == QEvent::WindowTitleChange) {
    // The MDI area names its maximised child in brackets; the linear project names its
    // file in parentheses instead.
    const QString linear = LinearCaption();
    if (!linear.isEmpty() && windowTitle() != linear) setWindowTitle(linear);
  }
  if (event->type() != QEvent::StatusTip) return QMainWindow::event(event);
  QString tip = static_cast<QStatusTipEvent*>(event)->tip();
  if (tip.isEmpty()) ShowRestingPrompt();
  else m_statusBar->showMessage(tip);
  return true;
}

void CMainFrame::ShowRestingPrompt() {
  // Once a menu or a button no longer explains itself, the active layout's tool does.
  const QMdiSubWindow* active = m_mdiArea->currentSubWindow();
  const auto* layout =
      active != nullptr ? dynamic_cast<const CLayoutDocWindow*>(active->widget()) : nullptr;
  const int prompt =
      layout != nullptr && layout->Frame() != nullptr ? layout->Frame()->Prompt() : 0;
  if (prompt != 0) m_statusBar->showMessage(PlainMessageText(prompt));
  else m_statusBar->ShowIdlePrompt();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (m_waiting) {
    m_quitRequested = true;  // the wait ends first; then the frame closes
    event->ignore();
    return;
  }
  m_quitRequested = false;
  bool left = (m_mode != EFrameMode::Linear || LeaveLinearMode()) &&
              (m_mode != EFrameMode::Reference || LeaveRefMode());
  if (!left || (m_services.layoutDocuments && !m_services.layoutDocuments->SaveAllModified())) {
    event->ignore();
    return;
  }
  if (m_services.layoutDocuments) m_services.layoutDocuments->CloseAllDocuments();
  SaveBarStateAndPlacement();
  event->accept();
}

void CMainFrame::SaveBarStateAndPlacement() {
  const auto& bars = m_toolBars.DesignBars();
  // The empty and costing modes hid the design toolbars: save them as shown before.
  bool graphical = m_mode == EFrameMode::Graphical || m_mode == EFrameMode::Start;
  std::array<bool, 4> shownNow{};
  for (std::size_t index = 0; index < bars.size(); ++index) {
    shownNow[index] = !bars[index]->isHidden();
    if (!graphical) bars[index]->setVisible(m_designBarsShown[index]);
  }
  QByteArray state = saveState().toBase64();
  CProfile& profile = m_services.app->Profile();
  bool written = WriteSetting(profile, settings_key::kToolBarState, state.toStdString());
  if (!graphical)
    for (std::size_t index = 0; index < bars.size(); ++index)
      bars[index]->setVisible(shownNow[index]);
  written = SaveWindowPlacement(*this, profile) && written;
  if (!written) SettingsNotSavedMessage(profile, this);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  for (const QUrl& url : event->mimeData()->urls()) {
    if (!url.isLocalFile()) continue;
    QString path = url.toLocalFile();
    OpenAnyFile(path);
  }
  event->acceptProposedAction();
}
