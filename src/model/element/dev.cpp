#include "model/element/dev.h"

#include "model/element/box_point_source.h"
#include "model/element/element_selection.h"
#include "model/element/part_record.h"
#include "model/run/run.h"
#include "model/run/run_range_rules.h"
#include "model/document/run_document.h"
#include "model/run/run_environment.h"
#include "geometry/3d_projection.h"

CDev::CDev() = default;

CDev::CDev(CRun* run) : m_run(run) {}

CDev::CDev(const CDev& other)
    : CObjWithProp(other),
      CBoxOwner(other),
      m_reference(other.m_reference),
      m_run(other.m_run),
      m_comment(other.m_comment),
      m_calibre(other.m_calibre),
      m_position(other.m_position),
      m_partRecord(other.m_partRecord),
      m_kind(other.m_kind),
      m_style(other.m_style),
      m_style2(other.m_style2),
      m_bookedLength(other.m_bookedLength),
      m_drawnLength(other.m_drawnLength),
      m_offset(other.m_offset),
      m_direction(other.m_direction),
      m_rotation(other.m_rotation),
      m_edited(other.m_edited),
      m_backOffsets(other.m_backOffsets),
      m_frontOffsets(other.m_frontOffsets),
      m_booked(other.m_booked),
      m_calibreSuffix(other.m_calibreSuffix),
      m_active(other.m_active) {}

CDev::~CDev() {
  C3DProjection* projection = GetProjection();
  for (auto& box : m_boxes) {
    if (box && projection != nullptr) projection->ForgetInDisplayList(*box);
  }
  if (CRunDocument* document = GetDocument()) document->OnElementDestroyed(*this);
  CElementSelection::Of(*this).Forget(this);
}

CRunDocument* CDev::GetDocument() const {
  return m_run != nullptr ? m_run->GetDocument() : nullptr;
}

void CDev::SetVariantBoth(int variant) {
  const auto bits = static_cast<std::uint32_t>(variant) & 0xFFu;
  m_style = (m_style & ~0xFFu) | bits;
  m_style2 = (m_style2 & ~0xFFu) | bits;
}

void CDev::SetVariantIndexBoth(int index) {
  const auto bits = (static_cast<std::uint32_t>(index) & 0xFu) << 8;
  m_style = (m_style & ~0xF00u) | bits;
  m_style2 = (m_style2 & ~0xF00u) | bits;
}

void CDev::NoteRecordChanged() {
  if (m_run != nullptr) m_run->MarkBillStale();
}

void CDev::SetReference(std::string reference) {
  if (reference == m_reference) return;
  m_reference = std::move(reference);
  if (m_run != nullptr) m_run->OnReferenceChanged(*this);
}

CBox* CDev::MakeBox(int slot) {
  if (slot < 0 || slot >= kSlotCount) return nullptr;
  if (CBox* box = m_boxes.Get(slot)) return box;
  auto box = std::make_unique<CBox>(this);
  CBox* made = box.get();
  m_boxes.Put(slot, std::move(box));
  return made;
}

void CDev::DeleteBox(int slot) {
  CBox* box = m_boxes.Get(slot);
  if (box == nullptr) return;
  C3DProjection* projection = GetProjection();
  if (projection != nullptr) projection->ForgetInDisplayList(*box);
  m_boxes.Take(slot);
}

int CDev::GetFreeFace(int face) const {
  if (face < 0 || face >= kFaceCount) return 0;
  return m_freeFaces[static_cast<std::size_t>(face)];
}

void CDev::SetFreeFace(int face, int flag) {
  if (face < 0 || face >= kFaceCount) return;
  m_freeFaces[static_cast<std::size_t>(face)] = static_cast<std::int8_t>(flag);
}

void CDev::SetNeighbour(int face, CDev* neighbour) {
  if (face < 0 || face >= kFaceCount) return;
  m_neighbours[static_cast<std::size_t>(face)] = neighbour;
}

std::vector<int> CDev::ForwardFaces() const {
  std::vector<int> faces;
  const int back = GetBackFace();
  for (int face = 0; face < kFaceCount; ++face) {
    if (face != back && GetNeighbour(face) != nullptr) faces.push_back(face);
  }
  return faces;
}

const CBitmapDesc* CDev::GetPartRecordField() const {
  return m_partRecord != nullptr ? m_partRecord->GetBitmapDesc() : nullptr;
}

C3DProjection* CDev::GetProjection() const {
  CRunDocument* document = GetDocument();
  return document != nullptr ? document->GetProjection() : nullptr;
}

std::vector<const CBox*> CDev::GetExtraBoxes() const {
  CRunDocument* document = GetDocument();
  return document != nullptr ? document->GetExtraBoxes() : std::vector<const CBox*>();
}

std::string CDev::GetRunProperty(std::string_view name) const {
  return m_run != nullptr ? m_run->GetPropText(name) : std::string();
}

C3DPoint CDev::GetConnectionCode(const CBox& box, int point, int mode) const {
  CBoxPointSource* source = CRunEnvironment::Instance().BoxPoints();
  return source != nullptr ? source->ConnectionCode(box, point, mode) : C3DPoint();
}

C3DPoint CDev::GetSupportPoint(const CBox& box, int point, int slot) const {
  CBoxPointSource* source = CRunEnvironment::Instance().BoxPoints();
  return source != nullptr ? source->SupportPoint(box, point, slot) : C3DPoint();
}

bool CDev::HasFarConnectionPoint() const {
  return m_run != nullptr &&
         m_run->GetRangeRules().HasFarConnectionPoint(*this, m_run->GetPropText("Catalog"));
}

int GetKindGroup(int kind) {
  if (kind == 0) return 0;
  if ((kind >= 1 && kind <= 6) || kind == 9) return 1;
  if (kind == 7 || kind == 8) return kind;
  return -1;
}

int FaceBitToIndex(int bit) {
  switch (bit) {
    case 1: return 4;
    case 2: return 0;
    case 4: return 2;
    case 8: return 3;
    case 16: return 1;
    case 32: return 5;
    default: return -1;
  }
}

int FaceIndexToBit(int face) {
  static constexpr int kBits[6] = {2, 16, 4, 8, 1, 32};
  return face >= 0 && face < 6 ? kBits[face] : 0;
}

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}
