#include "model/undo/undo_files.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <signal.h>
#include <string_view>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

bool g_cleaned = false;
unsigned g_nextManager = 1;

// The process id in a file name of the current form; none for any other name.
bool ProcessOfName(std::string_view name, long& process) {
  constexpr std::string_view kPrefix = "Undo_";
  constexpr std::string_view kSuffix = ".tmp";
  if (name.substr(0, kPrefix.size()) != kPrefix || name.size() < kPrefix.size() + kSuffix.size() ||
      name.substr(name.size() - kSuffix.size()) != kSuffix) {
    return false;
  }
  std::string_view middle =
      name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = middle.find('_', start);
    parts.push_back(
        middle.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  if (parts.size() != 3) return false;
  const auto result =
      std::from_chars(parts[0].data(), parts[0].data() + parts[0].size(), process, 16);
  return result.ec == std::errc() && result.ptr == parts[0].data() + parts[0].size() && process > 0;
}

bool IsRunning(long process, bool ownAreStale) {
  // At start this process has written nothing yet: its id on a file is an earlier process's.
  if (process == static_cast<long>(getpid())) return !ownAreStale;
  return kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM;
}

bool IsSnapshotName(const std::string& name) {
  return name.rfind("Undo_", 0) == 0 && name.size() > 9 &&
         name.compare(name.size() - 4, 4, ".tmp") == 0;
}

}  // namespace

unsigned CUndoFiles::NextManagerNumber() { return g_nextManager++; }

std::string CUndoFiles::FileName(unsigned manager, int slot) {
  char name[64];
  std::snprintf(name, sizeof name, "Undo_%lx_%x_%02d.tmp", static_cast<unsigned long>(getpid()),
                manager, slot);
  return name;
}

void CUndoFiles::CleanUpOnce(const std::string& folder) {
  if (g_cleaned || folder.empty()) return;
  g_cleaned = true;
  CleanUp(folder, true);
}

int CUndoFiles::CleanUp(const std::string& folder, bool ownAreStale) {
  std::error_code error;
  int deleted = 0;
  if (folder.empty()) return 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (!IsSnapshotName(name)) continue;
    long process = 0;
    if (ProcessOfName(name, process) && IsRunning(process, ownAreStale)) continue;
    if (std::filesystem::remove(entry.path(), error)) ++deleted;
  }
  return deleted;
}

void CUndoFiles::ResetForTests() {
  g_cleaned = false;
  g_nextManager = 1;
}
