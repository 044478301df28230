#include <QTimer>

#include <filesystem>

#include "app/external_process.h"
#include "app/message_box_codes.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "linear/linear_excel_export.h"
#include "linear/linear_messages.h"
#include "linear/ui/linear_dlg.h"
#include "linear/ui/linear_wnd.h"

// The spreadsheet exports: the exchange file, the model workbook when the program ships
// one, the target workbook (chosen by the user to save, a temporary one to open), then
// the spreadsheet helper, whose end is watched: what it could not do is told, and the
// exchange file goes away.

namespace {

constexpr int kHelperPollMs = 100;

COpenFileFilter WorkbookFilter() {
  return {StringQText(kMsgWorkbookFilter).toStdString() + "|*.xlsx||", "xlsx"};
}

COpenFileFilter ModelFilter() {
  return {StringQText(kMsgModelFilter).toStdString() + "|*.xls;*.xlsx;*.XLS;*.XLSX||", "xls"};
}

}  // namespace

CPrintHelperLauncher& CLinearWnd::PrintHelper() const {
  return m_environment.printHelper ? *m_environment.printHelper : ProgramPrintHelper();
}

bool CLinearWnd::ChooseExportFiles(bool saveAs, CXlExportJob& job) {
  const std::string models = m_environment.programFolder + "MODELS/";
  if (HasModelWorkbooks(models)) {
    QString model = m_environment.dialogs->ChooseFileToOpen(this, QString::fromStdString(models),
                                                            ModelFilter());
    if (model.isEmpty()) return false;
    job.modelPath = model.toStdString();
  }
  const std::string name = WorkbookName(m_fileTitle);
  if (saveAs) {
    QString suggested = QString::fromStdString(m_environment.projectsFolder) + QLatin1Char('/') +
                        QString::fromStdString(name);
    QString target = m_environment.dialogs->ChooseFileToSave(this, suggested, WorkbookFilter());
    if (target.isEmpty()) return false;
    job.targetPath = target.toStdString();
    return true;
  }
  if (!m_exportFolder) m_exportFolder = std::make_unique<QTemporaryDir>();
  if (!m_exportFolder->isValid()) return false;
  job.targetPath = m_exportFolder->filePath(QString::fromStdString(name)).toStdString();
  return true;
}

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
  CXlExportJob job;
  job.exchangePath = m_environment.settingsFolder + "XlExport.txt";
  job.saveAs = saveAs;
  if (!PrintHelper().CanStart()) {
    m_environment.dialogs->Message(this, StringQText(kMsgLinearHelperNotStarted),
                                   kMbOk | kMbIconExclamation);
    return 0;
  }
  if (!ChooseExportFiles(saveAs, job)) return 0;
  if (!::ExportToExcel(file, job, PrintHelper())) {
    std::error_code ignored;
    std::filesystem::remove(job.exchangePath, ignored);
    m_environment.dialogs->Message(this,
                                   StringQText(kMsgLinearWorkbookNotWritten)
                                       .arg(QString::fromStdString(job.exchangePath))
                                       .arg(0),
                                   kMbOk | kMbIconExclamation);
    return 0;
  }
  WatchHelper(job);
  return 1;
}

void CLinearWnd::WatchHelper(const CXlExportJob& job) {
  auto* timer = new QTimer(this);
  timer->setInterval(kHelperPollMs);
  connect(timer, &QTimer::timeout, this, [this, timer, job] {
    const std::optional<int> code = PrintHelper().TakeExitCode();
    if (!code) return;
    timer->deleteLater();
    timer->stop();
    std::error_code ignored;
    std::filesystem::remove(job.exchangePath, ignored);
    if (*code == 0 || *code == -1 || !m_environment.dialogs) return;
    const QString target = QString::fromStdString(job.targetPath);
    const QString text = *code == kHelperNotOpened
                             ? StringQText(kMsgLinearWorkbookNotOpened).arg(target)
                             : StringQText(kMsgLinearWorkbookNotWritten).arg(target).arg(*code);
    m_environment.dialogs->Message(this, text, kMbOk | kMbIconExclamation);
  });
  timer->start();
}
