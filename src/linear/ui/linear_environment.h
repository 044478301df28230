#pragma once

#include <QString>

#include <functional>
#include <string>

#include "linear/linear_tables.h"

class CDorneApp;
class CPrintHelperLauncher;
class CProfile;
class CShellDialogs;

// What the linear window reads of the application: the settings file, the folders of
// the tables and of the projects, the [Design] switches and the questions to the user.
// The program fills it from the application; tests fill it by hand.
struct CLinearEnvironment {
  CProfile* profile = nullptr;
  CShellDialogs* dialogs = nullptr;
  CLinearFolders folders;
  std::string settingsFolder;  // ends with '/'
  std::string projectsFolder;
  std::string programFolder;  // ends with '/'
  std::string userName;
  int copper = 0;
  int apod = 0;
  std::function<void(const QString&)> opened;
  // Makes price list n (1..15) the application's current one.
  std::function<void(int)> setCatalogue;
  // The spreadsheet helper; null: the program's own.
  CPrintHelperLauncher* printHelper = nullptr;

  static CLinearEnvironment FromApp(CDorneApp& app, CShellDialogs& dialogs,
                                    std::function<void(const QString&)> opened);
  int ReadInt(const char* section, const char* key, int fallback) const;
  std::string ReadText(const char* section, const char* key, const char* fallback) const;
  [[nodiscard]] bool WriteText(const char* section, const char* key,
                               const std::string& value) const;
};
