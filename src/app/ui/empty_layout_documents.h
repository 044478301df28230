#pragma once

#include <QWidget>

#include "app/ui/command_target.h"
#include "app/ui/layout_documents.h"

class CShellDialogs;
class QCloseEvent;

// The placeholder of a layout document until the layout windows exist: an empty child
// window titled with its file name, which can be opened, marked modified and closed.
class CEmptyLayoutWindow : public QWidget, public CCommandTarget {
  Q_OBJECT

 public:
  CEmptyLayoutWindow(CShellDialogs& dialogs, const QString& path, const QString& title);

  const QString& Path() const { return m_path; }
  bool IsModified() const { return m_modified; }
  void SetModified(bool modified) { m_modified = modified; }
  // Asks to save a modified document: false when the user cancelled.
  bool AskToSave();

  bool UpdateCommand(int commandId, CCommandState& state) override;
  bool OnCommand(int commandId) override;

 signals:
  void Closing();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  CShellDialogs& m_dialogs;
  QString m_path;
  bool m_modified = false;
  bool m_asked = false;
};

class CEmptyLayoutDocuments : public CLayoutDocuments {
  Q_OBJECT

 public:
  explicit CEmptyLayoutDocuments(CShellDialogs& dialogs, QObject* parent = nullptr);

  QMdiSubWindow* NewDocument(QMdiArea& area) override;
  // Refuses files that are missing, unreadable, or too short or of a version no layout
  // document has (the first 16-bit word of the stream, 1..600).
  QMdiSubWindow* OpenDocument(QMdiArea& area, const QString& path) override;
  QList<QMdiSubWindow*> Documents() const override;
  bool IsModified(QMdiSubWindow* document) const override;
  void SetModified(QMdiSubWindow* document, bool modified) override;
  void CopyFromModel(QMdiSubWindow* document, QMdiSubWindow* model) override;
  bool SaveAllModified() override;
  void CloseAllDocuments() override;

 private:
  QMdiSubWindow* AddWindow(QMdiArea& area, const QString& path, const QString& title);
  static CEmptyLayoutWindow* WindowOf(QMdiSubWindow* document);

  CShellDialogs& m_dialogs;
  QList<QMdiSubWindow*> m_documents;
  int m_untitledCount = 0;
};
