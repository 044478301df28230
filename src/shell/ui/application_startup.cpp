#include <QApplication>
#include <QLocale>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>

#include <iostream>
#include <utility>

#include "view/annotation_section.h"
#include "view/busbar_section.h"
#include "app/article_table.h"
#include "platform/window_thread.h"
#include "app/current_language.h"
#include "app/language_locale.h"
#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/settings_keys.h"
#include "app/shell_file_types.h"
#include "app/start_lists.h"
#include "shell/ui/application_shell.h"
#include "app/ui/interface_locale.h"
#include "app/ui/element_pictures.h"

#include "model/run/run_environment.h"
#include "model/run/run_factory.h"
#include "ranges/range_context.h"
#include "ranges/range_registry.h"
#include "shell/ui/catalogue_menu.h"
#include "shell/ui/document_commands.h"
#include "app/ui/info_dlg.h"
#include "shell/ui/layout_documents.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/run_documents.h"
#include "app/ui/shell_dialogs.h"
#include "shell/ui/single_instance.h"
#include "app/ui/splash_dlg.h"
#include "app/ui/window_translation.h"
#include "platform/dbf_table.h"
#include "platform/folders.h"

// The start-up of the program (InitInstance), in the order the program has always
// followed: command line, running copy, folders, article table, splash, settings,
// language, start-up tables, main frame, first document, information dialog, the file
// of the command line or the start-mode choice.

namespace {

constexpr int kMsgArticleMissing = 391;
constexpr int kMsgRestartFailed = 392;
constexpr int kMsgNoSettingsFolder = 396;
constexpr int kMsgTableProblems = 397;
constexpr int kMsgLanguageMissing = 398;
constexpr int kMsgFolderMissing = 8024;
constexpr int kMsgFileMissing = 8025;
constexpr int kMsgTableUnreadable = 8026;
constexpr std::array<int, 4> kProgramVersion = {7, 3, 0, 0};

QString Formatted(int number, const std::string& first, const std::string& second = {}) {
  return QString::fromStdString(FormatMessageTextSS(number, first, second));
}

// A message with its details; when the language lacks the message (its files may be
// what is missing) the details, which name the files, are shown alone.
QString WithDetails(int number, const std::string& details) {
  return LookupText(number).empty() ? QString::fromStdString(details) : Formatted(number, details);
}

// Why a table cannot be opened, in the interface's language (the table layer's own
// explanation is the system's, in English).
std::string TableFault(const std::string& folder, const std::string& path) {
  if (!QFileInfo(QString::fromStdString(folder)).isDir()) return StringText(kMsgFolderMissing);
  if (!QFileInfo::exists(QString::fromStdString(path))) return StringText(kMsgFileMissing);
  return StringText(kMsgTableUnreadable);
}

// Which language file is missing and where it was looked for. Without any language
// texts (the shipped English file is missing too) the words can only be the program's.
QString LanguageFileProblem(const std::string& path, const std::string& shippedPath) {
  QFileInfo file(QString::fromStdString(path));
  if (!LookupText(kMsgLanguageMissing).empty())
    return Formatted(kMsgLanguageMissing, file.fileName().toStdString(),
                     file.absolutePath().toStdString());
  return QStringLiteral(
             "The language file %1 cannot be found in the folder %2, nor the English file %3 "
             "shipped with the program: menus and messages show their message numbers.")
      .arg(file.fileName(), file.absolutePath(), QString::fromStdString(shippedPath));
}

std::vector<std::string> ToStrings(const QStringList& list) {
  std::vector<std::string> texts;
  for (const QString& text : list) texts.push_back(text.toStdString());
  return texts;
}

}  // namespace

bool CApplicationShell::InitInstance(const QStringList& arguments) {
  tvr::platform::RecordWindowThread();
  m_commandLine = ParseStartCommandLine(ToStrings(arguments.mid(1)));
  if (!ClaimSingleInstance()) return false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (!SettleFolders() || !ProbeArticleTable()) {
    QApplication::restoreOverrideCursor();
    return false;
  }
  if (!m_commandLine.noSplash) ShowSplash();
  m_app.ReadSettings();
  LoadLanguage();
  LoadStartLists();
  m_recentFiles.ReadFrom(m_app.Profile());
  CreateFrame();
  RegisterShellFileTypes(std::cerr);
  OpenFirstDocument();
  QApplication::restoreOverrideCursor();
  ShowStartProblems();
  if (!m_commandLine.noSplash && !RunStartInformation()) return false;
  OpenStartFileOrChoose();
  return true;
}

bool CApplicationShell::ClaimSingleInstance() {
  m_singleInstance = m_singleInstanceName.isEmpty()
                         ? std::make_unique<CSingleInstance>()
                         : std::make_unique<CSingleInstance>(m_singleInstanceName);
  if (!m_commandLine.noSplash) {
    QString file = m_commandLine.file.empty()
                       ? QString()
                       : QFileInfo(QString::fromStdString(m_commandLine.file)).absoluteFilePath();
    if (m_singleInstance->HandOver(file)) return false;
  }
  m_singleInstance->Listen();
  connect(m_singleInstance.get(), &CSingleInstance::Activated, this,
          &CApplicationShell::OnHandOver);
  return true;
}

bool CApplicationShell::SettleFolders(const std::optional<CAppFolders>& folders) {
  if (folders) {
    m_app.InitFolders(*folders);
  } else if (!m_programFolder.empty()) {
    m_app.InitFolders(
        {m_programFolder, tvr::platform::SettingsFolder(), tvr::platform::DocumentsFolder()});
  } else {
    m_app.InitFolders();
  }
  CLanguageSetup setup;
  setup.catalogueFolder = m_app.CatalogueFolder();
  setup.appNameSetting = ReadSetting(m_app.Profile(), settings_key::kAppName);
  setup.fileVersion = kProgramVersion;
  setup.shippedFolder = m_app.ProgramFolder() + "DBF/";
  CCurrentLanguage::Instance().SetSetup(setup);
  CCurrentLanguage::Instance().SetLanguageNumber(
      ReadSetting(m_app.Profile(), settings_key::kLanguageId));
  if (m_app.SettingsFolder().empty()) m_startNotices << StringQText(kMsgNoSettingsFolder);
  return true;
}

bool CApplicationShell::ProbeArticleTable() {
  tvr::platform::CDbfTable table;
  std::string error;
  if (OpenArticleTable(table, m_app.ArticleFolder(), tvr::platform::CDbfTable::Mode::ReadOnly,
                       &error))
    return true;
  std::string path = ArticleTablePath(m_app.ArticleFolder());
  // Without a text in the language (the language files may be missing too) the
  // table layer's own explanation, which names the file, is shown alone.
  QString text = LookupText(kMsgArticleMissing).empty()
                     ? QString::fromStdString(error)
                     : Formatted(kMsgArticleMissing, path, TableFault(m_app.ArticleFolder(), path));
  m_app.ClearArticleFolder();
  m_dialogs->Message(nullptr, text, kMbOk | kMbIconError);
  m_exitCode = 1;
  return false;
}

void CApplicationShell::ShowSplash() {
  QString picture = QString::fromStdString(m_app.ProgramFolder()) + QStringLiteral("splash.jpg");
  m_splash = new CSplashDlg(picture, QString::fromStdString(m_app.AppName()));
  m_app.SetScale(m_splash->ScaleX(), m_splash->ScaleY());
  m_splash->ShowForStart();
  QApplication::processEvents();
}

void CApplicationShell::LoadLanguage() {
  m_app.SetDesignCheck(true);
  CCurrentLanguage& language = CCurrentLanguage::Instance();
  CStartLanguage start = language.ChooseStartLanguage(m_app.Settings().languageId);
  // A settings file that cannot be written is told with the start notices; the
  // language still loads and is chosen again at the next start.
  if (start.writeBack && !WriteSetting(m_app.Profile(), settings_key::kLanguageId, start.number))
    m_startNotices << QString::fromStdString(
        FormatMessageTextS(kMsgSettingsNotSaved, m_app.Profile().Path()));
  language.LoadLanguage(start.number);
  const CLanguageMapping& mapping = language.Mapping();
  if (!mapping.IsLoaded() || mapping.FromShippedFile())
    m_startNotices << LanguageFileProblem(language.LanguageFilePath(start.number),
                                          language.ShippedFilePath());
  // Qt's own dialogs speak the language whose texts are shown, and write its dates and
  // the kinds of files. Decimal characters stay the desktop's (QLocale::system()).
  m_qtTranslations.Load(InterfaceLocaleName());
  if (!InterfaceLocaleName().isEmpty()) QLocale::setDefault(InterfaceLocale());
  ApplyLanguageFont(mapping);
  m_app.SetAppName(mapping.ApplicationName());
}

void CApplicationShell::LoadStartLists() {
  TextLookup lookup = [](int number) { return LookupText(number); };
  TextLookup strings = [](int number) { return StringText(number); };
  const std::string& folder = m_app.CatalogueFolder();
  auto units = LoadUnitList(folder, lookup);
  auto catalogues =
      LoadCatalogueList(folder, m_app.Settings().copper, m_app.Settings().apod, lookup);
  auto devices = LoadDeviceList(folder, strings);
  for (const std::string* error : {&units.error, &catalogues.error, &devices.error})
    if (!error->empty()) m_startProblems << QString::fromStdString(*error);
  m_units = std::move(units.entries);
  // The runs read the settings and the catalogue list of this start: runs read from a
  // file know their catalogue only when it is one offered here.
  CRunEnvironment::Instance().Connect(m_app, std::move(catalogues.entries));
  m_devices = std::move(devices.entries);
  std::vector<CLanguageFileInfo> files = ListLanguageFiles(folder);
  m_languages = BuildLanguageList(files);
  int current = LeadingInt(CCurrentLanguage::Instance().LanguageNumber()).value_or(0);
  m_app.SetProjectsFolder(SettleProjectsFolder(
      files, m_app.AppName(), current, ReadSetting(m_app.Profile(), settings_key::kProjects)));
  m_app.MarkInitialProjectsFolder();
  LoadElementImages(m_app);
  SetBusbarSectionDrawer(DrawSectionLabelSymbol);
  ConnectProductRanges();
}

// The product ranges read their tables from the catalogue folder on demand. A table that
// cannot be read is told once: among the start-up problems while starting, in a box later.
void CApplicationShell::ConnectProductRanges() {
  CRangeContext& ranges = CRangeContext::Instance();
  ranges.Reset();
  ranges.SetCatalogueFolder(m_app.CatalogueFolder());
  ranges.SetDevices(m_devices);
  ranges.SetTextLookup([](int number) { return LookupText(number); });
  // The unreadable range tables are named in one box: those of the start-up with the
  // other start problems, those met later (all the tables of one file, say) once the
  // work that met them is over.
  ranges.SetNotifier([this](int message, const std::string& path) {
    if (message != CRangeContext::kMessageTableUnreadable) {
      // A range rule's warning (a long run, say), told as the rule meets it.
      if (m_frame && m_frame->isVisible())
        m_dialogs->Message(m_frame.get(), Formatted(message, path), kMbOk | kMbIconExclamation);
      return;
    }
    if (!m_frame || !m_frame->isVisible()) {
      m_startProblems << QString::fromStdString(path);
      return;
    }
    m_laterProblems << QString::fromStdString(path);
    if (m_laterProblems.size() == 1)
      QTimer::singleShot(0, m_frame.get(), [this] {
        const QStringList problems = std::exchange(m_laterProblems, {});
        m_dialogs->Message(
            m_frame.get(),
            WithDetails(kMsgTableProblems, problems.join(QLatin1Char('\n')).toStdString()),
            kMbOk | kMbIconExclamation);
      });
  });
  CRunFactory::Instance().Reset();
  RegisterRangeRuns();
}

void CApplicationShell::OpenFirstDocument() {
  m_frame->hide();
  m_layoutDocuments->MakeFirstDocument(m_frame.get(), m_commands->DefaultModelPath());
  m_catalogueMenu->SelectDefaultCatalogue();
  m_layoutDocuments->RestartUntitledNumbers();
  if (m_frame->Mode() == EFrameMode::Start) m_frame->EnterEmptyMode();
  m_frame->show();
}

void CApplicationShell::ShowStartProblems() {
  QStringList parts = m_startNotices;
  if (!m_startProblems.isEmpty())
    parts << WithDetails(kMsgTableProblems, m_startProblems.join(QLatin1Char('\n')).toStdString());
  if (parts.isEmpty()) return;
  QString text = parts.join(QStringLiteral("\n\n"));
  m_dialogs->Message(m_frame.get(), text, kMbOk | kMbIconExclamation);
}

bool CApplicationShell::RunStartInformation() {
  if (ReadSettingInt(m_app.Profile(), settings_key::kInfos) == 0)
    return true;  // the user asked not to see it
  CInfoDlg::Setup setup = InfoSetup(EInfoMode::Startup);
  int result = m_dialogs->RunInfoDialog(m_frame.get(), setup, m_app.Profile());
  if (result == QDialog::Rejected) return false;
  if (result == kInfoLanguageChanged) return !RestartInNewLanguage();
  return true;
}

bool CApplicationShell::RestartInNewLanguage() {
  QStringList arguments;
  for (const std::string& argument : RelaunchArguments(m_commandLine))
    arguments << QString::fromStdString(argument);
  m_singleInstance->StopListening();  // the new copy takes the name
  bool started = m_startProcess
                     ? m_startProcess(QApplication::applicationFilePath(), arguments)
                     : QProcess::startDetached(QApplication::applicationFilePath(), arguments);
  if (started) return true;
  m_singleInstance->Listen();
  m_dialogs->Message(
      m_frame.get(),
      Formatted(kMsgRestartFailed, QApplication::applicationFilePath().toStdString()),
      kMbOk | kMbIconExclamation);
  return false;
}

void CApplicationShell::OpenStartFileOrChoose() {
  QMdiSubWindow* document = nullptr;
  if (!m_commandLine.file.empty())
    document = m_commands->OpenDocumentFile(QString::fromStdString(m_commandLine.file));
  m_frame->setAcceptDrops(true);
  if (QMdiSubWindow* active = m_frame->MdiArea()->currentSubWindow())
    if (m_frame->Services().layoutDocuments->Documents().contains(active))
      m_frame->Services().layoutDocuments->SetModified(active, false);
  // A linear or reference file that opened keeps its window: the choice is only made
  // while no way of working is open.
  EFrameMode mode = m_frame->Mode();
  if (!document && (mode == EFrameMode::Start || mode == EFrameMode::Empty))
    m_frame->ChooseStartMode();
}
