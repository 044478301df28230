#include "model/bom/bom_run_source.h"

#include <memory>

#include "model/bom/bom_grid.h"
#include "model/run/run.h"
#include "model/document/run_document.h"
#include "model/run/run_environment.h"

namespace {

constexpr int kCurrentVersion = 10000;

}  // namespace

CBOMGrid::CBOMGrid(CRun* run) : CBOMGrid() { SetSource(run); }

void CBOMGrid::SetSource(CRun* run) {
  if (run == nullptr) {
    SetSource(static_cast<CBOMSource*>(nullptr));
    return;
  }
  auto adapter = std::make_unique<CRunBOMSource>(*run);
  SetSource(adapter.get());
  m_ownedSource = std::move(adapter);
  m_run = run;
}

std::optional<std::string> CRunBOMSource::GetDevicePropByRef(std::string_view reference,
                                                             std::string_view field) const {
  return m_run.GetDevicePropByRef(reference, field);
}

void CRunBOMSource::GetDevicePropsByRef(std::string_view reference, CBOMKeptRecord& kept,
                                        std::span<const std::string_view> fields,
                                        std::span<std::optional<std::string>> values) const {
  m_run.GetDevicePropsByRef(reference, kept, fields, values);
}

bool CRunBOMSource::SetDevicePropByRef(std::string_view reference, std::string_view field,
                                       std::string_view value) {
  return m_run.SetDevicePropByRef(reference, field, value);
}

std::int64_t CRunBOMSource::CountByRef(std::string_view reference) const {
  return m_run.CountByRef(reference);
}

void CRunBOMSource::SetRefQuantity(std::string_view reference, std::int64_t quantity) {
  m_run.SetRefQuantity(reference, quantity);
}

const CBitmapDesc* CRunBOMSource::GetPartRecordFieldByRef(std::string_view reference) const {
  return m_run.GetPartRecordFieldByRef(reference);
}

std::optional<std::string> CRunBOMSource::GetNextCode(bool restart) {
  return m_run.GetNextCode(restart);
}

std::string CRunBOMSource::GetCatalog() const { return m_run.GetPropText("Catalog"); }

bool CRunBOMSource::IsBOMEditable() const { return m_run.GetFlagsWord() != 0; }

int CRunBOMSource::GetSupportSetting() const {
  return CRunEnvironment::Instance().Settings().support;
}

int CRunBOMSource::GetFileVersion() const {
  const CRunDocument* document = m_run.GetDocument();
  return document != nullptr ? document->GetFileVersion() : kCurrentVersion;
}

void CRunBOMSource::SetDocumentModified() {
  if (CRunDocument* document = m_run.GetDocument()) document->SetModified();
}

void CRunBOMSource::UpdateDocumentViews() {
  if (CRunDocument* document = m_run.GetDocument()) document->UpdateAllViews();
}

void CRunBOMSource::MarkTotalsStale() {
  if (CRunDocument* document = m_run.GetDocument()) document->MarkRunTotalsStale(m_run);
}
