#include "app/shell_file_types.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <thread>

#include "app/child_process.h"
#include "platform/folders.h"

namespace fs = std::filesystem;

namespace {

constexpr std::chrono::milliseconds kStartUpUpdaterWait{3000};
constexpr std::chrono::milliseconds kPollInterval{10};

// True when the file holds exactly these bytes; a longer file is not read through.
bool HoldsExactly(const std::string& path, const std::string& content) {
  std::error_code error;
  if (!fs::is_regular_file(path, error) || fs::file_size(path, error) != content.size() || error)
    return false;
  std::ifstream file(path, std::ios::binary);
  std::string bytes(content.size(), '\0');
  return file.read(bytes.data(), static_cast<std::streamsize>(bytes.size())) && bytes == content;
}

// A cache that is missing or was written before the file it lists is stale.
bool IsOlder(const std::string& cache, const std::string& file) {
  std::error_code error;
  fs::file_time_type cacheTime = fs::last_write_time(cache, error);
  if (error) return true;
  fs::file_time_type fileTime = fs::last_write_time(file, error);
  return !error && cacheTime < fileTime;
}

std::string SystemError(const std::string& what, int error) {
  return what + ": " + std::strerror(error);
}

// Writes the bytes into a new file beside the target; its path, or empty with the
// reason in problems.
std::string StageFile(const std::string& target, const std::string& content,
                      std::vector<std::string>& problems) {
  std::error_code error;
  fs::create_directories(fs::path(target).parent_path(), error);
  if (error) {
    problems.push_back("cannot make the folder of " + target + ": " + error.message());
    return {};
  }
  if (fs::is_directory(target, error)) {
    problems.push_back(target + " is a folder");
    return {};
  }
  std::string staged = target + ".XXXXXX";
  int fd = ::mkstemp(staged.data());
  if (fd < 0) {
    problems.push_back(SystemError("cannot write beside " + target, errno));
    return {};
  }
  bool ok = ::fchmod(fd, 0644) == 0 &&
            ::write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
  int writeError = errno;
  ok = ::close(fd) == 0 && ok;
  if (ok) return staged;
  problems.push_back(SystemError("cannot write " + staged, writeError));
  ::unlink(staged.c_str());
  return {};
}

}  // namespace

CShellFileTypes::CShellFileTypes(std::string dataFolder, std::vector<CDesktopFile> files)
    : m_dataFolder(tvr::platform::WithTrailingSlash(std::move(dataFolder))),
      m_files(std::move(files)) {}

std::vector<CDesktopFile> CShellFileTypes::OutOfDate() const {
  std::vector<CDesktopFile> stale;
  for (const CDesktopFile& file : m_files)
    if (!HoldsExactly(Path(file.path), file.content)) stale.push_back(file);
  return stale;
}

CShellRegistration CShellFileTypes::Register(std::chrono::milliseconds updaterWait) {
  CShellRegistration result;
  if (!tvr::platform::IsFolder(m_dataFolder)) {
    result.problems.push_back("the data folder " + m_dataFolder + " does not exist");
    return result;
  }
  std::vector<CDesktopFile> stale = OutOfDate();
  if (!WriteAll(stale, result.problems)) return result;
  result.registered = true;
  result.written = !stale.empty();
  RunUpdaters(UpdatersToRun(stale), updaterWait, result.problems);
  return result;
}

bool CShellFileTypes::WriteAll(const std::vector<CDesktopFile>& files,
                               std::vector<std::string>& problems) const {
  std::vector<std::string> staged;
  for (const CDesktopFile& file : files) {
    std::string path = StageFile(Path(file.path), file.content, problems);
    if (path.empty()) break;
    staged.push_back(std::move(path));
  }
  bool ok = staged.size() == files.size();
  for (std::size_t i = 0; i < staged.size(); ++i) {
    if (ok && ::rename(staged[i].c_str(), Path(files[i].path).c_str()) != 0) {
      problems.push_back(SystemError("cannot replace " + Path(files[i].path), errno));
      ok = false;
    }
    if (!ok) ::unlink(staged[i].c_str());
  }
  return ok;
}

std::vector<const CShellFileTypes::CUpdater*> CShellFileTypes::UpdatersToRun(
    const std::vector<CDesktopFile>& written) const {
  static const CUpdater kUpdaters[] = {
      {"update-mime-database", "mime", "mime/mime.cache", kMimePackagePath},
      {"update-desktop-database", "applications", "applications/mimeinfo.cache", kDesktopEntryPath},
  };
  std::vector<const CUpdater*> chosen;
  for (const CUpdater& updater : kUpdaters) {
    bool changed = false;
    for (const CDesktopFile& file : written) changed = changed || file.path == updater.listedFile;
    if (changed || IsOlder(Path(updater.cache), Path(updater.listedFile)))
      chosen.push_back(&updater);
  }
  return chosen;
}

void CShellFileTypes::RunUpdaters(const std::vector<const CUpdater*>& updaters,
                                  std::chrono::milliseconds wait,
                                  std::vector<std::string>& problems) const {
  struct CRunning {
    const CUpdater* updater;
    std::unique_ptr<CChildProcess> process;
  };
  std::vector<CRunning> running;
  for (const CUpdater* updater : updaters) {
    std::string program = FindProgram(updater->program, {});
    if (program.empty()) continue;  // the desktop then reads the files without its cache
    auto process = std::make_unique<CChildProcess>();
    if (int error = process->Start(program, {Path(updater->folder)}))
      problems.push_back(SystemError("cannot start " + program, error));
    else running.push_back({updater, std::move(process)});
  }
  auto deadline = std::chrono::steady_clock::now() + wait;
  while (!running.empty()) {
    std::erase_if(running, [&problems](CRunning& entry) {
      std::optional<int> code = entry.process->TryWait();
      if (code && *code != 0)
        problems.push_back(std::string(entry.updater->program) + " ended with code " +
                           std::to_string(*code));
      return code.has_value();
    });
    if (running.empty() || std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(kPollInterval);
  }
  // Still running: left to end on their own (the process list reaps them later).
  for (const CRunning& entry : running)
    problems.push_back(std::string(entry.updater->program) + " did not end within " +
                       std::to_string(wait.count()) + " ms; it goes on alone");
}

std::string ShellExecProgram(const std::string& programPath) {
  fs::path program(programPath);
  std::string name = program.filename().string();
  std::string found = FindProgram(name, {});
  std::error_code error;
  if (!found.empty() && fs::equivalent(found, program, error)) return DesktopExecProgram(name);
  return DesktopExecProgram(programPath);
}

CShellRegistration RegisterShellFileTypes(std::ostream& log) {
  std::error_code error;
  std::string program = fs::read_symlink("/proc/self/exe", error).string();
  std::string exec = error ? std::string() : ShellExecProgram(program);
  CShellRegistration result;
  if (exec.empty()) {
    result.problems.push_back("the program's path " + program +
                              " cannot be named in a desktop entry");
  } else {
    CShellFileTypes fileTypes(tvr::platform::DataHomeFolder(), DesktopFiles(exec));
    result = fileTypes.Register(kStartUpUpdaterWait);
  }
  for (const std::string& problem : result.problems)
    log << "tvr: desktop file types" << (result.registered ? ": " : " not registered: ") << problem
        << '\n';
  return result;
}
