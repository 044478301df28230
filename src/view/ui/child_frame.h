#pragma once

#include <QWidget>

#include <functional>
#include <optional>
#include <memory>
#include <string>

#include "app/ui/command_target.h"
#include "view/ui/dorne_view.h"

class CDorneDoc;
class CLayoutExports;
class QSplitter;
class QPrinter;

// The document window of a layout document: the layout view above and the
// bill-of-materials pane below, in a split whose rows keep their proportions when the
// window is resized (the view starts with seven tenths). It runs the view's commands
// whichever pane has the focus: zoom, presets, angles, layers, refresh, printing and the
// picture and DXF exports.
class CChildFrame : public QWidget, public CCommandTarget {
  Q_OBJECT

 public:
  // Asks for the file of an export, given its filter in the program's form
  // ("dxf (*.dxf)|*.dxf||"), the default extension and the path to propose (empty: the
  // chooser's own, the design's name; beginning with "_": that name followed by it); an
  // empty result cancels.
  using CFileChooser = std::function<QString(
      const std::string& filter, const std::string& extension, const std::string& suggested)>;
  // Shows an error text to the user.
  using CErrorReporter = std::function<void(const QString& text)>;
  // Asks the user a question with OK and Cancel; true for OK.
  using CQuestionAsker = std::function<bool(const QString& text)>;
  // The model workbook of a workbook export: empty when no model is offered, nothing
  // when the user cancelled.
  using CModelChooser = std::function<std::optional<QString>()>;

  CChildFrame(CDorneDoc& document, const CDorneView::CContext& context, QWidget* parent = nullptr);
  ~CChildFrame() override;

  CDorneView* View() const { return m_view; }
  QSplitter* Splitter() const { return m_splitter; }
  // The lower pane, which holds the bill-of-materials view.
  QWidget* LowerPane() const { return m_lowerPane; }
  void SetFileChooser(CFileChooser chooser) { m_chooseFile = std::move(chooser); }
  void SetErrorReporter(CErrorReporter reporter) { m_reportError = std::move(reporter); }
  // Where the outcome of a command is told when it went through.
  void SetInformer(CErrorReporter inform) { m_inform = std::move(inform); }
  void SetQuestionAsker(CQuestionAsker asker) { m_ask = std::move(asker); }
  void SetModelChooser(CModelChooser chooser) { m_chooseModel = std::move(chooser); }
  // The document's file ("" before its first save), for exports named after it.
  // The file of the document; the view looks for pictures in its folder.
  void SetDocumentPath(std::string path);
  const std::string& DocumentPath() const { return m_documentPath; }
  // The status-bar message last set for this window (0: none) and setting it.
  int Prompt() const { return m_prompt; }
  void SetPrompt(int id);
  // The document is going: the panes show nothing from now on.
  void Detach();

  bool UpdateCommand(int commandId, CCommandState& state) override;
  bool OnCommand(int commandId) override;

  // The exports and the page of the commands, for a path already chosen.
  // A region of the view's client (empty: all of it) as a picture.
  bool ExportPicture(const QString& path, std::string& fault, const QRect& region = QRect()) const;
  bool ExportDxf(const QString& path, std::string& fault) const;
  bool Print(QPrinter& printer) const;
  // The price and bill-of-materials export commands of the document.
  CLayoutExports& Exports();

 signals:
  void PromptChanged(int id);

 private:
  static QWidget* MakeLowerPane(CDorneDoc& document, QWidget* parent);
  void OnPrint();
  void OnPrintPreview();
  void OnExport(bool dxf, const QRect& region = QRect());
  // The file of a picture or drawing of the view, as the user chose it; empty when
  // cancelled.
  QString ChooseViewFile(bool dxf) const;
  void ShowAngleDialog();
  void OnExportCsv(bool allRuns);
  void OnExport3D();
  // The name a picture or drawing of the view is proposed under, beside the document.
  std::string SuggestedPictureName(const std::string& extension) const;
  void OnExportWorkbook(bool allRuns, bool saveAs);

  CDorneView* m_view;
  QSplitter* m_splitter;
  QWidget* m_lowerPane;
  CFileChooser m_chooseFile;
  CErrorReporter m_reportError;
  CErrorReporter m_inform;
  CQuestionAsker m_ask;
  CModelChooser m_chooseModel;
  int m_prompt = 0;
  std::string m_documentPath;
  std::unique_ptr<CLayoutExports> m_exports;
};
