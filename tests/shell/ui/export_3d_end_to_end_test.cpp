// Starts the real program under a virtual X server on the samples and writes the current
// run's 3D exchange file from the File menu's command (the TVR_SCRIPT_FILE hook of
// main.cpp): a file with device lines the coding has no rule for ("dev:##ERR##") is
// written, and the user is told how many; a fully coded file is written without a word.

#include <gtest/gtest.h>

#include <QFile>

#include <filesystem>
#include <string>

#include "app/ui/command_ids.h"
#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

int UncodedLines(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return -1;
  return static_cast<int>(file.readAll().count("dev:##ERR##\r\n"));
}

struct CExportCase {
  const char* sample;
  int uncoded;
  const char* told;  // the message's words, empty for none
};

TEST(Export3dEndToEndTest, DeviceLinesThatCouldNotBeCodedAreTold) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  const CExportCase cases[] = {
      {"qd_sample", 2,
       "The 3D file is written, but 2 of its device lines for run D read \"##ERR##\": the 3D "
       "device coding has no rule for these elements of range QDA"},
      {"qjf_sample", 0, ""},
  };
  for (const CExportCase& row : cases) {
    CShellTestFolder folder;
    folder.Write("settings/TVR73/TVR.INI",
                 "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n");
    std::filesystem::create_directories(folder.Path("documents"));
    const std::string design = folder.Path("documents/") + row.sample + ".run";
    std::filesystem::copy_file(std::string(TVR_PROGRAM_DIR "/examples/") + row.sample + ".run",
                               design);
    const std::string exported = folder.Path("documents/run.z3d");
    const std::string script = "open " + design + "\nanswer - accept fileNameEdit=" + exported +
                               "\nanswer - accept\ncommand " + std::to_string(kIdExport3D) + "\n";
    const CProgramRun run = RunProgram(folder.Path(), {}, script);
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    EXPECT_EQ(UncodedLines(exported), row.uncoded) << row.sample;
    const std::string told = row.told;
    if (told.empty()) {
      // The second answer found no message to close.
      EXPECT_TRUE(run.dump.contains("\ndialogs=QFileDialog:Save As\n")) << run.dump.toStdString();
    } else {
      EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << run.dump.toStdString();
      EXPECT_TRUE(run.dump.contains(QString::fromStdString(told))) << run.dump.toStdString();
    }
  }
}

}  // namespace
