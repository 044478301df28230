// The real program exports the current run of the QD sample from the layout window's 3D
// export command, its file dialog answered by the script hook; the file written must be
// byte for byte the one the core writes for that run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/ui/command_ids.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/run/run_factory.h"
#include "ranges/range_context.h"
#include "ranges/range_registry.h"
#include "samplewriter/sample_layout.h"
#include "sample_end_to_end_support.h"
#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Settings of a program that starts without its start-up windows.
void WriteSettings(const CShellTestFolder& folder) {
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n");
}

TEST(Z3dExportEndToEndTest, TheMenuCommandWritesTheRunsFile) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSettings(folder);
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  const std::string shot = std::string(TVR_TEST_OUTPUT_DIR) + "/z3d_export_dialog.png";
  const std::string target = folder.Path("sampleD.Z3D");
  const std::string script = "open " TVR_PROGRAM_DIR
                             "/examples/qd_sample.run\nbomtab current\nenabled 32985 1\n"
                             "answer " +
                             shot + " accept fileNameEdit=" + target + "\nmenu 32985\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script);
  ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), QString()) << run.dump.toStdString();
  EXPECT_EQ(ReadAll(target), ReadAll(TVR_SOURCE_DIR "/tests/data/export/qd_sample.z3d"))
      << run.dump.toStdString() << run.output.toStdString();
  EXPECT_FALSE(std::filesystem::exists(target + ".new"));
}

// The name of the run in a file's "name:" line.
std::string RunNameIn(const std::string& file) {
  const std::size_t at = file.find("\r\nname:");
  if (at == std::string::npos) return {};
  const std::size_t from = at + 7;
  return file.substr(from, file.find('\r', from) - from);
}

// Each built range's sample, copied beside the test's own folder and opened there: the
// command proposes "<document> - <run>.Z3D" beside the document, and accepting it writes
// the current run's file, byte for byte the one the core writes for that run.
TEST(Z3dExportEndToEndTest, EverySamplesFileIsWrittenBesideItsDocument) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSettings(folder);
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  const char* const samples[] = {"qd_sample", "qjf_sample", "qp_sample",
                                 "qw_sample", "qg_sample",  "qm_sample"};
  std::string script;
  for (const std::string sample : samples) {
    const std::string document = folder.Path(sample + ".run");
    std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/" + sample + ".run", document);
    const std::string shot = std::string(TVR_TEST_OUTPUT_DIR) + "/z3d_export_" + sample + ".png";
    // The export writes the run of the page shown: its tab is chosen first.
    script += "open " + document + "\nbomtab current\nenabled 32985 1\nanswer " + shot +
              " accept\nmenu 32985\n";
  }
  const CProgramRun run = RunProgram(folder.Path(), {}, script);
  ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), QString()) << run.dump.toStdString();
  for (const std::string sample : samples) {
    const std::string expected = ReadAll(TVR_SOURCE_DIR "/tests/data/export/" + sample + ".z3d");
    const std::string written = folder.Path(sample + " - " + RunNameIn(expected) + ".Z3D");
    EXPECT_EQ(ReadAll(written), expected) << written << "\n" << run.output.toStdString();
  }
}

// A tap-off unit placed with the mouse on the QJF sample: the export numbers it as the
// station of the group opened where the path passes its joint, and lists it with that
// station in the tap-off section.
TEST(Z3dExportEndToEndTest, APlacedTapOffUnitIsListedWithItsStation) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSettings(folder);
  const std::string target = folder.Path("tapoff.Z3D");
  const std::string script = "open " TVR_PROGRAM_DIR
                             "/examples/qjf_sample.run\nanswer - 1 1110=1\ncommand 33030\n"
                             "outlet\nanswer - accept fileNameEdit=" +
                             target + "\nmenu 32985\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script);
  ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), QString()) << run.dump.toStdString();
  const std::string file = ReadAll(target);
  // The section's count, an empty line, then the unit's entry with its station.
  const std::size_t section = file.find("\r\nnbtpf:");
  ASSERT_NE(section, std::string::npos) << file;
  const std::size_t entry = file.find("\r\n\r\npos:st", section);
  ASSERT_EQ(entry, section + 13) << file;
  const std::string station = file.substr(entry + 10, 3);
  EXPECT_NE(file.substr(0, section).find("gt" + station + "\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("\r\ndev:300000/00214@$QJB0630S1\r\n", section), std::string::npos) << file;
}

// The codes of the device lines of a file (what follows "dev:" up to the first "/").
std::vector<std::string> DeviceCodes(const std::string& file) {
  std::vector<std::string> codes;
  for (std::size_t at = file.find("\ndev:"); at != std::string::npos;
       at = file.find("\ndev:", at + 1)) {
    const std::size_t from = at + 5;
    codes.push_back(file.substr(from, file.find_first_of("/\r", from) - from));
  }
  return codes;
}

// A QD run with outlets on both sides of the user's joint (two lengths of three outlets,
// one of six), built by the program's rebuild command and exported: every piece is coded
// with its outlets, the one that the user's joint ends too.
TEST(Z3dExportEndToEndTest, RebuiltOutletPiecesAreCodedWithTheirOutlets) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSettings(folder);
  const std::string document = folder.Path("outlets.run");
  ASSERT_EQ(WriteLaidDocument(document,
                              "run QDA 06\nname E\nstart 0\ngo 4 6200\ntype 1\n"
                              "go 4 3100\ntype 2\nend 3\n"),
            "");
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  const std::string shot = std::string(TVR_TEST_OUTPUT_DIR) + "/z3d_export_outlets.png";
  const std::string target = folder.Path("outlets.Z3D");
  const std::string script = "open " + document + "\ncommand " + std::to_string(kIdRebuildParts) +
                             "\nenabled 32985 1\nanswer " + shot +
                             " accept fileNameEdit=" + target + "\nmenu 32985\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script);
  ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), QString()) << run.dump.toStdString();
  const std::string file = ReadAll(target);
  EXPECT_EQ(DeviceCodes(file),
            (std::vector<std::string>{"#00#", "120000", "120000", "120000", "##ERR##"}))
      << file;
  EXPECT_NE(file.find("@$QDA63ED4306"), std::string::npos) << file;
}

// A QD run whose lengths a damaged file made 2 km each, saved as a document; empty when
// written, else what went wrong.
std::string WriteDamagedDocument(const std::string& path) {
  return WriteLaidDocument(path, "run QDA 06\nname R\nstart 0\ngo 4 6000\nend 3\n",
                           [](CDorneDoc& document) {
                             // Built, as the program builds a run before it exports it.
                             document.GetRuns().front()->RebuildParts(0);
                             for (CDev* element : document.GetRuns().front()->GetDevices())
                               if (element->GetKind() == CDev::kJoint && element->GetLength() > 0)
                                 element->SetDrawnLength(2'000'000);
                           });
}

// A run whose lengths the file cannot hold: the export says so and names the value, and
// writes no file.
TEST(Z3dExportEndToEndTest, ARunWithDamagedLengthsIsRefusedWithItsValue) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSettings(folder);
  const std::string document = folder.Path("damaged.run");
  ASSERT_EQ(WriteDamagedDocument(document), "");
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  const std::string shot = std::string(TVR_TEST_OUTPUT_DIR) + "/z3d_export_refused.png";
  const std::string script = "open " + document + "\nenabled 32985 1\nanswer - accept\nanswer " +
                             shot + " accept\nmenu 32985\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script);
  ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), QString()) << run.dump.toStdString();
  const QString dialogs = run.values.value("dialogs");
  EXPECT_TRUE(dialogs.contains("damaged - R.Z3D")) << dialogs.toStdString();
  EXPECT_TRUE(dialogs.contains("@@2000000")) << dialogs.toStdString();
  EXPECT_TRUE(dialogs.contains("3D exchange file cannot hold")) << dialogs.toStdString();
  EXPECT_FALSE(std::filesystem::exists(folder.Path("damaged - R.Z3D")))
      << ReadAll(folder.Path("damaged - R.Z3D"));
  EXPECT_FALSE(std::filesystem::exists(folder.Path("damaged - R.Z3D.new")));
}

}  // namespace
