#include "model/document/dorne_doc.h"

#include "geometry/box.h"
#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/document/doc_observer.h"
#include "model/run/run.h"
#include "model/run/run_factory.h"

#include <unordered_map>

namespace {

void CopyRunFields(const CRun& source, CRun& copy) {
  for (const auto& prop : source.GetPropArray()) {
    if (prop->GetName() != "Name") copy.SetPropValue(prop->GetName(), prop->GetValue());
  }
  copy.SetProp("Calibre", source.GetPropText("Calibre"));
  copy.SetProp("Comment", source.GetPropText("Comment"));
  copy.SetFlagsWord(source.GetFlagsWord());
  copy.SetChangedFlag(source.GetChangedFlag());
  copy.SetRotationFlag(source.GetRotation());
  if (source.GetRangeLoaded() != 0) copy.SetRangeLoaded();
  copy.SetPartsState(source.GetPartsState());
  copy.GetBOM().CopyLayoutFrom(source.GetBOM());
}

void CopyBoxes(const CDev& source, CDev& copy) {
  for (int slot = 0; slot < CDev::kSlotCount; ++slot) {
    const CBox* box = source.GetBox(slot);
    if (box == nullptr) continue;
    copy.MakeBox(slot)->SetPlacement(box->GetOrigin(), box->GetExtent(0), box->GetExtent(1),
                                     box->GetExtent(2));
  }
}

// Clones the elements of the source into the copy, links and attachments mapped to the
// clones; the clone of each source element.
std::unordered_map<const CDev*, CDev*> CopyElements(const CRun& source, CRun& copy) {
  for (const CDev* record : source.GetLengthRecords()) {
    copy.AddLengthToBOM(record->GetCalibre(), record->GetBookedLength(), record->GetVariantIndex());
  }
  std::unordered_map<const CDev*, CDev*> clones;
  for (const CDev* element : source.GetDevices()) {
    auto made = std::make_unique<CDev>(*element);
    made->SetRun(&copy);
    CDev* clone = copy.AdoptElement(std::move(made));
    CopyBoxes(*element, *clone);
    copy.AddDevice(clone);
    if (clone->GetKind() == CDev::kAccessory) {
      copy.GetBOM().AddRefQuantity(clone->GetReference(),
                                   clone->GetStyle2() == 0 ? 1 : clone->GetStyle2());
    }
    clones.emplace(element, clone);
  }
  auto mapped = [&clones](const CDev* element) -> CDev* {
    const auto it = clones.find(element);
    return it == clones.end() ? nullptr : it->second;
  };
  for (const auto& [element, clone] : clones) {
    for (int face = 0; face < CDev::kFaceCount; ++face) {
      clone->SetNeighbour(face, mapped(element->GetNeighbour(face)));
      clone->SetFreeFace(face, element->GetFreeFace(face));
    }
    if (element->GetKind() == CDev::kTapOff) clone->SetAttached(mapped(element->GetAttached()));
  }
  copy.SetCurrentElement(mapped(source.GetCurrentElement()));
  return clones;
}

// Puts the copy's lines in the order of the source's lines.
void OrderLinesLike(const CBOMGrid& source, CBOMGrid& copy) {
  int next = 1;
  for (int row = 1; row < source.GetLineCount(); ++row) {
    const CBOMLine* line = source.GetLine(row);
    const std::optional<std::string> reference = source.GetLineFieldText(row, 0);
    if (line == nullptr || !reference) continue;
    const int found = copy.FindLine(*reference);
    if (found > next) copy.MoveLine(found, next);
    if (found >= next) ++next;
  }
}

}  // namespace

int CDorneDoc::DuplicateRun(int n) {
  CRun* source = n == 0 ? m_currentRun : GetRunAt(n - 1);
  if (source == nullptr || source->GetFlagsWord() == 0) return 0;
  const std::string nextName = m_nextRunName;
  std::unique_ptr<CRun> made =
      CRunFactory::Instance().CreateForCatalog(source->GetPropText("Catalog"), this);
  // A working copy for a costing is gone before the user sees it: the design's next run
  // must not skip the name it took.
  if (n != 0) m_nextRunName = nextName;
  CRun& copy = *made;
  const int index = AddRun(std::move(made));
  CopyRunFields(*source, copy);
  CopyElements(*source, copy);
  if (n != 0) return index;
  m_annotations.CopyRunAnnotations(*source, copy);
  OrderLinesLike(source->GetBOM(), copy.GetBOM());
  Notify(EDocNotice::kRunAdded, &copy);
  RememberLeftView(*source);
  SetCurrentRun(&copy);
  return index;
}

void CDorneDoc::CopyFromModel(const CDorneDoc& model) {
  SetLengthUnit(model.m_unitId);
  m_props.SetPropValue("Name", model.GetDocProperty("Name"));
  m_props.SetPropValue("Comment", model.GetDocProperty("Comment"));
  if (model.m_runList.empty()) return;
  const CBOMGrid& layout = model.m_runList.front()->GetBOM();
  for (CRun* run : m_runList) {
    run->GetBOM().CopyLayoutFrom(layout);
    run->GetBOM().NumberLines(1);
  }
  Notify(EDocNotice::kUpdateViews);
}
