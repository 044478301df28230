#include "language_ui_test_support.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "app/current_language.h"
#include "app/ui/message_dlg.h"
#include "app/ui/translator.h"

CTestLanguage::CTestLanguage(const std::string& messageLines, const std::string& number,
                             const std::string& chars) {
  std::string pattern = (std::filesystem::temp_directory_path() / "tvr-uilang-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) throw std::runtime_error("no temporary folder");
  m_folder = std::string(buffer.data()) + "/";
  Switch(messageLines, number, chars);
}

CTestLanguage::~CTestLanguage() {
  CCurrentLanguage::Instance().Reset();
  CTranslator::Instance().Reset();
  std::error_code error;
  std::filesystem::remove_all(m_folder, error);
}

void CTestLanguage::Switch(const std::string& messageLines, const std::string& number,
                           const std::string& chars) {
  std::ofstream(m_folder + "TVR_" + number + ".TXT", std::ios::binary | std::ios::trunc)
      << "[LANG]\r\nCHARS=" << chars << "\r\n[MSG]\r\n" << messageLines;
  CCurrentLanguage& current = CCurrentLanguage::Instance();
  current.Reset();
  CLanguageSetup setup;
  setup.catalogueFolder = m_folder;
  setup.appNameSetting = "Tavrilon";
  current.SetSetup(setup);
  current.LoadLanguage(number);
}

void OnNextMessageDialog(std::function<void(CMessageDlg&)> action) {
  QTimer::singleShot(0, [action = std::move(action)] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<CMessageDlg*>(widget);
      if (dialog && dialog->isVisible()) {
        action(*dialog);
        return;
      }
    }
    // No box came up: end whatever waits, so that the test fails instead of hanging.
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<QDialog*>(widget)) dialog->done(-1);
  });
}
