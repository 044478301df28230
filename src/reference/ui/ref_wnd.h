#pragma once

#include <string>

#include "app/saveable_document.h"
#include "app/ui/costing_window.h"
#include "reference/ui/ref_core.h"
#include "reference/ui/ref_environment.h"

class CRefConfigDlg;
class CWorkbookExport;
struct CRefExportContext;

// The window of costing by reference: one project for its whole life, shown and edited
// by its configurator, with its file, its title and its commands (save, save as, close,
// project information, the workbook, CSV and XML exports of the selected lines).
class CRefWnd : public CCostingWindow, public CSaveableDocument {
  Q_OBJECT

 public:
  explicit CRefWnd(CRefEnvironment environment, QWidget* parent = nullptr);
  ~CRefWnd() override;

  bool CheckConfig() override { return CheckRefConfig(); }
  bool LoadFile(const QString& path) override;
  void OptionsChanged(unsigned result) override;
  QString CaptionFileTitle() const override;
  bool CheckRefConfig();
  void InitNewProject();
  void UpdateTitle(bool modified);
  bool SaveRefFile();
  bool SaveRefFileAs();
  // The workbook (saved to a file the user names, or opened), with every selected line
  // or their totals.
  int ExportToExcel(bool saveAs, bool summary);
  // The CSV and XML files, to a file the user names.
  bool ExportToCsv(bool summary);
  bool ExportToXml(bool summary);

  std::string PathName() const override { return m_path; }
  bool IsModified() const override { return m_modified; }
  void SetModifiedFlag(bool modified) override { UpdateTitle(modified); }
  bool SaveToFile(const std::string& path, std::string& error) override;

  bool UpdateCommand(int commandId, CCommandState& state) override;
  bool OnCommand(int commandId) override;

  CRefProject& Project() { return m_project; }
  CRefConfigDlg& Dialog() { return *m_dialog; }
  const std::string& FileTitle() const { return m_fileTitle; }

 protected:
  bool PromptToClose() override;

 private:
  bool ExportsAllowed() const;
  CRefExportContext ExportContext(bool summary) const;
  bool WriteTextExport(bool xml, bool summary);
  QString Today() const;

  CRefEnvironment m_environment;
  CRefProject m_project;
  QString m_baseCaption;
  std::string m_fileTitle;
  std::string m_path;
  bool m_modified = false;
  CRefConfigDlg* m_dialog = nullptr;
  CWorkbookExport* m_workbooks = nullptr;
};
