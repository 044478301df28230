#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/dorne_app.h"
#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/recent_file_list.h"
#include "shell/ui/file_checks.h"
#include "shell/ui/layout_documents.h"
#include "shell/ui/main_frame.h"
#include "app/ui/message_box.h"
#include "app/ui/shell_dialogs.h"

// Every file open ends here: the open dialog, the recent files, the command line, a
// running copy's hand-over and the model of a new document.

namespace {

constexpr int kMsgDocumentTemplate = 18;
constexpr int kMsgAllFiles = 8003;
constexpr int kMsgRefFiles = 8170;
constexpr int kMsgLinFiles = 8151;

}  // namespace

QMdiSubWindow* CMainFrame::OpenAnyFile(QString& path) {
  if (path.isEmpty()) {
    COpenFileFilter filter = BuildOpenFileFilter(
        m_mode, m_availability, LookupText(kMsgDocumentTemplate), StringText(kMsgAllFiles),
        StringText(kMsgRefFiles), StringText(kMsgLinFiles));
    QString folder = QString::fromStdString(m_services.app->ProjectsFolder());
    QString chosen = m_services.dialogs->ChooseFileToOpen(this, folder, filter);
    if (chosen.isEmpty()) return nullptr;
    path = chosen;
  }
  EFileKind kind = ClassifyFileByExtension(path.toStdString());
  // A file that cannot be opened is refused before any open work is closed for it.
  if (QString problem = FileProblem(path, kind); !problem.isEmpty()) {
    m_services.dialogs->Message(this, problem, kMbOk | kMbIconError);
    return nullptr;
  }
  if ((m_mode == EFrameMode::Linear && !LeaveLinearMode()) ||
      (m_mode == EFrameMode::Reference && !LeaveRefMode())) {
    path.clear();
    return nullptr;
  }
  if (kind == EFileKind::Layout && !m_availability.noGraphical) {
    EnterGraphicalMode();
    QMdiSubWindow* document = m_services.layoutDocuments->OpenDocument(*m_mdiArea, path);
    if (document) AddRecentFile(path);
    FinishGraphicalOpen();
    return document;
  }
  if (m_mode == EFrameMode::Graphical) {
    if (!m_services.layoutDocuments->SaveAllModified()) {
      path.clear();
      return nullptr;
    }
    m_services.layoutDocuments->CloseAllDocuments();
  }
  bool opened = false;
  if (kind == EFileKind::Linear) opened = EnterLinearMode(path);
  if (kind == EFileKind::Reference) opened = EnterRefMode(path);
  if (opened) path.clear();
  return nullptr;
}

QString CMainFrame::FileProblem(const QString& path, EFileKind kind) const {
  // A layout document opened beside the others closes nothing: its own open tells why
  // it cannot be read, without reading it twice.
  const bool closesWork = m_mode == EFrameMode::Linear || m_mode == EFrameMode::Reference ||
                          (m_mode == EFrameMode::Graphical && kind != EFileKind::Layout);
  if (kind == EFileKind::Layout && !closesWork) return {};
  if (m_services.fileProblem) return m_services.fileProblem(path, kind);
  return UnreadableFileMessage(path);
}
