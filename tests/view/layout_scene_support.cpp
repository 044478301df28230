#include "layout_scene.h"

#include <string>

#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"

namespace {

constexpr double kStep = 1000.0;

void BuildRun(CDorneDoc& document, int runIndex, int elements) {
  auto made = std::make_unique<CRun>(&document);
  CRun& run = *made;
  document.AddRun(std::move(made));
  CDev* last = nullptr;
  for (int i = 0; i < elements; ++i) {
    CDev* element = run.NewElement();
    element->SetKind(i == 0 ? CDev::kEnd : CDev::kStraight);
    element->SetActive(1);
    element->SetDirection(4);
    element->SetBookedLength(1000);
    element->SetReference("S-" + std::to_string(i % 40));
    if (last != nullptr) {
      element->SetNeighbour(CDev::OppositeDirection(4), last);
      last->SetNeighbour(4, element);
    }
    const C3DPoint centre(i * kStep, runIndex * 2 * kStep, (i / 10) * kStep);
    element->MakeBox(CDev::kBodySlot)->SetPlacement(centre, 150, 1000, 300);
    run.AddDevice(element);
    last = element;
  }
  run.SetCurrentElement(last);
  document.SetCurrentRun(&run);
}

}  // namespace

std::unique_ptr<CDorneDoc> BuildLayoutScene(int runs, int elementsPerRun) {
  auto document = std::make_unique<CDorneDoc>();
  for (int r = 0; r < runs; ++r) BuildRun(*document, r, elementsPerRun);
  document->SetViewAngles(330, 315, 0);
  document->RebuildScene();
  return document;
}
