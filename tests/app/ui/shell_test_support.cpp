#include "shell_test_support.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "app/current_language.h"
#include "app/message_box_codes.h"
#include "app/ui/catalogue_menu.h"
#include "app/ui/costing_window.h"
#include "app/ui/document_commands.h"
#include "app/ui/empty_costing_window.h"
#include "app/ui/run_documents.h"
#include "model/dorne_doc.h"
#include "platform/archive.h"
#include "app/ui/main_frame.h"
#include "app/ui/translator.h"
#include "support/test_output.h"

namespace fs = std::filesystem;

namespace {

// The next scripted answer, or the given one once the script has run out.
template <typename T>
T TakeFront(std::deque<T>& script, T otherwise) {
  if (script.empty()) return otherwise;
  T answer = script.front();
  script.pop_front();
  return answer;
}

}  // namespace

int CScriptedDialogs::ChooseStartMode(QWidget*, bool offerLinear, bool offerReference,
                                      bool offerGraphical) {
  offeredModes << QStringLiteral("%1%2%3")
                      .arg(offerLinear ? 'L' : '-')
                      .arg(offerReference ? 'R' : '-')
                      .arg(offerGraphical ? 'G' : '-');
  return TakeFront(startModes, 0);
}

std::optional<QString> CScriptedDialogs::ChooseModel(QWidget*, const QString& initialPath) {
  modelPathsShown << initialPath;
  QString model = TakeFront(models, QString());
  if (model.isNull()) return std::nullopt;
  return model;
}

QString CScriptedDialogs::ChooseFileToOpen(QWidget*, const QString& folder,
                                           const COpenFileFilter& filter) {
  openFolders << folder;
  openFilters << QString::fromStdString(filter.filter);
  return TakeFront(filesToOpen, QString());
}

QString CScriptedDialogs::ChooseFileToSave(QWidget*, const QString& suggestedPath,
                                           const COpenFileFilter&) {
  saveSuggestions << suggestedPath;
  return TakeFront(filesToSave, QString());
}

int CScriptedDialogs::Message(QWidget*, const QString& text, unsigned type) {
  messages << text;
  unsigned buttons = type & kMbButtonMask;
  return TakeFront(answers, buttons == kMbYesNo || buttons == kMbYesNoCancel ? kIdNo : kIdOk);
}

int CScriptedDialogs::RunInfoDialog(QWidget*, const CInfoDlg::Setup& setup, CProfile&) {
  infoSetups << setup;
  return TakeFront(infoResults, static_cast<int>(QDialog::Accepted));
}

CShellTestFolder::CShellTestFolder() {
  fs::create_directories(Path("settings/TVR73"));
  fs::create_directories(Path("documents"));
  m_environment.Set("XDG_CONFIG_HOME", Path("settings"));
  m_environment.Set("XDG_DATA_HOME", Path("data"));
}

std::string CShellTestFolder::Path(const std::string& name) const {
  return name.empty() ? m_folder.Path() : m_folder.File(name);
}

std::string CShellTestFolder::Write(const std::string& name, const std::string& bytes) const {
  return m_folder.WriteFile(name, bytes);
}

void CShellTestFolder::WriteSettings(const std::string& lines, const std::string& catalogueFolder,
                                     const std::string& articleFolder) const {
  std::string program = TVR_PROGRAM_DIR;
  std::string catalogue = catalogueFolder.empty() ? program + "/DBF" : catalogueFolder;
  std::string article = articleFolder.empty() ? program + "/BD" : articleFolder;
  Write("settings/TVR73/TVR.INI", "[DBF Database]\nDirectory=" + catalogue +
                                      "\n[Database]\nPartnumPath=" + article + "\n" + lines);
}

void UseProgramLanguage(const std::string& number) {
  CCurrentLanguage& language = CCurrentLanguage::Instance();
  language.Reset();
  CTranslator::Instance().Reset();
  CLanguageSetup setup;
  setup.catalogueFolder = std::string(TVR_PROGRAM_DIR) + "/DBF/";
  language.SetSetup(setup);
  language.LoadLanguage(number);
}

CFrameFixture::CFrameFixture(const std::string& settingsLines, bool ownProgramFolder) {
  folder.WriteSettings(settingsLines);
  std::string program = ownProgramFolder ? folder.Path("program/") : std::string(TVR_PROGRAM_DIR);
  if (ownProgramFolder) fs::create_directories(program);
  app.InitFolders({program, folder.SettingsFolder(), folder.Path("documents")});
  app.ReadSettings();
  UseProgramLanguage();
  recent.ReadFrom(app.Profile());
}

CFrameFixture::~CFrameFixture() {
  m_frame.reset();
  m_commands.reset();
  ProcessEvents();
  CCurrentLanguage::Instance().Reset();
}

CMainFrame& CFrameFixture::Frame() {
  if (m_frame) return *m_frame;
  m_documents = std::make_unique<CRunDocuments>(dialogs, app, units);
  m_catalogue = std::make_unique<CCatalogueMenu>(app);
  auto opened = [this](const QString& path) {
    recent.Add(path.toStdString());
    EXPECT_TRUE(recent.WriteTo(app.Profile()));
  };
  CFrameServices services;
  services.app = &app;
  services.recentFiles = &recent;
  services.layoutDocuments = m_documents.get();
  services.dialogs = &dialogs;
  services.catalogueMenu = m_catalogue.get();
  services.makeLinearWindow = makeLinear ? makeLinear : [this, opened] {
    return static_cast<CCostingWindow*>(
        new CEmptyCostingWindow(CEmptyCostingWindow::Kind::Linear, dialogs, opened));
  };
  services.makeReferenceWindow = makeReference ? makeReference : [this, opened] {
    return static_cast<CCostingWindow*>(
        new CEmptyCostingWindow(CEmptyCostingWindow::Kind::Reference, dialogs, opened));
  };
  services.openUrl = [this](const QUrl& url) {
    urlsOpened << url;
    return true;
  };
  services.newFromModel = [this](bool ask) { Commands().NewFromModel(ask); };
  m_frame = std::make_unique<CMainFrame>(services);
  m_commands = std::make_unique<CDocumentCommands>(*m_frame);
  m_frame->AddCommandTarget(m_commands.get());
  m_frame->AddCommandTarget(m_catalogue.get());
  m_frame->show();
  return *m_frame;
}

CDocumentCommands& CFrameFixture::Commands() {
  Frame();
  return *m_commands;
}

QStringList MenuTitles(QWidget& frame) {
  QStringList titles;
  QMenuBar* bar = frame.findChild<QMenuBar*>();
  for (QAction* action : bar->actions()) titles << action->menu()->objectName();
  return titles;
}

QList<int> MenuCommands(QWidget& frame, const QString& menuObjectName) {
  QList<int> commands;
  QMenuBar* bar = frame.findChild<QMenuBar*>();
  QMenu* menu = bar->findChild<QMenu*>(menuObjectName);
  if (!menu) return commands;
  for (QAction* action : menu->actions()) {
    if (action->isSeparator()) commands << 0;
    else if (action->menu()) commands << -1;
    else commands << action->data().toInt();
  }
  return commands;
}

bool SaveScreenshot(QWidget& widget, const QString& name) {
  ProcessEvents();  // layouts catch up with the last changes
  QPixmap picture = widget.grab();
  return !picture.isNull() &&
         picture.save(QString::fromStdString(TestOutputPath(name.toStdString() + ".png")));
}

std::string LayoutFileBytes(int version) {
  CDorneDoc document;
  document.OnNewDocument("01/12/2026");
  CArchiveWriter writer;
  document.Serialize(writer);
  std::string bytes(writer.Bytes().begin(), writer.Bytes().end());
  bytes[0] = static_cast<char>(version & 0xFF);
  bytes[1] = static_cast<char>((version >> 8) & 0xFF);
  return bytes;
}

void ProcessEvents() {
  for (int round = 0; round < 3; ++round) {
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
  }
}
