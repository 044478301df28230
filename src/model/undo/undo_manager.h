#pragma once

#include "model/undo/snapshot_buffers.h"
#include "model/undo/snapshot_writer.h"
#include "model/undo/undo_design_ahead.h"
#include "model/undo/undo_record.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CDorneDoc;

// The undo and redo history of one layout document: up to eleven committed steps, each
// a snapshot file of the whole document (its own stored form) with the view state of
// the moment. The files are written on a thread of their own (CSnapshotWriter); a
// restore, and anyone asking for a record, waits until the file is whole. Record 0 is the pending
// step; 1..last the history; the next undo restores record position - 1. The design of that
// step may be made ahead: on a worker from the step's bytes right after the edit
// (DesignUndoAhead), or on the window thread from its file when idle (PrepareUndo).
class CUndoManager {
 public:
  static constexpr int kRecordCount = 12;
  static constexpr int kMaxSteps = 11;

  // folder: where the snapshot files go (the settings folder, with its '/'); empty: no
  // file can be written. The first manager of a process clears leftovers of processes
  // that no longer run.
  CUndoManager(CDorneDoc& document, std::string folder);
  ~CUndoManager();
  CUndoManager(const CUndoManager&) = delete;
  CUndoManager& operator=(const CUndoManager&) = delete;

  // Before an edit. 1 when a snapshot was taken or the step coalesced with the last one,
  // 0 when nothing was recorded (no action, no current run, or the snapshot could not
  // be written: its file is deleted and the history stays as it was).
  int SaveUndoState(int action, bool noCoalescing = false, bool commit = true);
  // The pending step enters the history; 0 when there is none or its action differs
  // from a non-zero action given.
  int CommitUndoState(int action = 0);
  // Undoes (redo false) or redoes one step; 1 when a step was made. A snapshot that
  // cannot be read leaves the document as it was and is dropped from the history
  // (LastRestoreFailed tells).
  int RestoreUndoState(bool redo);
  int Undo() { return RestoreUndoState(false); }
  int Redo() { return RestoreUndoState(true); }
  bool LastRestoreFailed() const { return m_restoreFailed; }
  // Frees the designs that steps swapped out or let go and nobody keeps. The window calls
  // it once a step is shown and when idle, so that the freeing holds up neither the
  // picture nor the edit; the next edit frees them otherwise, and so does a step when
  // more than one waits.
  void ReleaseDiscarded() { m_discarded.clear(); }
  // Reads the step the next undo restores after an edit, with its scene, ahead of the
  // undo (the window calls it when idle): the undo then swaps the design in instead of
  // reading its file. Only that step is kept read; others read before are let go. 1 when
  // a step was read now. Frees what was discarded first.
  // When the design of that step is being made on the worker (DesignUndoAhead), it takes
  // the design once done and reads nothing itself meanwhile.
  int PrepareUndo();
  // The window's call right after an edit's repaint: the design of the step the next undo
  // restores is made on a worker thread (CUndoDesignAhead) from the step's snapshot bytes,
  // still in memory, so that the undo only swaps it in. The undo waits for the worker
  // when it comes sooner, and reads the file as before when the worker could not read
  // the step. 1 when the worker was given the step now; 0 when there is no such step or
  // it is read already. Frees what was discarded first.
  int DesignUndoAhead();
  // What the window does once an edit has been shown: the step handed to the worker
  // (DesignUndoAhead), then the next edit's snapshot bytes made (PrepareSnapshotBytes).
  void AfterEditShown() {
    DesignUndoAhead();
    PrepareSnapshotBytes();
  }
  // How many restores swapped in a design the worker made.
  int StepsDesignedAhead() const { return m_designedAhead; }
  // How many steps were read from their bytes rather than their file (ReadStepBytes).
  int StepsReadFromBytes() const { return m_readFromBytes; }
  // What the worker did so far (for tests and benchmarks).
  CUndoDesignAhead::CCounts DesignAheadCounts() const;
  // Makes the snapshot of the document as it stands ahead of the next edit (the window
  // calls it when idle): its bytes, and at the next call the design read from them with
  // its scene. The next snapshot takes them instead of writing the document anew when the
  // document has not changed since (CDorneDoc::SnapshotKey); its undo then swaps the
  // design in. 1 when something was made now; nothing before the first snapshot.
  int PrepareSnapshot();
  // The first piece of PrepareSnapshot alone: the bytes of the next edit's snapshot, made
  // as soon as the window is idle after an edit, so that an edit soon after finds them.
  // 1 when they were made now.
  int PrepareSnapshotBytes();
  // Whether a step was written since the last bytes were made ahead (the window then makes
  // them at its next idle moment).
  bool WantsSnapshotBytes() const { return m_wantsBytes; }
  // Whether bytes made ahead wait, with or without their design.
  bool HasSnapshotBytesAhead() const { return m_madeAhead != nullptr; }
  // How many steps took a snapshot made ahead instead of writing one.
  int StepsTakenAhead() const { return m_takenAhead; }
  // Whether a snapshot made ahead waits with its design.
  bool HasSnapshotMadeAhead() const { return m_madeAhead && m_madeAhead->design; }
  // Whether the step is possible, and the menu text: base (the menu's "Undo"/"Redo")
  // with the name of the step's action, at most 75 characters.
  std::pair<bool, std::string> GetUndoMenuText(
      bool redo, const std::string& base, const std::function<std::string(int)>& commandText) const;
  // Empties one record (its file goes when no other record uses it); 0 for an index
  // outside 0..11 or an empty record.
  int DeleteUndoEntry(int index);

  int GetLast() const { return m_last; }
  int GetPosition() const { return m_position; }
  // The record once its snapshot file, if any, is whole.
  const CUndoRecord& GetRecord(int index) const;
  // Another writer of the snapshot files (one that fails, for instance); the files of
  // the old one are finished first.
  void UseWriter(std::unique_ptr<CSnapshotWriter> writer);

 private:
  bool WritesFile(int action) const;
  bool Coalesces(int action);
  bool WriteSnapshot(CUndoRecord& record);
  CSnapshotBuffers::CShared SerializeSnapshot();
  // The snapshot made ahead when it still holds; it is used up either way.
  bool TakeSnapshotMadeAhead(CSnapshotBuffers::CShared& bytes, std::shared_ptr<CDorneDoc>& design);
  void RecordViewState(CUndoRecord& record) const;
  // The current state as a step of its own, without a file: the restore that follows
  // keeps the design it swaps out in it.
  int SaveCurrentState();
  // keepInto: the record that keeps the design swapped out.
  bool ReadSnapshot(const CUndoRecord& record, CUndoRecord* keepInto);
  // The design of the record's file; none when it cannot be read. From the step's bytes
  // when they are still held (ReadStepBytes).
  std::unique_ptr<CDorneDoc> ReadStep(const CUndoRecord& record);
  // The design of the step last written, read from its bytes, which are let go: none when
  // they cannot be read or the step's file did not come out whole.
  std::unique_ptr<CDorneDoc> ReadStepBytes(const CUndoRecord& record);
  void ApplyViewState(const CUndoRecord& record);
  // The worker's design of the record's step into the record, waited for; any other
  // step's work is called off. A step whose file was not written whole is not taken.
  void TakeDesignAhead(CUndoRecord& record);
  // The worker's work is called off; it frees what it leaves itself.
  void CallOffDesignAhead();
  // Whether the worker has the step, at work or done (none once the history goes).
  bool IsStepAhead(std::uint64_t step) const;
  bool IsFileWhole(const CUndoRecord& record, std::size_t size);
  void DropRecord(int index);
  CUndoRecord& Record(int index) { return m_records[static_cast<std::size_t>(index)]; }

  CDorneDoc& m_document;
  std::string m_folder;
  unsigned m_number;
  int m_last = 0;
  int m_position = 1;
  std::array<CUndoRecord, kRecordCount> m_records{};
  std::array<int, kRecordCount> m_fileUses{};
  int m_key = 0;
  bool m_restoreFailed = false;
  std::size_t m_lastSnapshotSize = 0;
  // The snapshots' buffers, written again by later snapshots once the file is written
  // and the worker is done with them.
  CSnapshotBuffers m_buffers;
  std::unique_ptr<CSnapshotWriter> m_writer = std::make_unique<CSnapshotWriter>();
  std::vector<std::shared_ptr<CDorneDoc>> m_discarded;
  std::string m_unreadable;  // the file PrepareUndo could not read
  struct CMadeAhead {
    std::vector<std::uint8_t> key;  // the document's SnapshotKey when made
    CSnapshotBuffers::CShared bytes;
    std::shared_ptr<CDorneDoc> design;  // read from the bytes, with its scene
    bool unreadable = false;
  };
  std::unique_ptr<CMadeAhead> m_madeAhead;
  bool m_wantsBytes = false;
  int m_takenAhead = 0;
  std::uint64_t m_steps = 0;  // snapshot files written (CUndoRecord::step)
  // The bytes of the step last written, until the worker is given them or the step is read
  // from them, and their step.
  std::shared_ptr<const std::vector<std::uint8_t>> m_stepBytes;
  std::uint64_t m_stepOfBytes = 0;
  std::size_t m_sizeAhead = 0;  // of the bytes the worker was given
  int m_designedAhead = 0;
  int m_readFromBytes = 0;
  // Last: called off and its thread ended before anything else of the history goes.
  std::unique_ptr<CUndoDesignAhead> m_designAhead = std::make_unique<CUndoDesignAhead>();
};
