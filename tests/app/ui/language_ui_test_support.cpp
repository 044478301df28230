#include "language_ui_test_support.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include "app/current_language.h"
#include "app/ui/message_dlg.h"
#include "app/ui/translator.h"

CTestLanguage::CTestLanguage(const std::string& messageLines, const std::string& number,
                             const std::string& chars) {
  Switch(messageLines, number, chars);
}

CTestLanguage::~CTestLanguage() {
  CCurrentLanguage::Instance().Reset();
  CTranslator::Instance().Reset();
}

void CTestLanguage::Switch(const std::string& messageLines, const std::string& number,
                           const std::string& chars) {
  m_folder.WriteFile("TVR_" + number + ".TXT",
                     "[LANG]\r\nCHARS=" + chars + "\r\n[MSG]\r\n" + messageLines);
  CCurrentLanguage& current = CCurrentLanguage::Instance();
  current.Reset();
  CLanguageSetup setup;
  setup.catalogueFolder = m_folder.Folder();
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
