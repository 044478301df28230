#pragma once

#include "geometry/3d_point.h"
#include "geometry/window_point.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class CArchiveReader;
class CArchiveWriter;
class CBoxOwner;
class CViewRotation;

// The oriented 3D box from which a layout element is drawn, picked and depth-sorted.
// It keeps the bounds of its projection and the view rotation that made it; its world
// corners, their bounds and normals and the projected and window corners are worked out
// when asked (the projected ones by the same rotation of the same corners, so to the
// same bits), since a document holds tens of thousands of boxes and keeping them all
// made a box four times the size of its stored record. The element owns its boxes; the
// display list only points to them.
//
// Corner n (0..7) is origin + sA hA A + sB hB B + sC hC C with hA, hB, hC half of
// extent 1, 2 and 0, and n = 4 (sC negative) + 2 (sA positive) + 1 (sB negative).
// Faces 0..5 have the outward normals -A, -C, +B, -B, +A, +C; faces and directions share
// their numbers (opposite pairs 0-4, 1-5, 2-3).
// Eight points a few boxes need held apart: the world corners of a box whose stored
// corners follow no rule from its origin and extents, or the projection of a box whose
// corners moved while it could not be projected again. A document holds tens of
// thousands of boxes, so an empty holder is one null pointer.
class CHeldCorners {
 public:
  using Corners = std::array<C3DPoint, 8>;

  CHeldCorners() = default;
  CHeldCorners(const CHeldCorners& other) { *this = other; }
  CHeldCorners& operator=(const CHeldCorners& other) {
    if (this != &other)
      m_corners = other.m_corners ? std::make_unique<Corners>(*other.m_corners) : nullptr;
    return *this;
  }

  void Keep(const Corners& corners) { m_corners = std::make_unique<Corners>(corners); }
  void Clear() { m_corners.reset(); }
  bool IsKept() const { return m_corners != nullptr; }
  // Only while kept.
  const C3DPoint& operator[](std::size_t corner) const { return (*m_corners)[corner]; }
  const Corners& All() const { return *m_corners; }

 private:
  std::unique_ptr<Corners> m_corners;
};

class CBox {
 public:
  static constexpr int kCornerCount = 8;
  static_assert(std::tuple_size_v<CHeldCorners::Corners> == kCornerCount);
  static constexpr int kFaceCount = 6;
  static constexpr int kRefPointCount = 20;
  // Size of the stored record in bytes.
  static constexpr std::size_t kRecordSize = 244;

  // Face nibble values (attribute word bits 4f..4f+3 for face f).
  static constexpr std::uint32_t kFaceOpen = 1;     // takes part in the depth comparison
  static constexpr std::uint32_t kFaceVisible = 2;  // faces the viewer
  static constexpr std::uint32_t kFaceNibblesMask = 0x00FFFFFF;
  static constexpr std::uint32_t kInListBit = 0x01000000;
  // Pass word: the top four bits are the drawing-pass bits; this one marks a box that is
  // being painted through its second display node.
  static constexpr std::uint32_t kPassBitsMask = 0xF0000000;
  static constexpr std::uint32_t kSecondPassBit = 0x10000000;
  // The corners of each face in drawing order: (c2 - c0) x (c1 - c0) points outward.
  static constexpr int kFaceCorners[kFaceCount][4] = {{0, 1, 5, 4}, {4, 5, 7, 6}, {4, 6, 2, 0},
                                                      {5, 1, 3, 7}, {6, 7, 3, 2}, {2, 3, 1, 0}};

  CBox() = default;
  explicit CBox(CBoxOwner* owner) : m_owner(owner) {}

  CBoxOwner* GetOwner() const { return m_owner; }
  // Asks the processor to bring the box into its cache, for a box read a little later;
  // changes nothing. A scene's boxes stand far apart in memory.
  void Prefetch() const {
    const char* bytes = reinterpret_cast<const char*>(this);
    for (std::size_t offset = 0; offset < sizeof(CBox); offset += 64)
      __builtin_prefetch(bytes + offset);
  }
  void SetOwner(CBoxOwner* owner) { m_owner = owner; }

  // Placement setters: each stores, then recomputes the corners and the projection.
  // Extents are stored as absolute values (the most negative integer as the largest).
  void SetOrigin(const C3DPoint& origin);
  void SetPlacement(const C3DPoint& origin, std::int32_t e0, std::int32_t e1, std::int32_t e2);
  void SetExtent1(std::int32_t e);  // extent 0 (along axis C)
  void SetExtent2(std::int32_t e);  // extent 1 (along axis A)
  void SetExtent3(std::int32_t e);  // extent 2 (along axis B)

  // The eight corners from origin, axes and half extents, then UpdateProjection.
  void ComputeCorners();
  // Projects the box with the owner's document projection; nothing without one. It
  // never inserts the box into a display list.
  void UpdateProjection();

  const C3DPoint& GetOrigin() const { return m_origin; }
  // Extent 0..2; 0 for any other index.
  std::int32_t GetExtent(int index) const {
    return (index >= 0 && index < 3) ? m_extent[index] : 0;
  }
  // Axis 0..2 (A, B, C): the world axes, which no box turns; the zero vector for any
  // other index.
  C3DPoint GetAxis(int index) const {
    return (index >= 0 && index < 3) ? kAxes[index] : C3DPoint();
  }
  // World corner 0..7; the zero vector for any other index.
  C3DPoint GetCorner(int index) const {
    return (index >= 0 && index < kCornerCount) ? CornerAt(index) : C3DPoint();
  }
  // Projected corner 0..7 as (window x, window y, depth), unrounded; zero otherwise.
  C3DPoint GetProjectedCorner(int index) const {
    return (index >= 0 && index < kCornerCount) ? ProjectedCornerAt(index) : C3DPoint();
  }
  // Projected corner 0..7 truncated toward zero to a window point; (0, 0) otherwise.
  CPoint GetWindowCorner(int index) const {
    return (index >= 0 && index < kCornerCount) ? WindowCornerAt(index) : CPoint();
  }
  // All eight world corners, each to the bits of GetCorner.
  std::array<C3DPoint, kCornerCount> GetCorners() const;
  // All eight; zeros for a box never projected.
  std::array<C3DPoint, kCornerCount> GetProjectedCorners() const;
  std::array<CPoint, kCornerCount> GetWindowCorners() const;
  C3DPoint GetWorldMin() const;
  C3DPoint GetWorldMax() const;
  const C3DPoint& GetProjectedMin() const { return m_projectedMin; }
  const C3DPoint& GetProjectedMax() const { return m_projectedMax; }
  // False when a projected bound is infinite or not a number: such a box takes part in
  // neither the depth order nor picking.
  bool HasFiniteProjection() const { return m_finite; }

  // Projects the corners by the rotation (for C3DProjection::ProjectBox), which the box
  // keeps to give its projected corners again; sets the projected bounds and clears the
  // six face nibbles.
  void StoreProjection(const CViewRotation& rotation);
  // Whether the box's projected corners and bounds are those of the rotation. Every
  // change of the corners projects the box again or lets its rotation go
  // (HoldProjectionUnlessReprojected), so that projecting by that rotation once more would
  // give the same corners and bounds.
  bool ProjectedBy(const CViewRotation& rotation) const { return m_rotation == &rotation; }
  // The rotation of the last projection while the world corners follow exactly from the
  // origin and extents; null otherwise. Rotations are made once for each set of angles, so
  // that two boxes with the same origin, extents and such a rotation have the same world
  // and projected corners to the last bit.
  const CViewRotation* ExactRotation() const {
    return m_cornerForm == CornerForm::kExact ? m_rotation : nullptr;
  }

  std::uint32_t GetPassWord() const { return m_passWord; }
  void SetPassWord(std::uint32_t word) { m_passWord = word; }
  std::uint32_t GetAttributes() const { return m_attributes; }
  void SetAttributes(std::uint32_t word) { m_attributes = word; }
  // Kind code of the part the box stands for (top four bits of the attribute word).
  int GetKindCode() const { return static_cast<int>(m_attributes >> 28); }
  // Whether the box is in its element's scene: a rebuild of that scene put off runs first
  // (CDisplayList::Defer).
  bool IsListed() const;
  void SetListed(bool listed);
  // The box's place in the display list's table of its boxes (CListedBoxMap), which only
  // that table reads; not part of the stored record.
  std::uint32_t GetListSlot() const { return m_listSlot.value; }
  void SetListSlot(std::uint32_t slot) { m_listSlot.value = slot; }

  // The colour the element's shape gives the box (a colour value with selector bits in
  // the top byte, or kNoColor), and the selection mark the drawing shows. Neither is
  // part of the stored record.
  static constexpr std::uint32_t kNoColor = 0xFFFFFFFFu;
  std::uint32_t GetColor() const { return m_color; }
  void SetColor(std::uint32_t color) { m_color = color; }
  // The mark is a selection state: 0 none, 1 selected, 2 selected in the lighter colour.
  // The drawing shows a box as its mark says, whatever the selection holds; a tap-off
  // unit's box carries the marks of the units marked in turn in it too.
  bool IsSelected() const { return m_selected != 0; }
  int GetSelectionState() const { return m_selected; }
  // States outside 0..2 count as 1 (selected).
  void SetSelectionState(int state);
  // Grows with every change of any box's mark: a picture kept from before a change of
  // marks is not the scene any more.
  static std::uint64_t SelectionMarksVersion();
  // The shape code the range gave a further box (top four bits of the attribute word).
  void SetKindCode(int code) {
    m_attributes = (m_attributes & 0x0FFFFFFFu) | (static_cast<std::uint32_t>(code & 0xF) << 28);
  }

  // Unit normal of face 0..5 from the axes; the zero vector for any other number.
  C3DPoint GetFaceNormal(int face) const;
  // Normal of face 0..5 (which the caller checks) from its corners, (c2 - c0) x (c1 - c0),
  // or (c2 - c0) x (c3 - c0) when c1 = c0; GetFaceNormal when that is zero too.
  C3DPoint GetCornerNormal(int face) const;
  // GetCornerNormal of faces 0..5, each to the same bits.
  std::array<C3DPoint, kFaceCount> GetCornerNormals() const;
  // Face 0..5: its nibble (0..15). Any other number: the in-list bit of the attribute
  // word (0 or kInListBit).
  std::uint32_t GetFaceFlags(int face) const {
    if (face < 0 || face >= kFaceCount) return m_attributes & kInListBit;
    return (m_attributes >> (4 * face)) & 0xF;
  }
  // Sets or clears nibble bits of face 0..5; other face numbers change nothing.
  void SetFaceBits(int face, std::uint32_t bits);
  void ClearFaceBits(int face, std::uint32_t bits);
  void ClearFaceNibbles() { m_attributes &= ~kFaceNibblesMask; }

  // Face of the owner's side 0..3 for a turn (1000: ignore the owner's rotation; 0: the
  // owner's rotation alone; other values turn by that many quarters). -1 without an
  // owner, for a side outside 0..3 or an owner direction outside 0..5.
  int MapSideToFace(int side, int turn) const;
  // Reference point 0..19: 0..7 corners chosen through the owner's direction and
  // rotation, 8..19 edge mid-points. The zero vector without an owner or outside 0..19.
  C3DPoint GetRefPoint(int n) const;
  // 1 + the first face (0..5) facing the viewer whose projected quadrilateral holds the
  // window point strictly inside; 0 when none. Restricted: 0 at once for a box with
  // drawing-pass bits that is not its owner's body.
  int HitTestFace(std::int32_t x, std::int32_t y, bool restricted) const;
  // The same with the box's window corners (GetWindowCorners) given, for a caller that
  // tests many points against one box.
  int HitTestFace(std::int32_t x, std::int32_t y, bool restricted,
                  const std::array<CPoint, kCornerCount>& window) const;

  // The stored record: for each corner the corner as a point and the projected corner
  // as two integers, seven blocks of 8 zero bytes, the pass word, the origin and the
  // three extents (kRecordSize bytes, little-endian).
  void Serialize(CArchiveWriter& archive) const;
  // Loading takes the corners as stored (not recomputed). Extents are stored as absolute
  // values. Throws CArchiveError when the record is cut short;
  // the box is then left unchanged.
  void Serialize(CArchiveReader& archive);

  // Corner k (0..3) of face 0..5 in drawing order; -1 outside the table.
  static int GetFaceCorner(int face, int k) {
    return (face >= 0 && face < kFaceCount && k >= 0 && k < 4) ? kFaceCorners[face][k] : -1;
  }
  // Position 0..3 of face `other` among the four faces around `face`; -1 for the face
  // itself, -2 for its opposite, and -1 for numbers outside 0..5.
  static int GetFacePairEntry(int face, int other);

 private:
  // The in-list bit itself, for the list, which makes its rebuild put off before reading it.
  friend class CDisplayList;
  bool InListBit() const { return (m_attributes & kInListBit) != 0; }

  static constexpr C3DPoint kAxes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  // How the world corners follow from origin and extents.
  enum class CornerForm : std::uint8_t {
    kExact,      // as ComputeCorners works them out
    kTruncated,  // those truncated to whole numbers, as a stored record keeps them
    kListed,     // as m_listedCorners holds them (a record whose corners follow no rule)
  };

  C3DPoint ExactCorner(int corner) const;
  C3DPoint CornerAt(int corner) const;
  // The corners as the stored record keeps them (each coordinate as ToStoredInt gives it).
  std::array<std::array<std::int32_t, 3>, kCornerCount> StoredCorners() const;
  C3DPoint ProjectedCornerAt(int corner) const;
  // Rows 0..rows-1 of the projection at every corner (window x, window y, depth), when
  // the box has a rotation and corners that follow from its origin and extents.
  bool ProjectRows(int rows, std::array<std::array<double, kCornerCount>, 3>& out) const;
  CPoint WindowCornerAt(int corner) const;
  // Called before the world corners change: a box that will not be projected again
  // holds on to the projection it has, as the drawing and the depth order still read it.
  void HoldProjectionUnlessReprojected();
  // The form that gives these corners, whole numbers as a stored record keeps them, from
  // the origin and extents as they are now.
  CornerForm FormOf(const std::array<C3DPoint, kCornerCount>& corners) const;
  template <class Corner>
  C3DPoint FaceNormalOf(int face, const Corner& corner) const;
  C3DPoint RefCorner(int corner) const;
  // Whether HitTestFace finds nothing at any point: a box of the drawing passes that is
  // not its owner's body when restricted, or one without a finite projection.
  bool HitTestBlocked(bool restricted) const;
  C3DPoint ExtraBoxCorner(int corner) const;

  // Largest first, the flags last: no padding between them.
  CBoxOwner* m_owner = nullptr;
  C3DPoint m_origin;
  CHeldCorners m_listedCorners;  // kListed only
  // The rotation of the last projection, which gives the projected corners from the
  // world corners; null for a box never projected (zeros) or one that holds its
  // projection in m_heldProjection.
  const CViewRotation* m_rotation = nullptr;
  CHeldCorners m_heldProjection;
  C3DPoint m_projectedMin;
  C3DPoint m_projectedMax;
  std::array<std::int32_t, 3> m_extent{0, 0, 0};
  std::uint32_t m_passWord = 0;
  std::uint32_t m_attributes = 0;
  std::uint32_t m_color = kNoColor;
  // The place belongs to the box's address, as a table keyed by address would have it: a
  // copy is in no list, and a box assigned to keeps its own place.
  struct CListSlot {
    std::uint32_t value = 0;
    CListSlot() = default;
    CListSlot(const CListSlot&) {}
    CListSlot& operator=(const CListSlot&) { return *this; }
  };
  CListSlot m_listSlot;
  CornerForm m_cornerForm = CornerForm::kExact;
  bool m_finite = true;  // m_projectedMin/Max are finite
  std::int8_t m_selected = 0;
};

// Whether the projected extents of the two boxes overlap with an area (touching edges
// do not count): only such boxes can hide one another.
inline bool StrictlyOverlap(const CBox& a, const CBox& b) {
  const C3DPoint& aMin = a.GetProjectedMin();
  const C3DPoint& aMax = a.GetProjectedMax();
  const C3DPoint& bMin = b.GetProjectedMin();
  const C3DPoint& bMax = b.GetProjectedMax();
  return aMin.x < bMax.x && bMin.x < aMax.x && aMin.y < bMax.y && bMin.y < aMax.y;
}
