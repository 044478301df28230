#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "geometry/3d_point.h"
#include "model/document/dorne_doc.h"

class CBox;
class CDev;
class CRun;

// One element on one run, with boxes placed by hand (axis-aligned, centre and extents
// along x, y and z), for the detail drawing of its faces.
struct CDetailScene {
  std::unique_ptr<CDorneDoc> document;
  CRun* run = nullptr;
  CDev* element = nullptr;

  CDetailScene(const std::string& catalog, int kind, std::uint32_t style, int direction);
  // The box in that slot, every face facing the viewer.
  CBox* Place(int slot, const C3DPoint& centre, std::int32_t x, std::int32_t y,
              std::int32_t z) const;
};
