#include "model/run/run_record_skim.h"

#include "model/bom/bom_record.h"
#include "model/element/dev.h"
#include "model/element/element_record_form.h"
#include "model/props/obj_with_prop.h"
#include "geometry/box.h"
#include "platform/archive.h"

#include <cstdint>
#include <span>

namespace {

using ElementRecordForm::kMinRecordBytes;

// A look through the bytes buffered ahead of a reader, with the reader's names for its
// steps: a record that lies there whole is passed in one go, with no check of the
// buffer's end at every field. A step beyond those bytes, or a form the look leaves to
// the reader (a property, a long or 8-bit text), spoils the look; the reader then passes the
// record as ever, so that a stream ending within it fails where it always did.
class CBufferedLook {
 public:
  explicit CBufferedLook(std::span<const std::uint8_t> bytes)
      : m_start(bytes.data()), m_at(m_start), m_end(m_start + bytes.size()) {}

  bool Spoilt() const { return m_spoilt; }
  void Spoil() {
    m_spoilt = true;
    m_at = m_end;  // every later step spoils too
  }
  std::size_t Passed() const { return static_cast<std::size_t>(m_at - m_start); }

  void Skip(std::size_t count) {
    if (static_cast<std::size_t>(m_end - m_at) < count) return Spoil();
    m_at += count;
  }
  std::uint8_t ReadByte() { return static_cast<std::uint8_t>(Read<1>()); }
  std::uint16_t ReadWord() { return static_cast<std::uint16_t>(Read<2>()); }
  std::uint32_t ReadDword() { return static_cast<std::uint32_t>(Read<4>()); }
  // The writer's form with a count below 255; any other is left to the reader.
  void SkipString() {
    const int units =
        static_cast<std::size_t>(m_end - m_at) < kShortTextPrefixSize ? -1 : ShortTextUnits(m_at);
    if (units < 0) return Spoil();
    Skip(kShortTextPrefixSize + 2 * static_cast<std::size_t>(units));
  }

 private:
  template <std::size_t N>
  std::uint64_t Read() {
    if (static_cast<std::size_t>(m_end - m_at) < N) {
      Spoil();
      return 0;
    }
    const std::uint64_t value = DecodeLittleEndian<N>(m_at);
    m_at += N;
    return value;
  }
  const std::uint8_t* m_start;
  const std::uint8_t* m_at;
  const std::uint8_t* m_end;
  bool m_spoilt = false;
};

void SkipProperties(CArchiveReader& archive) {
  const std::uint16_t count = archive.ReadWord();
  if (count == 0) return;  // most objects store none
  archive.RequireCount(count, CObjWithProp::kMinStoredPropBytes, "property list");
  for (std::uint16_t i = 0; i < count; ++i) {
    archive.SkipString();
    archive.SkipString();
  }
}

void SkipProperties(CBufferedLook& look) {
  if (look.ReadWord() != 0) look.Spoil();  // left to the reader
}

// An element's own fields and boxes, up to the records nested at its faces.
template <class Reader>
void SkipElementHead(Reader& reader, int version) {
  SkipProperties(reader);
  reader.Skip(2);  // kind
  const std::uint32_t style = reader.ReadDword();
  const bool equipment = (style & ElementRecordForm::kEquipmentBits) != 0 &&
                         version > ElementRecordForm::kEquipmentValuesAfter;
  reader.Skip(4);                      // second style word
  reader.SkipString();                 // reference
  reader.Skip(3);                      // active, edited, booked
  reader.SkipString();                 // comment
  reader.Skip(3 * 4);                  // booked and drawn lengths, offset
  reader.SkipString();                 // calibre
  reader.Skip(3 * 4 + 2 * 2 + 6 * 4);  // position, direction and rotation, offsets
  for (int slot = 0; slot < CDev::kStoredBoxCount; ++slot) {
    if (reader.ReadByte() != 0) reader.Skip(CBox::kRecordSize);
  }
  if (equipment) reader.Skip(6 * 4);
}

}  // namespace

CRunRecordSkimmer::CRunRecordSkimmer(int fileVersion)
    : m_version(fileVersion), m_annotations(m_noAnnotations, m_noRuns, fileVersion) {}

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
  CBOMRecord::Skip(archive, m_version);
  m_annotations.SkipList(archive, false);
}

// The records nested in an element come each at the face it hangs on, whole, between
// that face's bytes and the next face's: a chain nests as deep as it is long, so the open
// records are kept on a stack of their own rather than on the call stack.
void CRunRecordSkimmer::SkipElement(CArchiveReader& archive) {
  SkipHead(archive);
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
    SkipHead(archive);
    m_openFaces.push_back(0);
  }
}

void CRunRecordSkimmer::SkipHead(CArchiveReader& archive) const {
  // Nearly always the whole head is buffered, with no property and short texts.
  CBufferedLook look(archive.PeekBuffered());
  SkipElementHead(look, m_version);
  if (look.Spoilt()) SkipElementHead(archive, m_version);
  else archive.Skip(look.Passed());
}
