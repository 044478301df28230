#pragma once

#include <string>

// The snapshot files of the undo history: "Undo_<process>_<manager>_<slot>.tmp" in the
// settings folder (process id and the manager's number in the process in hexadecimal,
// slot 00..11), so that two running copies of the program never share a file.
class CUndoFiles {
 public:
  // A new number for a manager of this process.
  static unsigned NextManagerNumber();
  static std::string FileName(unsigned manager, int slot);
  // Once per process: deletes the snapshot files of processes that no longer run (and
  // files of the older naming, which name no process). Later calls do nothing.
  static void CleanUpOnce(const std::string& folder);
  // Deletes the leftovers now, whatever was done before; the number of files deleted.
  // ownAreStale: files named with this process's id count as an earlier process's.
  static int CleanUp(const std::string& folder, bool ownAreStale = false);
  // Tests start again as a fresh process would.
  static void ResetForTests();
};
