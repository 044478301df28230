#include "export/ui/layout_exports.h"

#include <QApplication>

#include <cctype>
#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <QProgressDialog>
#include <QThread>

#include "app/dorne_app.h"
#include "app/external_process.h"
#include "app/message_text.h"
#include "app/price_lists.h"
#include "app/profile.h"
#include "app/xl_export_file.h"
#include "export/csv_export.h"
#include "export/layout_xl_export.h"
#include "export/picture_files.h"
#include "export/z3d_export.h"
#include "export/part_number_import.h"
#include "export/part_number_link.h"
#include "export/price_update.h"
#include "export/ui/price_base_dlg.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/run/run_environment.h"
#include "model/undo/undo_manager.h"

namespace {

constexpr int kMsgPartlyPriced = 31526;
constexpr int kMsgArticlesMissing = 31527;
constexpr int kMsgElementsUnbuilt = 31535;
constexpr int kMsgFormulasFailed = 31528;
constexpr int kMsgNoArticleTable = 31529;
constexpr int kUndoUpdatePrices = 32875;
constexpr std::size_t kNamesShown = 12;
constexpr int kMsgToolRunning = 31530;
constexpr int kMsgToolFailed = 31531;
constexpr int kUndoImportPartNumbers = 32878;
constexpr int kMsgPartNumbersImported = 62300;
constexpr int kMsgNoPartNumberImported = 62301;
constexpr int kMsgUncodedDevices = 62302;
constexpr int kPumpSleepMs = 20;
constexpr int kMsgHelperNotStarted = 8150;
constexpr int kMsgCannotCreate = 61732;
constexpr int kMsgValueTooWide = 31532;

// A modal progress window without a cancel button for the time the tool runs.
class CProgressWait : public CWaitObserver {
 public:
  explicit CProgressWait(QWidget* parent) : m_parent(parent) {}
  void BeginWait() override {
    m_dialog = std::make_unique<QProgressDialog>(
        QString::fromStdString(StringText(kMsgToolRunning)), QString(), 0, 0, m_parent);
    m_dialog->setObjectName(QStringLiteral("part_number_progress"));
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setMinimumDuration(0);
    m_dialog->show();
  }
  bool Pump() override {
    QApplication::processEvents(QEventLoop::AllEvents, kPumpSleepMs);
    QThread::msleep(kPumpSleepMs);
    return true;
  }
  void EndWait(int) override { m_dialog.reset(); }

 private:
  QWidget* m_parent;
  std::unique_ptr<QProgressDialog> m_dialog;
};

const CProfile& AppProfile() {
  static const CProfile fallback{std::string()};
  const CDorneApp* app = CRunEnvironment::Instance().App();
  return app != nullptr ? app->Profile() : fallback;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i)
    text += (i == 0 ? "" : ", ") + names[i];
  if (names.size() > kNamesShown) text += ", ...";
  return text;
}

// The one message that says what a price update could not do; empty when all went well.
std::string ReportText(const CPriceUpdateReport& report) {
  if (!report.tableOpened) {
    std::string text = StringText(kMsgNoArticleTable);
    for (const std::string& problem : report.problems) text += "\n" + problem;
    return text;
  }
  if (report.Clean()) return {};
  std::string text = StringText(kMsgPartlyPriced);
  if (!report.missing.empty())
    text += "\n\n" + FormatMessageTextS(StringText(kMsgArticlesMissing), Joined(report.missing));
  if (!report.unbuilt.empty())
    text += "\n\n" + FormatMessageTextS(StringText(kMsgElementsUnbuilt), Joined(report.unbuilt));
  if (!report.formulas.empty())
    text += "\n\n" + FormatMessageTextS(StringText(kMsgFormulasFailed), Joined(report.formulas));
  for (std::size_t i = 0; i < report.problems.size() && i < kNamesShown; ++i)
    text += "\n" + report.problems[i];
  return text;
}

}  // namespace

void CLayoutExports::UpdatePrices() {
  QPoint position;
  const bool wasOpen = !m_dialog.isNull();
  if (wasOpen) {
    position = m_dialog->pos();
    m_dialog->close();
  }
  const CProfile& profile = AppProfile();
  const std::string articles = CRunEnvironment::Instance().ArticleFolder();
  CPartNumberLink link;
  if (!link.Init(ReadPartNumberSettings(profile, articles))) return;
  const int list = link.Settings().priceList;
  m_document.GetUndo().SaveUndoState(kUndoUpdatePrices, false, true);
  CPriceBaseNames base;
  base.date = GetPriceListName(articles, profile, list, false, LookupText);
  base.money = GetPriceListName(articles, profile, list, true, LookupText);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const CPriceUpdateReport report = ::UpdatePrices(m_document, link, base);
  QApplication::restoreOverrideCursor();
  const std::string problems = ReportText(report);
  if (!problems.empty() && m_report) m_report(QString::fromStdString(problems));
  ShowPriceDialog();
  if (wasOpen) m_dialog->move(position);
}

void CLayoutExports::ShowPriceDialog() {
  const CProfile& profile = AppProfile();
  const std::string articles = CRunEnvironment::Instance().ArticleFolder();
  const int list = ReadPartNumberSettings(profile, articles).priceList;
  const std::string name = GetPriceListName(articles, profile, list, false, LookupText);
  m_dialog = new CPriceBaseDlg(m_document, QString::fromStdString(name), m_window);
  m_dialog->show();
}

bool CLayoutExports::ExportCsv(bool allRuns, const QString& path, std::string& fault) {
  const QString point = QLocale::system().decimalPoint();
  const char mark = point.size() == 1 && point.at(0).unicode() < 128
                        ? static_cast<char>(point.at(0).unicode())
                        : '.';
  if (WriteCsvList(m_document, allRuns, mark).Save(path.toStdString())) return true;
  fault = path.toStdString();
  return false;
}

bool CLayoutExports::Export3D(const QString& path, std::string& fault) {
  const CRun* run = m_document.GetCurrentRun();
  std::string overlong;
  int uncoded = 0;
  if (run != nullptr && SaveZ3dFile(*run, path.toStdString(), &overlong, &uncoded)) {
    // The file is written, but a CAD program cannot rebuild what it could not code.
    if (uncoded > 0 && m_inform)
      m_inform(QString::fromStdString(
          FormatMessageTextSSS(kMsgUncodedDevices, std::to_string(uncoded),
                               run->GetPropText("Name"), run->GetPropText("Catalog"))));
    return true;
  }
  fault =
      overlong.empty() ? std::string() : FormatMessageTextS(StringText(kMsgValueTooWide), overlong);
  return false;
}

bool CLayoutExports::ImportPartNumbers() {
  if (!m_dialog.isNull()) m_dialog->close();
  CPartNumberLink link;
  if (!link.Init(ReadPartNumberSettings(AppProfile(), CRunEnvironment::Instance().ArticleFolder())))
    return false;
  const CDorneApp* app = CRunEnvironment::Instance().App();
  const std::string folder =
      app != nullptr ? app->SettingsFolder() : QDir::tempPath().toStdString() + "/";
  CProgressWait wait(m_window);
  if (!link.RunPartNumberTool("tvr", folder, wait)) {
    if (m_report)
      m_report(QString::fromStdString(
          FormatMessageTextS(StringText(kMsgToolFailed), link.Settings().toolProgram)));
    return false;
  }
  // Only an import that added something is an edit: an empty answer leaves the document
  // unmodified and no step to undo.
  CUndoManager& undo = m_document.GetUndo();
  undo.SaveUndoState(kUndoImportPartNumbers, false, false);
  const CRun* run = m_document.GetCurrentRun();
  const std::string runName = run != nullptr ? run->GetPropText("Name") : std::string();
  const int added = ::ImportPartNumbers(m_document, link);
  if (added > 0) undo.CommitUndoState(kUndoImportPartNumbers);
  if (m_inform) {
    m_inform(QString::fromStdString(
        added > 0 ? FormatMessageTextSS(kMsgPartNumbersImported, runName, std::to_string(added))
                  : FormatMessageTextS(kMsgNoPartNumberImported, runName)));
  }
  return true;
}

std::string CLayoutExports::OpenedWorkbookPath(const std::string& documentPath) {
  std::string sheet = AppProfile().ReadProfileText("Parameter", "ExcelSheet", "NoSave");
  for (char& c : sheet) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const std::string title = m_document.GetDocProperty("Name").empty()
                                ? std::string("Export")
                                : m_document.GetDocProperty("Name");
  if (sheet == "SAVE" && !documentPath.empty()) {
    const std::size_t slash = documentPath.rfind('/');
    return documentPath.substr(0, slash + 1) + WorkbookName(documentPath.substr(slash + 1));
  }
  if (!m_workbooks) m_workbooks = std::make_unique<QTemporaryDir>();
  if (!m_workbooks->isValid()) return {};
  return m_workbooks->filePath(QString::fromStdString(WorkbookName(title + ".run"))).toStdString();
}

bool CLayoutExports::ExportWorkbook(bool allRuns, bool saveAs, const std::string& target,
                                    const std::string& documentPath, std::string& fault,
                                    const std::string& modelPath) {
  const CDorneApp* app = CRunEnvironment::Instance().App();
  CXlExportJob job;
  job.exchangePath =
      (app != nullptr ? app->SettingsFolder() : QDir::tempPath().toStdString() + "/") +
      "XlExport.txt";
  job.targetPath = target;
  job.saveAs = saveAs;
  job.modelPath = modelPath;
  CLayoutXlContext context;
  context.profile = &AppProfile();
  std::vector<std::string> runNames;
  for (const CRun* run : m_document.GetRuns()) runNames.push_back(run->GetPropText("Name"));
  context.runPictures.resize(runNames.size());
  for (CPictureEntry& picture : PicturesBesideDocument(documentPath, runNames)) {
    if (picture.run == 0) context.documentPictures.push_back(std::move(picture.path));
    else
      context.runPictures[static_cast<std::size_t>(picture.run - 1)].push_back(
          std::move(picture.path));
  }
  const CXlExportFile file = WriteLayoutExchangeFile(m_document, allRuns, context);
  CPrintHelperLauncher& helper = ProgramPrintHelper();
  if (helper.CanStart() && ExportToExcel(file, job, helper) == 1) return true;
  fault = helper.CanStart() ? FormatMessageTextS(StringText(kMsgCannotCreate), job.exchangePath)
                            : StringText(kMsgHelperNotStarted);
  return false;
}
