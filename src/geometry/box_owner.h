#pragma once

#include "geometry/3d_point.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CBox;
class C3DProjection;

// What the boxes, their depth order and picking need to know of the element that owns
// a box. The layout element (CDev) implements it; tests use small doubles.
//
// Directions and faces share their numbers 0..5 (opposite pairs 0-4, 1-5, 2-3). An
// element owns up to kSlotCount boxes in numbered slots: 0..5 toward the six directions,
// 6 the body (the element's main box), 7 and up its parts. Every answer may be damaged
// data read from a file: callers check ranges and guard walks along neighbour links.
class CBoxOwner {
 public:
  static constexpr int kSlotCount = 25;
  static constexpr int kBodySlot = 6;

  virtual ~CBoxOwner() = default;

  // Element kind (0 end elements, 1..6 straight ends, elbows and junctions, 7 and 8
  // in-line units, 9 joint, 11 bend point, 14 tap-off unit...).
  virtual int GetKind() const = 0;
  // Style word: low byte the variant, bits 20..23 the shape choice.
  virtual std::uint32_t GetStyle() const = 0;
  // The element's flag word.
  virtual std::uint32_t GetFlags() const = 0;
  // Direction 0..5; any other value is treated as no direction.
  virtual int GetDirection() const = 0;
  // Rotation flag 16, 32, 64 or 128; any other value counts as 16.
  virtual int GetRotation() const = 0;
  // Drawn length; 0 for an element without length.
  virtual std::int32_t GetLength() const = 0;
  virtual C3DPoint GetPosition() const = 0;
  // The box in a slot 0..kSlotCount-1, or null (empty slot, or slot out of range).
  virtual CBox* GetBox(int slot) const = 0;
  // The neighbour linked at a face 0..5, or null.
  virtual CBoxOwner* GetNeighbour(int face) const = 0;
  // The projection of the element's document, or null while the element has none.
  virtual C3DProjection* GetProjection() const = 0;
  // The document's extra boxes (parts that elements add outside their slots), in list
  // order, of every element.
  virtual std::vector<const CBox*> GetExtraBoxes() const = 0;
  // A property of the element's run ("Catalog", "Neutral", "COTE_NEUTRE"...); empty
  // when absent.
  virtual std::string GetRunProperty(std::string_view name) const = 0;

  // Whether the element has a connection point in front of it, away from its part box
  // (an end cabinet of some ranges; the element's range decides). The default: none.
  virtual bool HasFarConnectionPoint() const { return false; }

  // The slot 0..kSlotCount-1 that holds the box, or kSlotCount when none does.
  virtual int GetBoxSlot(const CBox& box) const;

  // Tap-off outlets of a box for picking: point -1 gives the outlet count in x and the
  // outlet word in y; points 0..count-1 give the outlet centres. The default: no outlet.
  virtual C3DPoint GetConnectionCode(const CBox& box, int point, int mode) const;
  // Support points of a box for picking: point -1 gives their count in x; points
  // 0..count-1 the points. The default: no support.
  virtual C3DPoint GetSupportPoint(const CBox& box, int point, int slot) const;

  // Walks along the neighbours in a direction: the last element reached (this one when
  // it has no neighbour there), and whether `target` is met on the way (this element
  // itself not counted). Links that run in a circle end the walk.
  const CBoxOwner* LastToward(int direction) const;
  bool MeetsToward(int direction, const CBoxOwner* target) const;
  // The first element of kind `kind` met on that walk (this one not counted), or null.
  const CBoxOwner* FindKindToward(int direction, int kind) const;

  // The opposite direction of 0..5 (0-4, 1-5, 2-3); -1 for any other value.
  static int OppositeDirection(int direction);
  // 0 for rotation 16, 1 for 32, 2 for 64, 3 for 128; 0 for any other value.
  static int RotationIndex(int rotation);
};
