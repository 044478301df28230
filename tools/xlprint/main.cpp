// XlPrint.exe, our stand-in for the spreadsheet program of the exports:
//   XlPrint.exe <exchange file> <model workbook> <macro> <password> <mode> <target>
// It reads the exchange file and writes an .xlsx workbook: mode 12 to the target path;
// mode 18 (or 22) to the target path when one is given, else to a new file in the
// temporary folder, then opened with xdg-open.
// With a model workbook (.xlsx), the workbook is a copy of the model with the data below
// its header (model_workbook.h); without one (an empty argument), a plain workbook. Its
// macro and password are not used: no macro runs here.
// Exit codes: 0 done, 2 bad arguments, 3 exchange file unreadable, 4 workbook not
// written, 5 the workbook could not be opened, 6 the model workbook cannot be read.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "xlprint/exchange_reader.h"
#include "xlprint/model_workbook.h"
#include "xlprint/workbook_writer.h"

extern char** environ;

namespace {

std::string TemporaryWorkbook() {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) folder = "/tmp";
  return (folder / ("XlExport-" + std::to_string(getpid()) + ".xlsx")).string();
}

int OpenWithDesktop(const std::string& path) {
  const char* argv[] = {"xdg-open", path.c_str(), nullptr};
  pid_t child = 0;
  if (posix_spawnp(&child, "xdg-open", nullptr, nullptr, const_cast<char* const*>(argv), environ) !=
      0)
    return 5;
  int status = 0;
  if (waitpid(child, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return 5;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) {
    std::fprintf(stderr, "usage: XlPrint.exe exchange model macro password mode [target]\n");
    return 2;
  }
  const std::string exchangePath = argv[1];
  const std::string model = argv[2];
  const int mode = std::atoi(argv[5]);
  const std::string target = argc > 6 ? argv[6] : "";
  if (mode == 12 && target.empty()) {
    std::fprintf(stderr, "XlPrint.exe: mode 12 needs a target workbook\n");
    return 2;
  }
  std::string error;
  std::error_code removeError;
  const auto exchange = tvr::tools::ReadExchangeFile(exchangePath, error);
  if (!exchange) {
    std::fprintf(stderr, "XlPrint.exe: %s: %s\n", exchangePath.c_str(), error.c_str());
    return 3;
  }
  // To open, the workbook goes to the target when the caller names one (the caller then
  // owns it), else to a temporary file of ours, removed again when nothing opens it.
  const bool temporary = target.empty();
  const std::string workbook = temporary ? TemporaryWorkbook() : target;
  if (!model.empty()) {
    if (!tvr::tools::WriteWorkbookOnModel(*exchange, model, workbook, error)) {
      std::fprintf(stderr, "XlPrint.exe: %s\n", error.c_str());
      return 6;
    }
  } else if (!tvr::tools::WriteWorkbook(*exchange, workbook, error)) {
    std::fprintf(stderr, "XlPrint.exe: %s\n", error.c_str());
    return 4;
  }
  if (mode == 12) return 0;
  const int opened = OpenWithDesktop(workbook);
  if (opened != 0) {
    std::fprintf(stderr, "XlPrint.exe: no application opened %s\n", workbook.c_str());
    if (temporary) std::filesystem::remove(workbook, removeError);
  }
  return opened;
}
