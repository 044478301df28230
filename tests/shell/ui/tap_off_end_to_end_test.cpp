// Starts the real program under a virtual X server on the QJF sample, chooses a tap-off
// unit in the tap-off tool's dialog, places it with the mouse on an outlet of the current
// run and saves; the saved design holds the unit, booked in the bill of materials. A
// screenshot of the placed unit is kept in the test output folder. On the QD sample's
// run of straights with outlets, a unit is placed, moved and copied by dragging, and a
// design with units read back is saved to the same bytes; the dialog's automatic
// distribution places a unit in front of one standing.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/tapoff/tap_off_position.h"
#include "ranges/range_context.h"
#include "ranges/range_registry.h"
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

int Occurrences(const std::string& bytes, const std::string& text) {
  int count = 0;
  for (std::size_t at = bytes.find(text); at != std::string::npos; at = bytes.find(text, at + 1))
    ++count;
  return count;
}

const char kSettings[] = "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n";
// The sample's third run, picked by a click on its first straight and zoomed on.
const char kPickRun[] = "runclick 2 1 6\nzoomrun\n";

TEST(TapOffQDEndToEndTest, UnitPlacedMovedAndCopiedWithTheMouse) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI", kSettings);
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  const std::string shot = std::string(TVR_TEST_OUTPUT_DIR) + "/tapoff_qd_placed.png";
  const std::string placed = folder.Path("placed.run");
  const std::string moved = folder.Path("moved.run");
  const std::string copied = folder.Path("copied.run");
  const std::string again = folder.Path("again.run");
  const std::string again2 = folder.Path("again2.run");
  // The dialog's first device button checked, then OK (1); the tool is left before the
  // unit is grabbed in the select tool.
  const std::string script =
      "open " TVR_PROGRAM_DIR "/examples/qd_sample.run\n" + std::string(kPickRun) +
      "answer - 1 1110=1\ncommand 33030\noutlet\nshot " + shot + "\nsave " + placed +
      "\ncommand 33030\ndrag 1\nsave " + moved + "\ndrag 2 copy\nsave " + copied + "\nopen " +
      placed + "\nsave " + again + "\nopen " + again + "\nsave " + again2 + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script);
  ASSERT_TRUE(run.finished);
  EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << run.dump.toStdString();
  // The unit's record and its line in the bill of materials.
  const std::string unit = Stored("QDB0016SE");
  const std::string placedBytes = Bytes(placed);
  EXPECT_EQ(Occurrences(placedBytes, unit), 2);
  // Moved: still one unit, standing elsewhere.
  const std::string movedBytes = Bytes(moved);
  EXPECT_EQ(Occurrences(movedBytes, unit), 2);
  EXPECT_TRUE(movedBytes != placedBytes);
  // Copied: a second unit record beside the first, one line in the bill.
  EXPECT_EQ(Occurrences(Bytes(copied), unit), 3);
  // Read back, the units are there; read back and saved once more, the same bytes (the
  // first save after reading may only differ in the window's view).
  const std::string againBytes = Bytes(again);
  EXPECT_EQ(Occurrences(againBytes, unit), 2);
  EXPECT_TRUE(Bytes(again2) == againBytes);
  EXPECT_EQ(againBytes.size(), placedBytes.size());
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}

// A unit of the distributing function (6) placed by hand, then the dialog asked for the
// automatic distribution: walking from the feed end, the free outlet met before the unit
// lies within the spacing ("TapOff2Load" 5000/30000: 25 m), so a second unit of the
// choice is placed there and none is left marked (no message 30163).
TEST(TapOffQDEndToEndTest, AutomaticDistributionPlacesAUnitBeforeTheOneStanding) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI", kSettings);
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  const std::string shot = std::string(TVR_TEST_OUTPUT_DIR) + "/tapoff_qd_distributed.png";
  const std::string distributed = folder.Path("distributed.run");
  const std::string script = "open " TVR_PROGRAM_DIR "/examples/qd_sample.run\n" +
                             std::string(kPickRun) +
                             "answer - 1 1631=1 1110=1\ncommand 33030\noutlet\ncommand 33030\n"
                             "answer - 1 1631=1 1110=1 1677=1\ncommand 33030\nshot " +
                             shot + "\nsave " + distributed + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script);
  ASSERT_TRUE(run.finished);
  EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << run.dump.toStdString();
  EXPECT_EQ(run.values.value("dialogs"), "328:Tap-off unit|328:Tap-off unit");
  // Two unit records and their line in the bill.
  EXPECT_EQ(Occurrences(Bytes(distributed), Stored("QDB0063SE")), 3);
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}

// A unit placed on an outlet of a joint's front box stands on that box: it is counted
// from the straight ahead of the joint, so its direction points back along the run.
TEST(TapOffQDEndToEndTest, UnitPlacedOnAFrontBoxStandsThere) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI", kSettings);
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  const std::string shot = std::string(TVR_TEST_OUTPUT_DIR) + "/tapoff_qd_front_box.png";
  const std::string placed = folder.Path("front.run");
  const std::string script =
      "open " TVR_PROGRAM_DIR "/examples/qd_sample.run\n" + std::string(kPickRun) +
      "answer - 1 1110=1\ncommand 33030\noutlet front\nshot " + shot + "\nsave " + placed + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script);
  ASSERT_TRUE(run.finished);
  EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << run.dump.toStdString();
  CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  RegisterRangeRuns();
  CDorneDoc document;
  ASSERT_TRUE(document.OnOpenDocument(placed).ok);
  const CDev* unit = nullptr;
  for (const CRun* each : document.GetRuns())
    for (const CDev* device : each->GetDevices())
      if (device->GetKind() == CDev::kTapOff) unit = device;
  ASSERT_NE(unit, nullptr);
  ASSERT_NE(unit->GetAttached(), nullptr);
  const CTapOffPlace place = CTapOffPlace::Of(*unit);
  EXPECT_EQ(place.direction, CDev::OppositeDirection(unit->GetAttached()->GetDirection()));
  EXPECT_GE(place.jointCount, 1);
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}

}  // namespace
