#include "model/undo/undo_manager.h"

#include "model/document/dorne_doc.h"
#include "model/document/doc_file_bytes.h"
#include "model/run/run.h"
#include "model/undo/undo_actions.h"
#include "model/undo/undo_files.h"
#include "platform/archive.h"
#include "platform/ini_file.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <system_error>

namespace {

// The coalescing key of an action: what is being edited.
int KeyOf(int action, const CDorneDoc& document) {
  const int high = action >> 8;
  const CRun* run = document.GetCurrentRun();
  const void* object = nullptr;
  if (high == 0x44 || high == 0x54)
    object = run != nullptr ? static_cast<const void*>(run->GetCurrentElement()) : nullptr;
  if (high == 0x52) object = run;
  return static_cast<int>(reinterpret_cast<std::uintptr_t>(object) & 0x7FFFFFFF);
}

}  // namespace

CUndoManager::CUndoManager(CDorneDoc& document, std::string folder)
    : m_document(document), m_folder(std::move(folder)), m_number(CUndoFiles::NextManagerNumber()) {
  CUndoFiles::CleanUpOnce(m_folder);
}

CUndoManager::~CUndoManager() {
  m_designAhead.reset();  // called off, its thread ended, what it made freed
  for (int index = m_last; index >= 0; --index) DeleteUndoEntry(index);
}

const CUndoRecord& CUndoManager::GetRecord(int index) const {
  const CUndoRecord& record = m_records.at(static_cast<std::size_t>(index));
  if (!record.path.empty()) m_writer->WaitFor(record.path);
  return record;
}

void CUndoManager::UseWriter(std::unique_ptr<CSnapshotWriter> writer) {
  if (writer) m_writer = std::move(writer);
}

int CUndoManager::DeleteUndoEntry(int index) {
  if (index < 0 || index >= kRecordCount) return 0;
  CUndoRecord& record = Record(index);
  if (record.action == 0 && record.path.empty() && !record.state) return 0;
  if (!record.path.empty()) {
    int& uses = m_fileUses[static_cast<std::size_t>(record.slot)];
    if (uses == 1) {
      m_writer->WaitFor(record.path);
      std::error_code error;
      std::filesystem::remove(record.path, error);
    }
    if (uses > 0) --uses;
  }
  if (IsStepAhead(record.step)) CallOffDesignAhead();
  if (record.step != 0 && record.step == m_stepOfBytes) m_stepBytes.reset();
  if (record.state) m_discarded.push_back(std::move(record.state));
  record = CUndoRecord();
  return 1;
}

bool CUndoManager::WritesFile(int action) const {
  if (!undo_actions::IsViewAction(action)) return true;
  return m_position >= 1 &&
         !undo_actions::IsViewAction(m_records[static_cast<std::size_t>(m_position - 1)].action);
}

bool CUndoManager::Coalesces(int action) {
  const int previous = m_position >= 2 ? Record(m_position - 1).action : 0;
  const int key = KeyOf(action, m_document);
  if (undo_actions::Normalized(previous) == undo_actions::Normalized(action) && key == m_key)
    return true;
  m_key = key;
  return false;
}

int CUndoManager::SaveUndoState(int action, bool noCoalescing, bool commit) {
  ReleaseDiscarded();
  if (action == 0 || m_document.GetCurrentRun() == nullptr) return 0;
  const bool writeFile = WritesFile(action);
  if (!noCoalescing && Coalesces(action)) return 1;
  DeleteUndoEntry(0);
  CUndoRecord& pending = Record(0);
  pending.action = action;
  if (writeFile && !WriteSnapshot(pending)) {
    pending = CUndoRecord();
    return 0;
  }
  RecordViewState(pending);
  return commit ? CommitUndoState(0) : 1;
}

bool CUndoManager::WriteSnapshot(CUndoRecord& record) {
  int slot = 0;
  while (slot < kRecordCount && m_fileUses[static_cast<std::size_t>(slot)] >= 1) ++slot;
  if (slot == kRecordCount || m_folder.empty()) return false;
  const std::string path = m_folder + CUndoFiles::FileName(m_number, slot);
  CSnapshotBuffers::CShared shared;
  std::shared_ptr<CDorneDoc> design;
  if (!TakeSnapshotMadeAhead(shared, design)) {
    // The last step's bytes serve no undo once this step is taken. With no buffer kept,
    // they go first: their buffer, once written, takes this snapshot instead of a second
    // one made beside it and kept after.
    if (m_buffers.Kept() == 0) m_stepBytes.reset();
    shared = SerializeSnapshot();
  }
  if (!m_writer->Start(path, shared)) return false;
  // The next undo restores this step now: what the worker makes for another is of no use.
  CallOffDesignAhead();
  record.step = ++m_steps;
  m_stepBytes = design ? nullptr : std::move(shared);
  m_stepOfBytes = record.step;
  m_wantsBytes = true;
  if (path == m_unreadable) m_unreadable.clear();
  ++m_fileUses[static_cast<std::size_t>(slot)];
  record.slot = slot;
  record.path = path;
  record.state = std::move(design);
  return true;
}

CSnapshotBuffers::CShared CUndoManager::SerializeSnapshot() {
  CArchiveWriter archive(m_buffers.Take());
  // Room for a little more than the last snapshot: megabytes grown by doubling would
  // be copied over and over.
  archive.Reserve(m_lastSnapshotSize + m_lastSnapshotSize / 8);
  m_document.SetSnapshotMarker(CDorneDoc::kSnapshotMarker);
  m_document.Serialize(archive);
  m_document.SetSnapshotMarker(0);
  m_lastSnapshotSize = archive.Size();
  return m_buffers.Share(archive.TakeBytes());
}

bool CUndoManager::TakeSnapshotMadeAhead(CSnapshotBuffers::CShared& bytes,
                                         std::shared_ptr<CDorneDoc>& design) {
  std::unique_ptr<CMadeAhead> ahead = std::move(m_madeAhead);
  if (!ahead || ahead->key != m_document.SnapshotKey()) return false;
  bytes = std::move(ahead->bytes);
  design = std::move(ahead->design);
  ++m_takenAhead;
  return true;
}

int CUndoManager::PrepareSnapshotBytes() {
  m_wantsBytes = false;
  // The first writing of a document settles what it works out (the totals among the
  // properties, in the order they come): it stays with the first edit, as it was.
  if (m_lastSnapshotSize == 0 || m_folder.empty() || m_document.GetCurrentRun() == nullptr)
    return 0;
  if (m_madeAhead && m_madeAhead->key != m_document.SnapshotKey()) m_madeAhead.reset();
  if (m_madeAhead) return 0;
  auto ahead = std::make_unique<CMadeAhead>();
  ahead->bytes = SerializeSnapshot();
  // Taken after the writing, which settles what it works out (the totals).
  ahead->key = m_document.SnapshotKey();
  m_madeAhead = std::move(ahead);
  return 1;
}

int CUndoManager::PrepareSnapshot() {
  if (PrepareSnapshotBytes() != 0) return 1;
  if (!m_madeAhead) return 0;
  if (m_madeAhead->design || m_madeAhead->unreadable) return 0;
  std::unique_ptr<CDorneDoc> design = m_document.MakeSibling();
  try {
    design->ReadFromBytes(*m_madeAhead->bytes);
  } catch (const std::exception&) {
    m_madeAhead->unreadable = true;  // the bytes still serve; not tried again
    return 0;
  }
  design->RebuildScene();
  m_madeAhead->design = std::move(design);
  return 1;
}

void CUndoManager::RecordViewState(CUndoRecord& record) const {
  const auto& centre = m_document.GetViewCentre();
  const auto& size = m_document.GetViewSize();
  record.page = m_document.GetBomPage();
  // The far corner from the near one, so that an odd size comes back whole.
  const std::int32_t left = centre[0] - size[0] / 2;
  const std::int32_t top = centre[1] - size[1] / 2;
  record.rect = {left, top, left + size[0], top + size[1]};
  for (int i = 0; i < 3; ++i)
    record.angles[static_cast<std::size_t>(i)] = m_document.Projection().GetViewAngle(i);
}

int CUndoManager::CommitUndoState(int action) {
  CUndoRecord& pending = Record(0);
  if (pending.action == 0 || (action != 0 && action != pending.action)) return 0;
  for (int index = m_last; index >= m_position; --index) DeleteUndoEntry(index);
  m_last = m_position - 1;
  if (m_last == kMaxSteps) {
    DeleteUndoEntry(1);
    for (int index = 1; index < kMaxSteps; ++index) Record(index) = std::move(Record(index + 1));
    Record(kMaxSteps) = CUndoRecord();
    --m_last;
    --m_position;
  }
  ++m_last;
  ++m_position;
  Record(m_last) = std::move(pending);
  pending = CUndoRecord();  // its file belongs to the committed record now
  return 1;
}

std::pair<bool, std::string> CUndoManager::GetUndoMenuText(
    bool redo, const std::string& base, const std::function<std::string(int)>& commandText) const {
  const bool possible = redo ? m_position < m_last : m_position > 1;
  const int index = redo ? m_position : m_position - 1;
  const int action =
      index >= 0 && index < kRecordCount ? m_records[static_cast<std::size_t>(index)].action : 0;
  return {possible, undo_actions::MenuText(base, action, commandText)};
}

int CUndoManager::SaveCurrentState() {
  if (m_document.GetCurrentRun() == nullptr) return 0;
  DeleteUndoEntry(0);
  Record(0).action = undo_actions::kCurrentState;
  RecordViewState(Record(0));
  return CommitUndoState(0);
}

int CUndoManager::RestoreUndoState(bool redo) {
  // What an edit just let go is freed after the step is shown (the window), not before;
  // only more than that waits no longer.
  if (m_discarded.size() > 1) ReleaseDiscarded();
  m_restoreFailed = false;
  bool keepCurrent = false;
  if (!GetUndoMenuText(redo, {}, {}).first) return 0;
  if (redo) {
    ++m_position;
  } else {
    if (m_position == m_last && Record(m_last).action == undo_actions::kCurrentState) {
      DeleteUndoEntry(m_last);
      --m_last;
    }
    if (m_position > m_last) {
      // The design as it is now comes back with the redo: kept as it stands when the
      // restore below swaps it out, else written as any step.
      keepCurrent = !Record(m_position - 1).path.empty();
      const int saved =
          keepCurrent ? SaveCurrentState() : SaveUndoState(undo_actions::kCurrentState, true, true);
      if (saved == 0) return 0;
      --m_position;
    }
    --m_position;
  }
  const int index = m_position;
  TakeDesignAhead(Record(index));
  CUndoRecord record = Record(index);
  if (record.state) {
    m_document.SwapContent(*record.state);
    Record(index).state.reset();
    // What was swapped out: the design as it was, for the redo, when a step read ahead
    // was undone from the top.
    if (keepCurrent) Record(m_last).state = std::move(record.state);
    else m_discarded.push_back(std::move(record.state));
  } else if (!record.path.empty() &&
             !ReadSnapshot(record, keepCurrent ? &Record(m_last) : nullptr)) {
    m_restoreFailed = true;
    if (redo) --m_position;
    else ++m_position;
    DropRecord(index);
    return 0;
  }
  m_wantsBytes = true;  // an edit may well follow: its snapshot is the design now shown
  ApplyViewState(record);
  return 1;
}

bool CUndoManager::ReadSnapshot(const CUndoRecord& record, CUndoRecord* keepInto) {
  std::unique_ptr<CDorneDoc> restored = ReadStep(record);
  if (!restored) return false;  // the document stays as it is
  m_document.SwapContent(*restored);
  if (keepInto != nullptr) keepInto->state = std::move(restored);
  else m_discarded.push_back(std::move(restored));
  return true;
}

std::unique_ptr<CDorneDoc> CUndoManager::ReadStep(const CUndoRecord& record) {
  if (record.step != 0 && record.step == m_stepOfBytes && m_stepBytes) return ReadStepBytes(record);
  m_writer->WaitFor(record.path);
  std::unique_ptr<CDorneDoc> restored = m_document.MakeSibling();
  try {
    if (!ReadFileStream(record.path,
                        [&restored](CArchiveReader& archive) { restored->Serialize(archive); }))
      return nullptr;
  } catch (const std::exception&) {
    return nullptr;
  }
  return restored;
}

std::unique_ptr<CDorneDoc> CUndoManager::ReadStepBytes(const CUndoRecord& record) {
  // Let go once read, as the worker lets its own go: a design kept for a later undo should
  // not keep them too.
  const std::shared_ptr<const std::vector<std::uint8_t>> bytes = std::move(m_stepBytes);
  std::unique_ptr<CDorneDoc> restored = m_document.MakeSibling();
  try {
    restored->ReadFromBytes(*bytes);
  } catch (const std::exception&) {
    return nullptr;  // the file holds the same bytes: it would not read either
  }
  // Waited for only now, so that the file is written while the bytes are read. A step
  // whose file was cut is never restored, whatever its bytes gave.
  if (!IsFileWhole(record, bytes->size())) return nullptr;
  ++m_readFromBytes;
  return restored;
}

int CUndoManager::PrepareUndo() {
  ReleaseDiscarded();
  // The next undo restores the record before the position, whatever it keeps first.
  const int target = m_position - 1;
  if (target >= 1 && target <= m_last) {
    CUndoRecord& next = Record(target);
    // The worker's reading is the same work: never done twice, nor here meanwhile.
    if (m_designAhead->IsWorking(next.step)) return 0;
    if (m_designAhead->IsDone(next.step)) TakeDesignAhead(next);
  }
  // Read steps other than that one are let go: each holds a whole design.
  for (int index = 1; index <= m_last; ++index) {
    CUndoRecord& record = Record(index);
    if (index != target && !record.path.empty()) record.state.reset();
  }
  if (target < 1 || target > m_last) return 0;
  CUndoRecord& next = Record(target);
  if (next.path.empty() || next.state || next.path == m_unreadable) return 0;
  std::shared_ptr<CDorneDoc> prepared = ReadStep(next);
  if (!prepared) {
    m_unreadable = next.path;  // not tried again; the undo tells, as it would have
    return 0;
  }
  prepared->RebuildScene();
  next.state = std::move(prepared);
  return 1;
}

int CUndoManager::DesignUndoAhead() {
  // What the edit let go is freed here, after the repaint, rather than in the next edit
  // (the worker's design of the step before, called off, the worker frees itself).
  ReleaseDiscarded();
  const int target = m_position - 1;
  if (!m_stepBytes || target < 1 || target > m_last) return 0;
  const CUndoRecord& next = Record(target);
  if (next.step != m_stepOfBytes || next.state) return 0;
  m_sizeAhead = m_stepBytes->size();
  return m_designAhead->Start(next.step, std::move(m_stepBytes), m_document.MakeSibling()) ? 1 : 0;
}

void CUndoManager::TakeDesignAhead(CUndoRecord& record) {
  if (record.state || !IsStepAhead(record.step)) {
    CallOffDesignAhead();
    return;
  }
  std::unique_ptr<CDorneDoc> design = m_designAhead->Take(record.step);
  if (!design) return;  // read from its file as before
  // A step whose file was cut is never restored, whatever was made of its bytes.
  if (!IsFileWhole(record, m_sizeAhead)) {
    m_discarded.push_back(std::move(design));
    return;
  }
  record.state = std::move(design);
  ++m_designedAhead;
}

bool CUndoManager::IsFileWhole(const CUndoRecord& record, std::size_t size) {
  m_writer->WaitFor(record.path);
  std::error_code error;
  const std::uintmax_t written = std::filesystem::file_size(record.path, error);
  return !error && written == size;
}

bool CUndoManager::IsStepAhead(std::uint64_t step) const {
  return m_designAhead && (m_designAhead->IsWorking(step) || m_designAhead->IsDone(step));
}

void CUndoManager::CallOffDesignAhead() {
  if (!m_designAhead) return;
  m_designAhead->CallOff();
}

void CUndoManager::ApplyViewState(const CUndoRecord& record) {
  m_document.SetBomPage(record.page);
  // The bill-of-materials page the step was taken on comes back with it.
  if (record.page > 0) {
    if (CRun* run = m_document.GetRunAt(record.page - 1)) m_document.SetCurrentRun(run);
  }
  m_document.Projection().SetViewAngles(record.angles[0], record.angles[1], record.angles[2], false,
                                        false);
  const auto& r = record.rect;
  const std::int32_t width = r[2] - r[0];
  const std::int32_t height = r[3] - r[1];
  m_document.SetViewCentre(r[0] + width / 2, r[1] + height / 2);
  m_document.SetViewSize(width, height);
  // A design kept whole came back with its scene.
  m_document.RebuildSceneUnlessKept();
  m_document.UpdateAllViews();
}

void CUndoManager::DropRecord(int index) {
  if (index < 1 || index > m_last) return;
  DeleteUndoEntry(index);
  for (int i = index; i < m_last; ++i) Record(i) = std::move(Record(i + 1));
  Record(m_last) = CUndoRecord();
  --m_last;
  if (m_position > index) --m_position;
  if (m_position < 1) m_position = 1;
}

CUndoDesignAhead::CCounts CUndoManager::DesignAheadCounts() const {
  return m_designAhead ? m_designAhead->Counts() : CUndoDesignAhead::CCounts();
}
