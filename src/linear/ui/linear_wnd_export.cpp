#include <QFileInfo>

#include "app/external_process.h"
#include "app/ui/shell_dialogs.h"
#include "linear/linear_excel_export.h"
#include "linear/ui/linear_dlg.h"
#include "linear/ui/linear_wnd.h"

// The spreadsheet exports: the exchange file, then the model workbook and, to save,
// the target workbook chosen by the user, then the spreadsheet helper.

namespace {

const COpenFileFilter kWorkbookFilter{"Excel Files (*.XLS) |*.XLS||", "XLS"};

std::string WorkbookName(const std::string& fileTitle) {
  std::string name = fileTitle;
  std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name + ".xls";
}

}  // namespace

int CLinearWnd::ExportToExcel(bool saveAs, int variant) {
  if (!m_environment.dialogs) return 0;
  CLinearTables tables(&m_dialog->Notifier());
  CLinearPriceSettings settings = m_project.settings;
  bool open = tables.OpenLinearTables(m_environment.folders, settings,
                                      m_environment.ReadInt("Database", "UseTC", 0));
  CLinearExportContext context;
  context.enabled = m_project.settings.groupsOn;
  context.columnsShown = m_dialog->ColumnsShown();
  context.profile = m_environment.profile;
  context.tables = open ? &tables : nullptr;
  CXlExportFile file = WriteExcelExchangeFile(m_project, variant, context);
  CLinearExcelJob job;
  job.exchangePath = m_environment.settingsFolder + "XlExport.txt";
  job.saveAs = saveAs;
  QString model = m_environment.dialogs->ChooseFileToOpen(
      this, QString::fromStdString(m_environment.programFolder + "MODELS/"), kWorkbookFilter);
  if (model.isEmpty()) return 0;
  job.modelPath = model.toStdString();
  if (saveAs) {
    QString suggested = QString::fromStdString(m_environment.projectsFolder) + QLatin1Char('/') +
                        QString::fromStdString(WorkbookName(m_fileTitle));
    QString target = m_environment.dialogs->ChooseFileToSave(this, suggested, kWorkbookFilter);
    if (target.isEmpty()) return 0;
    job.targetPath = target.toStdString();
  }
  return ::ExportToExcel(file, job, ProgramPrintHelper());
}
