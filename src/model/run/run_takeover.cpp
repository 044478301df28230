#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/document/run_document.h"
#include "model/run/run_range_rules.h"

#include "platform/text_conversions.h"

#include <cstdlib>
#include <limits>

namespace {

void RemoveProps(CDev& element, std::initializer_list<const char*> names) {
  for (const char* name : names) element.SetPropValue(name, "");
}

}  // namespace

int CRun::TakeOverRun(CRun& oldRun) {
  const CRunRangeRules& rules = GetRangeRules();
  const std::string swapped = rules.GetVariantCounterpart(m_catalog);
  const bool variantChange =
      oldRun.m_catalog.size() == 3 && !swapped.empty() && swapped == oldRun.m_catalog;
  if (!variantChange) {
    oldRun.DeleteTapOffUnits("");
  } else {
    for (const std::string& start : rules.GetTapOffsDroppedByVariantChange(m_catalog))
      oldRun.DeleteTapOffUnits(start);
  }
  m_comment = oldRun.m_comment;
  m_name = oldRun.m_name;
  m_changed = oldRun.m_changed;
  m_rotation = oldRun.m_rotation;
  m_document = oldRun.m_document;
  if (variantChange) m_flags = oldRun.m_flags;
  if (CDev* marker = oldRun.m_startMarker) {
    oldRun.m_startMarker = nullptr;
    SetStartMarker(AdoptElement(oldRun.ReleaseElement(marker)));
    m_flags |= 1;
  }
  SetBOM(std::move(oldRun.m_bom));
  oldRun.m_bom = std::make_unique<CBOMGrid>(&oldRun);
  if (m_document != nullptr) m_document->ReplaceRun(oldRun, *this);
  const bool keepIndexGroup = variantChange && rules.KeepsIndexGroupOnVariantChange();
  for (CObjWithProp* run :
       {static_cast<CObjWithProp*>(&oldRun), static_cast<CObjWithProp*>(this)}) {
    run->SetPropValue("QM_ED_STEP", "");
    run->SetPropValue("QP_STEP", "");
    if (!keepIndexGroup) run->SetPropValue("INDEXGRP", "");
  }
  CDev* current = oldRun.m_current;
  TakeOverElements(oldRun, variantChange);
  m_current = current;
  if (m_document != nullptr) m_document->RecomputeTotals(1, 0);
  if (variantChange) TakeOverProperties(oldRun);
  if (m_document != nullptr) m_document->RetargetRunAnnotations(oldRun, *this);
  return 1;
}

void CRun::TakeOverElements(CRun& oldRun, bool variantChange) {
  std::vector<CDev*> moved;
  for (int list = 0; list < 2; ++list) {
    std::vector<CDev*>& source = list == 0 ? oldRun.m_devices : oldRun.m_lengths;
    for (CDev* element : source) {
      std::unique_ptr<CDev> owned = oldRun.Disown(element);
      element->m_listed = 0;
      AdoptElement(std::move(owned));
      (list == 0 ? m_devices : m_lengths).push_back(element);
      m_refIndex.Insert(*element, list);
      MarkBillStale();
      if (list == 0) moved.push_back(element);
    }
    source.clear();
    oldRun.m_refIndex.Clear(list);
    oldRun.MarkBillStale();
  }
  oldRun.m_current = nullptr;
  const CRunRangeRules& rules = GetRangeRules();
  for (CDev* element : moved) {
    if (variantChange) rules.AdaptVariantElement(*element, m_catalog);
    if (!variantChange || rules.IsMissingInVariant(*element, m_catalog))
      ResetElementForTakeOver(*element);
  }
  for (CDev* record : m_lengths) {
    const std::string oldReference = record->GetReference();
    record->SetReference(GetLengthReference(record->GetVariantIndex(), record->GetBookedLength()));
    m_bom->RenameLine(oldReference, record->GetReference());
  }
}

void CRun::ResetElementForTakeOver(CDev& element) {
  element.SetStyle(element.GetStyle() & ~0xF000u);
  element.SetStyle2(element.GetStyle2() & ~0xF000u);
  const int kind = element.GetKind();
  const bool keepsKind =
      kind == CDev::kStraight || kind == CDev::kJoint || kind == CDev::kAccessory;
  if (keepsKind) {
    if (!element.IsActive()) return;
    const std::string oldReference = element.GetReference();
    element.SetReference(GetElementRef(0));
    m_bom->RenameLine(oldReference, element.GetReference());
    return;
  }
  if (kind == CDev::kElbow) {
    RemoveProps(element, {"ELBOW_LENG", "ELBOW_ANGL"});
    element.UpdateBoxColors(true);
  }
  if (kind == CDev::kEnd || kind == CDev::kElbow || kind == CDev::kInLine ||
      kind == CDev::kInLineVariant) {
    const int chosen = kind == CDev::kEnd     ? GetDefaultEndVariant()
                       : kind == CDev::kElbow ? 0
                                              : GetDefaultUnitCode(kind);
    const std::uint32_t bits =
        kind == CDev::kEnd ? static_cast<std::uint32_t>(chosen) : CodeStyleBits(chosen);
    element.SetStyle((element.GetStyle() & 0x00FFFF00u) | bits);
    element.SetStyle2((element.GetStyle2() & 0x00FFFF00u) | bits);
    if (kind == CDev::kInLine) element.SetPropValue("KITCF", InLineKitPosition(chosen));
    if (kind == CDev::kEnd) {
      RemoveProps(element, {"ENTRAX", "BARS", "CAPOT", "CLINQ", "QGACC"});
      element.UpdateBoxColors(true);
    }
  }
  const std::string oldReference = element.GetReference();
  m_bom->RemoveRefQuantity(oldReference, 1);
  element.SetReference(GetKindText(kind, element.GetVariant()));
  m_bom->AddHeldQuantity(element.GetReference(), 1);
}

void CRun::TakeOverProperties(CRun& oldRun) {
  for (const auto& prop : oldRun.GetPropArray()) SetProp(prop->GetName(), prop->GetValue());
  const CRunRangeRules& rules = GetRangeRules();
  rules.AdaptTakenOverProperties(*this);
  if (const std::vector<CCodeLabelRow>* ratings = GetRatingList()) {
    const int old = TextToInt(oldRun.m_calibre);
    const CCodeLabelRow* nearest = nullptr;
    long long best = std::numeric_limits<long long>::max();
    for (const CCodeLabelRow& row : *ratings) {
      const int code = TextToInt(row.code);
      if (!rules.TakesOverRating(m_catalog, code)) continue;
      const long long distance = std::llabs(static_cast<long long>(code) - old);
      if (distance < 10000 && distance < best) {
        best = distance;
        nearest = &row;
      }
    }
    m_calibre = nearest != nullptr ? nearest->code : std::string();
  }
  if (m_startMarker != nullptr) {
    if (m_document != nullptr) m_document->PlaceRunMarker(*this);
  } else {
    ApplyRating(GetFirstElement(), true);
  }
  if (m_document != nullptr) m_document->RebuildScene();
  if (const int mask = rules.GetTakeOverLengthMask(m_catalog); mask != 0)
    RebuildLengthRecords(mask);
}
