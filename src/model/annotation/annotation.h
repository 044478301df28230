#pragma once

#include "geometry/3d_point.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class CArchiveReader;
class CArchiveWriter;
class CDev;
class CRun;

// Who an annotation belongs to: the document, the totals page of the bill-of-materials
// view, a run (kinds 3..5) or an element (kinds 0..2 and attached texts).
enum class EAnnotationOwner { kDocument, kTotalsPage, kRun, kElement };

// A drawing element laid over the layout: a dimension line, a position mark, a run
// label. This class holds the record; drawing and dialogs live with the views.
class CAnnotation {
 public:
  static constexpr int kKindCount = 10;
  enum Kind : int {
    kBranch = 0,
    kDimension = 1,
    kPosition = 2,
    kBom = 3,
    kRunInfo = 4,
    kSection = 5,
    kText = 6,
    kImage = 7,
    kTitleBlock = 8,
    kDistance = 9,
  };
  // Flag bits. The drawn bit is set by a view's pass on the screen and stored with the
  // design; where each view drew the label is that view's own (not kept here).
  static constexpr std::uint32_t kFlagDrawn = 0x001;
  static constexpr std::uint32_t kFlagAttached = 0x100;
  static constexpr std::uint32_t kFlagWithRun = 0x200;
  static constexpr std::uint32_t kFlagUserAttached = 0x400;
  // With kFlagWithRun, the stored flags carry the linked run's 1-based index here.
  static constexpr int kRunIndexShift = 24;
  static constexpr std::uint32_t kRunIndexMask = 0xFF000000;
  // A label point whose three coordinates hold this value is unset.
  static constexpr double kUnsetCoordinate = -999999999.99999;

  // kind: 0..9.
  explicit CAnnotation(int kind);
  virtual ~CAnnotation();
  CAnnotation(const CAnnotation&) = default;
  CAnnotation& operator=(const CAnnotation&) = default;

  virtual bool IsLabel() const { return false; }

  int GetKind() const { return m_kind; }
  bool HasKnownKind() const { return m_kind >= 0 && m_kind < kKindCount; }
  std::uint32_t GetFlags() const { return m_flags; }
  void SetFlags(std::uint32_t flags) { m_flags = flags; }
  const std::string& GetText() const { return m_text; }
  void SetText(std::string text) { m_text = std::move(text); }
  const std::array<std::int32_t, 2>& GetOffset() const { return m_offset; }
  void SetOffset(std::int32_t dx, std::int32_t dy) { m_offset = {dx, dy}; }
  const C3DPoint& GetLabelPoint() const { return m_labelPoint; }
  void SetLabelPoint(const C3DPoint& point) { m_labelPoint = point; }
  bool IsLabelPointUnset() const;
  // Construction points 0..2 (the third is stored by user dimensions).
  const C3DPoint& GetPoint(int index) const { return m_points.at(static_cast<std::size_t>(index)); }
  void SetPoint(int index, const C3DPoint& point) {
    m_points.at(static_cast<std::size_t>(index)) = point;
  }

  EAnnotationOwner GetOwnerKind() const { return m_ownerKind; }
  CRun* GetOwnerRun() const { return m_ownerRun; }
  CDev* GetOwnerElement() const { return m_ownerElement; }
  void SetOwnerDocument() { SetOwner(EAnnotationOwner::kDocument, nullptr, nullptr); }
  void SetOwnerTotalsPage() { SetOwner(EAnnotationOwner::kTotalsPage, nullptr, nullptr); }
  void SetOwnerRun(CRun* run) { SetOwner(EAnnotationOwner::kRun, run, nullptr); }
  void SetOwnerElement(CDev* element) { SetOwner(EAnnotationOwner::kElement, nullptr, element); }
  CRun* GetLinkedRun() const { return m_linkedRun; }
  void SetLinkedRun(CRun* run) { m_linkedRun = run; }

  // The record: kind, flags (storedFlags: the flags with the linked run's index put in),
  // text, offset and, from file version 512, the label point.
  void WriteRecord(CArchiveWriter& archive, std::uint32_t storedFlags) const;
  // Reads a record into a new annotation; throws CArchiveError when the record is cut
  // short. A kind outside 0..9 gives kind -1 (HasKnownKind false), which the lists drop.
  // Older versions leave the label point unset.
  static std::unique_ptr<CAnnotation> ReadRecord(CArchiveReader& archive, int fileVersion);
  // Takes the stored fields of another record (kind excepted).
  void TakeRecordFields(const CAnnotation& other);

 private:
  void SetOwner(EAnnotationOwner kind, CRun* run, CDev* element) {
    m_ownerKind = kind;
    m_ownerRun = run;
    m_ownerElement = element;
  }

  int m_kind;
  std::uint32_t m_flags = 0;
  std::string m_text;
  EAnnotationOwner m_ownerKind = EAnnotationOwner::kDocument;
  CRun* m_ownerRun = nullptr;
  CDev* m_ownerElement = nullptr;
  CRun* m_linkedRun = nullptr;
  std::array<std::int32_t, 2> m_offset{};
  C3DPoint m_labelPoint{kUnsetCoordinate, kUnsetCoordinate, kUnsetCoordinate};
  std::array<C3DPoint, 3> m_points{};
};
