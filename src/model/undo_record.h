#pragma once

#include <array>
#include <cstdint>
#include <string>

// One step of the undo history: the action that was about to happen, the view state of
// the moment and the snapshot file of the document (none for a view action that follows
// another).
struct CUndoRecord {
  int action = 0;                      // 0: an empty record
  int page = 0;                        // the bill-of-materials page shown
  std::array<std::int32_t, 4> rect{};  // left, top, right, bottom of the visible work area
  std::array<std::int32_t, 3> angles{};
  int slot = 0;      // snapshot file slot 0..11
  std::string path;  // empty: no snapshot file
};
