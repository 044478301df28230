#pragma once

#include "geometry/box.h"
#include "geometry/box_owner.h"

#include <array>
#include <map>
#include <string>
#include <vector>

// A layout element reduced to what the boxes, the depth order and picking ask of it.
class CFakeElement : public CBoxOwner {
 public:
  int kind = 1;
  std::uint32_t style = 0;
  std::uint32_t flags = 0;
  int direction = 1;
  int rotation = 16;
  std::int32_t length = 1000;
  C3DPoint position;
  std::array<CBox*, kSlotCount> boxes{};
  std::array<CFakeElement*, 6> neighbours{};
  C3DProjection* projection = nullptr;
  std::vector<const CBox*> extraBoxes;
  std::map<std::string, std::string, std::less<>> runProperties;
  bool farConnection = false;
  // Outlets of the element's boxes: the word (count in x is their number) and centres.
  std::uint32_t outletWord = 0;
  std::vector<C3DPoint> outlets;
  std::vector<C3DPoint> supports;

  int GetKind() const override { return kind; }
  std::uint32_t GetStyle() const override { return style; }
  std::uint32_t GetFlags() const override { return flags; }
  int GetDirection() const override { return direction; }
  int GetRotation() const override { return rotation; }
  std::int32_t GetLength() const override { return length; }
  C3DPoint GetPosition() const override { return position; }
  CBox* GetBox(int slot) const override {
    return (slot >= 0 && slot < kSlotCount) ? boxes[slot] : nullptr;
  }
  CBoxOwner* GetNeighbour(int face) const override {
    return (face >= 0 && face < 6) ? neighbours[face] : nullptr;
  }
  C3DProjection* GetProjection() const override { return projection; }
  std::vector<const CBox*> GetExtraBoxes() const override { return extraBoxes; }
  std::string GetRunProperty(std::string_view name) const override {
    const auto it = runProperties.find(name);
    return it == runProperties.end() ? std::string() : it->second;
  }
  bool HasFarConnectionPoint() const override { return farConnection; }
  C3DPoint GetConnectionCode(const CBox&, int point, int) const override {
    if (point == -1) return C3DPoint(static_cast<double>(outlets.size()), outletWord, 0);
    return (point >= 0 && point < static_cast<int>(outlets.size())) ? outlets[point] : C3DPoint();
  }
  C3DPoint GetSupportPoint(const CBox&, int point, int) const override {
    if (point == -1) return C3DPoint(static_cast<double>(supports.size()), 0, 0);
    return (point >= 0 && point < static_cast<int>(supports.size())) ? supports[point] : C3DPoint();
  }

  // Puts a box into a slot and makes this element its owner.
  void Adopt(int slot, CBox& box) {
    boxes[slot] = &box;
    box.SetOwner(this);
  }

  // Links b at face `face` of a, and a at the opposite face of b.
  static void Link(CFakeElement& a, int face, CFakeElement& b) {
    a.neighbours[face] = &b;
    b.neighbours[OppositeDirection(face)] = &a;
  }
};
