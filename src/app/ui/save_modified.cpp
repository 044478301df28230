#include "app/ui/save_modified.h"

#include <QDir>
#include <QFileInfo>

#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/saveable_document.h"
#include "app/ui/shell_dialogs.h"

namespace {

constexpr int kMsgSaveChanges = 8008;
constexpr int kMsgSaveFailed = 8020;

QString SuggestedPath(const CSaveOffer& offer) {
  QString name = offer.title;
  // Characters no file name takes on the desktops the files travel to.
  for (QChar bad : QStringLiteral("/\\:*?\"<>|")) name.replace(bad, QLatin1Char('_'));
  QString extension = QString::fromStdString(offer.filter.defaultExtension);
  if (!extension.isEmpty() && !name.endsWith(QLatin1Char('.') + extension, Qt::CaseInsensitive))
    name += QLatin1Char('.') + extension;
  return offer.folder.isEmpty() ? name : QDir(offer.folder).filePath(name);
}

}  // namespace

bool SaveDocument(CSaveableDocument& document, const CSaveOffer& offer, CShellDialogs& dialogs,
                  QWidget* parent) {
  QString path = QString::fromStdString(document.PathName());
  if (path.isEmpty()) {
    path = dialogs.ChooseFileToSave(parent, SuggestedPath(offer), offer.filter);
    if (path.isEmpty()) return false;
  }
  std::string error;
  if (document.SaveToFile(QFileInfo(path).absoluteFilePath().toStdString(), error)) return true;
  QString text =
      QString::fromStdString(FormatMessageTextSS(kMsgSaveFailed, path.toStdString(), error));
  dialogs.Message(parent, text, kMbOk | kMbIconError);
  return false;
}

bool SaveModifiedDocument(CSaveableDocument& document, const CSaveOffer& offer,
                          CShellDialogs& dialogs, QWidget* parent) {
  if (!document.IsModified()) return true;
  QString question =
      QString::fromStdString(FormatMessageTextS(kMsgSaveChanges, offer.title.toStdString()));
  int answer = dialogs.Message(parent, question, kMbYesNoCancel | kMbIconExclamation);
  if (answer == kIdCancel) return false;
  if (answer == kIdNo) return true;
  return SaveDocument(document, offer, dialogs, parent);
}
