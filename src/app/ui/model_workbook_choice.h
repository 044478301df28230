#pragma once

#include <optional>
#include <string>

class CShellDialogs;
class QWidget;

// Asks for the model workbook of a spreadsheet export in the program folder's MODELS,
// every time, listing .xlsx beside .xls. Nothing when the user cancels, or when the
// chosen model is an Excel 97-2003 one, which the helper cannot read: the user is then
// told so by its name. Either way the export ends.
std::optional<std::string> ChooseModelWorkbook(CShellDialogs& dialogs, QWidget* parent,
                                               const std::string& programFolder);
