#include "frame_test_support.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/current_language.h"
#include "app/ui/costing_window.h"
#include "model/document/dorne_doc.h"
#include "platform/archive.h"
#include "shell/ui/catalogue_menu.h"
#include "shell/ui/document_commands.h"
#include "shell/ui/empty_costing_window.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/run_documents.h"

namespace fs = std::filesystem;

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
  services.fileProblem = fileProblem;
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
