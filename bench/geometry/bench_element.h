#pragma once

#include "geometry/3d_point.h"
#include "geometry/box_owner.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// A layout element for the display-list benchmarks: its boxes in slots and its neighbours,
// everything else fixed.
class CBenchElement : public CBoxOwner {
 public:
  int kind = 9;
  int direction = 4;
  C3DPoint position;
  std::array<CBox*, kSlotCount> boxes{};
  std::array<CBenchElement*, 6> neighbours{};
  C3DProjection* projection = nullptr;

  int GetKind() const override { return kind; }
  std::uint32_t GetStyle() const override { return 0; }
  std::uint32_t GetFlags() const override { return 0; }
  int GetDirection() const override { return direction; }
  int GetRotation() const override { return 16; }
  std::int32_t GetLength() const override { return 1000; }
  C3DPoint GetPosition() const override { return position; }
  CBox* GetBox(int slot) const override {
    return (slot >= 0 && slot < kSlotCount) ? boxes[slot] : nullptr;
  }
  CBoxOwner* GetNeighbour(int face) const override {
    return (face >= 0 && face < 6) ? neighbours[face] : nullptr;
  }
  C3DProjection* GetProjection() const override { return projection; }
  std::vector<const CBox*> GetExtraBoxes() const override { return {}; }
  std::string GetRunProperty(std::string_view) const override { return {}; }
};
