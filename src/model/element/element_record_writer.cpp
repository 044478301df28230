#include "model/element/element_record_writer.h"

#include "platform/archive.h"
#include "model/element/dev.h"
#include "model/element/element_record_form.h"
#include "model/run/run.h"
#include "model/document/run_document.h"

#include <vector>

void CElementRecordWriter::Write(const CDev& root, bool alone) {
  std::vector<Frame>& stack = m_stack;  // kept from record to record, like its room
  stack.clear();
  // A record written alone nests nothing, so the set of nested records (as large as the
  // longest chain written before) is neither cleared nor asked: a run's many tap-off
  // units and lengths would otherwise each clear it whole.
  if (!alone) {
    m_written.Clear();
    m_written.Insert(&root);
  }
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
    // A neighbour met twice (links in a circle) is not nested again; records kept outside
    // the chain are written from the run's lists, never as a neighbour.
    const bool link = !alone && neighbour != nullptr && face != element->GetBackFace() &&
                      CRun::IsChainKind(neighbour->GetKind()) && m_written.Insert(neighbour);
    m_archive.WriteByte(link ? 1 : 0);
    if (!link) continue;
    WriteHead(*neighbour);
    stack.push_back({neighbour, 0});
  }
}

void CElementRecordWriter::WriteHead(const CDev& element) {
  const bool styleProperty = ElementRecordForm::StoresStyleProperty(element);
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
  if (element.GetKind() == CDev::kTapOff)
    style2 = static_cast<std::uint32_t>(ChainIndex(element.GetAttached()));
  m_archive.WriteDword(style2);
  // A manual record's reference is the user's text, so its placeholder never stands for it.
  const bool generic = m_run != nullptr && !element.IsManualRecord() &&
                       element.GetReference() == KindText(element.GetKind(), element.GetVariant());
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

void CElementRecordWriter::WriteBoxes(const CDev& element) {
  const auto& slots = element.GetBoxSlots();
  for (int slot = 0; slot < CDev::kStoredBoxCount; ++slot) {
    const CBox* box = slots.Get(slot);
    m_archive.WriteByte(box != nullptr ? 1 : 0);
    if (box != nullptr) box->Serialize(m_archive);
  }
  if ((element.GetStyle() & ElementRecordForm::kEquipmentBits) == 0) return;
  std::array<std::int32_t, 6> values{};
  if (const CRunDocument* document = element.GetDocument()) {
    if (auto stored = document->GetEquipmentValues(element)) values = *stored;
  }
  for (std::int32_t value : values) m_archive.WriteLong(value);
}

void CElementRecordWriter::WriteTail(const CDev& element) {
  const bool current = m_run != nullptr && m_run->GetCurrentElement() == &element;
  m_archive.WriteByte(current ? 1 : 0);
  if (const CRunDocument* document = element.GetDocument()) {
    document->SerializeElementAnnotations(m_archive, element);
  } else {
    m_archive.WriteDword(0);
  }
}

int CElementRecordWriter::ChainIndex(const CDev* element) {
  if (element == nullptr || m_run == nullptr) return -1;
  if (!m_chainIndexBuilt) {
    m_chainIndexBuilt = true;
    const CDev* start = m_chainStartKnown ? m_chainStart : m_run->GetFirstElement();
    if (start == nullptr) return -1;  // a run without a start orders nothing
    const std::vector<CDev*> walk = m_run->GetChainWalk(*start);
    m_chainLength = static_cast<int>(walk.size());
    for (std::size_t i = 0; i < walk.size(); ++i)
      m_chainIndex.emplace(walk[i], static_cast<int>(i));
  }
  if (const auto it = m_chainIndex.find(element); it != m_chainIndex.end()) return it->second;
  if (m_chainLength == 0) return -1;
  if (!m_outsideIndexBuilt) {
    m_outsideIndexBuilt = true;
    int index = m_chainLength;
    for (const CDev* device : m_run->GetDevices()) {
      if (device->GetKind() == CDev::kAccessory || device->GetKind() == CDev::kTapOff)
        m_outsideIndex.emplace(device, index++);
    }
  }
  const auto it = m_outsideIndex.find(element);
  return it == m_outsideIndex.end() ? -1 : it->second;
}

const std::string& CElementRecordWriter::KindText(int kind, int variant) {
  const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(kind)) << 32) |
                            static_cast<std::uint32_t>(variant);
  auto found = m_kindTexts.find(key);
  if (found == m_kindTexts.end())
    found = m_kindTexts.emplace(key, m_run->GetKindText(kind, variant)).first;
  return found->second;
}
