#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/child_process.h"

// What the spreadsheet helper receives; the order of the fields is the order of its
// command line.
struct CPrintHelperJob {
  std::string exchangePath;  // the key/value exchange text ("XlExport.txt", "XlGDE.txt")
  std::string modelPath;     // the workbook model
  std::string macro = "MacroTavrilon";
  std::string password = "vorpu";
  int mode = 18;           // 12 write the target, 18 or 22 open (the callers decide)
  std::string outputPath;  // the target workbook, may be empty
};

// The command line as one text, for traces: the program name, the two paths in
// double quotes, the macro, the password, the mode in decimal and the output path in
// double quotes (two double quotes when it is empty), separated by one blank.
std::string PrintHelperCommandLine(const std::string& programName, const CPrintHelperJob& job);

// The same as an argument vector (argv[1..]): each piece is one argument, the paths
// without quotes (an empty output path is an empty argument).
std::vector<std::string> PrintHelperArguments(const CPrintHelperJob& job);

// Starts the spreadsheet helper without waiting for it and keeps the last one started,
// so that a second export is refused while the first helper still runs.
class CPrintHelperLauncher {
 public:
  // The helper is looked for in the program folder first, then along PATH.
  explicit CPrintHelperLauncher(std::string programFolder, std::string programName = "XlPrint.exe");

  // 1 when the helper was started, 0 when it was refused (the previous one still runs)
  // or could not be started (then no process is kept).
  int RunPrintHelper(const CPrintHelperJob& job);

  // True while the last started helper has not ended (it is reaped when it has).
  bool PreviousStillRuns();
  // Nothing while the last started helper runs; once it ended, its exit code, and it is
  // reaped and forgotten. -1 when no helper is kept.
  std::optional<int> TakeExitCode();
  // True when RunPrintHelper would start the helper now: none still runs and the
  // program is found. Callers check it before they change anything for the helper.
  bool CanStart();

 private:
  std::string m_programFolder;
  std::string m_programName;
  std::unique_ptr<CChildProcess> m_last;
};

// The launcher of the running program (program folder of the executable).
CPrintHelperLauncher& ProgramPrintHelper();

// The window side of a wait: it marks the program busy, keeps the user interface
// alive while the child runs, and tells when the user asked to quit.
class CWaitObserver {
 public:
  virtual ~CWaitObserver() = default;
  // Before the program starts: busy mark, wait cursor, remember the active window.
  virtual void BeginWait() = 0;
  // Called again and again while the program runs; it lets the user interface work
  // for a short while. False when a quit was asked for: the wait then ends at once.
  virtual bool Pump() = 0;
  // After the wait, with its result: bring the main window back, clear the busy mark.
  virtual void EndWait(int result) = 0;
};

// Runs a program to its end while the observer keeps the user interface alive. With a
// program path the arguments follow it; with an empty one the first argument is the
// program. Bare names are looked for in the program folder, then along PATH.
// Returns the program's exit code, the system error number when it could not be
// started, or -1 when the wait ended on a quit request (the program then keeps
// running on its own; no thread or process is killed).
int WaitWithMessages(const std::string& programPath, const std::vector<std::string>& arguments,
                     const std::string& startFolder, CWaitObserver& observer);
