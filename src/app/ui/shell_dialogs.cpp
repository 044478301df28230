#include "app/ui/shell_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QStringList>

#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/message_box.h"
#include "app/ui/model_dlg.h"
#include "app/ui/program_printer.h"
#include "app/ui/start_mode_dlg.h"
#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgOpenTitle = 8001;
constexpr int kMsgSaveAsTitle = 8002;
constexpr int kMsgReplaceFile = 31193;

}  // namespace

QString FileDialogFilter(const std::string& storedFilter) {
  QStringList parts = QString::fromStdString(storedFilter).split(QLatin1Char('|'));
  QStringList entries;
  for (int index = 0; index + 1 < parts.size(); index += 2) {
    if (parts[index].isEmpty()) break;
    QString description = parts[index];
    QString patterns = parts[index + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    // The description already shows its patterns; the dialog reads them from the end.
    entries << (description.contains(QLatin1Char('('))
                    ? description.section(QLatin1Char('('), 0, 0).trimmed()
                    : description) +
                   QStringLiteral(" (%1)").arg(patterns);
  }
  return entries.join(QStringLiteral(";;"));
}

int CStandardShellDialogs::ChooseStartMode(QWidget* parent, bool offerLinear, bool offerReference,
                                           bool offerGraphical) {
  CStartModeDlg dialog(parent);
  dialog.SetOffers(offerLinear, offerReference, offerGraphical);
  return dialog.Run();
}

std::optional<QString> CStandardShellDialogs::ChooseModel(QWidget* parent,
                                                          const QString& initialPath) {
  CModelDlg dialog(initialPath, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.ModelPath();
}

QString CStandardShellDialogs::ChooseFileToOpen(QWidget* parent, const QString& folder,
                                                const COpenFileFilter& filter) {
  QFileDialog dialog(parent, StringQText(kMsgOpenTitle), folder, FileDialogFilter(filter.filter));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (!filter.defaultExtension.empty())
    dialog.setDefaultSuffix(QString::fromStdString(filter.defaultExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

QString CStandardShellDialogs::ChooseFileToSave(QWidget* parent, const QString& suggestedPath,
                                                const COpenFileFilter& filter) {
  QFileDialog dialog(parent, StringQText(kMsgSaveAsTitle), suggestedPath,
                     FileDialogFilter(filter.filter));
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The program asks before replacing a file in its own words: the toolkit's French
  // question lacks its full stop.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (!filter.defaultExtension.empty())
    dialog.setDefaultSuffix(QString::fromStdString(filter.defaultExtension));
  while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    const QString path = dialog.selectedFiles().front();
    const std::string question =
        FormatMessageTextS(kMsgReplaceFile, QFileInfo(path).fileName().toStdString());
    if (!QFileInfo::exists(path) ||
        Message(parent, QString::fromStdString(question), kMbYesNo | kMbIconExclamation) == kIdYes)
      return path;
  }
  return {};
}

int CStandardShellDialogs::Message(QWidget* parent, const QString& text, unsigned type) {
  return TranslatedMessageBox(text, type, parent);
}

void CStandardShellDialogs::PrintSetup(QWidget* parent) {
  QPageSetupDialog dialog(&ProgramPrinter(), parent);
  dialog.exec();
}

void CStandardShellDialogs::ShowAbout(QWidget* parent) {
  if (m_about) m_about(parent);
}

int CStandardShellDialogs::RunInfoDialog(QWidget* parent, const CInfoDlg::Setup& setup,
                                         CProfile& profile) {
  CInfoDlg dialog(setup, profile, parent);
  return dialog.exec();
}
