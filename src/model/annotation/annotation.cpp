#include "model/annotation/annotation.h"

#include "platform/archive.h"

namespace {

constexpr int kLabelPointVersion = 512;

}  // namespace

CAnnotation::CAnnotation(int kind) : m_kind(kind) {}

CAnnotation::~CAnnotation() = default;

bool CAnnotation::IsLabelPointUnset() const {
  const C3DPoint unset(kUnsetCoordinate, kUnsetCoordinate, kUnsetCoordinate);
  return m_labelPoint == unset;
}

void CAnnotation::WriteRecord(CArchiveWriter& archive, std::uint32_t storedFlags) const {
  archive.WriteDword(static_cast<std::uint32_t>(m_kind));
  archive.WriteDword(storedFlags);
  archive.WriteString(m_text);
  archive.WriteLong(m_offset[0]);
  archive.WriteLong(m_offset[1]);
  m_labelPoint.Serialize(archive);
}

std::unique_ptr<CAnnotation> CAnnotation::ReadRecord(CArchiveReader& archive, int fileVersion) {
  // Every kind has the same record: one of an unknown kind is read whole, for the lists
  // to drop it.
  const std::uint32_t kind = archive.ReadDword();
  const int known = kind < static_cast<std::uint32_t>(kKindCount) ? static_cast<int>(kind) : -1;
  auto annotation = std::make_unique<CAnnotation>(known);
  annotation->m_flags = archive.ReadDword();
  annotation->m_text = archive.ReadString();
  annotation->m_offset[0] = archive.ReadLong();
  annotation->m_offset[1] = archive.ReadLong();
  if (fileVersion >= kLabelPointVersion) {
    annotation->m_labelPoint.Serialize(archive);
    // The stored form keeps whole numbers only: the unset value comes back as its whole
    // part, which no label placed by hand reaches in all three coordinates.
    const double stored = C3DPoint::ToStoredInt(kUnsetCoordinate);
    if (annotation->m_labelPoint == C3DPoint(stored, stored, stored))
      annotation->m_labelPoint = C3DPoint(kUnsetCoordinate, kUnsetCoordinate, kUnsetCoordinate);
  }
  return annotation;
}

void CAnnotation::TakeRecordFields(const CAnnotation& other) {
  m_flags = other.m_flags;
  m_text = other.m_text;
  m_offset = other.m_offset;
  m_labelPoint = other.m_labelPoint;
}
