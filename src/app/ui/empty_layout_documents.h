#pragma once

#include <QByteArray>
#include <QWidget>

#include <functional>
#include <optional>

#include "app/saveable_document.h"
#include "app/ui/command_target.h"
#include "app/ui/layout_documents.h"

class CShellDialogs;
class QCloseEvent;

// The placeholder of a layout document until the layout windows exist: an empty child
// window titled with its file name, which can be opened, marked modified, saved and
// closed. What it holds is the file it was opened from, kept byte for byte, and that is
// what it saves; a new document holds no layout that could make a file, so its save
// fails with a message rather than write an empty or invented one.
class CEmptyLayoutWindow : public QWidget, public CCommandTarget, public CSaveableDocument {
  Q_OBJECT

 public:
  // content: the bytes of the file at path; none for a new document.
  CEmptyLayoutWindow(CShellDialogs& dialogs, const QString& path, const QString& title,
                     std::optional<QByteArray> content, QString folder);

  const QString& Path() const { return m_path; }
  // Asks to save a modified document: false when the user cancelled or the save failed.
  bool AskToSave();

  std::string PathName() const override { return m_path.toStdString(); }
  bool IsModified() const override { return m_modified; }
  void SetModifiedFlag(bool modified) override { m_modified = modified; }
  bool SaveToFile(const std::string& path, std::string& error) override;

  bool UpdateCommand(int commandId, CCommandState& state) override;
  bool OnCommand(int commandId) override;

 signals:
  void Closing();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  CShellDialogs& m_dialogs;
  QString m_path;
  std::optional<QByteArray> m_content;
  QString m_folder;
  bool m_modified = false;
  bool m_asked = false;
};

class CEmptyLayoutDocuments : public CLayoutDocuments {
  Q_OBJECT

 public:
  // projectsFolder gives the folder where Save As starts.
  explicit CEmptyLayoutDocuments(CShellDialogs& dialogs, std::function<QString()> projectsFolder = {},
                                 QObject* parent = nullptr);

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
  QMdiSubWindow* AddWindow(QMdiArea& area, const QString& path, const QString& title,
                           std::optional<QByteArray> content);
  static CEmptyLayoutWindow* WindowOf(QMdiSubWindow* document);

  CShellDialogs& m_dialogs;
  std::function<QString()> m_projectsFolder;
  QList<QMdiSubWindow*> m_documents;
  int m_untitledCount = 0;
};
