#include "shell/ui/options_command.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "shell/ui/catalogue_menu.h"
#include "app/ui/command_ids.h"
#include "app/ui/costing_window.h"
#include "model/document/dorne_doc.h"
#include "shell/ui/layout_doc_window.h"
#include "shell/ui/layout_documents.h"
#include "shell/ui/main_frame.h"

COptionsCommand::COptionsCommand(CMainFrame& frame, std::function<COptionsContext()> context)
    : QObject(&frame), m_frame(frame), m_context(std::move(context)) {}

int COptionsCommand::Kind() const {
  switch (m_frame.Mode()) {
    case EFrameMode::Linear: return kOptionsFromLinear;
    case EFrameMode::Reference: return kOptionsFromReference;
    default: return kOptionsFromLayout;
  }
}

bool COptionsCommand::UpdateCommand(int commandId, CCommandState& state) {
  if (commandId != kIdOptions) return false;
  state.enabled = true;
  return true;
}

bool COptionsCommand::OnCommand(int commandId) {
  if (commandId != kIdOptions) return false;
  COptionsContext context = m_context();
  if (!context.parent) context.parent = &m_frame;
  m_document = Kind() == kOptionsFromLayout ? m_frame.MdiArea()->currentSubWindow() : nullptr;
  m_lastResult = RunOptionsSheet(m_document ? this : nullptr, Kind(), context);
  m_document = nullptr;
  CCostingWindow* costing = Kind() == kOptionsFromLinear      ? m_frame.LinearWindow()
                            : Kind() == kOptionsFromReference ? m_frame.ReferenceWindow()
                                                              : nullptr;
  if (costing) costing->OptionsChanged(m_lastResult);
  return true;
}

CDorneDoc* COptionsCommand::Document() const {
  const auto* layout =
      m_document ? qobject_cast<const CLayoutDocWindow*>(m_document->widget()) : nullptr;
  return layout != nullptr ? layout->Document() : nullptr;
}

void COptionsCommand::RebuildScene() {
  if (CDorneDoc* document = Document()) document->RebuildScene();
}

void COptionsCommand::RefreshAllRuns() {
  if (CDorneDoc* document = Document()) document->RefreshAllRuns();
}

void COptionsCommand::UpdateAllViews() {
  if (CDorneDoc* document = Document()) document->UpdateAllViews();
  else if (m_document && m_document->widget()) m_document->widget()->update();
}

void COptionsCommand::SetModifiedFlag(bool modified) {
  CLayoutDocuments* documents = m_frame.Services().layoutDocuments;
  if (m_document && documents) documents->SetModified(m_document, modified);
}

void COptionsCommand::BuildCatalogueMenu() {
  if (CCatalogueMenu* menu = m_frame.Services().catalogueMenu) menu->BuildCatalogueMenu();
}
