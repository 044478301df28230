#include "shell/ui/file_checks.h"

#include <QFile>
#include <QFileInfo>

#include "app/message_text.h"

namespace {

constexpr int kMsgFileNotFound = 8019;
constexpr int kMsgCannotRead = 8021;

QString Formatted(int number, const QString& path) {
  return QString::fromStdString(FormatMessageTextS(number, path.toStdString()));
}

}  // namespace

QString UnreadableFileMessage(const QString& path) {
  QFileInfo info(path);
  if (path.isEmpty() || !info.exists() || info.isDir()) return Formatted(kMsgFileNotFound, path);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return Formatted(kMsgCannotRead, path);
  return {};
}
