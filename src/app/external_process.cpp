#include "app/external_process.h"

#include <cerrno>

#include "platform/folders.h"

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::string PrintHelperCommandLine(const std::string& programName, const CPrintHelperJob& job) {
  return programName + " " + Quoted(job.exchangePath) + " " + Quoted(job.modelPath) + " " +
         job.macro + " " + job.password + " " + std::to_string(job.mode) + " " +
         Quoted(job.outputPath);
}

std::vector<std::string> PrintHelperArguments(const CPrintHelperJob& job) {
  return {job.exchangePath,         job.modelPath, job.macro, job.password,
          std::to_string(job.mode), job.outputPath};
}

CPrintHelperLauncher::CPrintHelperLauncher(std::string programFolder, std::string programName)
    : m_programFolder(std::move(programFolder)), m_programName(std::move(programName)) {}

bool CPrintHelperLauncher::PreviousStillRuns() {
  if (!m_last) return false;
  if (!m_last->TryWait()) return true;
  m_last.reset();  // ended and reaped: forget it
  return false;
}

std::optional<int> CPrintHelperLauncher::TakeExitCode() {
  if (!m_last) return -1;
  const std::optional<int> code = m_last->TryWait();
  if (code) m_last.reset();
  return code;
}

bool CPrintHelperLauncher::CanStart() {
  return !PreviousStillRuns() && !FindProgram(m_programName, m_programFolder).empty();
}

int CPrintHelperLauncher::RunPrintHelper(const CPrintHelperJob& job) {
  if (PreviousStillRuns()) return 0;
  std::string program = FindProgram(m_programName, m_programFolder);
  if (program.empty()) return 0;
  auto process = std::make_unique<CChildProcess>();
  if (process->Start(program, PrintHelperArguments(job)) != 0) return 0;
  m_last = std::move(process);
  return 1;
}

CPrintHelperLauncher& ProgramPrintHelper() {
  static CPrintHelperLauncher launcher(tvr::platform::ProgramFolder());
  return launcher;
}

int WaitWithMessages(const std::string& programPath, const std::vector<std::string>& arguments,
                     const std::string& startFolder, CWaitObserver& observer) {
  observer.BeginWait();
  std::vector<std::string> rest = arguments;
  std::string name = programPath;
  if (name.empty() && !rest.empty()) {
    name = rest.front();
    rest.erase(rest.begin());
  }
  std::string program = FindProgram(name, tvr::platform::ProgramFolder());
  CChildProcess child;
  int result = program.empty() ? ENOENT : child.Start(program, rest, startFolder);
  if (result == 0) {
    for (;;) {
      if (std::optional<int> code = child.TryWait()) {
        result = *code;
        break;
      }
      if (!observer.Pump()) {
        result = -1;  // the child runs on; its object hands it to the orphans
        break;
      }
    }
  }
  observer.EndWait(result);
  return result;
}
