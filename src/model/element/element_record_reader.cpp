#include "model/element/element_record_reader.h"
#include "model/run/run_range_rules.h"

#include "platform/archive.h"
#include "model/element/dev.h"
#include "model/element/element_record_form.h"
#include "model/run/run.h"
#include "model/document/run_document.h"

#include "platform/text_conversions.h"

#include <array>

namespace {

constexpr int kCurrentVersion = 10000;

// Count values of Size little-endian bytes each: as one block when the reader holds them
// all, as it nearly always does, else one read at a time.
template <std::size_t Size, std::size_t Count>
std::array<std::uint32_t, Count> ReadFields(CArchiveReader& archive) {
  static_assert(Size == 1 || Size == 2 || Size == 4);
  std::array<std::uint32_t, Count> values;
  if (const std::uint8_t* block = archive.TakeBuffered(Size * Count)) {
    for (std::size_t i = 0; i < Count; ++i)
      values[i] = static_cast<std::uint32_t>(DecodeLittleEndian<Size>(block + Size * i));
    return values;
  }
  for (std::uint32_t& value : values) {
    if constexpr (Size == 1) value = archive.ReadByte();
    else if constexpr (Size == 2) value = archive.ReadWord();
    else value = archive.ReadDword();
  }
  return values;
}

// A long chain nests each element in the one before it, so its elements are finished (read
// to the end and listed) in the reverse of their reading, once the whole chain is read and
// the first of them left the cache long ago: the element a few records down the stack is
// fetched while the top one is finished. Null when there is none so far down.
const char* ElementBelow(const std::vector<CElementRecordReader::Frame>& stack) {
  constexpr std::size_t kAhead = 8;
  if (stack.size() <= kAhead) return nullptr;
  return reinterpret_cast<const char*>(stack[stack.size() - 1 - kAhead].element);
}

bool IsValidRotation(int rotation) {
  return rotation == 16 || rotation == 32 || rotation == 64 || rotation == 128;
}

}  // namespace

CElementRecordReader::CElementRecordReader(CArchiveReader& archive, CRun* run)
    : m_archive(archive), m_run(run) {
  const CRunDocument* document = run != nullptr ? run->GetDocument() : nullptr;
  m_version = document != nullptr ? document->GetFileVersion() : kCurrentVersion;
}

void CElementRecordReader::Damaged(const std::string& what) const {
  throw CArchiveError("damaged element record: " + what, m_archive.Position());
}

const std::string& CElementRecordReader::ReadText() {
  m_archive.ReadString(m_text);
  return m_text;
}

void CElementRecordReader::Read(CDev& root, Nesting nesting) {
  // A throw leaves frames behind: the reader is not used again after one.
  std::vector<Frame>& stack = m_stack;
  stack.clear();
  ReadHead(root, -1, nesting);
  stack.push_back({&root, 0});
  while (!stack.empty()) {
    CDev* element = stack.back().element;
    const int face = stack.back().face++;
    if (face >= CDev::kFaceCount) {
      ReadTail(*element);
      stack.pop_back();
      if (!stack.empty()) m_run->ListDevice(*element);
      // Prefetched here, not in a function of its own: GCC takes a function that only
      // prefetches for one without effect and drops the calls to it.
      if (const char* below = ElementBelow(stack)) {
        constexpr std::size_t kLine = 64;
        // An element not aligned on a line spans one more.
        for (std::size_t offset = 0; offset < sizeof(CDev) + kLine; offset += kLine)
          __builtin_prefetch(below + offset);
      }
      continue;
    }
    // A face's free flag and whether a neighbour is nested there.
    const auto faceBytes = ReadFields<1, 2>(m_archive);
    element->m_freeFaces[static_cast<std::size_t>(face)] = static_cast<std::int8_t>(faceBytes[0]);
    if (faceBytes[1] == 0) continue;
    if (nesting == Nesting::kNone) Damaged("a neighbour nested in a record outside the chain");
    if (face == element->GetBackFace()) Damaged("a neighbour nested at the back face");
    if (m_run == nullptr) Damaged("linked neighbours need an owner run");
    CDev* neighbour = m_run->NewElement();
    element->m_neighbours[static_cast<std::size_t>(face)] = neighbour;
    neighbour->m_neighbours[static_cast<std::size_t>(CBoxOwner::OppositeDirection(face))] = element;
    ReadHead(*neighbour, face, nesting);
    stack.push_back({neighbour, 0});
  }
}

// linkFace: the face of the parent at which the element hangs, -1 for the root.
void CElementRecordReader::ReadHead(CDev& element, int linkFace, Nesting nesting) {
  element.CObjWithProp::Serialize(m_archive);
  const auto kind = static_cast<std::int16_t>(m_archive.ReadWord());
  if (kind < 0 || kind >= CDev::kKindCount) Damaged("kind " + std::to_string(kind));
  if (linkFace >= 0 && nesting == Nesting::kChain && !CRun::IsChainKind(kind)) {
    Damaged("a record of kind " + std::to_string(kind) + " inside the chain");
  }
  element.m_kind = kind;
  const auto styles = ReadFields<4, 2>(m_archive);
  element.m_style = styles[0];
  element.m_style2 = styles[1];
  ApplyStyleProperty(element);
  UpgradeLegacy(element);
  if (kind == CDev::kTapOff) {
    element.m_attached = nullptr;
    const auto index = static_cast<std::int32_t>(element.m_style2);
    if (index != -1) m_pendingUnits.push_back({&element, index, m_archive.Position()});
  }
  m_archive.ReadString(element.m_reference);
  const auto flags = ReadFields<1, 3>(m_archive);
  element.m_active = static_cast<std::int8_t>(flags[0]);
  element.m_edited = static_cast<int>(flags[1]);
  element.m_booked = static_cast<int>(flags[2]);
  // Known after the active flag: a manual record keeps whatever reference the user gave it.
  if (element.m_reference == CDev::kGenericRef && m_run != nullptr && !element.IsManualRecord()) {
    element.m_reference = m_run->GetKindText(kind, element.GetVariant());
  }
  element.m_comment = std::string(ReadText());
  const auto lengths = ReadFields<4, 3>(m_archive);
  element.m_bookedLength = static_cast<std::int32_t>(lengths[0]);
  element.m_drawnLength = static_cast<std::int32_t>(lengths[1]);
  element.m_offset = static_cast<std::int32_t>(lengths[2]);
  ReadCalibre(element);
  ReadPosition(element);
  ReadPlacement(element, linkFace);
  const auto offsets = ReadFields<4, 6>(m_archive);
  for (std::size_t i = 0; i < 3; ++i) {
    element.m_backOffsets[i] = static_cast<std::int32_t>(offsets[i]);
    element.m_frontOffsets[i] = static_cast<std::int32_t>(offsets[3 + i]);
  }
  ReadBoxes(element);
}

void CElementRecordReader::AttachTapOffUnits() {
  if (m_pendingUnits.empty()) return;
  const std::vector<CDev*> order = m_run != nullptr ? m_run->GetChainOrder() : std::vector<CDev*>{};
  for (const PendingUnit& pending : m_pendingUnits) {
    // A unit hangs on an element of the run: never on itself nor on another unit.
    const bool inRange =
        pending.index >= 0 && static_cast<std::size_t>(pending.index) < order.size();
    CDev* target = inRange ? order[static_cast<std::size_t>(pending.index)] : nullptr;
    if (target == nullptr || target->GetKind() == CDev::kTapOff) {
      throw CArchiveError(
          "damaged element record: tap-off unit attached at index " + std::to_string(pending.index),
          pending.offset);
    }
    pending.unit->m_attached = target;
  }
  m_pendingUnits.clear();
}

void CElementRecordReader::ApplyStyleProperty(CDev& element) {
  const int kind = element.m_kind;
  if ((kind == CDev::kEnd || kind == CDev::kInLineVariant) && element.GetVariant() == 0) {
    const int variant = TextToInt(element.GetPropValue("STYLE")) & 0xFF;
    if (variant != 0) element.SetVariantBoth(variant);
  }
  // Most elements carry no property at all: nothing to look through.
  if (!element.GetPropArray().empty()) element.SetPropValue("STYLE", "");
}

// Old variants and properties are brought up to date by the rules of the reading run's range.
// The run's range and catalogue stay as they are while its elements are read, so they are
// looked up once for all of them.
void CElementRecordReader::UpgradeLegacy(CDev& element) {
  if (m_run == nullptr) return;
  if (m_rules == nullptr) {
    m_rules = &m_run->GetRangeRules();
    m_catalogue = m_run->GetPropText("Catalog");
  }
  m_rules->UpgradeLegacyElement(element, m_catalogue);
}

void CElementRecordReader::ReadCalibre(CDev& element) {
  std::string_view calibre = ReadText();
  const auto z = calibre.find('Z');
  element.m_calibreSuffix = 0;
  if (z != std::string_view::npos) {
    element.m_calibreSuffix = TextToInt(calibre.substr(z + 1));
    calibre = calibre.substr(0, z);
  }
  element.m_calibre = std::string(calibre);
}

void CElementRecordReader::ReadPosition(CDev& element) {
  const std::uint8_t* block = m_archive.TakeBuffered(12);
  if (block == nullptr) {
    element.m_position.Serialize(m_archive);
    return;
  }
  const auto at = [block](int i) {
    return static_cast<std::int32_t>(DecodeLittleEndian<4>(block + 4 * i));
  };
  element.m_position = C3DPoint(at(0), at(1), at(2));
}

void CElementRecordReader::ReadPlacement(CDev& element, int linkFace) {
  const auto words = ReadFields<2, 2>(m_archive);
  const auto direction = static_cast<std::int16_t>(words[0]);
  const auto rotation = static_cast<std::int16_t>(words[1]);
  if (direction < 0 || direction >= CDev::kFaceCount)
    Damaged("direction " + std::to_string(direction));
  if (linkFace >= 0 && direction != linkFace)
    Damaged("a neighbour not pointing away from its face");
  element.m_direction = direction;
  element.m_rotation = rotation;
  const CDev* back = element.GetBackNeighbour();
  if (back != nullptr && element.m_kind != CDev::kTapOff) {
    element.m_rotation = back->GetEffectiveSideRotation(direction);
  }
  if (!IsValidRotation(element.m_rotation))
    Damaged("rotation " + std::to_string(element.m_rotation));
}

void CElementRecordReader::ReadBoxes(CDev& element) {
  for (int slot = 0; slot < CDev::kStoredBoxCount; ++slot) {
    if (m_archive.ReadByte() == 0) continue;
    element.MakeBox(slot)->Serialize(m_archive);
  }
  if ((element.m_style & ElementRecordForm::kEquipmentBits) == 0 ||
      m_version <= ElementRecordForm::kEquipmentValuesAfter)
    return;
  std::array<std::int32_t, 6> values{};
  for (std::int32_t& value : values) value = m_archive.ReadLong();
  if (CRunDocument* document = element.GetDocument()) document->AddEquipmentBox(element, values);
}

void CElementRecordReader::ReadTail(CDev& element) {
  if (m_archive.ReadByte() == 1 && m_run != nullptr) m_run->SetCurrentElement(&element);
  if (CRunDocument* document = element.GetDocument()) {
    document->SerializeElementAnnotations(m_archive, element);
  } else if (m_archive.ReadDword() != 0) {
    Damaged("annotations without a document");
  }
  if (element.m_kind == CDev::kInLineVariant && element.GetVariant() == 6)
    element.SetVariantBoth(0);
}
