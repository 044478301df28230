#pragma once

#include <QString>

class QWidget;

// The file dialog of layout documents: it opens in the projects folder and offers the
// name part of the document's path.
class CRunDocManager {
 public:
  // Asks for a file to open or to save as; title is a message number. fileName is the
  // name offered (any folder part is dropped) and, on OK, the chosen path. True on OK.
  static bool DoPromptFileName(QWidget* parent, QString& fileName, int title, bool open,
                               const QString& projectsFolder);
  // The path the dialog starts with: the projects folder and the name part of fileName.
  static QString InitialPath(const QString& projectsFolder, const QString& fileName);
  // The filter: layout documents, then all files.
  static QString Filter();
};
