#include "app/child_process.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::mutex& OrphanMutex() {
  static std::mutex mutex;
  return mutex;
}

std::vector<pid_t>& Orphans() {
  static std::vector<pid_t> orphans;
  return orphans;
}

int ExitCodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

// Spawns with the file actions that change to the start folder; the child's error
// (a missing folder, a program that cannot run) comes back as the result.
int Spawn(pid_t& pid, const std::string& program, std::vector<char*>& argv,
          const std::string& startFolder) {
  posix_spawn_file_actions_t actions;
  if (int error = ::posix_spawn_file_actions_init(&actions)) return error;
  int error = 0;
  if (!startFolder.empty())
    error = ::posix_spawn_file_actions_addchdir_np(&actions, startFolder.c_str());
  if (error == 0)
    error = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  ::posix_spawn_file_actions_destroy(&actions);
  return error;
}

}  // namespace

CChildProcess::~CChildProcess() {
  if (m_pid <= 0 || m_exitCode) return;
  if (TryWait()) return;
  std::lock_guard lock(OrphanMutex());
  Orphans().push_back(m_pid);
}

int CChildProcess::Start(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& startFolder) {
  ReapOrphans();
  if (m_pid > 0) return EBUSY;
  if (program.empty() || program.front() != '/') return ENOENT;
  std::vector<std::string> texts;
  texts.reserve(arguments.size() + 1);
  texts.push_back(program);
  texts.insert(texts.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  int error = Spawn(pid, program, argv, startFolder);
  if (error != 0) return error;
  m_pid = pid;
  return 0;
}

std::optional<int> CChildProcess::TryWait() {
  ReapOrphans();
  if (m_exitCode || m_pid <= 0) return m_exitCode;
  int status = 0;
  pid_t result = ::waitpid(m_pid, &status, WNOHANG);
  if (result == m_pid) m_exitCode = ExitCodeOf(status);
  else if (result < 0 && errno != EINTR) m_exitCode = -1;  // nothing left to wait for
  return m_exitCode;
}

int CChildProcess::Wait() {
  if (m_exitCode) return *m_exitCode;
  if (m_pid <= 0) return -1;
  int status = 0;
  pid_t result;
  do {
    result = ::waitpid(m_pid, &status, 0);
  } while (result < 0 && errno == EINTR);
  m_exitCode = result == m_pid ? ExitCodeOf(status) : -1;
  return *m_exitCode;
}

void CChildProcess::ReapOrphans() {
  std::lock_guard lock(OrphanMutex());
  std::vector<pid_t>& orphans = Orphans();
  std::erase_if(orphans, [](pid_t pid) {
    int status = 0;
    pid_t result = ::waitpid(pid, &status, WNOHANG);
    return result == pid || (result < 0 && errno == ECHILD);
  });
}

std::size_t CChildProcess::OrphanCount() {
  std::lock_guard lock(OrphanMutex());
  return Orphans().size();
}

std::string FindProgram(const std::string& name, const std::string& preferredFolder) {
  namespace fs = std::filesystem;
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) {
    std::error_code error;
    std::string path = fs::absolute(name, error).lexically_normal().string();
    return !error && IsExecutableFile(path) ? path : std::string();
  }
  std::vector<std::string> folders;
  if (!preferredFolder.empty()) folders.push_back(preferredFolder);
  const char* pathList = std::getenv("PATH");
  std::string rest = pathList ? pathList : "";
  for (std::size_t start = 0; start <= rest.size();) {
    std::size_t end = rest.find(':', start);
    if (end == std::string::npos) end = rest.size();
    if (end > start) folders.push_back(rest.substr(start, end - start));
    start = end + 1;
  }
  for (const std::string& folder : folders) {
    std::string path = (fs::path(folder) / name).string();
    if (path.front() == '/' && IsExecutableFile(path)) return path;
  }
  return {};
}
