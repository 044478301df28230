// Starts the real program under a virtual X server on a long layout (thousands of boxes,
// enough for the order to be sorted on several threads), turns the layout view with the
// orbit tool at several angles and releases the button at once (the scene rebuilt there, or
// settled aside), after a pause (the order and the picture made aside) or after a rest:
// each time the view shows exactly the order and the picture of its scene built anew from
// an empty list. Screenshots of the turned views are kept in the test output folder.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <string>
#include <vector>

#include "../../../bench/model/bench_document.h"
#include "platform/archive.h"
#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

const char kSettings[] = "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n";

struct OrbitCase {
  const char* by;  // DX DY
  const char* wait;
};

TEST(OrbitReleaseEndToEndTest, AReleasedTurnShowsTheSceneBuiltAnew) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI", kSettings);
  CArchiveWriter writer;
  BuildBenchDocument(30)->Serialize(writer);
  const std::vector<std::uint8_t> bytes = writer.TakeBytes();
  const std::string design =
      folder.Write("documents/long.run", std::string(bytes.begin(), bytes.end()));
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  const OrbitCase cases[] = {{"40 -25", "now"},
                             {"-30 35", "pause"},
                             {"25 30", "rest"},
                             {"-80 -60", "aside"},
                             {"70 50", "pause"}};
  std::string script = "closemodals\nopen " + design + "\nzoomrun\nasbuilt\n";
  std::vector<std::string> shots;
  for (const OrbitCase& c : cases) {
    shots.push_back(std::string(TVR_TEST_OUTPUT_DIR) + "/orbit_released_" +
                    std::to_string(shots.size()) + ".png");
    script += "zoomrun\ncommand 33024\norbit " + std::string(c.by) + " " + c.wait +
              "\nasbuilt\nshot " + shots.back() + "\ncommand 33024\n";
  }
  const CProgramRun run = RunProgram(folder.Path(), {}, script);
  ASSERT_TRUE(run.finished);
  EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << run.dump.toStdString();
  for (const std::string& shot : shots)
    EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull()) << shot;
}

}  // namespace
