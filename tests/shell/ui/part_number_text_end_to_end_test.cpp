// Starts the real program under a virtual X server (the TVR_SCRIPT_FILE hook of main.cpp) on
// the QD sample with a part-number tool that answers in its 8-bit code page ("RéF-2" with
// the single byte E9), imports the part numbers, saves, closes, opens the file again and
// saves it once more: the article keeps its reference and its quantity in both files.

#include <gtest/gtest.h>

#include <filesystem>

#include "model/bom/bom_grid.h"
#include "model/run/run.h"
#include "sample_end_to_end_support.h"

namespace {

// The quantity of the reference in the current run's bill of the file; -1 without it.
long QuantityIn(const std::string& path, const std::string& reference) {
  CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  RegisterRangeRuns();
  long quantity = -1;
  {
    CDorneDoc document;
    if (document.OnOpenDocument(path).ok && document.GetCurrentRun() != nullptr) {
      const CBOMGrid& bom = document.GetCurrentRun()->GetBOM();
      const int row = bom.FindLine(reference);
      if (row > 0) quantity = static_cast<long>(bom.GetLineQuantity(row));
    }
  }
  ForgetSampleRanges();
  return quantity;
}

TEST(PartNumberTextEndToEndTest, AnAccentedPartNumberKeepsItsReferenceThroughSaves) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  const std::string tool =
      folder.Write("tool/partnum.sh", "#!/bin/sh\nprintf '$;R\\351F-2;2;x;y\\r\\n' > \"$4\"\n");
  std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
  folder.Write("settings/TVR73/TVR.INI", "[Database]\nNoML=1\nNoRF=1\nPARTNUM=" + tool +
                                             "\n[Design]\nInfos=0\n[Language]\nID=044\n");
  const std::string script = "open " TVR_PROGRAM_DIR
                             "/examples/qd_sample.run\ncommand 32878\n"
                             "save " +
                             folder.Path("first.run") + "\ncommand 57602\nopen " +
                             folder.Path("first.run") + "\nsave " + folder.Path("second.run") +
                             "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script);
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << run.dump.toStdString();
  EXPECT_EQ(QuantityIn(folder.Path("first.run"), "RéF-2"), 2);
  EXPECT_EQ(QuantityIn(folder.Path("second.run"), "RéF-2"), 2);
}

}  // namespace
