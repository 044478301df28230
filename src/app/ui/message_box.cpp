#include "app/ui/message_box.h"

#include <QApplication>

#include "app/current_language.h"
#include "app/message_text.h"
#include "app/profile.h"
#include "app/settings_keys.h"
#include "app/ui/message_dlg.h"
#include "app/ui/window_translation.h"

QString ApplicationTitle() {
  const std::string& name = CCurrentLanguage::Instance().Mapping().ApplicationName();
  // Before a language is loaded the program still has its name, not its file's.
  return QString::fromStdString(name.empty() ? CLanguageMapping::kDefaultApplicationName : name);
}

int RunMessageDlg(const QString& text, const QString& caption, unsigned type, QWidget* parent) {
  CMessageDlg dialog(text, caption, type, parent ? parent : QApplication::activeWindow());
  return dialog.exec();
}

int MessageBoxById(int messageNumber, unsigned type, QWidget* parent) {
  return RunMessageDlg(StringQText(messageNumber), ApplicationTitle(), type, parent);
}

void SettingsNotSavedMessage(const CProfile& profile, QWidget* parent) {
  if (profile.Path().empty()) return;
  TranslatedMessageBox(
      QString::fromStdString(FormatMessageTextS(kMsgSettingsNotSaved, profile.Path())),
      kMbOk | kMbIconExclamation, parent);
}

int TranslatedMessageBox(const QString& text, unsigned type, QWidget* parent) {
  return RunMessageDlg(text, ApplicationTitle(), type, parent);
}

int WindowMessageBox(QWidget* window, const QString& text, const QString& caption, unsigned type) {
  return RunMessageDlg(text, caption, type, window);
}
