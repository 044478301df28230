#include "shell/ui/layout_doc_window.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <iterator>

#include "app/dorne_app.h"
#include "app/frame_rules.h"
#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/interface_locale.h"
#include "app/ui/model_workbook_choice.h"
#include "app/ui/command_ids.h"
#include "app/ui/command_texts.h"
#include "shell/ui/frame_status_bar.h"
#include "model/ui/project_info_dlg.h"
#include "app/ui/prompt_for_text.h"
#include "app/ui/save_modified.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "model/document/doc_command_rules.h"
#include "model/document/dorne_doc.h"
#include "model/element/element_selection.h"
#include "model/props/prop_window_notifier.h"
#include "model/undo/undo_manager.h"
#include "view/ui/child_frame.h"

#include <QApplication>
#include <QDate>
#include <QLocale>
#include <QVBoxLayout>

namespace {

constexpr int kMsgDocumentTemplate = 18;
constexpr int kMsgAllFiles = 8003;
constexpr int kMsgSaveFailed = 8020;
constexpr int kMsgUndoStepUnreadable = 23231;
// Why the tap-off tool is grey: it places units on a run whose parts are built.
constexpr int kMsgTapOffNeedsParts = 62381;
constexpr int kMsgExport3DNeedsParts = 62383;
// How often an idle window looks whether the next undo's step can be read ahead, or the
// next edit's snapshot made ahead.
constexpr int kReadAheadMs = 300;

// The commands the document decides and runs.
constexpr int kDocumentCommands[] = {
    kIdFileClose,        kIdFileSave,          kIdFileSaveAs, kIdProjectInfo, kIdDeleteRun,
    kIdRotateRunForward, kIdRotateRunBackward, kIdRunOption,  kIdEditUndo,    kIdEditRedo,
    kIdRebuildParts,     kIdElementProperties, kIdRunPages,   kIdRebuildBom};

// A command's menu text as undo names a step with it: no '&' marks, no shortcut.
std::string StepName(int command) {
  QString text = CommandText(command);
  text = text.left(text.indexOf(QLatin1Char('\t')) < 0 ? text.size()
                                                       : text.indexOf(QLatin1Char('\t')));
  return text.remove(QLatin1Char('&')).toStdString();
}

QString Today() { return InterfaceToday(); }

COpenFileFilter LayoutFilter() {
  std::string run = TemplateDescription(LookupText(kMsgDocumentTemplate)) + "|*.run|";
  return {run + StringText(kMsgAllFiles) + "|*.*||", "run"};
}

}  // namespace

CLayoutDocWindow::CLayoutDocWindow(const CContext& context, CDorneDoc& document,
                                   const QString& path, const QString& title)
    : m_context(context), m_document(&document), m_path(path), m_title(title) {
  SetTitle(title);
  setObjectName(QStringLiteral("layout_document"));
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, Qt::white);
  setPalette(colours);
  setMinimumSize(320, 240);
  m_document->AddObserver(this);
  m_document->SetPrompter(this);
  BuildFrame();
  // Idle moments read the step the next undo needs, so that the undo only swaps it in,
  // then make the next edit's snapshot, one piece of work a tick; never while a mouse
  // button is down (a drag goes on).
  auto* readAhead = new QTimer(this);
  readAhead->setObjectName(QStringLiteral("undo_read_ahead"));
  readAhead->setInterval(kReadAheadMs);
  connect(readAhead, &QTimer::timeout, this, [this] {
    if (m_document == nullptr || QApplication::mouseButtons() != Qt::NoButton) return;
    CUndoManager& undo = m_document->GetUndo();
    if (undo.PrepareUndo() == 0) undo.PrepareSnapshot();
  });
  readAhead->start();
  // Right after an edit's repaint (a zero timer waits for the paint events posted before
  // it), the worker is given the step an undo would restore, so that an undo soon after
  // only swaps its design in; then the next edit's snapshot bytes are made, so that an
  // edit soon after takes them instead of writing the whole design on the spot.
  m_snapshotSoon = new QTimer(this);
  m_snapshotSoon->setSingleShot(true);
  m_snapshotSoon->setInterval(0);
  connect(m_snapshotSoon, &QTimer::timeout, this, &CLayoutDocWindow::AfterEditRepaint);
}

void CLayoutDocWindow::AfterEditRepaint() {
  if (m_document == nullptr || QApplication::mouseButtons() != Qt::NoButton) return;
  m_document->GetUndo().AfterEditShown();
}

void CLayoutDocWindow::BuildFrame() {
  CDorneView::CContext viewContext;
  if (m_context.app != nullptr) {
    viewContext.settings = &m_context.app->Settings();
    viewContext.profile = &m_context.app->Profile();
  }
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  m_frame = new CChildFrame(*m_document, viewContext, this);
  layout->addWidget(m_frame);
  setFocusProxy(m_frame);
  m_frame->SetFileChooser([this](const std::string& filter, const std::string& extension,
                                 const std::string& suggested) {
    const QString base = m_path.isEmpty() ? ProjectsFolder() + m_title
                                          : m_path.left(m_path.lastIndexOf(QLatin1Char('.')));
    QString proposed = QString::fromStdString(suggested);
    if (suggested.empty()) proposed = base + QLatin1Char('.') + QString::fromStdString(extension);
    else if (suggested.front() == '_') proposed = base + proposed;
    return m_context.dialogs->ChooseFileToSave(this, proposed, COpenFileFilter{filter, extension});
  });
  m_frame->SetDocumentPath(m_path.toStdString());
  m_frame->SetErrorReporter([this](const QString& text) {
    m_context.dialogs->Message(this, text, kMbOk | kMbIconExclamation);
  });
  m_frame->SetInformer([this](const QString& text) {
    m_context.dialogs->Message(this, text, kMbOk | kMbIconInformation);
  });
  m_frame->SetModelChooser([this]() -> std::optional<QString> {
    const std::optional<std::string> model = ChooseModelWorkbook(
        *m_context.dialogs, this,
        m_context.app != nullptr ? m_context.app->ProgramFolder() : std::string());
    if (!model) return std::nullopt;
    return QString::fromStdString(*model);
  });
  m_frame->SetQuestionAsker([this](const QString& text) {
    return m_context.dialogs->Message(this, text, kMbOkCancel | kMbIconInformation) == kIdOk;
  });
  // The tool's prompt goes to the status line of the program's window.
  connect(m_frame, &CChildFrame::PromptChanged, this, [this](int message) {
    if (auto* frame = qobject_cast<QMainWindow*>(window()))
      frame->statusBar()->showMessage(PlainMessageText(message));
  });
  connect(m_frame->View(), &CDorneView::StatusTextRequested, this, [this](const QString& text) {
    if (auto* frame = qobject_cast<QMainWindow*>(window())) frame->statusBar()->showMessage(text);
  });
  connect(m_frame->View(), &CDorneView::ProjectInfoRequested, this,
          &CLayoutDocWindow::ShowProjectInfo);
  connect(m_frame->View(), &CDorneView::DistanceChanged, this, [this](const QString& text) {
    if (auto* frame = qobject_cast<QMainWindow*>(window()))
      if (auto* bar = qobject_cast<CFrameStatusBar*>(frame->statusBar()))
        bar->SetPaneText(kPaneDistance, text);
  });
  m_frame->View()->SetTextAsker(
      [this](const QString& prompt, const QString& text) -> std::optional<QString> {
        QString answer = text;
        if (PromptForText(answer, prompt, QString(), this) != kIdOk) return std::nullopt;
        return answer;
      });
}

CLayoutDocWindow::~CLayoutDocWindow() { Detach(); }

void CLayoutDocWindow::Detach() {
  if (m_document != nullptr) {
    m_document->RemoveObserver(this);
    m_document->SetPrompter(nullptr);
  }
  if (m_frame != nullptr) m_frame->Detach();
  m_document = nullptr;
}

QString CLayoutDocWindow::ProjectsFolder() const {
  return m_context.app != nullptr ? QString::fromStdString(m_context.app->ProjectsFolder())
                                  : QString();
}

bool CLayoutDocWindow::AskToSave() {
  if (m_document == nullptr) return true;
  CSaveOffer offer{m_title, ProjectsFolder(), LayoutFilter()};
  return SaveModifiedDocument(*this, offer, *m_context.dialogs, this);
}

bool CLayoutDocWindow::IsModified() const {
  return m_document != nullptr && m_document->IsModified();
}

void CLayoutDocWindow::SetModifiedFlag(bool modified) {
  if (m_document != nullptr) m_document->SetModifiedFlag(modified);
}

bool CLayoutDocWindow::SaveToFile(const std::string& path, std::string& error) {
  if (m_document == nullptr) return false;
  const CDocFileResult result = m_document->OnSaveDocument(path);
  if (!result.ok) {
    // Whatever the flag said, no stored copy holds the document now: closing must ask.
    m_document->SetModified();
    error = result.text;
    return false;
  }
  m_path = QString::fromStdString(path);
  m_frame->SetDocumentPath(path);
  SetTitle(QFileInfo(m_path).fileName());
  emit Saved(m_path);
  return true;
}

void CLayoutDocWindow::SetTitle(const QString& title) {
  m_title = title;
  ShowTitle();
}

void CLayoutDocWindow::ShowTitle() {
  // A "*" after the name while the document has unsaved changes; the frame's title (of a
  // maximised window) repeats it.
  setWindowTitle(IsModified() ? m_title + QLatin1Char('*') : m_title);
}

void CLayoutDocWindow::PrefixJobNumber() {
  if (!m_path.isEmpty()) return;
  const QString prefix =
      QString::fromStdString(m_document->GetDocProperty("NumAff")) + QLatin1Char('_');
  // The proposed file name starts with the job number.
  if (prefix.size() > 1 && prefix != m_title) SetTitle(prefix + m_title);
}

void CLayoutDocWindow::OnFileSave() {
  CDocProps& props = m_document->GetProps();
  const std::string oldDate = props.GetPropValue("ModificationDate");
  const QString oldTitle = m_title;
  props.SetPropValue("ModificationDate", Today().toStdString());
  PrefixJobNumber();
  ClosePropDialog();
  CSaveOffer offer{m_title, ProjectsFolder(), LayoutFilter()};
  if (SaveDocument(*this, offer, *m_context.dialogs, this)) return;
  props.SetPropValue("ModificationDate", oldDate);
  SetTitle(oldTitle);
}

void CLayoutDocWindow::OnFileSaveAs() {
  const QString oldTitle = m_title;
  PrefixJobNumber();
  ClosePropDialog();
  const QString suggested =
      m_path.isEmpty() ? ProjectsFolder() + m_title + QStringLiteral(".run") : m_path;
  const QString chosen = m_context.dialogs->ChooseFileToSave(this, suggested, LayoutFilter());
  std::string error;
  // A copy under another name is the same design: it keeps the date of its last change,
  // which only Save moves on. A design never saved gets its first date.
  CDocProps& props = m_document->GetProps();
  const bool undated = props.GetPropValue("ModificationDate").empty();
  if (!chosen.isEmpty() && undated) props.SetPropValue("ModificationDate", Today().toStdString());
  if (!chosen.isEmpty() && SaveToFile(QFileInfo(chosen).absoluteFilePath().toStdString(), error))
    return;
  if (undated) props.SetPropValue("ModificationDate", "");
  SetTitle(oldTitle);
  if (chosen.isEmpty()) return;
  m_context.dialogs->Message(
      this,
      QString::fromStdString(FormatMessageTextSS(kMsgSaveFailed, chosen.toStdString(), error)),
      kMbOk | kMbIconError);
}

void CLayoutDocWindow::ShowProjectInfo() {
  if (m_document == nullptr) return;
  CProjectInfoDlg dialog(*m_context.dialogs, this);
  dialog.SetDocument(m_document, m_context.units);
  dialog.SetProps(&m_document->GetProps(), ProjectsFolder());
  if (dialog.exec() == QDialog::Accepted) dialog.Apply();
}

bool CLayoutDocWindow::UpdateUndoCommand(int commandId, CCommandState& state) {
  const bool redo = commandId == kIdEditRedo;
  const auto [possible, text] =
      m_document->GetUndo().GetUndoMenuText(redo, StepName(commandId), StepName);
  state.enabled = possible;
  if (!text.empty()) state.text = QString::fromStdString(text);
  return true;
}

bool CLayoutDocWindow::UpdateCommand(int commandId, CCommandState& state) {
  if (std::find(std::begin(kDocumentCommands), std::end(kDocumentCommands), commandId) ==
      std::end(kDocumentCommands)) {
    const bool handled = m_frame->UpdateCommand(commandId, state);
    if (commandId == kIdToolTapOff && !state.enabled)
      state.hint = PlainMessageText(kMsgTapOffNeedsParts);
    if (commandId == kIdExport3D && !state.enabled)
      state.hint = PlainMessageText(kMsgExport3DNeedsParts);
    return handled;
  }
  if (m_document == nullptr) {
    state.enabled = false;
    return true;
  }
  if (commandId == kIdEditUndo || commandId == kIdEditRedo)
    return UpdateUndoCommand(commandId, state);
  if (commandId == kIdFileClose) return true;
  if (commandId == kIdElementProperties) {
    state.enabled = m_document->CanShowCurrentElementProps();
    return true;
  }
  const CDocCommandState decided = GetDocCommandState(*m_document, commandId, CDocCommandContext());
  state.enabled = decided.enabled;
  if (commandId == kIdRunOption) state.checked = decided.checked;
  return true;
}

void CLayoutDocWindow::RestoreStep(bool redo) {
  CUndoManager& undo = m_document->GetUndo();
  if (redo ? undo.Redo() : undo.Undo()) {
    // The design swapped out is freed once the step has been drawn.
    QTimer::singleShot(0, this, [this] {
      if (m_document != nullptr) m_document->GetUndo().ReleaseDiscarded();
    });
    return;
  }
  if (undo.LastRestoreFailed()) {
    m_context.dialogs->Message(this, StringQText(kMsgUndoStepUnreadable),
                               kMbOk | kMbIconExclamation);
  }
}

bool CLayoutDocWindow::OnCommand(int commandId) {
  if (m_document == nullptr) return false;
  switch (commandId) {
    case kIdFileClose:
      if (auto* container = qobject_cast<QMdiSubWindow*>(parentWidget())) container->close();
      return true;
    case kIdFileSave: OnFileSave(); return true;
    case kIdFileSaveAs: OnFileSaveAs(); return true;
    case kIdProjectInfo: ShowProjectInfo(); return true;
    case kIdDeleteRun: m_document->DeleteCurrentRun(); return true;
    case kIdRotateRunForward: m_document->RotateRunForward(); return true;
    case kIdRotateRunBackward: m_document->RotateRunBackward(); return true;
    case kIdRunOption: m_document->ToggleRunOption(); return true;
    case kIdEditUndo: RestoreStep(false); return true;
    case kIdEditRedo: RestoreStep(true); return true;
    case kIdElementProperties: m_document->ShowCurrentElementProps(); return true;
    case kIdRunPages: m_document->ShowRunPages(); return true;
    default: return m_frame->OnCommand(commandId);
  }
}

bool CLayoutDocWindow::AskOkCancel(int message, const std::string& parameter) {
  const QString text = QString::fromStdString(FormatMessageTextS(message, parameter));
  return m_context.dialogs->Message(this, text, kMbOkCancel | kMbIconQuestion) == kIdOk;
}

void CLayoutDocWindow::Beep() { QApplication::beep(); }

void CLayoutDocWindow::OnDocNotice(EDocNotice notice, CRun*) {
  if (m_snapshotSoon != nullptr && m_document != nullptr &&
      m_document->GetUndo().WantsSnapshotBytes())
    m_snapshotSoon->start();
  if (notice == EDocNotice::kModifiedChanged) ShowTitle();
  update();
}

void CLayoutDocWindow::closeEvent(QCloseEvent* event) {
  if (!m_asked && !AskToSave()) {
    event->ignore();
    return;
  }
  event->accept();
  if (!m_asked) {
    m_asked = true;
    emit Closing();
  }
}
