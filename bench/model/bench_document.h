#pragma once

#include <memory>
#include <string>

#include "model/annotation/annotation.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"

// The layout documents of the document benchmarks: runs of 200 elements (or as many as
// asked), straights with a tee every 50 elements and a short branch at each tee, every
// element with its body box and every tenth with a dimension label.
inline void BuildBenchRun(CDorneDoc& document, int runIndex, int elementCount = 200) {
  auto made = std::make_unique<CRun>(&document);
  CRun& run = *made;
  document.AddRun(std::move(made));
  run.SetCatalog(runIndex % 2 == 0 ? "QDA" : "QPC");
  CDev* last = run.NewElement();
  last->SetKind(CDev::kEnd);
  last->SetActive(1);
  last->SetDirection(4);
  run.AddDevice(last);
  auto add = [&](CDev* from, int face, int kind, int index) {
    CDev* element = run.NewElement();
    element->SetKind(kind);
    element->SetActive(1);
    element->SetDirection(face);
    element->SetBookedLength(1000);
    element->SetReference(kind == CDev::kStraight ? "S-" + std::to_string(index % 40) : "TEE-0");
    element->SetNeighbour(CDev::OppositeDirection(face), from);
    from->SetNeighbour(face, element);
    element->MakeBox(CDev::kBodySlot)
        ->SetPlacement(C3DPoint(index * 1000, runIndex * 2000, 0), 1000, 100, 100);
    run.AddDevice(element);
    if (index % 10 == 0) {
      auto label = std::make_unique<CAnnotation>(CAnnotation::kDimension);
      label->SetOwnerElement(element);
      document.Annotations().Append(std::move(label));
    }
    return element;
  };
  for (int i = 1; i < elementCount;) {
    const bool tee = i % 50 == 0;
    last = add(last, 4, tee ? CDev::kJunction2 : CDev::kStraight, i++);
    if (!tee) continue;
    CDev* branch = last;
    for (int b = 0; b < 5 && i < elementCount; ++b) branch = add(branch, 1, CDev::kStraight, i++);
  }
  run.SetCurrentElement(last);
  document.SetCurrentRun(&run);
}

inline std::unique_ptr<CDorneDoc> BuildBenchDocument(int runs,
                                                     const std::string& snapshotFolder = {}) {
  CDocEnvironment environment;
  environment.settingsFolder = snapshotFolder;
  auto document = std::make_unique<CDorneDoc>(environment);
  for (int r = 0; r < runs; ++r) BuildBenchRun(*document, r);
  return document;
}
