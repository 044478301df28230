#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <map>
#include <memory>
#include <string>

#include "app/profile.h"
#include "app/ui/shell_dialogs.h"
#include "linear/ui/linear_environment.h"
#include "support/temp_folder.h"

class QWidget;

// Answers the linear window's questions from a script and records the messages.
class CLinearTestDialogs : public CShellDialogs {
 public:
  int ChooseStartMode(QWidget*, bool, bool, bool) override { return 0; }
  std::optional<QString> ChooseModel(QWidget*, const QString&) override { return std::nullopt; }
  QString ChooseFileToOpen(QWidget*, const QString&, const COpenFileFilter&) override {
    if (filesToOpen.empty()) return {};
    QString file = filesToOpen.front();
    filesToOpen.pop_front();
    return file;
  }
  QString ChooseFileToSave(QWidget*, const QString&, const COpenFileFilter&) override;
  int Message(QWidget*, const QString& text, unsigned type) override;
  void PrintSetup(QWidget*) override {}
  void ShowAbout(QWidget*) override {}
  int RunInfoDialog(QWidget*, const CInfoDlg::Setup&, CProfile&) override { return 0; }

  std::deque<QString> filesToOpen;  // empty: the choice is cancelled
  std::deque<QString> filesToSave;
  QStringList saveSuggestions;
  QStringList saveFilters;
  std::deque<int> answers;  // empty: OK / Yes
  QStringList messages;
};

// A settings folder with the sample catalogue of the program folder, the texts of the
// language (English unless told), and an environment on them.
class CLinearTestSetup {
 public:
  explicit CLinearTestSetup(const std::string& language = "044");
  ~CLinearTestSetup();
  CTempFolder folder{"linear-ui"};
  std::unique_ptr<CProfile> profile;
  CLinearTestDialogs dialogs;
  CLinearEnvironment environment;
};

class CLinearWnd;

// Adds a line of the group at the given current through the editor, with the given
// texts in the body's edits (by slot), and saves it under name. Its index, -1 when a
// step failed.
int AddLine(CLinearWnd& window, int group, int current, const std::map<int, QString>& body,
            const QString& name);

// Answers the next modal dialog: sets the text of its line edit, when given, and
// accepts it.
void AcceptNextModal(const QString& text = QString());
bool SaveScreenshot(QWidget& widget, const QString& name);
void ProcessEvents();
