#include "reference/ui/ref_wnd.h"

#include <QDate>
#include <QFileInfo>
#include <QLocale>
#include <QVBoxLayout>

#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/interface_locale.h"
#include "app/ui/command_ids.h"
#include "app/ui/save_modified.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "linear/ui/linear_wnd.h"
#include "linear/ui/workbook_export.h"
#include "reference/ref_price_rows.h"
#include "reference/ui/ref_core.h"
#include "reference/ui/ref_config_dlg.h"

namespace {

constexpr int kMsgUntitled = 8004;
constexpr int kMsgRefFileFilter = 8170;
constexpr int kMsgRefCaption = 32000;
constexpr int kMsgLeaveLine = 31106;
constexpr int kMsgWriteError = 8043;

std::string FileTitleOf(const std::string& path) {
  return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

CSaveOffer RefOffer(const std::string& title, const std::string& folder) {
  CSaveOffer offer;
  offer.title = QString::fromStdString(title);
  offer.folder = QString::fromStdString(folder);
  offer.filter.filter = StringText(kMsgRefFileFilter) + "|*.ref||";
  offer.filter.defaultExtension = "ref";
  return offer;
}

}  // namespace

CRefWnd::CRefWnd(CRefEnvironment environment, QWidget* parent)
    : CCostingWindow(parent), m_environment(std::move(environment)) {
  setObjectName(QStringLiteral("reference_window"));
  m_dialog = new CRefConfigDlg(m_project, m_environment, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_dialog);
  connect(m_dialog, &CRefConfigDlg::Modified, this, [this] { UpdateTitle(true); });
  m_workbooks = new CWorkbookExport(m_environment.common, *this);
  m_baseCaption = StringQText(kMsgRefCaption);
  TranslateWindow(this);
  InitNewProject();
}

// The dialog and the workbook export hold references into the project and the
// environment, and may use them as they go (the dialog keeps the user's last choices):
// they go first, while those still live, not with the window's other children after.
CRefWnd::~CRefWnd() {
  delete m_workbooks;
  delete m_dialog;
}

bool CRefWnd::CheckRefConfig() {
  m_dialog->ReadRefConfig();
  // A new project prices with the coefficients saved as the defaults; a project opened
  // afterwards brings its own.
  if (m_path.empty()) TakeDefaultCoefficients(m_dialog->Config(), m_project.priceSettings);
  return true;
}

void CRefWnd::InitNewProject() {
  m_fileTitle = StringText(kMsgUntitled);
  m_path.clear();
  m_project.SetProperty("Creator", m_environment.common.userName);
  m_project.SetProperty("CreationDate", InterfaceToday().toStdString());
  const std::string job = m_environment.common.ReadText("User", "NumAff", "0");
  const bool numeric = !job.empty() && job.find_first_not_of("0123456789") == std::string::npos;
  if (numeric) m_project.SetProperty("NumAff", std::to_string(std::stoi(job.substr(0, 9)) + 1));
  UpdateTitle(false);
}

void CRefWnd::UpdateTitle(bool modified) {
  m_modified = modified;
  QString title = m_baseCaption + QStringLiteral("  ") + QString::fromStdString(m_fileTitle);
  if (modified) title += QStringLiteral(" *");
  setWindowTitle(title);
  emit CaptionChanged();
}

QString CRefWnd::CaptionFileTitle() const {
  const QString file = QString::fromStdString(m_fileTitle);
  return m_modified && !file.isEmpty() ? file + QStringLiteral(" *") : file;
}

QString CRefWnd::Today() const { return InterfaceToday(); }

bool CRefWnd::LoadFile(const QString& path) {
  if (!m_path.empty()) return false;  // a window holds one project for its whole life
  CRefLoadContext context;
  context.priceListTitle = [this](int list) { return m_dialog->PriceListName(list - 1); };
  const int result = ::LoadRefFile(path.toStdString(), m_project, context);
  if (result != 0) {
    if (m_environment.common.dialogs)
      m_environment.common.dialogs->Message(
          window(), QString::fromStdString(FormatMessageTextS(result, path.toStdString())),
          kMbOk | kMbIconError);
    return false;
  }
  if (m_environment.common.setCatalogue)
    m_environment.common.setCatalogue(m_project.priceSettings.priceList + 1);
  m_path = QFileInfo(path).absoluteFilePath().toStdString();
  m_fileTitle = FileTitleOf(m_path);
  // The line page shows the coefficients the project prices with, not the defaults.
  TakeProjectCoefficients(m_project.priceSettings, m_dialog->MutableConfig());
  m_dialog->ProjectLoaded();
  UpdateTitle(false);
  if (m_environment.common.opened) m_environment.common.opened(QString::fromStdString(m_path));
  return true;
}

bool CRefWnd::SaveToFile(const std::string& path, std::string& error) {
  const int result =
      ::SaveRefFile(path, m_project, Today().toStdString(), m_environment.common.profile);
  if (result != 0) {
    error = FormatMessageTextS(result, path);
    return false;
  }
  m_path = path;
  m_fileTitle = FileTitleOf(path);
  UpdateTitle(false);
  if (m_environment.common.opened) m_environment.common.opened(QString::fromStdString(path));
  return true;
}

bool CRefWnd::SaveRefFile() {
  if (!m_environment.common.dialogs) return false;
  return SaveDocument(*this, RefOffer(m_fileTitle, m_environment.common.projectsFolder),
                      *m_environment.common.dialogs, this);
}

bool CRefWnd::SaveRefFileAs() {
  const std::string kept = m_path;
  m_path.clear();  // the document asks for a file as if it had none
  const bool saved = SaveRefFile();
  if (!saved) m_path = kept;
  return saved;
}

bool CRefWnd::PromptToClose() {
  if (!m_environment.common.dialogs) return !m_modified;
  if (m_dialog->EditState() == CRefConfigDlg::kEditing &&
      m_environment.common.dialogs->Message(this, StringQText(kMsgLeaveLine),
                                            kMbOkCancel | kMbIconExclamation) != kIdOk)
    return false;
  return SaveModifiedDocument(*this, RefOffer(m_fileTitle, m_environment.common.projectsFolder),
                              *m_environment.common.dialogs, this);
}

void CRefWnd::OptionsChanged(unsigned result) {
  if (result & 1u) m_dialog->ReloadPriceLists();
}

bool CRefWnd::ExportsAllowed() const {
  const int state = m_dialog->EditState();
  return (state == CRefConfigDlg::kBrowsing || state == CRefConfigDlg::kTotals) &&
         m_dialog->FindLine(0, kRefCodeProject) > 0;
}

CRefExportContext CRefWnd::ExportContext(bool summary) const {
  CRefExportContext context;
  const int code = m_dialog->SelectedCode() == -1 ? kRefCodeProject : m_dialog->SelectedCode();
  context.selection = RefSelection(m_project, m_dialog->Config(), code);
  context.summary = summary;
  context.treeCode = IsRefLineCode(code) ? code - 1 : code;
  context.current = m_dialog->CurrentRecord();
  context.packaging = m_environment.packQuantities;
  context.individualQuantities = m_environment.packQuantities;
  context.refs = m_dialog->Config().Refs();
  context.profile = m_environment.common.profile;
  return context;
}

int CRefWnd::ExportToExcel(bool saveAs, bool summary) {
  CRefExportContext context = ExportContext(summary);
  CRefCatalogue catalogue(&m_dialog->Notifier());
  if (catalogue.OpenRefCatalogue(m_environment.catalogueSetup, m_project.priceSettings))
    context.catalogue = &catalogue;
  const CXlExportFile file = WriteXlExchangeFile(m_project, context);
  return m_workbooks->Run(file, saveAs, m_fileTitle);
}

bool CRefWnd::WriteTextExport(bool xml, bool summary) {
  if (!m_environment.common.dialogs) return false;
  const std::string extension = xml ? ".xml" : ".csv";
  const COpenFileFilter filter{"*" + extension + "|*" + extension + "||", extension.substr(1)};
  const QString suggested = QString::fromStdString(m_environment.common.projectsFolder + "/" +
                                                   RefExportFileName(m_fileTitle, extension));
  const QString path = m_environment.common.dialogs->ChooseFileToSave(window(), suggested, filter);
  if (path.isEmpty()) return false;
  const CRefExportContext context = ExportContext(summary);
  const CXlExportFile file =
      xml ? WriteXmlFile(m_project, context) : WriteCsvFile(m_project, context);
  if (file.Save(path.toStdString())) return true;
  m_environment.common.dialogs->Message(
      window(), QString::fromStdString(FormatMessageTextS(kMsgWriteError, path.toStdString())),
      kMbOk | kMbIconError);
  return false;
}

bool CRefWnd::ExportToCsv(bool summary) { return WriteTextExport(false, summary); }

bool CRefWnd::ExportToXml(bool summary) { return WriteTextExport(true, summary); }

bool CRefWnd::UpdateCommand(int commandId, CCommandState& state) {
  switch (commandId) {
    case kIdFileClose:
    case kIdFileSave:
    case kIdFileSaveAs:
    case kIdProjectInfo: state.enabled = true; return true;
    case kIdRefExcelPlain:
    case kIdExportExcelOpen:
    case kIdExportExcel:
    case kIdExportExcelBomOpen:
    case kIdExportExcelBom:
    case kIdExportCsv:
    case kIdExportCsvDetailed:
    case kIdRefXml:
    case kIdRefXmlSummary: state.enabled = ExportsAllowed(); return true;
    case kIdLightingCalc:
    case kIdLightingRange: state.enabled = m_dialog->LightingAllowed(); return true;
    default: return false;
  }
}

bool CRefWnd::OnCommand(int commandId) {
  const bool summaryGroups = m_dialog->Config().RefGroup() != 0;
  switch (commandId) {
    case kIdFileClose: CloseWithPrompt(); return true;
    case kIdFileSave: SaveRefFile(); return true;
    case kIdFileSaveAs: SaveRefFileAs(); return true;
    case kIdProjectInfo:
      if (m_environment.common.dialogs &&
          RunProjectInfoDialog(m_project, *m_environment.common.dialogs,
                               m_environment.common.projectsFolder, this))
        UpdateTitle(true);
      return true;
    case kIdRefExcelPlain: ExportToExcel(false, false); return true;
    case kIdExportExcelOpen: ExportToExcel(false, summaryGroups); return true;
    case kIdExportExcel: ExportToExcel(false, true); return true;
    case kIdExportExcelBomOpen: ExportToExcel(true, false); return true;
    case kIdExportExcelBom: ExportToExcel(true, true); return true;
    case kIdExportCsvDetailed: ExportToCsv(false); return true;
    case kIdExportCsv: ExportToCsv(true); return true;
    case kIdRefXml: ExportToXml(false); return true;
    case kIdRefXmlSummary: ExportToXml(true); return true;
    case kIdLightingRange: m_dialog->RunLightingRange(); return true;
    case kIdLightingCalc: m_dialog->RunLightingCalc(); return true;
    default: return false;
  }
}
