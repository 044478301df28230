// Starts the real program under a virtual X server on the QM and QG samples, rebuilds each
// run, shows its section label, zooms onto one of the run's ends and keeps a screenshot,
// then writes the close-up as a DXF file: ezdxf finds the outlines of the QM connection
// unit and its bars (placed by the range's own element geometry; outside bar mode they
// carry no phase labels, in bar mode each bar end its outline, bolts and phase label, the
// protective conductor's bars "PE", and the shims of a unit with a connection piece the
// labels of the bars they lie against), the bars and phase labels of the QG feed boxes,
// on the run's layer, and the busbar cross-section of each run's section label on the
// section layer.

#include <gtest/gtest.h>

#include <QImage>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

#include "app/ui/command_ids.h"
#include "sample_end_to_end_support.h"

namespace {

std::string Output(const std::string& command, int* status = nullptr) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string output;
  char buffer[1024];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) output += buffer;
  const int result = pipe ? pclose(pipe.release()) : -1;
  if (status != nullptr) *status = result;
  return output;
}

// The first line of the reader's listing that begins with the text.
std::string LineOf(const std::string& listing, const std::string& start) {
  const std::size_t at = listing.find("\n" + start);
  if (at == std::string::npos) return {};
  return listing.substr(at + 1, listing.find('\n', at + 1) - at - 1);
}

struct CCloseUp {
  const char* sample;
  const char* section;  // the section label's first words
  int end;              // the end shown, in chain order
  bool bars;            // the end is a connection unit with bars
  const char* labels;   // the phase labels its bars show, separated by spaces
  int view;             // the view preset command that shows them, 0: the stored view
};

// The screenshot's and DXF file's name: the sample's, and the end's when not the first.
std::string ShotName(const CCloseUp& c) {
  return std::string(c.sample) + (c.end != 0 ? "_end" + std::to_string(c.end) : std::string());
}

TEST(DetailSymbolsEndToEndTest, CloseUpsOfQMAndQGEndsShowTheirBarsAndSections) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSampleSettings(folder);
  // The bars of the connection unit in bar mode hang below it: seen from below, no bar
  // covers the label of another.
  const CCloseUp closeUps[] = {
      {"qm_sample", "QMA - ", 0, true, "", 0},
      {"qg_sample", "QGA - ", 0, false, "", 0},
      {"qm_bars_sample", "QMA - ", 0, true, "N 1 2 3 PE", kIdViewPresetFirst + 4},
      {"qm_bars_sample", "QMA - ", 1, true, "N 1 2 3 PE", kIdViewPresetFirst + 4},
      {"qg_bars_sample", "QGA - ", 0, true, "N 1 2 3", 0},
      {"qg_bars_sample", "QGA - ", 1, true, "N 1 2 3", 0}};
  std::string script;
  for (const CCloseUp& c : closeUps) {
    const std::string name = ShotName(c);
    std::filesystem::remove(TestOutputPath("detail_symbols_" + name + "_program.png"));
    // The section labels' display layer is switched on once: the setting stays.
    script += "open " TVR_PROGRAM_DIR "/examples/" + std::string(c.sample) + ".run\ncommand " +
              std::to_string(kIdRebuildParts) + (script.empty() ? "\nmenu 32992" : "") +
              (c.view != 0 ? "\ncommand " + std::to_string(c.view) : std::string()) + "\nzoomend " +
              std::to_string(c.end) + " 400\nshot " +
              TestOutputPath("detail_symbols_" + name + "_program.png") + "\ndxf " +
              folder.Path(name + ".dxf") + "\ncommand 57602\n";
  }
  const CProgramRun run = RunProgram(folder.Path(), {}, script, "1280x960x24");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  for (const CCloseUp& c : closeUps) {
    const std::string name = ShotName(c);
    EXPECT_FALSE(
        QImage(QString::fromStdString(TestOutputPath("detail_symbols_" + name + "_program.png")))
            .isNull());
    const std::string dxf = folder.Path(name + ".dxf");
    if (c.bars) {
      int status = -1;
      const std::string bars =
          Output("/usr/bin/python3 " TVR_SOURCE_DIR "/tests/view/check_detail_dxf.py '" + dxf +
                     "' RUN " + c.labels + " 2>&1",
                 &status);
      EXPECT_EQ(status, 0) << name << "\n" << bars;
    }
    const std::string layers =
        Output("/usr/bin/python3 " TVR_SOURCE_DIR "/tests/view/read_dxf_layers.py '" + dxf + "'");
    const std::string section = LineOf(layers, "SECTION ");
    EXPECT_NE(section, "") << layers;
    EXPECT_EQ(section.find("lines=0 "), std::string::npos) << section;
    EXPECT_NE(layers.find("text: " + std::string(c.section)), std::string::npos) << layers;
    EXPECT_NE(layers.find("text: h="), std::string::npos) << layers;
  }
}

}  // namespace

namespace {

// A QM run of three conductors (no neutral): the bars of its connection unit carry the
// labels of their phases.
TEST(DetailSymbolsEndToEndTest, BarsOfAThreeConductorRunCarryTheirPhaseLabels) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSampleSettings(folder);
  std::ifstream source(TVR_SOURCE_DIR "/data/examples/qm_bars_sample.layout");
  std::string layout((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
  const std::size_t neutral = layout.find("prop Neutral 7");
  ASSERT_NE(neutral, std::string::npos);
  layout.replace(neutral, 14, "prop Neutral 3");
  const std::string document = folder.Path("documents/three_conductors.run");
  ASSERT_EQ(WriteLaidDocument(document, layout), "");
  const std::string shot = TestOutputPath("detail_symbols_three_conductors_program.png");
  const std::string dxf = folder.Path("three_conductors.dxf");
  const std::string script = "open " + document + "\ncommand " + std::to_string(kIdRebuildParts) +
                             "\ncommand " + std::to_string(kIdViewPresetFirst + 4) +
                             "\nzoomend 0 400\nshot " + shot + "\ndxf " + dxf + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, "1280x960x24");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
  int status = -1;
  const std::string bars =
      Output("/usr/bin/python3 " TVR_SOURCE_DIR "/tests/view/check_detail_dxf.py '" + dxf +
                 "' RUN 1 2 3 2>&1",
             &status);
  EXPECT_EQ(status, 0) << bars;
}

}  // namespace
