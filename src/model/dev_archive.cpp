#include "platform/archive.h"
#include "model/dev.h"
#include "model/run.h"
#include "model/run_document.h"
#include "model/run_range_rules.h"

#include "app/text_conversions.h"

#include <unordered_map>
#include <unordered_set>

namespace {

constexpr int kCurrentVersion = 10000;
constexpr std::uint32_t kEquipmentBits = 0x03000000;

bool StoresStyleProperty(const CDev& element) {
  const int kind = element.GetKind();
  return (kind == CDev::kEnd || kind == CDev::kInLineVariant) && element.GetVariant() >= 20;
}

bool IsValidRotation(int rotation) {
  return rotation == 16 || rotation == 32 || rotation == 64 || rotation == 128;
}

[[noreturn]] void Damaged(const CArchiveReader& archive, const std::string& what) {
  throw CArchiveError("damaged element record: " + what, archive.Position());
}

}  // namespace

// Writes element records, nesting the records of the neighbours beyond each element
// with an explicit stack, so that a long run cannot exhaust the call stack.
class CElementRecordWriter {
 public:
  CElementRecordWriter(CArchiveWriter& archive, const CRun* run) : m_archive(archive), m_run(run) {}

  void Write(const CDev& root) {
    struct Frame {
      const CDev* element;
      int face;
    };
    std::vector<Frame> stack;
    std::unordered_set<const CDev*> written{&root};
    WriteHead(root);
    stack.push_back({&root, 0});
    while (!stack.empty()) {
      const CDev* element = stack.back().element;
      const int face = stack.back().face++;
      if (face >= CDev::kFaceCount) {
        WriteTail(*element);
        stack.pop_back();
        continue;
      }
      m_archive.WriteByte(static_cast<std::uint8_t>(element->GetFreeFace(face)));
      const CDev* neighbour = element->GetNeighbour(face);
      // A neighbour met twice (links in a circle) is not nested again.
      const bool link = neighbour != nullptr && face != element->GetBackFace() &&
                        written.insert(neighbour).second;
      m_archive.WriteByte(link ? 1 : 0);
      if (!link) continue;
      WriteHead(*neighbour);
      stack.push_back({neighbour, 0});
    }
  }

 private:
  void WriteHead(const CDev& element) {
    const bool styleProperty = StoresStyleProperty(element);
    if (styleProperty) {
      CObjWithProp props(element);
      props.SetPropValue("STYLE", std::to_string(element.GetVariant()));
      props.CObjWithProp::Serialize(m_archive);
    } else {
      element.CObjWithProp::Serialize(m_archive);
    }
    const std::uint32_t variantMask = styleProperty ? ~0xFFu : ~0u;
    m_archive.WriteWord(static_cast<std::uint16_t>(element.GetKind()));
    m_archive.WriteDword(element.GetStyle() & variantMask);
    std::uint32_t style2 = element.GetStyle2() & variantMask;
    if (element.GetKind() == CDev::kTapOff) style2 = static_cast<std::uint32_t>(ChainIndex(element.GetAttached()));
    m_archive.WriteDword(style2);
    const bool generic = m_run != nullptr &&
                         element.GetReference() == m_run->GetKindText(element.GetKind(), element.GetVariant());
    m_archive.WriteString(generic ? std::string(CDev::kGenericRef) : element.GetReference());
    m_archive.WriteByte(static_cast<std::uint8_t>(static_cast<std::int8_t>(element.GetActive())));
    m_archive.WriteByte(static_cast<std::uint8_t>(element.GetEdited()));
    m_archive.WriteByte(static_cast<std::uint8_t>(element.GetBooked()));
    m_archive.WriteString(element.GetComment());
    m_archive.WriteLong(element.GetBookedLength());
    m_archive.WriteLong(element.GetDrawnLength());
    m_archive.WriteLong(element.GetOffset());
    std::string calibre = element.GetCalibre();
    if (element.GetCalibreSuffix() != 0) calibre += "Z" + std::to_string(element.GetCalibreSuffix());
    m_archive.WriteString(calibre);
    element.GetPosition().Serialize(m_archive);
    m_archive.WriteWord(static_cast<std::uint16_t>(element.GetDirection()));
    m_archive.WriteWord(static_cast<std::uint16_t>(element.GetRotation()));
    for (std::int32_t value : element.GetBackOffsets()) m_archive.WriteLong(value);
    for (std::int32_t value : element.GetFrontOffsets()) m_archive.WriteLong(value);
    WriteBoxes(element);
  }

  void WriteBoxes(const CDev& element) {
    for (int slot = 0; slot < CDev::kStoredBoxCount; ++slot) {
      const CBox* box = element.GetBox(slot);
      m_archive.WriteByte(box != nullptr ? 1 : 0);
      if (box != nullptr) box->Serialize(m_archive);
    }
    if ((element.GetStyle() & kEquipmentBits) == 0) return;
    std::array<std::int32_t, 6> values{};
    if (const CRunDocument* document = element.GetDocument()) {
      if (auto stored = document->GetEquipmentValues(element)) values = *stored;
    }
    for (std::int32_t value : values) m_archive.WriteLong(value);
  }

  void WriteTail(const CDev& element) {
    const bool current = m_run != nullptr && m_run->GetCurrentElement() == &element;
    m_archive.WriteByte(current ? 1 : 0);
    if (const CRunDocument* document = element.GetDocument()) {
      document->SerializeElementAnnotations(m_archive, element);
    } else {
      m_archive.WriteDword(0);
    }
  }

  int ChainIndex(const CDev* element) {
    if (element == nullptr || m_run == nullptr) return -1;
    if (m_chainIndex.empty()) {
      const std::vector<CDev*> order = m_run->GetChainOrder();
      for (std::size_t i = 0; i < order.size(); ++i) m_chainIndex.emplace(order[i], static_cast<int>(i));
    }
    const auto it = m_chainIndex.find(element);
    return it == m_chainIndex.end() ? -1 : it->second;
  }

  CArchiveWriter& m_archive;
  const CRun* m_run;
  std::unordered_map<const CDev*, int> m_chainIndex;
};

// Reads element records and the records nested in them with an explicit stack.
class CElementRecordReader {
 public:
  CElementRecordReader(CArchiveReader& archive, CRun* run) : m_archive(archive), m_run(run) {
    const CRunDocument* document = run != nullptr ? run->GetDocument() : nullptr;
    m_version = document != nullptr ? document->GetFileVersion() : kCurrentVersion;
  }

  void Read(CDev& root) {
    struct Frame {
      CDev* element;
      int face;
    };
    std::vector<Frame> stack;
    ReadHead(root);
    stack.push_back({&root, 0});
    while (!stack.empty()) {
      CDev* element = stack.back().element;
      const int face = stack.back().face++;
      if (face >= CDev::kFaceCount) {
        ReadTail(*element);
        stack.pop_back();
        if (!stack.empty()) m_run->AddDevice(element);
        continue;
      }
      element->m_freeFaces[static_cast<std::size_t>(face)] = static_cast<std::int8_t>(m_archive.ReadByte());
      if (m_archive.ReadByte() == 0) continue;
      if (face == element->GetBackFace()) Damaged(m_archive, "a neighbour nested at the back face");
      if (m_run == nullptr) Damaged(m_archive, "linked neighbours need an owner run");
      CDev* neighbour = m_run->NewElement();
      element->m_neighbours[static_cast<std::size_t>(face)] = neighbour;
      neighbour->m_neighbours[static_cast<std::size_t>(CBoxOwner::OppositeDirection(face))] = element;
      ReadHead(*neighbour, face);
      stack.push_back({neighbour, 0});
    }
  }

 private:
  // linkFace: the face of the parent at which the element hangs, -1 for the root.
  void ReadHead(CDev& element, int linkFace = -1) {
    element.CObjWithProp::Serialize(m_archive);
    const auto kind = static_cast<std::int16_t>(m_archive.ReadWord());
    if (kind < 0 || kind >= CDev::kKindCount) Damaged(m_archive, "kind " + std::to_string(kind));
    element.m_kind = kind;
    element.m_style = m_archive.ReadDword();
    element.m_style2 = m_archive.ReadDword();
    ApplyStyleProperty(element);
    UpgradeLegacy(element);
    if (kind == CDev::kTapOff) AttachTapOff(element);
    std::string reference = m_archive.ReadString();
    if (reference == CDev::kGenericRef && m_run != nullptr) {
      reference = m_run->GetKindText(kind, element.GetVariant());
    }
    element.m_reference = std::move(reference);
    element.m_active = static_cast<std::int8_t>(m_archive.ReadByte());
    element.m_edited = m_archive.ReadByte();
    element.m_booked = m_archive.ReadByte();
    element.m_comment = m_archive.ReadString();
    element.m_bookedLength = m_archive.ReadLong();
    element.m_drawnLength = m_archive.ReadLong();
    element.m_offset = m_archive.ReadLong();
    ReadCalibre(element);
    element.m_position.Serialize(m_archive);
    ReadPlacement(element, linkFace);
    for (std::int32_t& value : element.m_backOffsets) value = m_archive.ReadLong();
    for (std::int32_t& value : element.m_frontOffsets) value = m_archive.ReadLong();
    ReadBoxes(element);
  }

  void ApplyStyleProperty(CDev& element) {
    const int kind = element.m_kind;
    if ((kind == CDev::kEnd || kind == CDev::kInLineVariant) && element.GetVariant() == 0) {
      const int variant = TextToInt(element.GetPropValue("STYLE")) & 0xFF;
      if (variant != 0) element.SetVariantBoth(variant);
    }
    element.SetPropValue("STYLE", "");
  }

  // Old variants and properties are brought up to date by the rules of the reading run's range.
  void UpgradeLegacy(CDev& element) {
    if (m_run == nullptr) return;
    m_run->GetRangeRules().UpgradeLegacyElement(element, m_run->GetPropText("Catalog"));
  }

  void AttachTapOff(CDev& element) {
    const auto index = static_cast<std::int32_t>(element.m_style2);
    if (index == -1) return;
    if (m_run == nullptr || index < 0 || static_cast<std::size_t>(index) >= m_run->GetDevices().size()) {
      Damaged(m_archive, "tap-off unit attached at index " + std::to_string(index));
    }
    element.m_attached = m_run->GetDevices()[static_cast<std::size_t>(index)];
  }

  void ReadCalibre(CDev& element) {
    std::string calibre = m_archive.ReadString();
    const auto z = calibre.find('Z');
    element.m_calibreSuffix = 0;
    if (z != std::string::npos) {
      element.m_calibreSuffix = TextToInt(std::string_view(calibre).substr(z + 1));
      calibre.resize(z);
    }
    element.m_calibre = std::move(calibre);
  }

  void ReadPlacement(CDev& element, int linkFace) {
    const auto direction = static_cast<std::int16_t>(m_archive.ReadWord());
    const auto rotation = static_cast<std::int16_t>(m_archive.ReadWord());
    if (direction < 0 || direction >= CDev::kFaceCount) Damaged(m_archive, "direction " + std::to_string(direction));
    if (linkFace >= 0 && direction != linkFace) Damaged(m_archive, "a neighbour not pointing away from its face");
    element.m_direction = direction;
    element.m_rotation = rotation;
    const CDev* back = element.GetBackNeighbour();
    if (back != nullptr && element.m_kind != CDev::kTapOff) {
      element.m_rotation = back->GetEffectiveSideRotation(direction);
    }
    if (!IsValidRotation(element.m_rotation)) Damaged(m_archive, "rotation " + std::to_string(element.m_rotation));
  }

  void ReadBoxes(CDev& element) {
    for (int slot = 0; slot < CDev::kStoredBoxCount; ++slot) {
      if (m_archive.ReadByte() == 0) continue;
      element.MakeBox(slot)->Serialize(m_archive);
    }
    if ((element.m_style & kEquipmentBits) == 0 || m_version <= 490) return;
    std::array<std::int32_t, 6> values{};
    for (std::int32_t& value : values) value = m_archive.ReadLong();
    if (CRunDocument* document = element.GetDocument()) document->AddEquipmentBox(element, values);
  }

  void ReadTail(CDev& element) {
    if (m_archive.ReadByte() == 1 && m_run != nullptr) m_run->SetCurrentElement(&element);
    if (CRunDocument* document = element.GetDocument()) {
      document->SerializeElementAnnotations(m_archive, element);
    } else if (m_archive.ReadDword() != 0) {
      Damaged(m_archive, "annotations without a document");
    }
    if (element.m_kind == CDev::kInLineVariant && element.GetVariant() == 6) element.SetVariantBoth(0);
  }

  CArchiveReader& m_archive;
  CRun* m_run;
  int m_version = kCurrentVersion;
};

void CDev::Serialize(CArchiveWriter& archive) const { CElementRecordWriter(archive, m_run).Write(*this); }

void CDev::Serialize(CArchiveReader& archive) { CElementRecordReader(archive, m_run).Read(*this); }
