// Starts the real program under a virtual X server on the samples and rebuilds the bill
// of materials of the current run from the Run menu's command (the TVR_SCRIPT_FILE hook
// of main.cpp): a built run keeps the catalogue references of its parts, line for line.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/ui/command_ids.h"
#include "sample_end_to_end_support.h"
#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

struct CSampleCase {
  const char* sample;
  const char* reference;  // a catalogue reference the built sample's bill holds
};

TEST(RebuildBomEndToEndTest, ABuiltRunKeepsTheReferencesOfItsParts) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  for (const CSampleCase& row :
       {CSampleCase{"qjf_sample", "QJF26"}, CSampleCase{"qd_sample", "QDA40"}}) {
    CShellTestFolder folder;
    folder.Write("settings/TVR73/TVR.INI",
                 "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n");
    std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
    const std::string shot = std::string(TVR_TEST_OUTPUT_DIR) + "/rebuild_bom_" + row.sample;
    const std::string before = folder.Path("before.csv");
    const std::string after = folder.Path("after.csv");
    const std::string script = std::string("open " TVR_PROGRAM_DIR "/examples/") + row.sample +
                               ".run\ncsv all " + before + "\ncommand " +
                               std::to_string(kIdRebuildBom) + "\ncsv all " + after + "\nshot " +
                               shot + ".png\nsave " + folder.Path("rebuilt.run") + "\n";
    const CProgramRun run = RunProgram(folder.Path(), {}, script);
    ASSERT_TRUE(run.finished) << row.sample << run.output.toStdString();
    EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << row.sample << run.dump.toStdString();
    const QString built = CsvExportText(before);
    const QString rebuilt = CsvExportText(after);
    ASSERT_TRUE(built.contains(QLatin1String(row.reference))) << row.sample << built.toStdString();
    // The generic texts of unbuilt elements never show in a built run's bill.
    for (const char* generic : {"Unknown piece", "Straight length", "End piece"})
      EXPECT_FALSE(rebuilt.contains(QLatin1String(generic))) << row.sample << " " << generic << "\n"
                                                             << rebuilt.toStdString();
    EXPECT_EQ(rebuilt, built) << row.sample;
  }
}

}  // namespace
