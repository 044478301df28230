#include "linear_ui_test_support.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTimer>

#include <fstream>
#include <iterator>

#include "app/current_language.h"
#include "app/message_box_codes.h"
#include "linear/linear_config.h"
#include "linear/ui/linear_dlg.h"
#include "linear/ui/linear_line_editor.h"
#include "linear/ui/linear_wnd.h"

QString CLinearTestDialogs::ChooseFileToSave(QWidget*, const QString& suggested,
                                             const COpenFileFilter& filter) {
  saveSuggestions << suggested;
  saveFilters << QString::fromStdString(filter.filter);
  if (filesToSave.empty()) return {};
  QString path = filesToSave.front();
  filesToSave.pop_front();
  return path;
}

int CLinearTestDialogs::Message(QWidget*, const QString& text, unsigned type) {
  messages << text;
  if (!answers.empty()) {
    int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  return (type & kMbYesNoCancel) == kMbYesNoCancel ? kIdYes : kIdOk;
}

CLinearTestSetup::CLinearTestSetup(const std::string& language) {
  CCurrentLanguage::Instance().Reset();
  CLanguageSetup setup;
  setup.catalogueFolder = std::string(TVR_PROGRAM_DIR) + "/DBF/";
  CCurrentLanguage::Instance().SetSetup(setup);
  CCurrentLanguage::Instance().LoadLanguage(language);
  CLinearConfig::ResetRunFlag();
  folder.WriteFile("TVR.INI", "[Linear]\nHlp=1\nHlp2=1\n");
  std::ifstream config(std::string(TVR_PROGRAM_DIR) + "/lin_conf.cfg", std::ios::binary);
  folder.WriteFile("lin_conf.cfg", std::string(std::istreambuf_iterator<char>(config), {}));
  profile = std::make_unique<CProfile>(folder.File("TVR.INI"));
  environment.profile = profile.get();
  environment.dialogs = &dialogs;
  environment.folders = {std::string(TVR_PROGRAM_DIR) + "/DBF/",
                         std::string(TVR_PROGRAM_DIR) + "/BD/"};
  environment.settingsFolder = folder.Folder();
  environment.projectsFolder = folder.Path();
  environment.programFolder = std::string(TVR_PROGRAM_DIR) + "/";
  environment.userName = "Tester";
}

CLinearTestSetup::~CLinearTestSetup() { CCurrentLanguage::Instance().Reset(); }

void AcceptNextModal(const QString& text) {
  QTimer::singleShot(0, [text] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    if (!text.isNull())
      if (auto* edit = dialog->findChild<QLineEdit*>()) {
        edit->setText(text);
        emit edit->textEdited(text);
      }
    dialog->accept();
  });
}

void ProcessEvents() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

bool SaveScreenshot(QWidget& widget, const QString& name) {
  ProcessEvents();
  QDir().mkpath(QStringLiteral(TVR_TEST_OUTPUT_DIR));
  QPixmap picture = widget.grab();
  return !picture.isNull() && picture.save(QStringLiteral(TVR_TEST_OUTPUT_DIR "/%1.png").arg(name));
}

int AddLine(CLinearWnd& window, int group, int current, const std::map<int, QString>& body,
            const QString& name) {
  CLinearDlg& dialog = window.Dialog();
  if (!dialog.NewLine(group)) return -1;
  CLinearLineEditor& editor = dialog.Editor();
  editor.AmpereEdit()->setText(QString::number(current));
  editor.RefillProducts();
  if (!editor.ApplyLineHeader()) return -1;
  for (const auto& [slot, text] : body)
    if (auto* edit = qobject_cast<QLineEdit*>(editor.FieldOfSlot(slot))) edit->setText(text);
  QString problem;
  if (editor.ValidateBody(problem) != 0) return -1;
  editor.StoreBody();
  dialog.RecomputeLines(window.Project().lines.LineCount());
  AcceptNextModal(name);
  if (!dialog.SaveWorkingLine()) return -1;
  return window.Project().lines.LineCount() - 1;
}
