#include "linear/linear_excel_export.h"
#include "linear/ui/linear_dlg.h"
#include "linear/ui/linear_wnd.h"
#include "linear/ui/workbook_export.h"

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
  return m_workbooks->Run(file, saveAs, m_fileTitle);
}
