// Starts the real program under a virtual X server (the TVR_SCRIPT_FILE hook of main.cpp)
// and edits layouts as a user does: deleting what was selected, tap-off units among them,
// and looks at what the program saved. Screenshots go to the test output folder.

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "geometry/box.h"
#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "sample_end_to_end_support.h"

namespace {

const CRun* RunNamed(const CDorneDoc& document, const std::string& name) {
  for (const CRun* run : document.GetRuns())
    if (run->GetPropText("Name") == name) return run;
  return nullptr;
}

// The kinds and positions of a run's chain elements, in device order.
std::vector<std::pair<int, C3DPoint>> ChainOf(const CRun& run) {
  std::vector<std::pair<int, C3DPoint>> chain;
  for (const CDev* element : run.GetDevices())
    if (element->GetKind() <= CDev::kBend)
      chain.emplace_back(element->GetKind(), element->GetPosition());
  return chain;
}

CProgramRun RunScript(CShellTestFolder& folder, const std::string& script) {
  return RunProgram(folder.Path(), {}, script, "1280x960x24");
}

// The sample's 40 A run D (the last, current one) with its elbows: deleting the elbow in
// the middle took the far end element instead and left the elbow.
TEST(LayoutEditEndToEndTest, DeleteTakesTheSelectedElementAndUndoBringsItBack) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSampleSettings(folder);
  const std::string sample = TVR_PROGRAM_DIR "/examples/qd_sample.run";
  int elbowIndex = -1;
  C3DPoint elbowAt;
  std::vector<std::pair<int, C3DPoint>> before;
  LookAtSaved(sample, [&](CDorneDoc& document) {
    const CRun* run = RunNamed(document, "D");
    ASSERT_NE(run, nullptr);
    before = ChainOf(*run);
    // The first elbow met from the start, with the line going on beyond it.
    const CDev* at = run->GetFirstElement();
    for (int steps = 0; at != nullptr && elbowIndex < 0 && steps < 100; ++steps) {
      const std::vector<int> faces = at->ForwardFaces();
      const CDev* next = faces.empty() ? nullptr : at->GetNeighbour(faces.front());
      if (at->GetKind() == CDev::kElbow && next != nullptr) {
        const auto& devices = run->GetDevices();
        elbowIndex =
            static_cast<int>(std::find(devices.begin(), devices.end(), at) - devices.begin());
        elbowAt = at->GetPosition();
      }
      at = next;
    }
  });
  ASSERT_GE(elbowIndex, 0);
  const std::string deleted = folder.Path("deleted.run");
  const std::string undone = folder.Path("undone.run");
  const std::string shot = TestOutputPath("edit_delete_selected.png");
  const std::string script =
      "open " + sample + "\ncommand 32780\nrunclick 3 " + std::to_string(elbowIndex) +
      " 6\nanswer " + TestOutputPath("edit_delete_question.png") + " accept\ncommand 32862\nshot " +
      shot + "\nsave " + deleted + "\ncommand 57643\nsave " + undone + "\n";
  const CProgramRun run = RunScript(folder, script);
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  EXPECT_TRUE(run.values.value("dialogs").startsWith("277:")) << run.dump.toStdString();
  LookAtSaved(deleted, [&](CDorneDoc& document) {
    const CRun* after = RunNamed(document, "D");
    ASSERT_NE(after, nullptr);
    const auto chain = ChainOf(*after);
    // The elbow and everything beyond it went; the elements behind it stayed.
    EXPECT_LT(chain.size(), before.size());
    for (const auto& [kind, at] : chain) EXPECT_FALSE(at == elbowAt && kind == CDev::kElbow);
  });
  LookAtSaved(undone, [&](CDorneDoc& document) {
    const CRun* after = RunNamed(document, "D");
    ASSERT_NE(after, nullptr);
    auto chain = ChainOf(*after);
    EXPECT_EQ(chain.size(), before.size());
    EXPECT_NE(std::find(chain.begin(), chain.end(), std::make_pair(int(CDev::kElbow), elbowAt)),
              chain.end());
  });
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}

// The device indexes of the tap-off units of the document's run named so.
std::vector<int> UnitsOf(const CDorneDoc& document, const std::string& name) {
  std::vector<int> units;
  const CRun* run = RunNamed(document, name);
  for (std::size_t i = 0; run != nullptr && i < run->GetDevices().size(); ++i)
    if (run->GetDevices()[i]->GetKind() == CDev::kTapOff) units.push_back(static_cast<int>(i));
  return units;
}

// Two units on the sample's run E, marked in turn (the first one clicked, then the
// second), then deleted. The delete took the element being placed at the run's far end
// and left the units; then it took the last unit alone, though the first showed marked.
TEST(LayoutEditEndToEndTest, DeleteTakesTheTapOffUnitsMarkedInTurn) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSampleSettings(folder);
  const std::string placed = folder.Path("two_units.run");
  const std::string pickRun = "runclick 2 1 6\nzoomrun\n";
  const CProgramRun placing = RunScript(
      folder,
      "open " TVR_PROGRAM_DIR "/examples/qd_sample.run\n" + pickRun +
          "answer - 1 1110=1\ncommand 33030\noutlet\ncommand 33030\ndrag 1\ndrag 2 copy\nsave " +
          placed + "\n");
  ASSERT_TRUE(placing.finished) << placing.output.toStdString();
  ASSERT_EQ(placing.values.value("failed"), "") << placing.dump.toStdString();
  std::vector<int> units;
  std::size_t chainBefore = 0;
  std::string reference;
  LookAtSaved(placed, [&](CDorneDoc& document) {
    units = UnitsOf(document, "E");
    chainBefore = ChainOf(*RunNamed(document, "E")).size();
    if (!units.empty()) reference = RunNamed(document, "E")->GetDevices()[units[0]]->GetReference();
  });
  ASSERT_EQ(units.size(), 2u);
  const std::string deleted = folder.Path("one_unit.run");
  const std::string shot = TestOutputPath("edit_delete_unit.png");
  const CProgramRun run = RunScript(
      folder, "open " + placed + "\n" + pickRun + "command 32780\nrunclick 2 " +
                  std::to_string(units[0]) + " 6\nrunclick 2 " + std::to_string(units[1]) +
                  " 6\nshot " + TestOutputPath("edit_units_marked.png") +
                  "\nanswer - accept\ncommand 32862\nshot " + shot + "\nsave " + deleted + "\n");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  LookAtSaved(deleted, [&](CDorneDoc& document) {
    EXPECT_TRUE(UnitsOf(document, "E").empty()) << "both units shown marked go";
    EXPECT_LT(RunNamed(document, "E")->GetBOM().FindLine(reference), 0) << reference;
    EXPECT_EQ(ChainOf(*RunNamed(document, "E")).size(), chainBefore);
  });
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}

// The support display switched from the View menu: the bill of materials of the QM run
// shows its unit weights while the supports are shown, and hides them again. The toggle
// reached no grid.
TEST(LayoutEditEndToEndTest, TheSupportDisplayShowsTheUnitWeightsOfAQMRun) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n"
               "Support=0\n[Language]\nID=044\n");
  const std::string shot = TestOutputPath("edit_support_weights.png");
  const CProgramRun run = RunScript(folder, "open " TVR_PROGRAM_DIR
                                            "/examples/qm_sample.run\n"
                                            "command 33063\nbomkind 15 1\nshot " +
                                                shot + "\ncommand 33063\nbomkind 15 0\n");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}

// Run > Update run on a QMA 25 run: the end options of a straight stayed on the element
// that ended it before the reversal, so the other end's piece was ordered with them.
TEST(LayoutEditEndToEndTest, UpdateRunTurnsTheQMEndOptionsWithTheRun) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSampleSettings(folder);
  const std::string laid = folder.Path("documents/qm_options.run");
  ASSERT_EQ(WriteLaidDocument(laid,
                              "run QMA 25\nprop Neutral 6\nstart 0\ngo 4 2000\n"
                              "field ED31 1\ngo 5 4000\nfield EH44 1\nend 1\n"),
            "");
  const std::string reversed = folder.Path("reversed.run");
  const std::string shot = TestOutputPath("edit_qm_reversed.png");
  const CProgramRun run = RunScript(folder, "open " + laid + "\nanswer " + shot +
                                                " accept\ncommand 33064\nsave " + reversed + "\n");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  LookAtSaved(reversed, [](CDorneDoc& document) {
    ASSERT_EQ(document.GetRuns().size(), 1u);
    const CRun& qm = *document.GetRuns().front();
    // From the new start: the old end, the elbow, the old start.
    std::vector<const CDev*> line;
    for (const CDev* at = qm.GetFirstElement(); at != nullptr && line.size() < 4;) {
      line.push_back(at);
      const std::vector<int> faces = at->ForwardFaces();
      at = faces.empty() ? nullptr : at->GetNeighbour(faces.front());
    }
    ASSERT_EQ(line.size(), 3u);
    const struct {
      const char* option;
      std::size_t holder;  // in the line from the new start
    } rows[] = {{"ED31", 2}, {"EH44", 1}};
    for (const auto& row : rows) {
      for (std::size_t i = 0; i < line.size(); ++i)
        EXPECT_EQ(line[i]->GetPropValue(row.option) == "1", i == row.holder)
            << row.option << " on element " << i;
    }
  });
}

// A picture of the view named apart from the design is not listed with its pictures: the
// export asked nothing. Cancel chooses again, OK keeps the name; a name after the design's
// is taken at once.
TEST(LayoutEditEndToEndTest, APictureNamedApartFromTheDesignIsConfirmedFirst) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSampleSettings(folder);
  const std::string design = folder.Path("documents/plant.run");
  std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/qd_sample.run", design);
  const std::string other = folder.Path("documents/other.jpg");
  const std::string kept = folder.Path("documents/kept.jpg");
  const std::string named = folder.Path("documents/plant-view.jpg");
  const std::string question = TestOutputPath("edit_picture_name_question.png");
  const CProgramRun run = RunScript(
      folder, "open " + design + "\nanswer - accept fileNameEdit=" + other + "\nanswer " +
                  question + " reject\nanswer - accept fileNameEdit=" + kept +
                  "\nanswer - accept\ncommand 32953\nanswer - accept fileNameEdit=" + named +
                  "\ncommand 32953\n");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  const QStringList dialogs = run.values.value("dialogs").split('|');
  ASSERT_EQ(dialogs.size(), 5) << run.dump.toStdString();
  EXPECT_TRUE(dialogs[1].startsWith("277:") && dialogs[1].contains("other.jpg"))
      << dialogs[1].toStdString();
  EXPECT_TRUE(dialogs[3].startsWith("277:") && dialogs[3].contains("kept.jpg"))
      << dialogs[3].toStdString();
  EXPECT_FALSE(dialogs[4].startsWith("277:")) << dialogs[4].toStdString();
  EXPECT_FALSE(std::filesystem::exists(other));
  EXPECT_FALSE(QImage(QString::fromStdString(kept)).isNull());
  EXPECT_FALSE(QImage(QString::fromStdString(named)).isNull());
  EXPECT_FALSE(QImage(QString::fromStdString(question)).isNull());
}

// Tools > Options with a new colour for the first straight type: the open layout kept
// its old colours until it was opened again.
TEST(LayoutEditEndToEndTest, OptionsRecolourTheOpenLayout) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSampleSettings(folder);
  const std::string shot = TestOutputPath("edit_options_recoloured.png");
  // Element 3 of run D is a straight of the first type; the colour page's list row 1 is
  // that type, its button 156 opens the colour dialog; OK (1) ends the sheet.
  const CProgramRun run = RunScript(
      folder, "open " TVR_PROGRAM_DIR "/examples/qd_sample.run\nboxcolor 3 6 00ff00\nanswer " +
                  TestOutputPath("edit_options_colours.png") +
                  " +156 1003=1\nanswer - accept color=#123456\nanswer - 1\ncommand 32772\n"
                  "boxcolor 3 6 123456\nshot " +
                  shot + "\n");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  EXPECT_EQ(run.values.value("dialogs"),
            "COptionsSheet:Options|QColorDialog:Select Color|COptionsSheet:Options");
  EXPECT_TRUE(run.values.value("state").startsWith("1 ")) << "marked modified";
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}

// A first straight drawn by hand upward (it ends at 2992 as the view rounds the click),
// then the turn tool: a click near an end of the straight takes the placing there, the far
// end as well as the start. A click near the far end went to the start, and no click came
// back to the far end.
TEST(LayoutEditEndToEndTest, TheTurnToolGoesOnFromTheEndNearerTheClick) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSampleSettings(folder);
  const std::string shot = TestOutputPath("edit_turn_far_end.png");
  const CProgramRun run = RunScript(folder,
                                    "key return\ntoward 32 3000\ncursor 0 0 2992\ncommand 32782\n"
                                    "toward 16 300\ncursor 0 0 2992\ntoward 16 2900\ncursor 0 0 0\n"
                                    "toward 32 2800\ncursor 0 0 2992\nshot " +
                                        shot + "\n");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString() << run.output.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}

}  // namespace
