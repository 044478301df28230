// Starts the real program under a virtual X server on the QJF sample, chooses a tap-off
// unit in the tap-off tool's dialog, places it with the mouse on an outlet of the current
// run and saves; the saved design holds the unit, booked in the bill of materials. A
// screenshot of the placed unit is kept in the test output folder.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

// Texts are stored as UTF-16.
std::string Stored(const std::string& text) {
  std::string wide;
  for (char c : text) wide += std::string{c, '\0'};
  return wide;
}

std::string Bytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(TapOffEndToEndTest, UnitPlacedWithTheMouseIsSaved) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n");
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  const std::string shot = std::string(TVR_TEST_OUTPUT_DIR) + "/tapoff_placed.png";
  const std::string dialogShot = std::string(TVR_TEST_OUTPUT_DIR) + "/tapoff_dialog_program.png";
  const std::string saved = folder.Path("with_unit.run");
  const std::string undone = folder.Path("undone.run");
  // The dialog's first device button checked, then OK (1).
  const std::string script = "open " TVR_PROGRAM_DIR "/examples/qjf_sample.run\nanswer " +
                             dialogShot + " 1 1110=1\ncommand 33030\noutlet\nshot " + shot +
                             "\nsave " + saved + "\ncommand 57643\nsave " + undone + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script);
  ASSERT_TRUE(run.finished);
  EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << run.dump.toStdString();
  // The unit's record and its line in the bill of materials, its reference ending in the
  // side of its outlet.
  const std::string bytes = Bytes(saved);
  const std::size_t unit = bytes.find(Stored("QJB0630S1"));
  EXPECT_NE(unit, std::string::npos);
  EXPECT_NE(bytes.find(Stored("QJB0630S1"), unit + 1), std::string::npos);
  // Undo takes the unit back, and its line with it.
  EXPECT_EQ(Bytes(undone).find(Stored("QJB0630S")), std::string::npos);
  for (const std::string& picture : {shot, dialogShot})
    EXPECT_FALSE(QImage(QString::fromStdString(picture)).isNull()) << picture;
}

}  // namespace
