#include "linear/ui/linear_wnd.h"

#include <QDate>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>
#include <QVBoxLayout>

#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/interface_locale.h"
#include "app/ui/command_ids.h"
#include "app/ui/save_modified.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "linear/linear_file.h"
#include "linear/linear_messages.h"
#include "linear/ui/linear_dlg.h"
#include "linear/ui/workbook_export.h"

namespace {

constexpr int kMsgUntitled = 8004;
constexpr int kMsgLinearCaption = 30999;
constexpr int kMsgLeaveEditor = 31106;

std::string FileTitleOf(const std::string& path) {
  return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

}  // namespace

CLinearWnd::CLinearWnd(CLinearEnvironment environment, QWidget* parent)
    : CCostingWindow(parent), m_environment(std::move(environment)) {
  setObjectName(QStringLiteral("linear_window"));
  m_project.settings = m_environment.profile ? ReadLinearPriceSettings(*m_environment.profile)
                                             : CLinearPriceSettings();
  m_dialog = new CLinearDlg(m_project, m_environment, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_dialog);
  connect(m_dialog, &CLinearDlg::Modified, this, [this] { UpdateTitle(true); });
  m_workbooks = new CWorkbookExport(m_environment, *this);
  m_baseCaption = StringQText(kMsgLinearCaption);
  TranslateWindow(this);
  SetProjectDefaults();
}

// The dialog and the workbook export hold references into the project and the
// environment, and may use them as they go (the dialog keeps the user's last choices):
// they go first, while those still live, not with the window's other children after.
CLinearWnd::~CLinearWnd() {
  delete m_workbooks;
  delete m_dialog;
}

bool CLinearWnd::CheckLinearConfig() {
  m_dialog->ReadLinearConfig();
  return true;
}

void CLinearWnd::SetProjectDefaults() {
  m_fileTitle = StringQText(kMsgUntitled).toStdString();
  m_path.clear();
  m_project.SetProperty("Creator", m_environment.userName);
  m_project.SetProperty("CreationDate", Today().toStdString());
  std::string job = m_environment.ReadText("User", "NumAff", "0");
  int number = 0;
  bool numeric = !job.empty() && job.find_first_not_of("0123456789") == std::string::npos;
  if (numeric) number = std::stoi(job.substr(0, 9));
  if (numeric) m_project.SetProperty("NumAff", std::to_string(number + 1));
  UpdateTitle(false);
}

QString CLinearWnd::Today() const { return InterfaceToday(); }

void CLinearWnd::UpdateTitle(bool modified) {
  m_modified = modified;
  QString title = m_baseCaption + QStringLiteral("  ") + QString::fromStdString(m_fileTitle);
  if (modified) title += QStringLiteral(" *");
  setWindowTitle(title);
  emit CaptionChanged();
}

QString CLinearWnd::CaptionFileTitle() const {
  const QString file = QString::fromStdString(m_fileTitle);
  return m_modified && !file.isEmpty() ? file + QStringLiteral(" *") : file;
}

bool CLinearWnd::LoadFile(const QString& path) {
  if (!m_path.empty()) return false;  // a window holds one project for its whole life
  CLinearLoadContext context;
  for (int group = 0; group < kLinearGroupCount; ++group)
    context.groupsAvailable[group] = m_dialog->Config().IsAvailable(group);
  context.priceListTitle = [this](int list) { return m_dialog->PriceListName(list - 1); };
  int result = LoadLinearFile(path.toStdString(), m_project, context);
  if (result != 0) {
    QString text = QString::fromStdString(FormatMessageTextS(result, path.toStdString()));
    if (m_environment.dialogs) m_environment.dialogs->Message(window(), text, kMbOk | kMbIconError);
    return false;
  }
  m_path = QFileInfo(path).absoluteFilePath().toStdString();
  m_fileTitle = FileTitleOf(m_path);
  m_dialog->ProjectLoaded();
  UpdateTitle(false);
  if (m_environment.opened) m_environment.opened(QString::fromStdString(m_path));
  // Asked once the window shows, so that the user sees the project the question is
  // about (and a file opened at start-up does not hold the program before it runs).
  QTimer::singleShot(0, this, [this] {
    if (!m_dialog->OfferNewPrices()) return;
    m_dialog->FillTree(false);
    UpdateTitle(true);
  });
  return true;
}

bool CLinearWnd::SaveToFile(const std::string& path, std::string& error) {
  int result = SaveLinearFile(path, m_project, Today().toStdString(), m_environment.profile);
  if (result != 0) {
    error = FormatMessageTextS(result, path);
    return false;
  }
  m_path = path;
  m_fileTitle = FileTitleOf(path);
  UpdateTitle(false);
  if (m_environment.opened) m_environment.opened(QString::fromStdString(path));
  return true;
}

namespace {

CSaveOffer LinearOffer(const std::string& title, const std::string& folder) {
  CSaveOffer offer;
  offer.title = QString::fromStdString(title);
  offer.folder = QString::fromStdString(folder);
  offer.filter.filter = StringQText(kMsgLinearFileFilter).toStdString() + "|*.lin||";
  offer.filter.defaultExtension = "lin";
  return offer;
}

}  // namespace

bool CLinearWnd::Save() {
  if (!m_environment.dialogs) return false;
  return SaveDocument(*this, LinearOffer(m_fileTitle, m_environment.projectsFolder),
                      *m_environment.dialogs, this);
}

bool CLinearWnd::SaveAs() {
  if (!m_environment.dialogs) return false;
  std::string kept = m_path;
  m_path.clear();  // the document asks for a file as if it had none
  bool saved = Save();
  if (!saved) m_path = kept;
  return saved;
}

bool CLinearWnd::PromptToClose() {
  if (!m_environment.dialogs) return !m_modified;
  if (m_dialog->ViewMode() == CLinearDlg::kViewEditor &&
      m_environment.dialogs->Message(this, StringQText(kMsgLeaveEditor),
                                     kMbOkCancel | kMbIconExclamation) != kIdOk)
    return false;
  return SaveModifiedDocument(*this, LinearOffer(m_fileTitle, m_environment.projectsFolder),
                              *m_environment.dialogs, this);
}

void CLinearWnd::OptionsChanged(unsigned result) {
  if (result & 1u) m_dialog->LoadPriceListNames(false);
}

bool CLinearWnd::UpdateCommand(int commandId, CCommandState& state) {
  switch (commandId) {
    case kIdFileClose:
    case kIdFileSave:
    case kIdFileSaveAs:
    case kIdProjectInfo: state.enabled = true; return true;
    case kIdExportExcelOpen:
    case kIdExportExcelBomOpen:
    case kIdLinearExcelSummary:
    case kIdLinearExcelSummaryOpen: {
      int mode = m_dialog->ViewMode();
      state.enabled = (mode == CLinearDlg::kViewNone || mode == CLinearDlg::kViewProject) &&
                      m_project.lines.LineCount() > 0;
      return true;
    }
    default: return false;
  }
}

bool CLinearWnd::OnCommand(int commandId) {
  switch (commandId) {
    case kIdFileClose: CloseWithPrompt(); return true;
    case kIdFileSave: Save(); return true;
    case kIdFileSaveAs: SaveAs(); return true;
    case kIdProjectInfo: RunProjectInfo(); return true;
    case kIdExportExcelOpen: ExportToExcel(false, 0); return true;
    case kIdExportExcelBomOpen: ExportToExcel(true, 0); return true;
    case kIdLinearExcelSummaryOpen: ExportToExcel(false, 1); return true;
    case kIdLinearExcelSummary: ExportToExcel(true, 1); return true;
    default: return false;
  }
}
