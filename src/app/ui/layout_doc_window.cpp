#include "app/ui/layout_doc_window.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMdiSubWindow>

#include "app/dorne_app.h"
#include "app/frame_rules.h"
#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/command_ids.h"
#include "app/ui/project_info_dlg.h"
#include "app/ui/save_modified.h"
#include "app/ui/shell_dialogs.h"
#include "model/dorne_doc.h"

namespace {

constexpr int kMsgDocumentTemplate = 18;
constexpr int kMsgAllFiles = 8003;
constexpr int kMsgSaveFailed = 8020;

COpenFileFilter LayoutFilter() {
  std::string run = TemplateDescription(LookupText(kMsgDocumentTemplate)) + "|*.run|";
  return {run + StringText(kMsgAllFiles) + "|*.*||", "run"};
}

}  // namespace

CLayoutDocWindow::CLayoutDocWindow(const CContext& context, CDorneDoc& document, const QString& path,
                                   const QString& title)
    : m_context(context), m_document(&document), m_path(path), m_title(title) {
  setWindowTitle(title);
  setObjectName(QStringLiteral("layout_document"));
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, Qt::white);
  setPalette(colours);
  setMinimumSize(320, 240);
  m_document->AddObserver(this);
}

CLayoutDocWindow::~CLayoutDocWindow() { Detach(); }

void CLayoutDocWindow::Detach() {
  if (m_document != nullptr) m_document->RemoveObserver(this);
  m_document = nullptr;
}

QString CLayoutDocWindow::ProjectsFolder() const {
  return m_context.app != nullptr ? QString::fromStdString(m_context.app->ProjectsFolder()) : QString();
}

bool CLayoutDocWindow::AskToSave() {
  if (m_document == nullptr) return true;
  CSaveOffer offer{m_title, ProjectsFolder(), LayoutFilter()};
  return SaveModifiedDocument(*this, offer, *m_context.dialogs, this);
}

bool CLayoutDocWindow::IsModified() const { return m_document != nullptr && m_document->IsModified(); }

void CLayoutDocWindow::SetModifiedFlag(bool modified) {
  if (m_document != nullptr) m_document->SetModifiedFlag(modified);
}

bool CLayoutDocWindow::SaveToFile(const std::string& path, std::string& error) {
  if (m_document == nullptr) return false;
  const CDocFileResult result = m_document->OnSaveDocument(path);
  if (!result.ok) {
    error = result.text;
    return false;
  }
  m_path = QString::fromStdString(path);
  m_title = QFileInfo(m_path).fileName();
  setWindowTitle(m_title);
  return true;
}

void CLayoutDocWindow::SaveAs() {
  const QString suggested = m_path.isEmpty() ? ProjectsFolder() + m_title + QStringLiteral(".run") : m_path;
  const QString chosen = m_context.dialogs->ChooseFileToSave(this, suggested, LayoutFilter());
  if (chosen.isEmpty()) return;
  std::string error;
  if (SaveToFile(QFileInfo(chosen).absoluteFilePath().toStdString(), error)) return;
  m_context.dialogs->Message(this, QString::fromStdString(FormatMessageTextSS(kMsgSaveFailed, chosen.toStdString(), error)),
                             kMbOk | kMbIconError);
}

void CLayoutDocWindow::ShowProjectInfo() {
  if (m_document == nullptr) return;
  CProjectInfoDlg dialog(*m_context.dialogs, this);
  dialog.SetDocument(m_document, m_context.units);
  dialog.SetProps(&m_document->GetProps(), ProjectsFolder());
  if (dialog.exec() == QDialog::Accepted) dialog.Apply();
}

bool CLayoutDocWindow::UpdateCommand(int commandId, CCommandState& state) {
  switch (commandId) {
    case kIdFileClose:
    case kIdFileSave:
    case kIdFileSaveAs:
    case kIdProjectInfo: state.enabled = m_document != nullptr; return true;
    default: return false;
  }
}

bool CLayoutDocWindow::OnCommand(int commandId) {
  switch (commandId) {
    case kIdFileClose:
      if (auto* container = qobject_cast<QMdiSubWindow*>(parentWidget())) container->close();
      return true;
    case kIdFileSave: {
      CSaveOffer offer{m_title, ProjectsFolder(), LayoutFilter()};
      SaveDocument(*this, offer, *m_context.dialogs, this);
      return true;
    }
    case kIdFileSaveAs: SaveAs(); return true;
    case kIdProjectInfo: ShowProjectInfo(); return true;
    default: return false;
  }
}

void CLayoutDocWindow::OnDocNotice(EDocNotice notice, CRun*) {
  if (notice == EDocNotice::kModifiedChanged) setWindowModified(IsModified());
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
