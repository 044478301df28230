#include "shell/ui/run_documents.h"

#include <QDate>
#include <QFileInfo>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/dorne_app.h"
#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/interface_locale.h"
#include "shell/ui/file_checks.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/window_translation.h"
#include "model/document/dorne_doc.h"

namespace {

constexpr int kMsgUntitled = 8004;
constexpr int kMsgBadFormat = 8018;

}  // namespace

CRunDocuments::CRunDocuments(CShellDialogs& dialogs, CDorneApp& app,
                             const std::vector<CUnitEntry>& units, QObject* parent)
    : CLayoutDocuments(parent), m_dialogs(dialogs), m_app(app), m_units(units) {}

CRunDocuments::~CRunDocuments() {
  // Windows that outlive the list must not reach a document that is gone.
  for (CEntry& entry : m_entries) {
    if (entry.window) WindowOf(entry.window)->Detach();
  }
}

std::unique_ptr<CDorneDoc> CRunDocuments::MakeDocument() const {
  CDocEnvironment environment;
  environment.profile = &m_app.Profile();
  environment.userName = m_app.Settings().AuthorName();
  environment.units = &m_units;
  environment.openDocuments = static_cast<int>(m_entries.size());
  environment.settingsFolder = m_app.SettingsFolder();
  return std::make_unique<CDorneDoc>(std::move(environment));
}

CLayoutDocWindow* CRunDocuments::WindowOf(QMdiSubWindow* window) const {
  return window ? qobject_cast<CLayoutDocWindow*>(window->widget()) : nullptr;
}

CDorneDoc* CRunDocuments::DocumentOf(QMdiSubWindow* window) const {
  for (const CEntry& entry : m_entries) {
    if (window != nullptr && entry.window == window) return entry.document.get();
  }
  return nullptr;
}

QMdiSubWindow* CRunDocuments::AddWindow(QMdiArea& area, std::unique_ptr<CDorneDoc> document,
                                        const QString& path, const QString& title) {
  CLayoutDocWindow::CContext context{&m_dialogs, &m_app, &m_units};
  CDorneDoc* held = document.get();
  auto* widget = new CLayoutDocWindow(context, *held, path, title);
  QMdiSubWindow* window = area.addSubWindow(widget);
  window->setAttribute(Qt::WA_DeleteOnClose);
  m_entries.push_back({std::move(document), window});
  connect(widget, &CLayoutDocWindow::Saved, this, &CLayoutDocuments::DocumentSaved);
  connect(widget, &CLayoutDocWindow::Closing, this, [this, widget, window, held] {
    widget->Detach();
    Forget(held);
    emit DocumentClosed(window);
  });
  window->show();
  return window;
}

void CRunDocuments::Forget(CDorneDoc* document) {
  for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
    if (it->document.get() != document) continue;
    m_entries.erase(it);
    return;
  }
}

QMdiSubWindow* CRunDocuments::NewDocument(QMdiArea& area) {
  std::unique_ptr<CDorneDoc> document = MakeDocument();
  document->OnNewDocument(InterfaceToday().toStdString());
  m_app.SetIdlePrompt(true);
  QString title = StringQText(kMsgUntitled) + QString::number(++m_untitledCount);
  return AddWindow(area, std::move(document), QString(), title);
}

void CRunDocuments::MakeFirstDocument(QWidget* parent, const QString& modelPath) {
  std::unique_ptr<CDorneDoc> document = MakeDocument();
  document->OnNewDocument(InterfaceToday().toStdString());
  m_app.SetIdlePrompt(true);
  ++m_untitledCount;
  if (modelPath.isEmpty()) return;
  QString problem;
  const std::unique_ptr<CDorneDoc> model = ReadDocument(modelPath, problem);
  if (!model) {
    m_dialogs.Message(parent, problem, kMbOk | kMbIconError);
    return;
  }
  document->CopyFromModel(*model);
}

std::unique_ptr<CDorneDoc> CRunDocuments::ReadDocument(const QString& path,
                                                       QString& problem) const {
  problem = UnreadableFileMessage(path);
  if (!problem.isEmpty()) return nullptr;
  std::unique_ptr<CDorneDoc> document = MakeDocument();
  const CDocFileResult result =
      document->OnOpenDocument(QFileInfo(path).absoluteFilePath().toStdString());
  if (result.ok) return document;
  // Version errors of models and snapshots read as damaged files.
  problem = result.show
                ? path + QStringLiteral("\n\n") + QString::fromStdString(result.text)
                : QString::fromStdString(FileProblemText(kMsgBadFormat, path.toStdString()));
  return nullptr;
}

QString CRunDocuments::FileProblem(const QString& path) const {
  QString problem;
  ReadDocument(path, problem);
  return problem;
}

QMdiSubWindow* CRunDocuments::OpenDocument(QMdiArea& area, const QString& path) {
  QString absolute = QFileInfo(path).absoluteFilePath();
  for (const CEntry& entry : m_entries) {
    CLayoutDocWindow* window = WindowOf(entry.window);
    if (window != nullptr && window->Path() == absolute) {
      area.setActiveSubWindow(entry.window);
      return entry.window;
    }
  }
  QString problem;
  std::unique_ptr<CDorneDoc> document = ReadDocument(path, problem);
  if (!document) {
    m_dialogs.Message(area.window(), problem, kMbOk | kMbIconError);
    return nullptr;
  }
  m_app.SetIdlePrompt(true);
  return AddWindow(area, std::move(document), absolute, QFileInfo(path).fileName());
}

QList<QMdiSubWindow*> CRunDocuments::Documents() const {
  QList<QMdiSubWindow*> windows;
  for (const CEntry& entry : m_entries) {
    if (entry.window) windows.append(entry.window);
  }
  return windows;
}

bool CRunDocuments::IsModified(QMdiSubWindow* window) const {
  const CDorneDoc* document = DocumentOf(window);
  return document != nullptr && document->IsModified();
}

void CRunDocuments::SetModified(QMdiSubWindow* window, bool modified) {
  if (CDorneDoc* document = DocumentOf(window)) document->SetModifiedFlag(modified);
}

void CRunDocuments::CopyFromModel(QMdiSubWindow* window, QMdiSubWindow* model) {
  CDorneDoc* document = DocumentOf(window);
  const CDorneDoc* source = DocumentOf(model);
  if (document != nullptr && source != nullptr && document != source)
    document->CopyFromModel(*source);
}

bool CRunDocuments::SaveAllModified() {
  for (QMdiSubWindow* window : Documents()) {
    if (!WindowOf(window)->AskToSave()) return false;
  }
  return true;
}

void CRunDocuments::CloseAllDocuments() {
  for (QMdiSubWindow* window : Documents()) {
    SetModified(window, false);
    window->close();
  }
}
