#include "model/document/dorne_doc.h"

#include "model/annotation/annotation_archive.h"
#include "model/annotation/annotation_label.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/document/run_records_writer.h"
#include "platform/archive.h"

void CDorneDoc::Serialize(CArchiveWriter& archive) {
  const bool snapshot = m_snapshotMarker == kSnapshotMarker;
  if (m_pending && !snapshot) DropPendingElement();
  CArchiveSession session(m_annotationArchive);
  m_annotationArchive =
      std::make_unique<CAnnotationArchive>(m_annotations, m_runList, m_fileVersion);
  // The last stream's size is a good guess of this one's.
  archive.Reserve(archive.Size() + m_lastStoredSize + m_lastStoredSize / 8);
  const std::size_t start = archive.Size();
  archive.WriteWord(kFileVersion);
  m_subVersion = kFileSubVersion;
  archive.WriteDword(static_cast<std::uint32_t>(kFileSubVersion));
  ComputeTotalsForWriting();
  if (!snapshot && m_environment.profile != nullptr)
    m_props.RaiseJobNumberCounter(*m_environment.profile);
  WriteHead(archive);
  archive.WriteDword(static_cast<std::uint32_t>(m_runList.size()));
  // What the runs' records change of the design is done before they are written, so that
  // writing them changes nothing and they can be written side by side.
  for (CRun* run : m_runList) run->UpdatePJPRecords(2);
  m_annotationArchive->PrepareForWriting();
  // The runs make nearly all of the stream: the last stream's size sizes their pieces.
  CRunRecordsWriter(m_runList, m_runWritingPieces).Write(archive, m_lastStoredSize);
  WriteTail(archive);
  m_lastStoredSize = archive.Size() - start;
}

void CDorneDoc::WriteHead(CArchiveWriter& archive) {
  m_props.Serialize(archive);
  archive.WriteLong(m_unitId);
  for (std::int32_t value : m_viewCentre) archive.WriteLong(value);
  for (std::int32_t value : m_viewSize) archive.WriteLong(value);
  for (float value : m_viewScale) archive.WriteFloat(value);
  archive.WriteWord(static_cast<std::uint16_t>(m_toolMode));
  for (float value : m_workArea) archive.WriteFloat(value);
  const CPoint cursor = m_projection.ProjectPoint(m_cursor);
  archive.WriteLong(cursor.x);
  archive.WriteLong(cursor.y);
  archive.WriteWord(static_cast<std::uint16_t>(m_freeFaceMask));
  archive.WriteByte(m_pending ? 1 : 0);
  archive.WriteFloat(m_printScale);
  archive.WriteFloat(m_rate);
  m_cursor.Serialize(archive);
  archive.WriteString(m_nextRunName);
}

void CDorneDoc::WriteTail(CArchiveWriter& archive) {
  const int current = FindRunIndex(m_currentRun);
  archive.WriteDword(static_cast<std::uint32_t>(current < 0 ? 0 : current));
  archive.WriteDword(m_totalsPageShown ? 1 : 0);
  for (std::int32_t value : m_totalsPageRect) archive.WriteLong(value);
  if (m_runList.empty()) archive.WriteDword(0);
  else m_annotationArchive->WriteTotalsList(archive);
  m_annotationArchive->WriteDocumentList(archive);
  for (int angle = 0; angle < 3; ++angle) archive.WriteLong(m_projection.GetViewAngle(angle));
}

void CDorneDoc::DropPendingElement() {
  m_pending = false;
  RemoveCurrentBranchEnd();
}

std::vector<std::uint8_t> CDorneDoc::SnapshotKey() {
  CArchiveWriter key;
  key.WriteDword(static_cast<std::uint32_t>(m_modifiedMarks));
  key.WriteDword(static_cast<std::uint32_t>(m_modifiedMarks >> 32));
  // A change that rebuilt or told the views but was not marked modified still changes
  // what the next step must hold.
  key.WriteDword(static_cast<std::uint32_t>(m_noticesSent));
  key.WriteDword(static_cast<std::uint32_t>(m_noticesSent >> 32));
  WriteHead(key);
  key.WriteDword(static_cast<std::uint32_t>(FindRunIndex(m_currentRun) + 1));
  key.WriteDword(static_cast<std::uint32_t>(m_runList.size()));
  // The current element is a mark of the file that a click moves without an edit.
  for (const CRun* run : m_runList) {
    const auto element = reinterpret_cast<std::uintptr_t>(run->GetCurrentElement());
    key.WriteDword(static_cast<std::uint32_t>(element));
    key.WriteDword(static_cast<std::uint32_t>(static_cast<std::uint64_t>(element) >> 32));
  }
  key.WriteDword(m_totalsPageShown ? 1 : 0);
  for (std::int32_t value : m_totalsPageRect) key.WriteLong(value);
  for (int angle = 0; angle < 3; ++angle) key.WriteLong(m_projection.GetViewAngle(angle));
  key.WriteLong(m_bomPage);
  key.WriteByte(m_currentRunOnly ? 1 : 0);
  WriteAnnotationsKey(key);
  return key.TakeBytes();
}

void CDorneDoc::WriteAnnotationsKey(CArchiveWriter& key) const {
  // The views refresh the texts and places of annotations as they paint, without a notice:
  // what the file keeps of each one, and its owner, is part of the key.
  key.WriteDword(static_cast<std::uint32_t>(m_annotations.Size()));
  for (std::size_t i = 0; i < m_annotations.Size(); ++i) {
    const CAnnotation& item = *m_annotations.At(i);
    const void* owner = item.GetOwnerElement() != nullptr
                            ? static_cast<const void*>(item.GetOwnerElement())
                            : static_cast<const void*>(item.GetOwnerRun());
    const auto address = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(owner));
    key.WriteByte(static_cast<std::uint8_t>(item.GetOwnerKind()));
    key.WriteDword(static_cast<std::uint32_t>(address));
    key.WriteDword(static_cast<std::uint32_t>(address >> 32));
    const auto linked =
        static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(item.GetLinkedRun()));
    key.WriteDword(static_cast<std::uint32_t>(linked));
    key.WriteDword(static_cast<std::uint32_t>(linked >> 32));
    item.WriteRecord(key, item.GetFlags());
    if (item.IsLabel()) static_cast<const CAnnotationLabel&>(item).WriteLabel(key);
  }
}
