#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class CDorneDoc;

// One step of the undo history: the action that was about to happen, the view state of
// the moment and the snapshot file of the document (none for a view action that follows
// another), or the document kept whole; a step with a file may also hold its design read
// ahead of the undo.
struct CUndoRecord {
  int action = 0;                      // 0: an empty record
  int page = 0;                        // the bill-of-materials page shown
  std::array<std::int32_t, 4> rect{};  // left, top, right, bottom of the visible work area
  std::array<std::int32_t, 3> angles{};
  int slot = 0;      // snapshot file slot 0..11
  std::string path;  // empty: no snapshot file
  // Which writing of a snapshot the file holds (numbered from 1 by the history; 0 no file):
  // a slot's file name comes back for other steps, the number does not.
  std::uint64_t step = 0;
  // The design itself instead of a file: the state undone from the top of the history,
  // as it was, until a redo takes it back; or, beside the file, the file's design made
  // ahead (CUndoManager::DesignUndoAhead, CUndoManager::PrepareUndo).
  std::shared_ptr<CDorneDoc> state;
};
