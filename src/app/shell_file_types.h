#pragma once

#include <chrono>
#include <iosfwd>
#include <string>
#include <vector>

#include "app/desktop_files.h"

// What one registration did.
struct CShellRegistration {
  bool registered = false;            // every file holds what it should (written now or before)
  bool written = false;               // some file was written by this registration
  std::vector<std::string> problems;  // one line each; empty when all went well
};

// Keeps the program's desktop files current below one data folder (the user's
// $XDG_DATA_HOME): a file is written only when it is missing or differs, and the
// desktop's caches are refreshed only when a file changed or a cache is older than the
// file it lists, so that a start with everything in place reads three small files and
// runs nothing.
class CShellFileTypes {
 public:
  // The data folder must already exist: the program never makes the user's data
  // folder itself, only the folders below it that the desktop files go into.
  CShellFileTypes(std::string dataFolder, std::vector<CDesktopFile> files);

  // The files that are missing or hold something else, in their order.
  std::vector<CDesktopFile> OutOfDate() const;

  // Writes the out-of-date files, all or none: each is written beside its place first
  // and renamed into it only when every one of them could be written. Then runs
  // update-mime-database and update-desktop-database (those found along PATH) and
  // waits for them at most updaterWait in all; one still running then is left to end
  // on its own. Never throws for a file system problem: it is in the result.
  CShellRegistration Register(std::chrono::milliseconds updaterWait);

 private:
  struct CUpdater {
    const char* program;
    const char* folder;      // the folder it updates, relative to the data folder
    const char* cache;       // the cache it writes
    const char* listedFile;  // our file that it lists
  };

  [[nodiscard]] bool WriteAll(const std::vector<CDesktopFile>& files,
                              std::vector<std::string>& problems) const;
  std::vector<const CUpdater*> UpdatersToRun(const std::vector<CDesktopFile>& written) const;
  void RunUpdaters(const std::vector<const CUpdater*>& updaters, std::chrono::milliseconds wait,
                   std::vector<std::string>& problems) const;
  std::string Path(const std::string& relative) const { return m_dataFolder + relative; }

  std::string m_dataFolder;
  std::vector<CDesktopFile> m_files;
};

// The step of the start-up: the program's files for the running user, under
// $XDG_DATA_HOME (else ~/.local/share), naming the running program, with the updaters
// given a few seconds. The desktop entry names the program by its bare name when that
// name, looked for along PATH, is this very program (as after an installation), else by
// its full path. Never asks anything and never stops the start: each problem is one
// line on the log.
CShellRegistration RegisterShellFileTypes(std::ostream& log);

// The Exec program of the entry for the program at this path (see above).
std::string ShellExecProgram(const std::string& programPath);
