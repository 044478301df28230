#include "platform/archive.h"
#include "model/bom/bom_grid.h"
#include "model/bom/booking_batch.h"
#include "model/element/dev.h"
#include "model/element/element_record_form.h"
#include "model/element/element_record_reader.h"
#include "model/element/element_record_writer.h"
#include "model/run/run.h"
#include "model/document/run_document.h"

namespace {

[[noreturn]] void Damaged(const CArchiveReader& archive, const std::string& what) {
  throw CArchiveError("damaged run record: " + what, archive.Position());
}

// The devices that the record stores after the chain, each on its own.
bool IsRecordOutsideChain(const CDev& device) {
  return device.GetKind() == CDev::kAccessory || device.GetKind() == CDev::kTapOff;
}

}  // namespace

void CRun::Serialize(CArchiveWriter& archive) const {
  const std::size_t recordStart = archive.Size();
  archive.Reserve(recordStart + m_lastStoredSize.load(std::memory_order_relaxed));
  CObjWithProp::Serialize(archive);
  archive.WriteString(m_name);
  archive.WriteString(m_comment);
  archive.WriteString(m_calibre);
  archive.WriteByte(static_cast<std::uint8_t>((m_changed & 0xF) | (((m_flags >> 8) & 0xF) << 4)));
  archive.WriteWord(static_cast<std::uint16_t>(m_rotation));
  archive.WriteByte(static_cast<std::uint8_t>(m_partsState));
  archive.WriteByte(static_cast<std::uint8_t>(m_flags & 0xFF));
  // One pass over the devices finds the first element (the last start of the list, as
  // GetFirstElement finds it) and the records kept outside the chain: a run's thousands
  // of tap-off units and accessories are each met once, not once per question.
  const CDev* start = nullptr;
  std::vector<const CDev*> extra;
  for (const CDev* device : m_devices) {
    if (IsRecordOutsideChain(*device)) extra.push_back(device);
    else if (IsChainStart(*device)) start = device;
  }
  // One writer for every element record, so the chain order that tap-off units refer
  // to is built once.
  CElementRecordWriter writer(archive, this);
  writer.SetChainStart(start);
  if ((m_flags & kArchivedFlagsMask) == 0) {
    if (m_startMarker != nullptr) {
      writer.Write(*m_startMarker, true);
    } else {
      CDev marker;  // a run without its marker still gives the reader one
      marker.SetKind(CDev::kEnd);
      marker.Serialize(archive);
    }
  }
  archive.WriteDword(static_cast<std::uint32_t>(m_lengths.size()));
  for (const CDev* record : m_lengths) writer.Write(*record, true);
  archive.WriteByte(start != nullptr ? 1 : 0);
  if (start != nullptr) writer.Write(*start);
  archive.WriteDword(static_cast<std::uint32_t>(extra.size()));
  for (const CDev* device : extra) writer.Write(*device, true);
  m_bom->Serialize(archive);
  if (m_document != nullptr) m_document->SerializeRunAnnotations(archive, *this);
  else archive.WriteDword(0);
  m_lastStoredSize.store(archive.Size() - recordStart, std::memory_order_relaxed);
}

void CRun::SerializeHead(CArchiveReader& archive) {
  CObjWithProp::Serialize(archive);
  m_name = archive.ReadString();
  m_comment = archive.ReadString();
  m_calibre = archive.ReadString();
  const std::uint8_t high = archive.ReadByte();
  const auto rotation = static_cast<std::int16_t>(archive.ReadWord());
  const std::uint8_t parts = archive.ReadByte();
  const std::uint8_t low = archive.ReadByte();
  if (rotation != 0 && rotation != 16 && rotation != 32 && rotation != 64 && rotation != 128) {
    Damaged(archive, "rotation " + std::to_string(rotation));
  }
  if (parts > 2) Damaged(archive, "parts state " + std::to_string(parts));
  m_changed = high & 0xF;
  m_flags = (static_cast<std::uint32_t>(high >> 4) << 8) | low;
  m_rotation = rotation;
  m_partsState = parts;
}

// The writer stores the start element found by GetFirstElement with the chain behind
// it, and after it only accessory records and tap-off units, each alone; whatever else a
// record holds would not come back at the next save, so it is refused as damage.
void CRun::ReadElementList(CArchiveReader& archive, CElementRecordReader& reader,
                           CBookingBatch& bookings) {
  struct Batching {
    CRun& run;
    ~Batching() {
      run.m_bookings = nullptr;
      run.m_fileOwnedLater = false;
    }
  } batching{*this};
  m_bookings = &bookings;
  m_fileOwnedLater = true;
  ReadElementRecords(archive, reader);
  // Filed before anyone else may ask: the questions of a filed run change nothing.
  FileOwned();
}

void CRun::ReadElementRecords(CArchiveReader& archive, CElementRecordReader& reader) {
  using Nesting = CElementRecordReader::Nesting;
  const std::uint32_t lengthCount = archive.ReadDword();
  archive.RequireCount(lengthCount, ElementRecordForm::kMinRecordBytes, "length records");
  for (std::uint32_t i = 0; i < lengthCount; ++i) {
    CDev* record = NewElement();
    reader.Read(*record, Nesting::kNone);
    record->SetReference(GetLengthReference(record->GetVariantIndex(), record->GetBookedLength()));
    m_lengths.push_back(record);
    m_refIndex.Insert(*record, 1);
    MarkBillStale();
    BookHeld(record->GetReference(), 1);
  }
  const std::uint8_t hasStart = archive.ReadByte();
  if (hasStart > 1) Damaged(archive, "start flag " + std::to_string(hasStart));
  if (hasStart == 1) {
    CDev* start = NewElement();
    m_current = start;
    reader.Read(*start, Nesting::kChain);
    if (start->GetKind() != CDev::kEnd || !start->IsActive()) {
      Damaged(archive, "a start element of kind " + std::to_string(start->GetKind()) +
                           (start->IsActive() ? "" : ", inactive"));
    }
    ListDevice(*start);
  }
  const std::uint32_t extraCount = archive.ReadDword();
  archive.RequireCount(extraCount, ElementRecordForm::kMinRecordBytes, "devices");
  for (std::uint32_t i = 0; i < extraCount; ++i) {
    CDev* device = NewElement();
    reader.Read(*device, Nesting::kNone);
    if (!IsRecordOutsideChain(*device)) {
      Damaged(archive,
              "a device of kind " + std::to_string(device->GetKind()) + " outside the chain");
    }
    ListDevice(*device);
    if (device->GetKind() == CDev::kAccessory) {
      const std::int64_t quantity = device->GetStyle2() == 0 ? 1 : device->GetStyle2();
      BookHeld(device->GetReference(), quantity);
    }
  }
  reader.AttachTapOffUnits();
}

void CRun::Serialize(CArchiveReader& archive) {
  SerializeHead(archive);
  CElementRecordReader reader(archive, this);
  if (m_flags == 0) {
    CDev* marker = NewElement();
    reader.Read(*marker, CElementRecordReader::Nesting::kNone);
    SetStartMarker(marker);
  }
  // The bill's bookings wait for its stored record, which follows the elements: it
  // replaces the columns that booking would fill.
  CBookingBatch bookings;
  ReadElementList(archive, reader, bookings);
  m_bom->ReadWithBookings(archive, m_name, bookings);
  if (m_document != nullptr) {
    m_document->SerializeRunAnnotations(archive, *this);
  } else if (archive.ReadDword() != 0) {
    Damaged(archive, "annotations without a document");
  }
  UpdatePJPRecords(3);
  m_catalogueKnown = IsCatalogueKnown();
  // Files keep the first boxes of an element; the range's further drawing of it (the
  // outlets of a feed unit) is made again from the element as read.
  for (CDev* device : m_devices) {
    if (device->HasMainBox()) device->BuildFurtherBoxes(CDev::kStoredBoxCount);
  }
}
