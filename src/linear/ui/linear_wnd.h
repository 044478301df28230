#pragma once

#include <memory>
#include <string>

#include "app/saveable_document.h"
#include "app/ui/costing_window.h"
#include "linear/linear_project.h"
#include "linear/ui/linear_environment.h"

class CLinearDlg;
class CShellDialogs;
class CWorkbookExport;

// The project information of a linear or reference project, edited in the shared
// dialog on a copy of its properties; true when OK wrote them back (the project is then
// modified).
bool RunProjectInfoDialog(CProjectFields& fields, CShellDialogs& dialogs,
                          const std::string& projectsFolder, QWidget* parent);

// The window of the linear costing mode: one linear project for its whole life, shown
// by its main dialog, with its file, its title and its commands (save, save as, close,
// project information, the spreadsheet exports).
class CLinearWnd : public CCostingWindow, public CSaveableDocument {
  Q_OBJECT

 public:
  explicit CLinearWnd(CLinearEnvironment environment, QWidget* parent = nullptr);
  ~CLinearWnd() override;

  bool CheckConfig() override { return CheckLinearConfig(); }
  bool LoadFile(const QString& path) override;
  // Bit 0 of the result: the price lists may have changed.
  void OptionsChanged(unsigned result) override;
  QString CaptionFileTitle() const override;
  bool CheckLinearConfig();
  void SetProjectDefaults();
  void UpdateTitle(bool modified);
  bool SaveAs();
  bool Save();
  int ExportToExcel(bool saveAs, int variant);

  std::string PathName() const override { return m_path; }
  bool IsModified() const override { return m_modified; }
  void SetModifiedFlag(bool modified) override { UpdateTitle(modified); }
  bool SaveToFile(const std::string& path, std::string& error) override;

  bool UpdateCommand(int commandId, CCommandState& state) override;
  bool OnCommand(int commandId) override;

  CLinearProject& Project() { return m_project; }
  CLinearDlg& Dialog() { return *m_dialog; }
  const std::string& FileTitle() const { return m_fileTitle; }

 protected:
  bool PromptToClose() override;

 private:
  void RunProjectInfo();
  QString Today() const;

  CLinearEnvironment m_environment;
  CLinearProject m_project;
  QString m_baseCaption;
  std::string m_fileTitle;
  std::string m_path;
  bool m_modified = false;
  CLinearDlg* m_dialog = nullptr;
  CWorkbookExport* m_workbooks = nullptr;
};
