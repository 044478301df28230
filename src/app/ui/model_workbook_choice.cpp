#include "app/ui/model_workbook_choice.h"

#include "app/message_box_codes.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "app/xl_export_file.h"

std::optional<std::string> ChooseModelWorkbook(CShellDialogs& dialogs, QWidget* parent,
                                               const std::string& programFolder) {
  const COpenFileFilter filter{
      StringQText(kMsgModelFilter).toStdString() + "|*.xlsx;*.xls;*.XLSX;*.XLS||", "xlsx"};
  const QString chosen =
      dialogs.ChooseFileToOpen(parent, QString::fromStdString(programFolder + "MODELS/"), filter);
  if (chosen.isEmpty()) return std::nullopt;
  if (IsOldModelWorkbook(chosen.toStdString())) {
    dialogs.Message(parent, StringQText(kMsgModelIsOldWorkbook).arg(chosen),
                    kMbOk | kMbIconExclamation);
    return std::nullopt;
  }
  return chosen.toStdString();
}
