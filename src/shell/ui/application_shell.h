#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/catalogue_entry.h"
#include "app/device_entry.h"
#include "app/dorne_app.h"
#include "app/language_list.h"
#include "app/recent_file_list.h"
#include "app/startup.h"
#include "app/ui/qt_translations.h"
#include "app/ui/shell_dialogs.h"
#include "app/unit_entry.h"

class CCatalogueMenu;
class CDocumentCommands;
class CRunDocuments;
class CMainFrame;
class CPropWindowHost;
class CShellDialogs;
class CSingleInstance;
class CSplashDlg;
class CStandardShellDialogs;
class QApplication;

// The window half of the application object: it runs the start-up (InitInstance) and
// owns what the windows share: the application core, the start-up lists, the recent
// files, the main frame and the document commands. One per program run; tests make
// their own with their own dialogs.
class CApplicationShell : public QObject {
  Q_OBJECT

 public:
  // With no dialogs given, the program's own dialogs are used.
  explicit CApplicationShell(std::unique_ptr<CShellDialogs> dialogs = nullptr);
  ~CApplicationShell() override;

  // The whole start-up; true when the program is to run its event loop, false when it
  // ends (a running copy took over, the article table is missing, the information
  // dialog was cancelled, the program restarted in another language).
  bool InitInstance(const QStringList& arguments);

  CDorneApp& App() { return m_app; }
  CRecentFileList& RecentFiles() { return m_recentFiles; }
  const std::vector<CLanguageEntry>& Languages() const { return m_languages; }
  const std::vector<CUnitEntry>& Units() const { return m_units; }
  // The catalogue list of catalog.dbf; the runs read the same one (CRunEnvironment).
  const std::vector<CCatalogueEntry>& Catalogues() const;
  const std::vector<CDeviceEntry>& Devices() const { return m_devices; }
  CShellDialogs& Dialogs() { return *m_dialogs; }
  CMainFrame* Frame() const { return m_frame.get(); }
  CDocumentCommands* Commands() const { return m_commands.get(); }
  CCatalogueMenu* CatalogueMenu() const { return m_catalogueMenu.get(); }
  CSingleInstance* SingleInstance() const { return m_singleInstance.get(); }
  const CStartCommandLine& CommandLine() const { return m_commandLine; }

  // The name by which running copies find each other (tests give their own).
  void SetSingleInstanceName(const QString& name) { m_singleInstanceName = name; }
  // Starts a program on its own (the restart in another language); true when it
  // started. Tests give their own.
  using ProcessStarter = std::function<bool(const QString& program, const QStringList& arguments)>;
  void SetProcessStarter(ProcessStarter starter) { m_startProcess = std::move(starter); }
  // The program's folder instead of the executable's (tests give the build's).
  void SetProgramFolder(std::string folder) { m_programFolder = std::move(folder); }

  // The steps of the start-up, public so that tests can run them one by one. Without
  // folders given, those of this computer.
  bool SettleFolders(const std::optional<CAppFolders>& folders = std::nullopt);
  bool ProbeArticleTable();
  void LoadLanguage();
  void LoadStartLists();
  void ConnectProductRanges();
  void CreateFrame();
  void OpenFirstDocument();
  // The information dialog at start-up: false when the program is to end.
  bool RunStartInformation();
  // Shows the About box.
  void ShowAbout(QWidget* parent);
  // What the information dialog shows, in either of its modes.
  CInfoDlg::Setup InfoSetup(EInfoMode mode) const;
  // A later start handed over its file: the frame comes forward and opens it.
  void OnHandOver(const QString& file);

  // The program's exit code when InitInstance ended it: 1 when it could not work (no
  // article table), else 0.
  int ExitCode() const { return m_exitCode; }

  // Problems met while reading the start-up tables, shown once the frame is up.
  const QStringList& StartProblems() const { return m_startProblems; }

 private:
  bool ClaimSingleInstance();
  void ShowSplash();
  bool RestartInNewLanguage();
  void ShowStartProblems();
  void OpenStartFileOrChoose();

  CDorneApp m_app;
  CQtTranslations m_qtTranslations;
  std::string m_programFolder;
  CRecentFileList m_recentFiles;
  std::vector<CLanguageEntry> m_languages;
  std::vector<CUnitEntry> m_units;
  std::vector<CDeviceEntry> m_devices;
  std::unique_ptr<CShellDialogs> m_dialogs;
  std::unique_ptr<CRunDocuments> m_layoutDocuments;
  std::unique_ptr<CCatalogueMenu> m_catalogueMenu;
  std::unique_ptr<CMainFrame> m_frame;
  std::unique_ptr<CDocumentCommands> m_commands;
  std::unique_ptr<CSingleInstance> m_singleInstance;
  // The one property window of the program, above the main frame.
  std::unique_ptr<CPropWindowHost> m_propertyWindow;
  QPointer<CSplashDlg> m_splash;
  CStartCommandLine m_commandLine;
  QStringList m_startProblems;  // the tables that could not be read
  QStringList m_laterProblems;  // the same after the start, until they are shown
  QStringList m_startNotices;   // the settings folder and the language file
  int m_exitCode = 0;
  QString m_singleInstanceName;
  ProcessStarter m_startProcess;
};

// The application of the running program.
CApplicationShell& GetApplicationShell();
CDorneApp& GetDorneApp();
