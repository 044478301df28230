#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// One program started from an argument vector (never through a shell) and reaped.
// A child that is still running when its object goes away is not killed: it is handed
// to a process-wide list of orphans that later starts and waits reap, so that no
// finished child is left behind as a zombie for long.
class CChildProcess {
 public:
  CChildProcess() = default;
  CChildProcess(const CChildProcess&) = delete;
  CChildProcess& operator=(const CChildProcess&) = delete;
  ~CChildProcess();

  // Starts the program (an absolute path) with these arguments (argv[1..]) in the
  // start folder (the current folder when empty). Returns 0 when it started, else the
  // system error number (ENOENT for a program that does not exist, for example).
  // A process object starts one program only: a second call gives EBUSY.
  int Start(const std::string& program, const std::vector<std::string>& arguments,
            const std::string& startFolder = {});

  bool Started() const { return m_pid > 0; }
  pid_t Pid() const { return m_pid; }

  // Without blocking: the exit code when the program has ended (it is then reaped),
  // nothing while it runs. A program ended by a signal gives 128 plus the signal.
  std::optional<int> TryWait();

  // Blocks until the program ends; its exit code, or -1 when the wait failed or
  // nothing was started.
  int Wait();

  // Reaps the orphans that have ended since; called by Start and TryWait.
  static void ReapOrphans();
  // How many orphans are still waiting to be reaped (for tests).
  static std::size_t OrphanCount();

 private:
  pid_t m_pid = -1;
  std::optional<int> m_exitCode;
};

// The absolute path of a program named by the settings or the callers: a name with a
// '/' is taken as a path (made absolute against the current folder); a bare name is
// looked for in the preferred folder first, then along PATH. Empty when no
// executable file of that name is found.
std::string FindProgram(const std::string& name, const std::string& preferredFolder);
