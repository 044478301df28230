#include "app/ui/empty_layout_documents.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSaveFile>

#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/command_ids.h"
#include "app/ui/file_checks.h"
#include "app/ui/save_modified.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgDocumentTemplate = 18;
constexpr int kMsgAllFiles = 8003;
constexpr int kMsgUntitled = 8004;
constexpr int kMsgBadFormat = 8018;
constexpr int kMsgNothingToWrite = 8022;
constexpr int kMsgCannotWrite = 8023;
constexpr int kLatestLayoutVersion = 600;

// The bytes of a layout document, whose stream starts with its version word
// (little-endian); none when the file cannot be read or has no such word.
std::optional<QByteArray> ReadLayoutFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray bytes = file.readAll();
  if (bytes.size() < 2) return std::nullopt;
  int version = static_cast<unsigned char>(bytes[0]) | (static_cast<unsigned char>(bytes[1]) << 8);
  if (version < 1 || version > kLatestLayoutVersion) return std::nullopt;
  return bytes;
}

COpenFileFilter LayoutSaveFilter() {
  std::string run = TemplateDescription(LookupText(kMsgDocumentTemplate)) + "|*.run|";
  return {run + StringText(kMsgAllFiles) + "|*.*||", "run"};
}

}  // namespace

CEmptyLayoutWindow::CEmptyLayoutWindow(CShellDialogs& dialogs, const QString& path, const QString& title,
                                       std::optional<QByteArray> content, QString folder)
    : m_dialogs(dialogs), m_path(path), m_content(std::move(content)), m_folder(std::move(folder)) {
  setWindowTitle(title);
  setObjectName(QStringLiteral("layout_document"));
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, Qt::white);
  setPalette(colours);
  setMinimumSize(320, 240);
}

bool CEmptyLayoutWindow::AskToSave() {
  CSaveOffer offer{windowTitle(), m_folder, LayoutSaveFilter()};
  return SaveModifiedDocument(*this, offer, m_dialogs, this);
}

bool CEmptyLayoutWindow::SaveToFile(const std::string& path, std::string& error) {
  if (!m_content) {
    error = StringText(kMsgNothingToWrite);
    return false;
  }
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly) || file.write(*m_content) != m_content->size() || !file.commit()) {
    error = StringText(kMsgCannotWrite);
    return false;
  }
  m_path = QString::fromStdString(path);
  m_modified = false;
  setWindowTitle(QFileInfo(m_path).fileName());
  return true;
}

bool CEmptyLayoutWindow::UpdateCommand(int commandId, CCommandState& state) {
  if (commandId != kIdFileClose) return false;
  state.enabled = true;
  return true;
}

bool CEmptyLayoutWindow::OnCommand(int commandId) {
  if (commandId != kIdFileClose) return false;
  if (auto* container = qobject_cast<QMdiSubWindow*>(parentWidget())) container->close();
  return true;
}

void CEmptyLayoutWindow::closeEvent(QCloseEvent* event) {
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

CEmptyLayoutDocuments::CEmptyLayoutDocuments(CShellDialogs& dialogs, std::function<QString()> projectsFolder,
                                             QObject* parent)
    : CLayoutDocuments(parent), m_dialogs(dialogs), m_projectsFolder(std::move(projectsFolder)) {}

CEmptyLayoutWindow* CEmptyLayoutDocuments::WindowOf(QMdiSubWindow* document) {
  return document ? qobject_cast<CEmptyLayoutWindow*>(document->widget()) : nullptr;
}

QMdiSubWindow* CEmptyLayoutDocuments::AddWindow(QMdiArea& area, const QString& path, const QString& title,
                                                std::optional<QByteArray> content) {
  QString folder = m_projectsFolder ? m_projectsFolder() : QString();
  auto* window = new CEmptyLayoutWindow(m_dialogs, path, title, std::move(content), folder);
  QMdiSubWindow* document = area.addSubWindow(window);
  document->setAttribute(Qt::WA_DeleteOnClose);
  m_documents.append(document);
  connect(window, &CEmptyLayoutWindow::Closing, this, [this, document] {
    m_documents.removeAll(document);
    emit DocumentClosed(document);
  });
  // The frame owns its sub-windows and may go first: never keep a pointer past them.
  connect(document, &QObject::destroyed, this, [this, document] { m_documents.removeAll(document); });
  document->show();
  return document;
}

QMdiSubWindow* CEmptyLayoutDocuments::NewDocument(QMdiArea& area) {
  QString title = StringQText(kMsgUntitled) + QString::number(++m_untitledCount);
  return AddWindow(area, QString(), title, std::nullopt);
}

QMdiSubWindow* CEmptyLayoutDocuments::OpenDocument(QMdiArea& area, const QString& path) {
  QString absolute = QFileInfo(path).absoluteFilePath();
  for (QMdiSubWindow* document : m_documents) {
    if (WindowOf(document)->Path() == absolute) {
      area.setActiveSubWindow(document);
      return document;
    }
  }
  QString problem = UnreadableFileMessage(path);
  std::optional<QByteArray> content;
  if (problem.isEmpty() && !(content = ReadLayoutFile(path)))
    problem = path + QStringLiteral("\n\n") + StringQText(kMsgBadFormat);
  if (!problem.isEmpty()) {
    m_dialogs.Message(area.window(), problem, kMbOk | kMbIconError);
    return nullptr;
  }
  return AddWindow(area, absolute, QFileInfo(path).fileName(), std::move(content));
}

QList<QMdiSubWindow*> CEmptyLayoutDocuments::Documents() const { return m_documents; }

bool CEmptyLayoutDocuments::IsModified(QMdiSubWindow* document) const {
  CEmptyLayoutWindow* window = WindowOf(document);
  return window && window->IsModified();
}

void CEmptyLayoutDocuments::SetModified(QMdiSubWindow* document, bool modified) {
  if (CEmptyLayoutWindow* window = WindowOf(document)) window->SetModifiedFlag(modified);
}

void CEmptyLayoutDocuments::CopyFromModel(QMdiSubWindow*, QMdiSubWindow*) {}

bool CEmptyLayoutDocuments::SaveAllModified() {
  for (QMdiSubWindow* document : m_documents)
    if (!WindowOf(document)->AskToSave()) return false;
  return true;
}

void CEmptyLayoutDocuments::CloseAllDocuments() {
  for (QMdiSubWindow* document : QList<QMdiSubWindow*>(m_documents)) {
    WindowOf(document)->SetModifiedFlag(false);
    document->close();
  }
}
