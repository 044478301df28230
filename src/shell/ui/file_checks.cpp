#include "shell/ui/file_checks.h"

#include <QFile>
#include <QFileInfo>

#include "app/message_text.h"
#include "linear/linear_file.h"
#include "reference/ui/ref_core.h"
#include "shell/ui/run_documents.h"

namespace {

QString Formatted(int number, const QString& path) {
  return QString::fromStdString(FormatMessageTextS(number, path.toStdString()));
}

// The window's load gives the price lists their names; whether the file reads does
// not depend on them.
int TrialLoad(const std::string& path, EFileKind kind) {
  if (kind == EFileKind::Linear) {
    CLinearProject project;
    return LoadLinearFile(path, project, CLinearLoadContext{});
  }
  if (kind == EFileKind::Reference) {
    CRefProject project;
    return LoadRefFile(path, project, CRefLoadContext{});
  }
  return 0;
}

}  // namespace

QString UnreadableFileMessage(const QString& path) {
  QFileInfo info(path);
  if (path.isEmpty() || !info.exists() || info.isDir()) return Formatted(kMsgFileNotFound, path);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return Formatted(kMsgFileNoRead, path);
  return {};
}

QString ProjectFileProblem(const QString& path, EFileKind kind) {
  if (QString unreadable = UnreadableFileMessage(path); !unreadable.isEmpty()) return unreadable;
  const int failure = TrialLoad(path.toStdString(), kind);
  if (failure == 0) return {};
  return QString::fromStdString(FileProblemText(failure, path.toStdString()));
}

QString OpenFileProblem(const CRunDocuments& documents, const QString& path, EFileKind kind) {
  return kind == EFileKind::Layout ? documents.FileProblem(path) : ProjectFileProblem(path, kind);
}
