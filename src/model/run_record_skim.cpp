#include "model/run_record_skim.h"

#include "model/bom_record.h"
#include "model/bom_stored_fonts.h"
#include "model/dev.h"
#include "model/element_record_form.h"
#include "model/obj_with_prop.h"
#include "geometry/box.h"
#include "platform/archive.h"

namespace {

using ElementRecordForm::kMinRecordBytes;

}  // namespace

CRunRecordSkimmer::CRunRecordSkimmer(int fileVersion)
    : m_version(fileVersion), m_annotations(m_noAnnotations, m_noRuns, fileVersion) {}

void CRunRecordSkimmer::SkipProperties(CArchiveReader& archive) {
  const std::uint16_t count = archive.ReadWord();
  if (count == 0) return;  // most objects store none
  archive.RequireCount(count, CObjWithProp::kMinStoredPropBytes, "property list");
  for (std::uint16_t i = 0; i < count; ++i) {
    archive.SkipString();
    archive.SkipString();
  }
}

void CRunRecordSkimmer::SkipRun(CArchiveReader& archive) {
  SkipProperties(archive);
  for (int text = 0; text < 3; ++text) archive.SkipString();  // name, comment, calibre
  const std::uint8_t high = archive.ReadByte();
  archive.Skip(3);  // rotation and parts state
  const std::uint8_t low = archive.ReadByte();
  if ((high >> 4) == 0 && low == 0) SkipElement(archive);  // the start marker
  const std::uint32_t lengths = archive.ReadDword();
  archive.RequireCount(lengths, kMinRecordBytes, "length records");
  for (std::uint32_t i = 0; i < lengths; ++i) SkipElement(archive);
  if (archive.ReadByte() != 0) SkipElement(archive);  // the chain
  const std::uint32_t devices = archive.ReadDword();
  archive.RequireCount(devices, kMinRecordBytes, "devices");
  for (std::uint32_t i = 0; i < devices; ++i) SkipElement(archive);
  CBOMStoredFonts fonts;
  (void)CBOMRecord::Read(archive, m_version, fonts);
  m_annotations.SkipList(archive, false);
}

// The records nested in an element come each at the face it hangs on, whole, between
// that face's bytes and the next face's: a chain nests as deep as it is long, so the open
// records are kept on a stack of their own rather than on the call stack.
void CRunRecordSkimmer::SkipElement(CArchiveReader& archive) {
  SkipElementHead(archive);
  m_openFaces.assign(1, 0);
  while (!m_openFaces.empty()) {
    if (m_openFaces.back()++ == CDev::kFaceCount) {
      archive.Skip(1);  // whether it was the run's current element
      m_annotations.SkipList(archive, true);
      m_openFaces.pop_back();
      continue;
    }
    archive.Skip(1);  // the free-face value
    if (archive.ReadByte() == 0) continue;
    SkipElementHead(archive);
    m_openFaces.push_back(0);
  }
}

void CRunRecordSkimmer::SkipElementHead(CArchiveReader& archive) {
  SkipProperties(archive);
  archive.Skip(2);  // kind
  const std::uint32_t style = archive.ReadDword();
  const bool equipment = (style & ElementRecordForm::kEquipmentBits) != 0 &&
                         m_version > ElementRecordForm::kEquipmentValuesAfter;
  archive.Skip(4);                      // second style word
  archive.SkipString();                 // reference
  archive.Skip(3);                      // active, edited, booked
  archive.SkipString();                 // comment
  archive.Skip(3 * 4);                  // booked and drawn lengths, offset
  archive.SkipString();                 // calibre
  archive.Skip(3 * 4 + 2 * 2 + 6 * 4);  // position, direction and rotation, offsets
  for (int slot = 0; slot < CDev::kStoredBoxCount; ++slot) {
    if (archive.ReadByte() != 0) archive.Skip(CBox::kRecordSize);
  }
  if (equipment) archive.Skip(6 * 4);
}
