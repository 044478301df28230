#pragma once

#include "geometry/3d_point.h"
#include "model/props/obj_with_prop.h"
#include "geometry/box.h"
#include "geometry/box_owner.h"
#include "model/element/box_slots.h"
#include "model/element/compact_text.h"
#include "geometry/window_point.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CArchiveReader;
class CArchiveWriter;
class CElementSelection;
class CPartRecord;
class CRun;
class CRunDocument;
struct CBitmapDesc;

// One element of a busbar run. Elements of a run form a tree through six neighbour
// links, one per face (links are symmetric; the back face is the face opposite the
// direction and the back neighbour the element it was attached to). The element owns
// its boxes; its neighbours and its attached element belong to the run.
//
// Kinds: 0 end element, 1 straight end, 2 elbow, 3..6 junctions with 2..5 branches,
// 7 in-line unit, 8 in-line unit with variants, 9 joint, 10 second joint kind, 11 bend
// point, 12 length record, 13 accessory record, 14 tap-off unit.
//
// Style word: bits 0-7 variant, 8-11 variant index (straight type), 12-15 option bits,
// 20-23 hood, 24-25 equipment-box selector, 26-31 cabinet bits.
// Final, so that the many calls an element makes on itself (its boxes and neighbours, asked
// for every element of a document read) are direct and inline.
class CDev final : public CObjWithProp, public CBoxOwner {
 public:
  enum Kind : int {
    kEnd = 0,
    kStraight = 1,
    kElbow = 2,
    kJunction2 = 3,
    kJunction3 = 4,
    kJunction4 = 5,
    kJunction5 = 6,
    kInLine = 7,
    kInLineVariant = 8,
    kJoint = 9,
    kJoint2 = 10,
    kBend = 11,
    kLengthRecord = 12,
    kAccessory = 13,
    kTapOff = 14
  };
  static constexpr int kKindCount = 15;
  static constexpr int kFaceCount = 6;
  static constexpr int kStoredBoxCount = 8;
  static constexpr const char* kGenericRef = "##GenericRef##";
  static_assert(CBoxSlots::kSlotCount == kSlotCount);

  CDev();
  explicit CDev(CRun* run);
  // Copies kind, both style words, reference, active flag, owner run, comment, lengths,
  // calibre, position, direction, rotation, edited flag, offsets, booked flag, calibre
  // suffix and part record; no boxes, no neighbours, all faces free, nothing attached.
  CDev(const CDev& other);
  CDev& operator=(const CDev&) = delete;
  // Takes the boxes out of the document's scene and tells the document (extra boxes,
  // annotations) and the selection. The run keeps its lists itself (CRun::DeleteElement).
  ~CDev() override;

  // Kind and style.
  int GetKind() const override { return m_kind; }
  void SetKind(int kind) { m_kind = kind; }
  std::uint32_t GetStyle() const override { return m_style; }
  void SetStyle(std::uint32_t style) { m_style = style; }
  std::uint32_t GetStyle2() const { return m_style2; }
  void SetStyle2(std::uint32_t style) { m_style2 = style; }
  int GetVariant() const { return static_cast<int>(m_style & 0xFF); }
  int GetVariantIndex() const { return static_cast<int>((m_style >> 8) & 0xF); }
  // Sets the variant (bits 0-7) or variant index (bits 8-11) in both style words.
  void SetVariantBoth(int variant);
  void SetVariantIndexBoth(int index);
  // The variant index of the whole straight line: this element and, along the line, its
  // neighbours ahead and behind (each stretch ending after a joint or before the start
  // element) move their booked lengths to the new index's length record and are recoloured.
  void SetVariantIndex(int index);

  // Reference: the run's default text of the kind and variant when none is chosen.
  const std::string& GetReference() const { return m_reference; }
  void SetReference(std::string reference);
  // The active flag (a kind-13 record with 0 is a manual record).
  int GetActive() const { return m_active; }
  void SetActive(int active) { m_active = static_cast<std::int16_t>(active); }
  bool IsActive() const { return m_active != 0; }
  // A bill-of-materials line added by hand or by an imported article list: its reference
  // is the user's and never the run's default text.
  bool IsManualRecord() const { return m_kind == kAccessory && m_active == 0; }
  std::uint32_t GetFlags() const override { return static_cast<std::uint32_t>(m_active); }

  CRun* GetRun() const { return m_run; }
  void SetRun(CRun* run) { m_run = run; }
  CRunDocument* GetDocument() const;

  const std::string& GetComment() const { return m_comment.str(); }
  void SetComment(std::string comment) {
    m_comment = std::move(comment);
    NoteRecordChanged();
  }
  std::int32_t GetBookedLength() const { return m_bookedLength; }
  void SetBookedLength(std::int32_t length) { m_bookedLength = length; }
  std::int32_t GetDrawnLength() const { return m_drawnLength; }
  void SetDrawnLength(std::int32_t length) { m_drawnLength = length; }
  std::int32_t GetLength() const override { return m_drawnLength; }
  std::int32_t GetOffset() const { return m_offset; }
  void SetOffset(std::int32_t offset) { m_offset = offset; }
  const std::string& GetCalibre() const { return m_calibre.str(); }
  void SetCalibre(std::string calibre) {
    m_calibre = std::move(calibre);
    NoteRecordChanged();
  }
  std::int32_t GetCalibreSuffix() const { return m_calibreSuffix; }
  void SetCalibreSuffix(std::int32_t suffix) {
    m_calibreSuffix = suffix;
    NoteRecordChanged();
  }
  C3DPoint GetPosition() const override { return m_position; }
  void SetPosition(const C3DPoint& position) { m_position = position; }
  int GetDirection() const override { return m_direction; }
  void SetDirection(int direction) { m_direction = direction; }
  int GetRotation() const override { return m_rotation; }
  void SetRotation(int rotation) { m_rotation = rotation; }
  // The face opposite the direction; -1 for a direction outside 0..5.
  int GetBackFace() const { return OppositeDirection(m_direction); }

  // Boxes: slots 0-5 faces, 6 main box, 7-24 further boxes.
  CBox* GetBox(int slot) const override { return m_boxes.Get(slot); }
  // Asked for every box that enters the scene or is drawn: the slots are searched directly.
  int GetBoxSlot(const CBox& box) const override { return m_boxes.SlotOf(box); }
  // The box of the slot, made (owner this element) when missing; null out of range.
  CBox* MakeBox(int slot);
  // Every slot in order, for the loops over all the boxes of a whole document.
  const CBoxSlots& GetBoxSlots() const { return m_boxes; }
  void DeleteBox(int slot);
  bool HasMainBox() const { return GetBox(kBodySlot) != nullptr; }

  // Free faces and neighbours; faces outside 0..5 read as 0 / null and are not stored.
  int GetFreeFace(int face) const;
  void SetFreeFace(int face, int flag);
  CDev* GetNeighbour(int face) const override {
    return face >= 0 && face < kFaceCount ? m_neighbours[static_cast<std::size_t>(face)] : nullptr;
  }
  void SetNeighbour(int face, CDev* neighbour);
  CDev* GetBackNeighbour() const { return GetNeighbour(GetBackFace()); }
  // Faces 0..5 in order, back face left out, that have a neighbour.
  std::vector<int> ForwardFaces() const;

  int GetEdited() const { return m_edited; }
  void SetEdited(int edited = 1) { m_edited = edited; }
  const std::array<std::int32_t, 3>& GetBackOffsets() const { return m_backOffsets; }
  void SetBackOffsets(const std::array<std::int32_t, 3>& offsets) { m_backOffsets = offsets; }
  const std::array<std::int32_t, 3>& GetFrontOffsets() const { return m_frontOffsets; }
  void SetFrontOffsets(const std::array<std::int32_t, 3>& offsets) { m_frontOffsets = offsets; }
  CDev* GetAttached() const { return m_attached; }
  void SetAttached(CDev* element) { m_attached = element; }
  int GetBooked() const { return m_booked; }
  void SetBooked(int booked) { m_booked = booked; }
  const CPartRecord* GetPartRecord() const { return m_partRecord; }
  void SetPartRecord(const CPartRecord* record) { m_partRecord = record; }
  // The picture of the part record; null when none.
  const CBitmapDesc* GetPartRecordField() const;

  // Bill-of-materials fields and properties (see dev_fields.cpp): "Ref", "Comment",
  // "Calibre", the document's "CoefGlob", "RemiseGlob", "PrixVR", a property, or a
  // computed price, time or weight field. Nothing for an absent field.
  std::optional<std::string> GetFieldText(std::string_view name) const;
  // The texts of several fields, as GetFieldText gives each, the bill line of the element
  // looked up once for all of them; `texts` as long as `names`.
  void GetFieldTexts(std::span<const std::string_view> names,
                     std::span<std::optional<std::string>> texts) const;
  // Marks the document modified, then stores; true when something was stored.
  bool SetFieldText(std::string_view name, std::string_view text);
  // Writes the calibre over a 22-character reference from its fourth character on.
  void OverlayRefCode(std::string& reference) const;

  // Sequence number in the run: post-order of a depth-first walk from the start element
  // (or the given start), then the kind-13 and kind-14 devices in list order; -1 when
  // absent.
  int GetChainIndex(const CDev* start = nullptr) const;
  // The element whose reference stands for this one in the bill of materials, or null.
  CDev* FindReferencedElement() const;
  // True when the reference differs from the run's default text of kind and variant.
  bool CarriesReference() const;
  // The element's length (its drawn length when `drawn`) plus that of each element
  // beyond it along the face (-1: the face opposite its direction) while they are
  // straight lengths of variant 0 or plain straights of variant 123. A damaged chain
  // that loops is counted once round.
  std::int64_t GetChainLength(int face, bool drawn) const;

  // Side roles and rotations of neighbours (tables of the element placement rules).
  int GetSideRole(int side) const;
  int GetSideRotation(int side) const;
  int GetEffectiveSideRotation(int side) const;

  // Connection offsets (placement rules): front offsets from the run's two rating
  // dimensions, back offsets and rotation from the back neighbour, and the rating applied
  // along the chain from this element (offsets and options; the boxes follow when the
  // scene is rebuilt).
  void SetConnectionOffsets(std::int32_t a, std::int32_t b);
  void TakeOffsetsFromBackNeighbour();
  void ApplyRatingDimensions(std::int32_t a, std::int32_t b, int mode);
  void RemoveOptionsByMode(int mode);
  // After new offsets along the chain: boxes rebuilt, back joint placed, the fire-barrier
  // colour with flag 0x800, the cursor point when current.
  void FollowNewOffsets(int flags);
  // The walk stops at elements of kind -first (first negative), else of kind 0.
  void ResetOptionsAlongChain(std::int32_t a, std::int32_t b, int first, int flags);

  // Placement (dev_placement.cpp, dev_insert.cpp, dev_remove.cpp, dev_turn.cpp). Every
  // edit keeps the neighbour links symmetric, books lengths through the run and
  // rebuilds the boxes it changed. Operations that refuse return 0 and change nothing.
  // Face bits where a new element may attach (the document's tool mode decides).
  int GetFreeFaceMask() const;
  // Tool mode 1 on the current element: a straight toward the window point; 1 when one
  // was added (its position in `position`), 0 when the click found no free face.
  int AddStraightAt(CPoint point, C3DPoint* position);
  // The edit of AddStraightAt at a known face and length (rounded up to a multiple of
  // 4): the new straight, or null when the face is not free.
  CDev* AddStraightToward(int face, std::int64_t length);
  // To 1 (a plain straight end) or 9 (a joint); any other request changes nothing.
  void ChangeKind(int kind);
  // Inserts an element of the kind (7, 8, 9 or 11) at the joint of the clicked face
  // box, `distance` from the joint's back element; 1 when inserted, 0 when refused. The
  // joint of tool mode 6 is inserted inactive.
  int InsertOnLine(CPoint point, const CBox* faceBox, int kind, C3DPoint* position = nullptr);
  // The same at a length already known (layout units from the joint's back element).
  int InsertOnLineAt(std::int64_t distance, const CBox* faceBox, int kind,
                     C3DPoint* position = nullptr);
  // A kind-7 unit between this element and its neighbour at the face, at the booked
  // distance; housing length 0 takes the run's box sizes. 1 when it fits.
  int InsertRiserFixing(int face, std::int32_t bookedDistance, std::int32_t housingLength);
  // The joint that splits the line through the face at the booked length, inserted when
  // none is there; null for a face without a neighbour or a length outside the segment.
  CDev* SplitAtLength(int face, std::int32_t bookedLength);
  // Tool mode 3: 1 when turned toward the free face, 0 when not.
  int TurnAtFace(int face);
  // Moves the branch beyond this element from one face to another (top: the element
  // where the turn starts keeps its back link).
  void TurnBranch(int fromFace, int toFace, bool top);
  // Tool mode 4: a free straight end becomes an end element; 1 when it did.
  int MakeEnd(const CBox* box);
  // Removes the element (face 6: the whole element) or its branch; 1 when removed, the
  // caller then deletes the element unless it was an end turned back into a straight.
  int RemoveFromRun(int face, C3DPoint* position);
  // The delete command on the document's selection: the removal result.
  int DeleteCurrentSelection();
  void MoveAlongDirection(std::int32_t distance);
  void SetLength(std::int32_t length, bool keepTotal);
  // The offset (housing length) set, boxes rebuilt and both joints placed again.
  void ChangeOffset(std::int32_t offset);
  void Translate(const C3DPoint& vector, bool recursive);
  // Boxes of this element and of everything beyond it, each element once.
  void RebuildChain();
  int PickNearestEnd(CPoint point, C3DPoint* position, const CBox* box);

  // Shapes (dev_shapes.cpp, dev_joints.cpp, dev_colors.cpp).
  // Main box and further boxes; mode > 0 gives kinds 2..6 the node box of a straight.
  void BuildBoxes(int mode);
  // Boxes 7..24 from the range's element geometry, from the slot on (the boxes a file
  // does not keep are made again after a read).
  void BuildFurtherBoxes(int firstSlot = kBodySlot + 1);
  // The equipment box of an end element or kind-8 unit (dev_equipment.cpp): made,
  // sized, turned and placed by style bits 24-31, or removed.
  void BuildEquipmentBox();
  // Cabinet faces and hood of the equipment box at that index of the document's extra
  // boxes (dev_feed_boxes.cpp).
  void BuildFeedBoxes(CBox& box, int index);
  // The two face boxes of the joint with the back neighbour.
  void PlaceNextTo(CDev* back);
  // Colours by kind, variant and options; boxes in the skip colour stay.
  void UpdateBoxColors(bool flag);
  // The display colours of the colour indexes 0..15 as the settings give them now.
  using CIndexColors = std::array<std::uint32_t, 16>;
  static CIndexColors CurrentIndexColors();
  // UpdateBoxColors with the index colours looked up already: a run recolouring all its
  // elements (every run of a file being opened) looks them up once.
  void UpdateBoxColors(bool flag, const CIndexColors& colors);
  void SetBoxColor(std::uint32_t color);
  // The display colour of a colour index (0..14) as a colour value.
  static std::uint32_t ColorOfIndex(int index);

  // Selection (dev_selection.cpp): one selection per document.
  // Select with a box of this element, or clear (select false); 1 when selected or
  // cleared, 0 when refused.
  int SelectElement(bool select, CBox* box);
  // Sets the selection marks of the boxes of a face (6: the whole element) to a
  // selection state (0 none, 1 selected, 2 selected in the lighter colour); 0 when an
  // end element without a back neighbour is asked to mark what lies beyond.
  int MarkSelected(int face, int value);
  // The run's bill-of-materials line of the selected element selected (or cleared);
  // whether a line was found.
  bool SelectLineInBOM(bool select);

  // Property window.
  CObjWithProp* GetNextObject() const override;
  CObjWithProp* GetPrevObject() const override;
  CObjWithProp* GetNextSameName() const override;
  CObjWithProp* GetPrevSameName() const override;
  void GoToObject(CObjWithProp* target, int how) override;
  std::vector<int> GetPages() const override { return m_pages ? *m_pages : std::vector<int>(); }
  // Asks the run (CRun::GetPageWord).
  int GetPageWord(int page) const override;
  // 1025 first clears the window, 1025 and 1027 then take the run's page list for this
  // element (1027 is shown once the current command ends); any other message clears
  // them. Then the base's notification.
  int NotifyPropDialog(int message);
  bool ReachesPropWindow() const override;

  // The element record, with the records of the neighbours beyond it nested (written
  // and read without recursion). Reading an element with linked neighbours needs an
  // owner run; a damaged record throws CArchiveError.
  void Serialize(CArchiveWriter& archive) const override;
  void Serialize(CArchiveReader& archive) override;

  // CBoxOwner.
  C3DProjection* GetProjection() const override;
  std::vector<const CBox*> GetExtraBoxes() const override;
  std::string GetRunProperty(std::string_view name) const override;
  // Asks the rules of the element's range.
  bool HasFarConnectionPoint() const override;
  // From the program's box point source (CRunEnvironment); none without one.
  C3DPoint GetConnectionCode(const CBox& box, int point, int mode) const override;
  C3DPoint GetSupportPoint(const CBox& box, int point, int slot) const override;

 private:
  // The run's bill shows the element's fields: it is told that they changed.
  void OnPropsEdited() override { NoteRecordChanged(); }
  void NoteRecordChanged();
  // The faces whose free flag is set, whatever the tool (GetFreeFaceMask narrows them
  // for the turn tool).
  int GetOpenFaceMask() const;
  // The selected unit goes through the reset of marked units; 1 when it is gone.
  static int DeleteSelectedUnit(CRun& run, CDev& unit, int face);
  // The selection of this element at that face index put back after a refused delete.
  void Reselect(int face);
  // Equipment box steps (dev_equipment.cpp, dev_feed_boxes.cpp).
  std::array<std::int32_t, 6> ReadEquipmentValues(const std::string& connection,
                                                  std::array<std::int32_t, 6> values,
                                                  const std::array<std::int32_t, 3>& preset,
                                                  bool qm);
  int EquipmentTurns(const std::string& connection) const;
  void PlaceEquipmentBox(CBox& box, const std::array<std::int32_t, 6>& values, int turns);
  void BuildBoxFaces(CBox& box, int index, int open, int turns, int code, bool hood);
  friend class CElementRecordReader;
  friend class CElementRecordWriter;
  friend class CRun;
  friend class CRunRefIndex;

  // Links a new element between the back element and the front one along the
  // direction, takes its lengths out of the front one, gives it its boxes and books it.
  void CompleteInsertion(CDev& back, CDev& front, int direction, std::uint32_t mainColor);
  // The neighbour's branch removed with it (case 3 of RemoveFromRun).
  void RemoveBranchLink(CDev& back, int face);
  // An element beyond a turn takes its new direction and its place after its (already
  // turned) back neighbour.
  void TurnDirection(int direction);

  // Widest members first, so that a document's tens of thousands of elements carry no
  // padding between them.
  std::string m_reference = "Void";
  CRun* m_run = nullptr;
  CCompactText m_comment;
  CCompactText m_calibre;
  C3DPoint m_position;
  CBoxSlots m_boxes;
  std::array<CDev*, kFaceCount> m_neighbours{};
  CDev* m_attached = nullptr;
  const CPartRecord* m_partRecord = nullptr;
  std::unique_ptr<std::vector<int>> m_pages;  // while the property window shows the element
  // Kept by the run: the key it is indexed under (the index's own copy of it), its place
  // in list order and which list holds it (0 none, 1 devices, 2 length records).
  const std::string* m_indexKey = nullptr;
  std::uint64_t m_listStamp = 0;
  int m_listed = 0;
  int m_kind = kStraight;
  std::uint32_t m_style = 0;
  std::uint32_t m_style2 = 0;
  std::int32_t m_bookedLength = 0;
  std::int32_t m_drawnLength = 0;
  std::int32_t m_offset = 0;
  int m_direction = 1;
  int m_rotation = 16;
  int m_edited = 0;
  std::array<std::int32_t, 3> m_backOffsets{};
  std::array<std::int32_t, 3> m_frontOffsets{};
  int m_booked = 1;
  std::int32_t m_calibreSuffix = 0;
  std::int16_t m_active = 0;
  std::array<std::int8_t, kFaceCount> m_freeFaces{1, 1, 1, 1, 1, 1};
};

// The kind group: 0 for 0; 1 for 1..6 and 9; 7 for 7; 8 for 8; -1 otherwise.
int GetKindGroup(int kind);
// Face bits 1, 2, 4, 8, 16, 32 to faces 4, 0, 2, 3, 1, 5; -1 otherwise.
int FaceBitToIndex(int bit);
// The face bit of a face 0..5; 0 otherwise.
int FaceIndexToBit(int face);
// Applies MarkSelected (with that selection state) to the document's selection; clearing
// keeps the selection's own marks shown. 0 without a selection.
int MarkCurrentSelection(CRunDocument* document, int value);
// The program's own clear of a selection (a rebuild, the run's pages shown): the marks
// that the selection shows go with it; nobody is told.
void DropSelection(CElementSelection& selection);
// The element selected at that face index (CElementSelection::kWholeElement: the whole
// element) in place of the selection before, with the marks that show it; nobody is told.
void PutSelection(CDev& element, int face);
// Rounds up to a multiple of 4; negative values go to the multiple of 4 above them.
std::int64_t RoundUpToFour(std::int64_t value);
// Thickness of the two face boxes of a joint across a gap between main boxes: the gap
// grown to the next multiple of 4 (by 4 when it is one); an overlap to the multiple of
// 4 just above it.
std::int64_t JointThickness(std::int64_t gap);
// Text trimmed of blanks at both ends.
std::string_view TrimBlanks(std::string_view text);
