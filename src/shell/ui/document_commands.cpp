#include "shell/ui/document_commands.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/dorne_app.h"
#include "app/recent_file_list.h"
#include "app/ui/command_ids.h"
#include "shell/ui/layout_documents.h"
#include "shell/ui/main_frame.h"
#include "app/ui/message_box.h"
#include "app/ui/shell_dialogs.h"

namespace {

constexpr int kRecentCount = static_cast<int>(CRecentFileList::kCapacity);

bool IsRecentCommand(int commandId) {
  return commandId >= kIdFileMruFirst && commandId < kIdFileMruFirst + kRecentCount;
}

}  // namespace

CDocumentCommands::CDocumentCommands(CMainFrame& frame) : m_frame(frame) {}

QMdiSubWindow* CDocumentCommands::OpenDocumentFile(const QString& path) {
  QString copy = path;
  return m_frame.OpenAnyFile(copy);
}

QString CDocumentCommands::DefaultModelPath() const {
  QString path =
      QString::fromStdString(m_frame.Services().app->ProgramFolder()) + QStringLiteral("model.run");
  return QFileInfo::exists(path) ? path : QString();
}

void CDocumentCommands::NewFromModel(bool ask) {
  const CFrameServices& services = m_frame.Services();
  QMdiSubWindow* previous = m_frame.MdiArea()->currentSubWindow();
  QString modelPath = DefaultModelPath();
  if (ask) {
    // Cancel means no new project at all, as in any other dialog.
    const std::optional<QString> chosen = services.dialogs->ChooseModel(&m_frame, modelPath);
    if (!chosen) return;
    modelPath = *chosen;
  }
  QMdiSubWindow* document = services.layoutDocuments->NewDocument(*m_frame.MdiArea());
  if (!document) return;
  if (document != previous && !modelPath.isEmpty()) SeedFromModel(document, modelPath);
  services.layoutDocuments->SetModified(document, false);
}

void CDocumentCommands::SeedFromModel(QMdiSubWindow* document, const QString& modelPath) {
  const CFrameServices& services = m_frame.Services();
  CLayoutDocuments& documents = *services.layoutDocuments;
  qsizetype before = documents.Documents().size();
  QMdiSubWindow* model = OpenDocumentFile(modelPath);
  qsizetype after = documents.Documents().size();
  if (!model || model == document) return;
  documents.CopyFromModel(document, model);
  if (after > before) {  // opened just for this: closed again and kept out of the recent files
    documents.SetModified(model, false);
    model->close();
    services.recentFiles->Remove(0);
    if (!services.recentFiles->WriteTo(services.app->Profile()))
      SettingsNotSavedMessage(services.app->Profile(), &m_frame);
    m_frame.RefreshRecentFiles();
  }
  // The new document, not whichever window the model leaves behind, is the active one.
  m_frame.MdiArea()->setActiveSubWindow(document);
}

void CDocumentCommands::OnOpenRecentFile(int commandId) {
  CRecentFileList& recent = *m_frame.Services().recentFiles;
  std::size_t index = static_cast<std::size_t>(commandId - kIdFileMruFirst);
  QString path = QString::fromStdString(recent.Entry(index));
  if (path.isEmpty()) return;
  std::string listed = path.toStdString();
  if (m_frame.OpenAnyFile(path) || path.isEmpty()) return;
  // The file could not be opened: its entry goes (found again, the list may have moved).
  const std::vector<std::string>& entries = recent.Entries();
  for (std::size_t at = 0; at < entries.size(); ++at) {
    if (entries[at] == listed) {
      recent.Remove(at);
      break;
    }
  }
  if (!recent.WriteTo(m_frame.Services().app->Profile()))
    SettingsNotSavedMessage(m_frame.Services().app->Profile(), &m_frame);
  m_frame.RefreshRecentFiles();
}

bool CDocumentCommands::UpdateCommand(int commandId, CCommandState& state) {
  if (IsRecentCommand(commandId)) {
    std::size_t index = static_cast<std::size_t>(commandId - kIdFileMruFirst);
    state.enabled = index < m_frame.Services().recentFiles->Entries().size();
    return true;
  }
  switch (commandId) {
    case kIdFileNew:
    case kIdFileOpen:
    case kIdFilePrintSetup:
    case kIdAppAbout: state.enabled = !m_frame.Services().app->Busy(); return true;
    default: return false;
  }
}

bool CDocumentCommands::OnCommand(int commandId) {
  if (IsRecentCommand(commandId)) {
    OnOpenRecentFile(commandId);
    return true;
  }
  const CFrameServices& services = m_frame.Services();
  switch (commandId) {
    case kIdFileNew: m_frame.ChooseStartMode(); return true;
    case kIdFileOpen: {
      QString path;
      m_frame.OpenAnyFile(path);
      return true;
    }
    case kIdFilePrintSetup: services.dialogs->PrintSetup(&m_frame); return true;
    case kIdAppAbout: services.dialogs->ShowAbout(&m_frame); return true;
    default: return false;
  }
}
