#include "model/run/run.h"

#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/element/element_selection.h"
#include "model/builder/part_builder.h"
#include "model/props/prop_window_notifier.h"
#include "model/document/run_document.h"
#include "model/run/run_environment.h"
#include "model/run/run_factory.h"
#include "model/tapoff/tap_off_delete.h"
#include "model/document/work_notifier.h"

#include <algorithm>

CRun::CRun(CRunDocument* document) : m_document(document) { Init(); }

void CRun::Init() {
  m_current = nullptr;
  m_changed = 0;
  m_rotation = 0;
  m_bom = std::make_unique<CBOMGrid>(this);
  m_name.clear();
  if (m_document != nullptr) {
    m_name = m_document->GetNextRunName();
    m_document->SetNextRunName(AdvanceRunName(m_name));
  }
  m_bom->SetItemPrefix(m_name);
  m_comment.clear();
  m_rangeLoaded = 0;
  m_partsState = 0;
  m_catalogueKnown = 1;
  m_flags = 1;
  m_startMarker = nullptr;
  SetPropValue("SupportAuto", "1");
  SetPropValue("SupportPas", "3000");
  SetPropValue("SupportPlus", "1");
  m_totals = {};
  m_pages = {kPageRunComment, kPageRunRating};
  m_elementPages.fill(kPageNone);
  // Always the generic loader: a range run's constructor loads its own catalogue after.
  CRun::LoadCatalog();
}

CElementSelection& CRun::Selection() {
  return m_document != nullptr ? m_document->GetSelection() : m_ownSelection;
}

const CElementSelection& CRun::Selection() const {
  return m_document != nullptr ? m_document->GetSelection() : m_ownSelection;
}

CRun::~CRun() {
  m_partBuilder.reset();
  m_rebuildHold.reset();
  m_rebuildWait.reset();
  m_pjpRecords.clear();
  m_bom.reset();
  if (m_startMarker != nullptr) DeleteElement(m_startMarker);
  // The tap-off units go before the other elements, from the last to the first, as deleting
  // them one by one let them go; the list is closed up once, not once per unit, so that tens
  // of thousands of units among the accessories are freed in linear time. What hangs on a
  // unit dies with the run, so nothing is detached.
  std::vector<CDev*> units;
  std::size_t kept = 0;
  for (CDev* device : m_devices) {
    if (device->GetKind() == CDev::kTapOff) units.push_back(device);
    else m_devices[kept++] = device;
  }
  m_devices.resize(kept);
  for (CDev* unit : units) unit->m_listed = 0;
  // By address alone: a unit listed twice is gone at its second listing.
  for (auto unit = units.rbegin(); unit != units.rend(); ++unit) Disown(*unit);
  ForgetTapOffMarksOf(*this);
  // Every element dies with the run: no links or attachments need undoing, and a long
  // run is freed in linear time.
  for (std::vector<CDev*>* list : {&m_devices, &m_lengths}) {
    while (!list->empty()) {
      CDev* element = list->back();
      list->pop_back();
      element->m_listed = 0;
      Disown(element);
    }
  }
  m_refIndex.Clear(CRunRefIndex::kDeviceList);
  m_refIndex.Clear(CRunRefIndex::kLengthList);
  MarkBillStale();
  m_pages.clear();
  m_rangeTables = nullptr;
  m_rangeLease.Release();
  m_kindTexts.Clear();
  if (m_catalogueUser) CRangeTableCache::Instance().RemoveCatalogueUser();
  m_elementPages.fill(kPageNone);
  if (m_document != nullptr) m_document->OnRunDestroyed(*this);
  m_current = nullptr;
  // Each element leaves the list before it is destroyed, as Disown leaves them.
  while (!m_owned.empty()) {
    std::unique_ptr<CDev> last = std::move(m_owned.back());
    m_owned.pop_back();
    m_ownedPlaces.Erase(last.get());
    m_ownedFiled = std::min(m_ownedFiled, m_owned.size());
  }
}

void CRun::LoadCatalog() {
  m_catalog.clear();
  CRangeTableCache& cache = CRangeTableCache::Instance();
  // A run counts as one user of the catalogue list however often it loads.
  if (!m_catalogueUser) cache.AddCatalogueUser(CRunEnvironment::Instance().Catalogues());
  m_catalogueUser = true;
  m_rangeTables = nullptr;
  m_rangeLease.Release();
  m_kindTexts.Clear();
  static constexpr int kCommonPages[] = {kPageLength,    kPagePosition,    kPageCharacteristics,
                                         kPageElbow,     kPageElementName, kPageFeedUnit,
                                         kPagePhaseOrder};
  for (int slot = 0; slot < 7; ++slot)
    m_elementPages[static_cast<std::size_t>(slot)] = kCommonPages[slot];
}

void CRun::AttachRangeTables(CRangeTablesLease lease) {
  m_rangeTables = lease.Tables();
  m_rangeLease = std::move(lease);
  m_kindTexts.Clear();
}

void CRun::AttachRangeTables(CRangeTables& tables) {
  m_rangeLease.Release();
  m_rangeTables = &tables;
  m_kindTexts.Clear();
}

const std::vector<CCodeRow>* CRun::GetCodeTable() const {
  if (m_rangeTables != nullptr) return &m_rangeTables->codes;
  return m_catalogueUser ? &CRangeTableCache::Instance().CatalogueCodes() : nullptr;
}

const CRunRangeRules& CRun::GetRangeRules() const {
  return CRunFactory::Instance().RulesForCode(m_catalog);
}

int CRun::GetElementPage(int slot) const {
  if (slot < 0 || slot >= kElementPageSlots) return kPageNone;
  return m_elementPages[static_cast<std::size_t>(slot)];
}

void CRun::SetElementPage(int slot, int page) {
  if (slot >= 0 && slot < kElementPageSlots) m_elementPages[static_cast<std::size_t>(slot)] = page;
}

std::optional<std::string> CRun::GetProp(std::string_view name) const {
  if (name == "Name") return m_name;
  if (name == "Comment") return m_comment;
  if (name == "Catalog") return m_catalog;
  if (name == "Calibre") return m_calibre;
  if (const CProp* prop = FindProp(name)) return prop->GetValue();
  return std::nullopt;
}

std::string CRun::GetPropText(std::string_view name) const {
  return GetProp(name).value_or(std::string());
}

bool CRun::SetProp(std::string_view name, std::string_view value) {
  if (m_document != nullptr) m_document->SetModified();
  std::string* field = name == "Name"      ? &m_name
                       : name == "Comment" ? &m_comment
                       : name == "Calibre" ? &m_calibre
                                           : nullptr;
  if (field == nullptr) {
    const bool changed = SetPropValue(name, value);
    m_changed = 1;
    return changed;
  }
  if (*field == value) return false;
  *field = std::string(value);
  m_changed = 1;
  if (name == "Name") {
    m_bom->SetItemPrefix(m_name);
    if (m_document != nullptr) m_document->UpdateRunPageTitle(*this);
  }
  return true;
}

int CRun::IsCatalogueKnown() const {
  if (m_catalog.empty()) return 1;
  const auto& catalogues = CRunEnvironment::Instance().Catalogues();
  const bool offered =
      std::any_of(catalogues.begin(), catalogues.end(),
                  [&](const CCatalogueEntry& entry) { return entry.code == m_catalog; });
  if (!offered || m_rangeTables == nullptr) return 0;
  const std::string neutral = GetPropText("Neutral");
  auto has = [](const std::vector<CCodeLabelRow>& list, const std::string& code) {
    return std::any_of(list.begin(), list.end(),
                       [&](const CCodeLabelRow& row) { return row.code == code; });
  };
  return has(m_rangeTables->ratings, m_calibre) && has(m_rangeTables->neutrals, neutral) ? 1 : 0;
}

void CRun::MarkBillStale() {
  if (m_bom != nullptr) m_bom->MarkCellsStale();
}

void CRun::SetBOM(std::unique_ptr<CBOMGrid> bom) {
  if (!bom) return;
  m_bom = std::move(bom);
  m_bom->SetSource(this);
}

void CRun::SetStartMarker(CDev* marker) {
  if (marker == m_startMarker) return;
  CDev* old = m_startMarker;
  m_startMarker = marker;
  if (old != nullptr) DeleteElement(old);
}

CObjWithProp* CRun::GetNextObject() const {
  if (m_document == nullptr) return nullptr;
  const int count = m_document->GetRunCount();
  for (int i = 0; i < count; ++i) {
    if (m_document->GetRunAt(i) == this)
      return i + 1 < count ? m_document->GetRunAt(i + 1) : nullptr;
  }
  return nullptr;
}

CObjWithProp* CRun::GetPrevObject() const {
  if (m_document == nullptr) return nullptr;
  const int count = m_document->GetRunCount();
  for (int i = 0; i < count; ++i) {
    if (m_document->GetRunAt(i) == this) return i > 0 ? m_document->GetRunAt(i - 1) : nullptr;
  }
  return nullptr;
}

void CRun::GoToObject(CObjWithProp* target, int how) {
  (void)how;
  auto* run = dynamic_cast<CRun*>(target);
  if (run != nullptr && m_document != nullptr) m_document->SetCurrentRun(run);
}

bool CRun::ReachesPropWindow() const {
  return m_document == nullptr || m_document->ShowsProperties();
}

int CRun::NotifyPropDialog(int message) {
  CElementSelection& selection = Selection();
  if (selection.Element() != nullptr) {
    DropSelection(selection);
    if (m_document != nullptr) m_document->UpdateAllViews();
  }
  return CObjWithProp::NotifyPropDialog(message);
}
