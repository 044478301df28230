#include "linear/ui/workbook_export.h"

#include <QWidget>

#include <filesystem>

#include "app/external_process.h"
#include "app/message_box_codes.h"
#include "app/ui/model_workbook_choice.h"
#include "app/ui/print_helper_watch.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "app/xl_export_file.h"
#include "linear/linear_messages.h"
#include "linear/ui/linear_environment.h"

namespace {

COpenFileFilter WorkbookFilter() {
  return {StringQText(kMsgWorkbookFilter).toStdString() + "|*.xlsx||", "xlsx"};
}

}  // namespace

CWorkbookExport::CWorkbookExport(const CLinearEnvironment& environment, QWidget& owner)
    : QObject(&owner), m_environment(environment), m_owner(owner) {}

CWorkbookExport::~CWorkbookExport() = default;

CPrintHelperLauncher& CWorkbookExport::PrintHelper() const {
  return m_environment.printHelper ? *m_environment.printHelper : ProgramPrintHelper();
}

bool CWorkbookExport::ChooseExportFiles(bool saveAs, const std::string& fileTitle,
                                        CXlExportJob& job) {
  const std::optional<std::string> model =
      ChooseModelWorkbook(*m_environment.dialogs, &m_owner, m_environment.programFolder);
  if (!model) return false;
  job.modelPath = *model;
  const std::string name = WorkbookName(fileTitle);
  if (saveAs) {
    QString suggested = QString::fromStdString(m_environment.projectsFolder) + QLatin1Char('/') +
                        QString::fromStdString(name);
    QString target = m_environment.dialogs->ChooseFileToSave(&m_owner, suggested, WorkbookFilter());
    if (target.isEmpty()) return false;
    job.targetPath = target.toStdString();
    return true;
  }
  if (!m_exportFolder) m_exportFolder = std::make_unique<QTemporaryDir>();
  if (!m_exportFolder->isValid()) return false;
  job.targetPath = m_exportFolder->filePath(QString::fromStdString(name)).toStdString();
  return true;
}

int CWorkbookExport::Run(const CXlExportFile& file, bool saveAs, const std::string& fileTitle,
                         const char* exchangeName) {
  if (!m_environment.dialogs) return 0;
  CXlExportJob job;
  job.exchangePath = m_environment.settingsFolder + exchangeName;
  job.saveAs = saveAs;
  if (!PrintHelper().CanStart()) {
    m_environment.dialogs->Message(&m_owner, StringQText(kMsgLinearHelperNotStarted),
                                   kMbOk | kMbIconExclamation);
    return 0;
  }
  if (!ChooseExportFiles(saveAs, fileTitle, job)) return 0;
  if (!ExportToExcel(file, job, PrintHelper())) {
    std::error_code ignored;
    std::filesystem::remove(job.exchangePath, ignored);
    m_environment.dialogs->Message(&m_owner,
                                   StringQText(kMsgLinearWorkbookNotWritten)
                                       .arg(QString::fromStdString(job.exchangePath))
                                       .arg(0),
                                   kMbOk | kMbIconExclamation);
    return 0;
  }
  WatchHelper(job);
  return 1;
}

void CWorkbookExport::WatchHelper(const CXlExportJob& job) {
  WatchPrintHelper(*this, PrintHelper(), [this, job](int code) {
    std::error_code ignored;
    std::filesystem::remove(job.exchangePath, ignored);
    if (code == 0 || !m_environment.dialogs) return;
    const QString target = QString::fromStdString(job.targetPath);
    const QString model = QString::fromStdString(job.modelPath);
    const QString text = code == kHelperNotOpened
                             ? StringQText(kMsgLinearWorkbookNotOpened).arg(target)
                         : code == kHelperModelNotReadable
                             ? StringQText(kMsgModelNotReadable).arg(model)
                             : StringQText(kMsgLinearWorkbookNotWritten).arg(target).arg(code);
    m_environment.dialogs->Message(&m_owner, text, kMbOk | kMbIconExclamation);
  });
}
