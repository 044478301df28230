#include "app/ui/empty_layout_documents.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/command_ids.h"
#include "app/ui/file_checks.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"

namespace {

constexpr int kMsgUntitled = 8004;
constexpr int kMsgSaveChanges = 8008;
constexpr int kMsgBadFormat = 8018;
constexpr int kLatestLayoutVersion = 600;

// The stream of a layout document starts with its version word, little-endian.
bool HasLayoutVersion(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  QByteArray head = file.read(2);
  if (head.size() < 2) return false;
  int version = static_cast<unsigned char>(head[0]) | (static_cast<unsigned char>(head[1]) << 8);
  return version >= 1 && version <= kLatestLayoutVersion;
}

}  // namespace

CEmptyLayoutWindow::CEmptyLayoutWindow(CShellDialogs& dialogs, const QString& path, const QString& title)
    : m_dialogs(dialogs), m_path(path) {
  setWindowTitle(title);
  setObjectName(QStringLiteral("layout_document"));
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, Qt::white);
  setPalette(colours);
  setMinimumSize(320, 240);
}

bool CEmptyLayoutWindow::AskToSave() {
  if (!m_modified) return true;
  QString text = QString::fromStdString(FormatMessageTextS(kMsgSaveChanges, windowTitle().toStdString()));
  int answer = m_dialogs.Message(this, text, kMbYesNoCancel | kMbIconExclamation);
  if (answer == kIdCancel) return false;
  m_modified = false;  // a placeholder holds nothing to save
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

CEmptyLayoutDocuments::CEmptyLayoutDocuments(CShellDialogs& dialogs, QObject* parent)
    : CLayoutDocuments(parent), m_dialogs(dialogs) {}

CEmptyLayoutWindow* CEmptyLayoutDocuments::WindowOf(QMdiSubWindow* document) {
  return document ? qobject_cast<CEmptyLayoutWindow*>(document->widget()) : nullptr;
}

QMdiSubWindow* CEmptyLayoutDocuments::AddWindow(QMdiArea& area, const QString& path, const QString& title) {
  auto* window = new CEmptyLayoutWindow(m_dialogs, path, title);
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
  return AddWindow(area, QString(), title);
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
  if (problem.isEmpty() && !HasLayoutVersion(path))
    problem = path + QStringLiteral("\n\n") + StringQText(kMsgBadFormat);
  if (!problem.isEmpty()) {
    m_dialogs.Message(area.window(), problem, kMbOk | kMbIconError);
    return nullptr;
  }
  return AddWindow(area, absolute, QFileInfo(path).fileName());
}

QList<QMdiSubWindow*> CEmptyLayoutDocuments::Documents() const { return m_documents; }

bool CEmptyLayoutDocuments::IsModified(QMdiSubWindow* document) const {
  CEmptyLayoutWindow* window = WindowOf(document);
  return window && window->IsModified();
}

void CEmptyLayoutDocuments::SetModified(QMdiSubWindow* document, bool modified) {
  if (CEmptyLayoutWindow* window = WindowOf(document)) window->SetModified(modified);
}

void CEmptyLayoutDocuments::CopyFromModel(QMdiSubWindow*, QMdiSubWindow*) {}

bool CEmptyLayoutDocuments::SaveAllModified() {
  for (QMdiSubWindow* document : m_documents)
    if (!WindowOf(document)->AskToSave()) return false;
  return true;
}

void CEmptyLayoutDocuments::CloseAllDocuments() {
  for (QMdiSubWindow* document : QList<QMdiSubWindow*>(m_documents)) {
    WindowOf(document)->SetModified(false);
    document->close();
  }
}
