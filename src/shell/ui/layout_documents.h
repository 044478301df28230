#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QMdiArea;
class QMdiSubWindow;

// The layout documents as the main frame and the document commands see them: each
// document is shown in one MDI child window, which stands for it here (the documents
// themselves are held by the implementation, run_documents.h).
class CLayoutDocuments : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  // A new empty document in a new child window of the area; null when it could not be
  // made.
  virtual QMdiSubWindow* NewDocument(QMdiArea& area) = 0;
  // The document of a layout file: an open document of that path, else the file read
  // into a new child window. Null, after telling the user why, when it cannot be read.
  virtual QMdiSubWindow* OpenDocument(QMdiArea& area, const QString& path) = 0;

  virtual QList<QMdiSubWindow*> Documents() const = 0;
  virtual bool IsModified(QMdiSubWindow* document) const = 0;
  virtual void SetModified(QMdiSubWindow* document, bool modified) = 0;
  // The new document takes the settings of a model document.
  virtual void CopyFromModel(QMdiSubWindow* document, QMdiSubWindow* model) = 0;
  // Asks to save each modified document; false when the user cancelled one (or its
  // save failed): nothing is closed then.
  virtual bool SaveAllModified() = 0;
  // Closes every document without asking.
  virtual void CloseAllDocuments() = 0;

 signals:
  // A document's window is closing (before it goes away).
  void DocumentClosed(QMdiSubWindow* document);
  // A document was written to the file at that absolute path (a save or a save-as).
  void DocumentSaved(const QString& path);
};
