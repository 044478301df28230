#pragma once

#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

#include "shell/ui/layout_doc_window.h"
#include "shell/ui/layout_documents.h"

class CDorneApp;
class CDorneDoc;
class CShellDialogs;
struct CUnitEntry;

// The open layout documents of the program: it owns each document (CDorneDoc, which
// holds the design and its modified flag) and the child window that shows it.
class CRunDocuments : public CLayoutDocuments {
  Q_OBJECT

 public:
  // units: the application's units table (dims.dbf), kept by the caller.
  CRunDocuments(CShellDialogs& dialogs, CDorneApp& app, const std::vector<CUnitEntry>& units,
                QObject* parent = nullptr);
  ~CRunDocuments() override;

  QMdiSubWindow* NewDocument(QMdiArea& area) override;
  // Refuses files that are missing or unreadable, of a version this program cannot
  // read, or damaged, with the message that says which; the other documents stay as
  // they were.
  QMdiSubWindow* OpenDocument(QMdiArea& area, const QString& path) override;
  // Why the file cannot be opened as a layout document, as OpenDocument would tell it;
  // empty when it reads. The file is read and dropped: nothing opens.
  QString FileProblem(const QString& path) const;
  QList<QMdiSubWindow*> Documents() const override;
  bool IsModified(QMdiSubWindow* document) const override;
  void SetModified(QMdiSubWindow* document, bool modified) override;
  void CopyFromModel(QMdiSubWindow* document, QMdiSubWindow* model) override;
  bool SaveAllModified() override;
  void CloseAllDocuments() override;

  // The start-up's first document: a new document seeded from the model file (none when
  // the path is empty) and let go again, made without a window since nobody sees it. A
  // model that cannot be read is told to the parent as opening it would tell it.
  void MakeFirstDocument(QWidget* parent, const QString& modelPath);
  // The next new document is numbered 1 again (the start-up's first document, closed
  // before anyone sees it, does not count).
  void RestartUntitledNumbers() { m_untitledCount = 0; }

  // The document shown in that child window; null when it is not one of ours.
  CDorneDoc* DocumentOf(QMdiSubWindow* window) const;

 private:
  struct CEntry {
    std::unique_ptr<CDorneDoc> document;
    QPointer<QMdiSubWindow> window;
  };

  std::unique_ptr<CDorneDoc> MakeDocument() const;
  // The document read from the file, or null with the problem's message.
  std::unique_ptr<CDorneDoc> ReadDocument(const QString& path, QString& problem) const;
  QMdiSubWindow* AddWindow(QMdiArea& area, std::unique_ptr<CDorneDoc> document, const QString& path,
                           const QString& title);
  void Forget(CDorneDoc* document);
  CLayoutDocWindow* WindowOf(QMdiSubWindow* window) const;

  CShellDialogs& m_dialogs;
  CDorneApp& m_app;
  const std::vector<CUnitEntry>& m_units;
  std::vector<CEntry> m_entries;
  int m_untitledCount = 0;
};
