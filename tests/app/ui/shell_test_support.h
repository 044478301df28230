#pragma once

#include "app/unit_entry.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/dorne_app.h"
#include "app/ui/shell_dialogs.h"
#include "support/environment_guard.h"
#include "support/temp_folder.h"

class QWidget;

// Answers the questions of the frame from a script and records what was asked. An
// empty script answers: no start mode, no model, no file, OK (or No to a Yes/No box).
class CScriptedDialogs : public CShellDialogs {
 public:
  int ChooseStartMode(QWidget* parent, bool offerLinear, bool offerReference,
                      bool offerGraphical) override;
  std::optional<QString> ChooseModel(QWidget* parent, const QString& initialPath) override;
  QString ChooseFileToOpen(QWidget* parent, const QString& folder,
                           const COpenFileFilter& filter) override;
  QString ChooseFileToSave(QWidget* parent, const QString& suggestedPath,
                           const COpenFileFilter& filter) override;
  int Message(QWidget* parent, const QString& text, unsigned type) override;
  void PrintSetup(QWidget*) override { ++printSetups; }
  void ShowAbout(QWidget*) override { ++aboutBoxes; }
  int RunInfoDialog(QWidget* parent, const CInfoDlg::Setup& setup, CProfile& profile) override;

  std::deque<int> startModes;
  std::deque<QString> models;  // a null text cancels the model dialog
  std::deque<QString> filesToOpen;
  std::deque<QString> filesToSave;
  QStringList saveSuggestions;
  std::deque<int> answers;
  QStringList messages;
  QStringList offeredModes;  // "LRG" with "-" for a way not offered, per start-mode call
  QStringList modelPathsShown;
  QStringList openFilters;
  QStringList openFolders;
  std::deque<int> infoResults;  // empty: Accepted
  QList<CInfoDlg::Setup> infoSetups;
  int printSetups = 0;
  int aboutBoxes = 0;
};

// A temporary folder for settings, documents and files; XDG_CONFIG_HOME points into it
// while it lives. Its "settings/" folder holds TVR.INI. XDG_DATA_HOME names its "data/"
// folder, which is not made: the desktop files of a start go nowhere.
class CShellTestFolder {
 public:
  CShellTestFolder();
  std::string Path(const std::string& name = {}) const;
  std::string SettingsFolder() const { return Path("settings/TVR73/"); }
  // Writes a file (folders made as needed); returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const;
  // The settings file: the catalogue and article folders (by default the sample
  // catalogue's), then the lines given, which continue section [Database].
  void WriteSettings(const std::string& lines, const std::string& catalogueFolder = {},
                     const std::string& articleFolder = {}) const;

 private:
  CTempFolder m_folder{"shell"};
  CEnvironmentGuard m_environment{"XDG_CONFIG_HOME", "XDG_DATA_HOME"};
};

// The program's language (from the program folder's DBF/), "044" unless told.
void UseProgramLanguage(const std::string& number = "044");

// Saves a picture of the widget as TVR_TEST_OUTPUT_DIR/<name>.png; false when it could not.
bool SaveScreenshot(QWidget& widget, const QString& name);
// Lets queued events run (deferred deletes included).
void ProcessEvents();
