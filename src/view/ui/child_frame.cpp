#include "view/ui/child_frame.h"

#include <QApplication>

#include <filesystem>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSplitter>
#include <QVBoxLayout>

#include "app/external_process.h"
#include "app/message_text.h"
#include "app/ui/command_ids.h"
#include "app/ui/print_helper_watch.h"
#include "app/xl_export_file.h"
#include "export/picture_files.h"
#include "export/z3d_export.h"
#include "export/ui/layout_exports.h"
#include "model/document/doc_command_rules.h"
#include "model/document/dorne_doc.h"
#include "model/element/dev.h"
#include "model/element/element_selection.h"
#include "model/props/prop_window_notifier.h"
#include "model/run/run.h"
#include "model/undo/undo_manager.h"
#include "view/display_layers.h"
#include "view/draw_mapping.h"
#include "view/view_presets.h"
#include "view/view_tools.h"
#include "view/ui/bom_view.h"
#include "view/ui/view_angle_dlg.h"
#include "view/ui/view_export.h"

namespace {

constexpr int kIdWindowNew = 57648;
constexpr int kMsgJobNumber = 2681;
constexpr int kMsgCannotCreate = 61732;
constexpr int kUndoZoomAll = 23105;
constexpr int kMsgTotalsPage = 30043;
constexpr int kMsgPictureNotNamedAfter = 30160;
constexpr int kMsgWorkbookNotOpened = 8148;   // %1 workbook
constexpr int kMsgWorkbookNotWritten = 8149;  // %1 workbook, %2 exit code

int PresetOfCommand(int command) {
  for (int preset = 0; preset < kViewPresetCount; ++preset) {
    if (ViewPresetCommand(preset) == command) return preset;
  }
  return -1;
}

}  // namespace

CChildFrame::CChildFrame(CDorneDoc& document, const CDorneView::CContext& context, QWidget* parent)
    : QWidget(parent) {
  setObjectName(QStringLiteral("child_frame"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  m_splitter = new QSplitter(Qt::Vertical, this);
  m_splitter->setObjectName(QStringLiteral("59648"));
  m_splitter->setChildrenCollapsible(false);
  m_view = new CDorneView(document, context, m_splitter);
  m_lowerPane = MakeLowerPane(document, m_splitter);
  m_splitter->addWidget(m_view);
  m_splitter->addWidget(m_lowerPane);
  // The view keeps seven tenths of the height as the window grows or shrinks.
  m_splitter->setStretchFactor(0, 7);
  m_splitter->setStretchFactor(1, 3);
  m_splitter->setSizes({700, 300});
  layout->addWidget(m_splitter);
  setFocusProxy(m_view);
  connect(m_view, &CDorneView::PromptRequested, this, &CChildFrame::SetPrompt);
  connect(m_view, &CDorneView::SupportDisplayChanged, this, [this] {
    if (CDorneDoc* shown = m_view->Document()) shown->RefreshRunGrids();
  });
  connect(m_view, &CDorneView::PictureRequested, this,
          [this](const QRect& region) { OnExport(false, region); });
  if (auto* bom = dynamic_cast<CBOMView*>(m_lowerPane)) {
    connect(bom, &CBOMView::SavedViewWanted, this, [this](const CBOMGrid& page) {
      // Fitting waits until the view has drawn the page's run.
      if (!m_view->TakeSavedView(page))
        QMetaObject::invokeMethod(
            this, [this] { OnCommand(kIdZoomAll); }, Qt::QueuedConnection);
    });
  }
  m_view->Tools().ShowModeCursorAndPrompt();
}

void CChildFrame::SetDocumentPath(std::string path) {
  m_documentPath = std::move(path);
  const std::size_t cut = m_documentPath.find_last_of("\\/");
  m_view->SetDocumentFolder(cut == std::string::npos ? std::string()
                                                     : m_documentPath.substr(0, cut));
}

QWidget* CChildFrame::MakeLowerPane(CDorneDoc& document, QWidget* parent) {
  return new CBOMView(document, parent);
}

CChildFrame::~CChildFrame() = default;

CLayoutExports& CChildFrame::Exports() {
  if (!m_exports) {
    m_exports =
        std::make_unique<CLayoutExports>(*m_view->Document(), this, [this](const QString& text) {
          if (m_reportError) m_reportError(text);
        });
    m_exports->SetInformer([this](const QString& text) {
      if (m_inform) m_inform(text);
    });
  }
  return *m_exports;
}

void CChildFrame::SetPrompt(int id) {
  m_prompt = id;
  emit PromptChanged(id);
}

void CChildFrame::Detach() {
  m_view->Detach();
  if (auto* bom = dynamic_cast<CBOMView*>(m_lowerPane)) bom->Detach();
}

bool CChildFrame::UpdateCommand(int commandId, CCommandState& state) {
  const CDorneDoc* document = m_view->Document();
  if (commandId == kIdWindowNew) {
    state.enabled = false;
    return true;
  }
  const int layer = DisplayLayerOfCommand(commandId);
  if (layer >= 0) {
    state.enabled = document != nullptr;
    state.checked = layer == kSupportLayer
                        ? m_view->Settings().support != 0
                        : m_view->Settings().labels[static_cast<std::size_t>(layer)].visible;
    return true;
  }
  const int preset = PresetOfCommand(commandId);
  if (preset >= 0) {
    state.enabled = document != nullptr;
    state.checked = document != nullptr && document->GetViewPreset() == preset;
    return true;
  }
  if (m_view->UpdateToolCommand(commandId, state.enabled, state.checked)) return true;
  if (commandId == kIdNewRun || commandId == kIdUpdateRun) {
    state.enabled = document != nullptr &&
                    GetDocCommandState(*document, commandId, CDocCommandContext()).enabled;
    return true;
  }
  switch (commandId) {
    case kIdZoomIn:
    case kIdZoomOut:
    case kIdZoomAll:
    case kIdViewAngles:
    case kIdRefresh:
    case kIdPrint:
    case kIdFilePrint:
    case kIdPrintPreview:
    case kIdExportPicture:
    case kIdExportDxf: state.enabled = document != nullptr; return true;
    case kIdExportExcelOpen:
    case kIdExportExcelBomOpen: state.enabled = document != nullptr; return true;
    case kIdExportExcel:
    case kIdExportExcelBom:
    case kIdUpdatePrices:
    case kIdImportPartNumbers:
    case kIdExportCsv:
    case kIdExport3D:
    case kIdExportCsvDetailed: {
      CDocCommandContext context;
      context.totalsPageShown = document != nullptr && document->GetBomPage() == 0;
      state.enabled =
          document != nullptr && GetDocCommandState(*document, commandId, context).enabled;
      return true;
    }
    default: return false;
  }
}

bool CChildFrame::OnCommand(int commandId) {
  if (m_view->Document() == nullptr) return false;
  const int layer = DisplayLayerOfCommand(commandId);
  if (layer >= 0) {
    m_view->ToggleVisibility(layer);
    return true;
  }
  const int preset = PresetOfCommand(commandId);
  if (preset >= 0) {
    m_view->ApplyViewPreset(preset);
    return true;
  }
  if (m_view->OnToolCommand(commandId)) return true;
  switch (commandId) {
    case kIdZoomIn: m_view->ZoomIn(); return true;
    case kIdZoomOut: m_view->ZoomOut(); return true;
    case kIdZoomAll:
      m_view->Document()->GetUndo().SaveUndoState(kUndoZoomAll, false, true);
      m_view->ZoomAll();
      return true;
    case kIdViewAngles: ShowAngleDialog(); return true;
    case kIdRefresh: m_view->Refresh(); return true;
    case kIdPrint:
    case kIdFilePrint: OnPrint(); return true;
    case kIdPrintPreview: OnPrintPreview(); return true;
    case kIdExportPicture: OnExport(false); return true;
    case kIdExportDxf: OnExport(true); return true;
    case kIdUpdatePrices: Exports().UpdatePrices(); return true;
    case kIdImportPartNumbers: Exports().ImportPartNumbers(); return true;
    case kIdExportCsv: OnExportCsv(false); return true;
    case kIdExportExcel: OnExportWorkbook(false, false); return true;
    case kIdExportExcelOpen: OnExportWorkbook(true, false); return true;
    case kIdExportExcelBom: OnExportWorkbook(false, true); return true;
    case kIdExportExcelBomOpen: OnExportWorkbook(true, true); return true;
    case kIdExportCsvDetailed: OnExportCsv(true); return true;
    case kIdExport3D: OnExport3D(); return true;
    case kIdRebuildParts: m_view->RebuildCurrentRun(); return true;
    case kIdNewRun: m_view->NewRun(); return true;
    case kIdRebuildBom:
      if (!m_view->Document()->RebuildCurrentRunBOM()) m_view->Beep();
      return true;
    case kIdUpdateRun:
      if (!m_view->Document()->UpdateCurrentRun()) m_view->Beep();
      return true;
    default: return false;
  }
}

void CChildFrame::ShowAngleDialog() {
  CDorneDoc* document = m_view->Document();
  document->SetViewPreset(-2);
  CViewAngleDlg dialog(m_view, this);
  dialog.exec();
  m_view->ApplyViewPreset(-1);
}

bool CChildFrame::ExportPicture(const QString& path, std::string& fault,
                                const QRect& region) const {
  // The picture is the screen's: in colour, unless the view itself is shown in black
  // and white.
  if (region.isEmpty())
    return ExportViewPicture(*m_view->Document(), m_view->ViewWindow(), m_view->size(),
                             m_view->DrawOptions(false), path, fault);
  // A region: the view as it is, moved so that the region's corner is the picture's.
  CViewWindow window = m_view->ViewWindow();
  CDrawMapping mapping;
  window.ApplyTo(mapping, m_view->ClientSize());
  const QPoint middle = region.center();
  window.SetCentre(mapping.ToLogical({middle.x(), middle.y()}));
  window.Resize(m_view->ClientSize(), {region.width(), region.height()});
  return ExportViewPicture(*m_view->Document(), window, region.size(), m_view->DrawOptions(false),
                           path, fault);
}

bool CChildFrame::ExportDxf(const QString& path, std::string& fault) const {
  return ExportViewDxf(*m_view->Document(), m_view->ViewWindow(), m_view->size(),
                       m_view->DrawOptions(true), path, fault);
}

bool CChildFrame::Print(QPrinter& printer) const {
  const CDorneDoc& document = *m_view->Document();
  CPrintPage page;
  page.leftHeader = QString::fromStdString(document.GetDocProperty("Name"));
  const std::string job = document.GetDocProperty("NumAff");
  if (!job.empty())
    page.rightHeader = QString::fromStdString(StringText(kMsgJobNumber) + " " + job);
  page.frame = m_view->Settings().printFrame != 0;
  page.viewSize = m_view->size();
  return PrintView(printer, document, m_view->ViewWindow(),
                   m_view->DrawOptions(m_view->Settings().printBlackWhite != 0), page);
}

void CChildFrame::OnPrint() {
  ClosePropDialog();
  // A selected element would print highlighted.
  if (CDev* selected = m_view->Document()->Selection().Element())
    selected->SelectElement(false, nullptr);
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, this);
  dialog.setMinMax(1, 1);
  if (dialog.exec() == QDialog::Accepted) Print(printer);
}

void CChildFrame::OnPrintPreview() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintPreviewDialog preview(&printer, this);
  connect(&preview, &QPrintPreviewDialog::paintRequested, this,
          [this](QPrinter* target) { Print(*target); });
  preview.exec();
}

void CChildFrame::OnExport(bool dxf, const QRect& region) {
  const QString path = ChooseViewFile(dxf);
  if (path.isEmpty()) return;
  std::string fault;
  const bool written = dxf ? ExportDxf(path, fault) : ExportPicture(path, fault, region);
  if (written || !m_reportError) return;
  m_reportError(QString::fromStdString(FormatMessageTextS(kMsgCannotCreate, path.toStdString())) +
                QStringLiteral("\n\n") + QString::fromStdString(fault));
}

QString CChildFrame::ChooseViewFile(bool dxf) const {
  if (!m_chooseFile) return {};
  for (;;) {
    const QString path =
        dxf ? m_chooseFile("dxf (*.dxf)|*.dxf||", "dxf", SuggestedPictureName("dxf"))
            : m_chooseFile("jpeg (*.jpg)|*.jpg|bmp (*.bmp)|*.bmp||", "jpg",
                           SuggestedPictureName("jpg"));
    // A name that does not follow the design's is not listed with its pictures: the
    // user confirms it, or chooses again.
    if (path.isEmpty() || !m_ask || IsNamedAfterDocument(m_documentPath, path.toStdString()))
      return path;
    if (m_ask(QString::fromStdString(
            FormatMessageTextS(kMsgPictureNotNamedAfter, path.toStdString()))))
      return path;
  }
}

void CChildFrame::OnExportCsv(bool allRuns) {
  if (!m_chooseFile) return;
  // The detailed bill is another file than the plain one beside it.
  const QString path =
      m_chooseFile("CSV (*.CSV) |*.CSV||", "csv", allRuns ? "_detail.csv" : std::string());
  if (path.isEmpty()) return;
  std::string fault;
  if (Exports().ExportCsv(allRuns, path, fault) || !m_reportError) return;
  m_reportError(QString::fromStdString(FormatMessageTextS(kMsgCannotCreate, fault)));
}

void CChildFrame::OnExport3D() {
  const CRun* run = m_view->Document()->GetCurrentRun();
  if (!m_chooseFile || run == nullptr) return;
  const std::filesystem::path document(m_documentPath);
  const std::string name = Z3dFileName(document.filename().string(), run->GetPropText("Name"));
  const std::string suggested =
      m_documentPath.empty() ? std::string() : (document.parent_path() / name).string();
  const QString path = m_chooseFile("Z3D (*.Z3D) |*.Z3D||", "Z3D", suggested);
  if (path.isEmpty()) return;
  std::string fault;
  if (Exports().Export3D(path, fault) || !m_reportError) return;
  QString text = QString::fromStdString(FormatMessageTextS(kMsgCannotCreate, path.toStdString()));
  if (!fault.empty()) text += QStringLiteral("\n\n") + QString::fromStdString(fault);
  m_reportError(text);
}

void CChildFrame::OnExportWorkbook(bool allRuns, bool saveAs) {
  std::string model;
  if (m_chooseModel) {
    const std::optional<QString> chosen = m_chooseModel();
    if (!chosen) return;
    model = chosen->toStdString();
  }
  std::string target;
  if (saveAs) {
    if (!m_chooseFile) return;
    target = m_chooseFile("Excel (*.xlsx)|*.xlsx||", "xlsx", std::string()).toStdString();
    if (target.empty()) return;
  } else {
    target = Exports().OpenedWorkbookPath(m_documentPath);
  }
  std::string fault;
  if (!Exports().ExportWorkbook(allRuns, saveAs, target, m_documentPath, fault, model)) {
    if (m_reportError) m_reportError(QString::fromStdString(fault));
    return;
  }
  // A workbook nobody opened lies in a folder of the program's: the user is told where.
  // A model the helper cannot read is told by its name (the helper then wrote nothing).
  WatchPrintHelper(*this, ProgramPrintHelper(), [this, target, model](int code) {
    if (code == 0 || !m_reportError) return;
    const QString workbook = QString::fromStdString(target);
    m_reportError(
        code == kHelperNotOpened
            ? QString::fromStdString(StringText(kMsgWorkbookNotOpened)).arg(workbook)
        : code == kHelperModelNotReadable
            ? QString::fromStdString(StringText(kMsgModelNotReadable))
                  .arg(QString::fromStdString(model))
            : QString::fromStdString(StringText(kMsgWorkbookNotWritten)).arg(workbook).arg(code));
  });
}

std::string CChildFrame::SuggestedPictureName(const std::string& extension) const {
  const CDorneDoc* document = m_view->Document();
  if (m_documentPath.empty() || document == nullptr) return {};
  const CRun* run = document->GetCurrentRun();
  const std::string part = document->GetBomPage() == 0 || run == nullptr
                               ? StringText(kMsgTotalsPage)
                               : run->GetPropText("Name");
  return ViewPictureName(m_documentPath, part, document->GetViewPreset(), extension);
}
