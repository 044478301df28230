#include "detail_scene.h"

#include "geometry/3d_projection.h"
#include "model/element/dev.h"
#include "model/run/run.h"

CDetailScene::CDetailScene(const std::string& catalog, int kind, std::uint32_t style,
                           int direction) {
  document = std::make_unique<CDorneDoc>();
  document->Projection().SetViewAngles(330, 315, 0, false, false);
  auto made = std::make_unique<CRun>(document.get());
  run = made.get();
  document->AddRun(std::move(made));
  run->SetCatalog(catalog);
  run->SetProp("Calibre", "63");
  run->SetProp("Neutral", "4");
  run->SetFlagsWord(2);
  element = run->NewElement();
  element->SetKind(kind);
  element->SetActive(1);
  element->SetStyle(style);
  element->SetDirection(direction);
  run->AddDevice(element);
}

CBox* CDetailScene::Place(int slot, const C3DPoint& centre, std::int32_t x, std::int32_t y,
                          std::int32_t z) const {
  CBox* box = element->MakeBox(slot);
  box->SetPlacement(centre, z, x, y);
  for (int face = 0; face < CBox::kFaceCount; ++face) box->SetFaceBits(face, CBox::kFaceVisible);
  return box;
}
