#pragma once

#include <QString>
#include <QWidget>

#include "app/saveable_document.h"
#include "app/ui/command_target.h"
#include "model/document/doc_observer.h"

class CChildFrame;
class CDorneDoc;
class CDorneApp;
class CShellDialogs;
class QCloseEvent;
class QTimer;
struct CUnitEntry;

// The child window of one layout document: it holds the layout's frame (the view above
// the bill of materials), shows the document's title, runs the file commands and the
// project information itself and hands the view's commands to the frame, and follows
// the document's notices. The document belongs to the list of
// layout documents; the window only points at it (Detach when the document goes).
class CLayoutDocWindow : public QWidget,
                         public CCommandTarget,
                         public CSaveableDocument,
                         public CDocObserver,
                         public CDocPrompter {
  Q_OBJECT

 public:
  struct CContext {
    CShellDialogs* dialogs = nullptr;
    CDorneApp* app = nullptr;                        // for the projects folder
    const std::vector<CUnitEntry>* units = nullptr;  // for the project information
  };

  CLayoutDocWindow(const CContext& context, CDorneDoc& document, const QString& path,
                   const QString& title);
  ~CLayoutDocWindow() override;

  CDorneDoc* Document() const { return m_document; }
  CChildFrame* Frame() const { return m_frame; }
  void Detach();
  const QString& Path() const { return m_path; }
  // Asks to save a modified document: false when the user cancelled or the save failed.
  bool AskToSave();

  std::string PathName() const override { return m_path.toStdString(); }
  bool IsModified() const override;
  void SetModifiedFlag(bool modified) override;
  bool SaveToFile(const std::string& path, std::string& error) override;

  bool UpdateCommand(int commandId, CCommandState& state) override;
  bool OnCommand(int commandId) override;
  void OnDocNotice(EDocNotice notice, CRun* run) override;
  bool AskOkCancel(int message, const std::string& parameter) override;
  void Beep() override;

  // Saving: today's "ModificationDate" and, for a document without a file, a title that
  // starts with the job number; both are put back when the save fails or is cancelled.
  void OnFileSave();
  void OnFileSaveAs();
  // What the window does right after an edit's repaint (its zero timer): the next undo's
  // design made on the worker, then the next edit's snapshot bytes.
  void AfterEditRepaint();

 signals:
  void Closing();
  // The document was written to that file (absolute path).
  void Saved(const QString& path);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowProjectInfo();
  void RestoreStep(bool redo);
  bool UpdateUndoCommand(int commandId, CCommandState& state);
  void SetTitle(const QString& title);
  void ShowTitle();
  void PrefixJobNumber();
  QString ProjectsFolder() const;

  void BuildFrame();

  CContext m_context;
  CDorneDoc* m_document;
  CChildFrame* m_frame = nullptr;
  QString m_path;
  QString m_title;
  bool m_asked = false;
  // Makes the next edit's snapshot bytes once the window is idle after an edit.
  QTimer* m_snapshotSoon = nullptr;
};
