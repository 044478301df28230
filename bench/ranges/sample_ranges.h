#pragma once

#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/run/run_factory.h"
#include "ranges/range_context.h"
#include "ranges/range_registry.h"

// The product ranges registered afresh on the sample catalogue, with the device list of
// its devices.dbf, as the benchmarks of this folder run them.
inline void SetUpSampleRanges() {
  CRangeTableCache::Instance().Reset();
  CRunFactory::Instance().Reset();
  RegisterRangeRuns();
  CRangeContext& context = CRangeContext::Instance();
  context.Reset();
  context.SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  context.SetDevices({{"1", "Straight"},
                      {"0", "End"},
                      {"8", "Special"},
                      {"7", "Pass"},
                      {"64", "System joint"},
                      {"32", "User joint"},
                      {"99", "Unknown"}});
}

// A new element of the run at a face of `from` (none for the start), pointing away from
// it, with the run's rating; a straight is booked in the length records.
inline CDev* AppendSampleElement(CRun& run, CDev* from, int face, int kind, std::int32_t length) {
  CDev* element = run.NewElement();
  element->SetKind(kind);
  element->SetActive(1);
  element->SetDirection(face);
  element->SetBookedLength(length);
  element->SetDrawnLength(length);
  element->SetCalibre(run.GetPropText("Calibre"));
  element->SetReference(run.GetKindText(kind, 0));
  if (from != nullptr) {
    element->SetNeighbour(CBoxOwner::OppositeDirection(face), from);
    from->SetNeighbour(face, element);
    from->SetFreeFace(face, 0);
    element->SetFreeFace(CBoxOwner::OppositeDirection(face), 0);
  }
  run.AddDevice(element);
  if (kind == CDev::kInLine) run.AddLengthToBOM(element->GetCalibre(), length, 0);
  return element;
}
