#include "shell/ui/run_doc_manager.h"

#include <QDir>
#include <QFileDialog>

#include "app/frame_rules.h"
#include "app/message_text.h"
#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgDocumentTemplate = 18;
constexpr int kMsgAllFiles = 8003;

}  // namespace

QString CRunDocManager::InitialPath(const QString& projectsFolder, const QString& fileName) {
  QString name = fileName.section(QLatin1Char('/'), -1);
  return QDir(projectsFolder).filePath(name);
}

QString CRunDocManager::Filter() {
  QString description =
      QString::fromStdString(TemplateDescription(LookupText(kMsgDocumentTemplate)));
  return description + QStringLiteral(";;") + StringQText(kMsgAllFiles);
}

bool CRunDocManager::DoPromptFileName(QWidget* parent, QString& fileName, int title, bool open,
                                      const QString& projectsFolder) {
  QFileDialog dialog(parent, StringQText(title), InitialPath(projectsFolder, fileName), Filter());
  dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("run"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  fileName = dialog.selectedFiles().front();
  return true;
}
