#include "app/ui/prompt_for_text.h"

#include <QApplication>

#include "app/message_box_codes.h"
#include "app/ui/message_box.h"
#include "app/ui/message_dlg.h"

int PromptForText(QString& text, const QString& prompt, const QString& caption, QWidget* parent) {
  CMessageDlg dialog(prompt, caption.isEmpty() ? ApplicationTitle() : caption,
                     kMbOkCancel | kMbIconQuestion, parent ? parent : QApplication::activeWindow());
  dialog.SetInputText(text);
  const int answer = dialog.exec();
  if (answer == kIdOk) text = dialog.InputText();
  return answer;
}
