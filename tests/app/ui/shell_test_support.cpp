#include "shell_test_support.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPixmap>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "app/current_language.h"
#include "app/message_box_codes.h"
#include "app/ui/translator.h"
#include "support/test_output.h"

namespace fs = std::filesystem;

namespace {

// The next scripted answer, or the given one once the script has run out.
template <typename T>
T TakeFront(std::deque<T>& script, T otherwise) {
  if (script.empty()) return otherwise;
  T answer = script.front();
  script.pop_front();
  return answer;
}

}  // namespace

int CScriptedDialogs::ChooseStartMode(QWidget*, bool offerLinear, bool offerReference,
                                      bool offerGraphical) {
  offeredModes << QStringLiteral("%1%2%3")
                      .arg(offerLinear ? 'L' : '-')
                      .arg(offerReference ? 'R' : '-')
                      .arg(offerGraphical ? 'G' : '-');
  return TakeFront(startModes, 0);
}

std::optional<QString> CScriptedDialogs::ChooseModel(QWidget*, const QString& initialPath) {
  modelPathsShown << initialPath;
  QString model = TakeFront(models, QString());
  if (model.isNull()) return std::nullopt;
  return model;
}

QString CScriptedDialogs::ChooseFileToOpen(QWidget*, const QString& folder,
                                           const COpenFileFilter& filter) {
  openFolders << folder;
  openFilters << QString::fromStdString(filter.filter);
  return TakeFront(filesToOpen, QString());
}

QString CScriptedDialogs::ChooseFileToSave(QWidget*, const QString& suggestedPath,
                                           const COpenFileFilter&) {
  saveSuggestions << suggestedPath;
  return TakeFront(filesToSave, QString());
}

int CScriptedDialogs::Message(QWidget*, const QString& text, unsigned type) {
  messages << text;
  unsigned buttons = type & kMbButtonMask;
  return TakeFront(answers, buttons == kMbYesNo || buttons == kMbYesNoCancel ? kIdNo : kIdOk);
}

int CScriptedDialogs::RunInfoDialog(QWidget*, const CInfoDlg::Setup& setup, CProfile&) {
  infoSetups << setup;
  return TakeFront(infoResults, static_cast<int>(QDialog::Accepted));
}

CShellTestFolder::CShellTestFolder() {
  fs::create_directories(Path("settings/TVR73"));
  fs::create_directories(Path("documents"));
  m_environment.Set("XDG_CONFIG_HOME", Path("settings"));
  m_environment.Set("XDG_DATA_HOME", Path("data"));
}

std::string CShellTestFolder::Path(const std::string& name) const {
  return name.empty() ? m_folder.Path() : m_folder.File(name);
}

std::string CShellTestFolder::Write(const std::string& name, const std::string& bytes) const {
  return m_folder.WriteFile(name, bytes);
}

void CShellTestFolder::WriteSettings(const std::string& lines, const std::string& catalogueFolder,
                                     const std::string& articleFolder) const {
  std::string program = TVR_PROGRAM_DIR;
  std::string catalogue = catalogueFolder.empty() ? program + "/DBF" : catalogueFolder;
  std::string article = articleFolder.empty() ? program + "/BD" : articleFolder;
  Write("settings/TVR73/TVR.INI", "[DBF Database]\nDirectory=" + catalogue +
                                      "\n[Database]\nPartnumPath=" + article + "\n" + lines);
}

void UseProgramLanguage(const std::string& number) {
  CCurrentLanguage& language = CCurrentLanguage::Instance();
  language.Reset();
  CTranslator::Instance().Reset();
  CLanguageSetup setup;
  setup.catalogueFolder = std::string(TVR_PROGRAM_DIR) + "/DBF/";
  language.SetSetup(setup);
  language.LoadLanguage(number);
}

bool SaveScreenshot(QWidget& widget, const QString& name) {
  ProcessEvents();  // layouts catch up with the last changes
  QPixmap picture = widget.grab();
  return !picture.isNull() &&
         picture.save(QString::fromStdString(TestOutputPath(name.toStdString() + ".png")));
}

void ProcessEvents() {
  for (int round = 0; round < 3; ++round) {
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
  }
}
