#include "shell/ui/application_shell.h"
#include "shell/ui/ui_query.h"

#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QTimer>
#include <memory>

#include "app/current_language.h"
#include "shell/ui/catalogue_menu.h"
#include "shell/ui/costing_window_makers.h"
#include "shell/ui/document_commands.h"
#include "reference/ref_config.h"
#include "shell/ui/empty_costing_window.h"
#include "shell/ui/file_checks.h"
#include "shell/ui/run_documents.h"
#include "model/run/run_environment.h"
#include "pages/ui/prop_page_dialog.h"
#include "pages/ui/prop_window_host.h"
#include "app/ui/info_dlg.h"
#include "shell/ui/main_frame.h"
#include "app/ui/message_box.h"
#include "shell/ui/options_command.h"
#include "app/ui/shell_dialogs.h"
#include "shell/ui/single_instance.h"
#include "app/ui/splash_dlg.h"
#include "app/ui/window_translation.h"
#include "view/element_point_source.h"

namespace {

CApplicationShell* g_shell = nullptr;
constexpr int kHandOverRetryMs = 250;
// A language chosen in the About box: documents may be open, so no restart here.
constexpr int kMsgLanguageAtNextStart = 8163;

}  // namespace

CApplicationShell& GetApplicationShell() { return *g_shell; }
CDorneApp& GetDorneApp() { return g_shell->App(); }

CApplicationShell::CApplicationShell(std::unique_ptr<CShellDialogs> dialogs)
    : m_dialogs(std::move(dialogs)) {
  if (!m_dialogs) {
    auto standard = std::make_unique<CStandardShellDialogs>();
    standard->SetAboutBox([this](QWidget* parent) { ShowAbout(parent); });
    m_dialogs = std::move(standard);
  }
  g_shell = this;
  CElementPointSource::Install();
  m_propertyWindow =
      std::make_unique<CPropWindowHost>([this] { return CPropWindowHost::SetupOf(m_app); },
                                        [this]() -> QWidget* { return m_frame.get(); });
  SetPageCommandHandler([this](int command) { return m_frame && m_frame->RouteCommand(command); });
}

CApplicationShell::~CApplicationShell() {
  SetPageCommandHandler({});
  m_propertyWindow.reset();  // it stands above the frame
  m_frame.reset();           // its windows go before the documents and menus they use
  m_layoutDocuments.reset();
  if (CRunEnvironment::Instance().App() == &m_app) CRunEnvironment::Instance().Reset();
  delete m_splash.data();  // still up when the program ends within its showing time
  if (g_shell == this) g_shell = nullptr;
}

const std::vector<CCatalogueEntry>& CApplicationShell::Catalogues() const {
  return CRunEnvironment::Instance().Catalogues();
}

void CApplicationShell::CreateFrame() {
  m_layoutDocuments = std::make_unique<CRunDocuments>(*m_dialogs, m_app, m_units);
  m_catalogueMenu = std::make_unique<CCatalogueMenu>(m_app);
  auto opened = [this](const QString& path) {
    if (m_recentFiles.Add(path.toStdString()) && !m_recentFiles.WriteTo(m_app.Profile()))
      SettingsNotSavedMessage(m_app.Profile(), m_frame.get());
    if (m_frame) m_frame->RefreshRecentFiles();
  };
  CFrameServices services;
  services.app = &m_app;
  services.recentFiles = &m_recentFiles;
  services.layoutDocuments = m_layoutDocuments.get();
  services.dialogs = m_dialogs.get();
  services.catalogueMenu = m_catalogueMenu.get();
  services.makeLinearWindow = [this, opened]() -> CCostingWindow* {
    if (LinearWindowMaker())
      return LinearWindowMaker()(CCostingWindowContext{&m_app, m_dialogs.get(), opened});
    return new CEmptyCostingWindow(CEmptyCostingWindow::Kind::Linear, *m_dialogs, opened);
  };
  services.makeReferenceWindow = [this, opened]() -> CCostingWindow* {
    if (ReferenceWindowMaker())
      return ReferenceWindowMaker()(CCostingWindowContext{&m_app, m_dialogs.get(), opened});
    auto* window =
        new CEmptyCostingWindow(CEmptyCostingWindow::Kind::Reference, *m_dialogs, opened);
    // The reference window reads its option lists when it is set up.
    window->SetConfigCheck([this, config = std::make_shared<CRefConfig>()] {
      const CRefConfigSetup setup = RefConfigSetupFor(m_app);
      config->ReadSettings(m_app.Profile(), setup);
      return config->LoadRefConfig(m_app.Profile(), setup) == 1;
    });
    return window;
  };
  services.newFromModel = [this](bool ask) { m_commands->NewFromModel(ask); };
  services.fileProblem = [this](const QString& path, EFileKind kind) {
    return OpenFileProblem(*m_layoutDocuments, path, kind);
  };
  m_frame = std::make_unique<CMainFrame>(services);
  m_commands = std::make_unique<CDocumentCommands>(*m_frame);
  m_frame->AddCommandTarget(m_commands.get());
  m_frame->AddCommandTarget(m_catalogueMenu.get());
  m_frame->AddCommandTarget(new COptionsCommand(*m_frame, [this] {
    return COptionsContext{&m_app, m_languages, m_devices, m_frame.get()};
  }));
  // Before the start dialogs, so that a desktop test can find their buttons too.
  StartUiQueryServer(*m_frame);
}

CInfoDlg::Setup CApplicationShell::InfoSetup(EInfoMode mode) const {
  CInfoDlg::Setup setup;
  setup.mode = mode;
  setup.languages = m_languages;
  setup.currentLanguage = LeadingInt(CCurrentLanguage::Instance().LanguageNumber()).value_or(0);
  setup.applicationName = m_app.AppName();
  setup.version = CCurrentLanguage::Instance().Mapping().VersionText();
  setup.picturePath = QString::fromStdString(m_app.ProgramFolder()) + QStringLiteral("info.jpg");
  return setup;
}

void CApplicationShell::ShowAbout(QWidget* parent) {
  const CInfoDlg::Setup setup = InfoSetup(EInfoMode::About);
  if (m_dialogs->RunInfoDialog(parent, setup, m_app.Profile()) == kInfoLanguageChanged)
    m_dialogs->Message(parent, StringQText(kMsgLanguageAtNextStart), kMbOk | kMbIconInformation);
}

void CApplicationShell::OnHandOver(const QString& file) {
  if (!m_frame) return;
  if (m_frame->isMinimized()) m_frame->showNormal();
  m_frame->raise();
  m_frame->activateWindow();
  if (file.isEmpty()) return;
  // A dialog of this copy is waiting for an answer (the start-mode choice, a
  // question): the file opens once it is closed, not under it.
  if (QApplication::activeModalWidget()) {
    QTimer::singleShot(kHandOverRetryMs, this, [this, file] { OnHandOver(file); });
    return;
  }
  m_commands->OpenDocumentFile(file);
}
