// Starts the real program under a virtual X server on the QJF sample, places a tap-off
// unit whose outlet needs a fixing piece, updates the prices and saves: the saved design
// keeps the fixing piece's bill line, priced and named from the article table like the
// unit's own line.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <string>

#include "model/bom/bom_column_kind.h"
#include "model/bom/bom_grid.h"
#include "platform/text_conversions.h"
#include "sample_end_to_end_support.h"

namespace {

TEST(TapOffFixingPricesEndToEndTest, TheFixingPieceOfAPlacedUnitIsPriced) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSampleSettings(folder);
  const std::string saved = folder.Path("documents/priced.run");
  const std::string shot = TestOutputPath("tapoff_fixing_priced.png");
  std::filesystem::remove(shot);
  const CProgramRun program =
      RunProgram(folder.Path(), {},
                 "open " TVR_PROGRAM_DIR
                 "/examples/qjf_sample.run\nanswer - 1 1110=1\ncommand 33030\n"
                 "outlet\ncommand " +
                     std::to_string(kIdUpdatePrices) + "\nbomtab current\nshot " + shot +
                     "\nsave " + saved + "\n");
  ASSERT_TRUE(program.finished) << program.output.toStdString();
  EXPECT_EQ(program.values.value("failed"), "") << program.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
  CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  RegisterRangeRuns();
  {
    CDorneDoc priced;
    ASSERT_TRUE(priced.OnOpenDocument(saved).ok);
    ASSERT_FALSE(priced.GetRuns().empty());
    CRun& run = *priced.GetCurrentRun();
    CBOMGrid& grid = run.GetBOM();
    // The unit (its reference ending in the side of its outlet) and its fixing piece, the
    // run's tap-off base.
    const std::string fixing = run.GetElementRef(11);
    ASSERT_GT(grid.FindLine("QJB0630S1"), 0);
    const int line = grid.FindLine(fixing);
    ASSERT_GT(line, 0) << fixing;
    EXPECT_GT(grid.GetLineQuantity(line), 0);
    EXPECT_GT(TextToDouble(grid.GetLineFieldText(line, kBOMKindUnitPrice).value_or("0")), 0);
    EXPECT_NE(run.GetDevicePropByRef(fixing, "HBv2_Designation").value_or("").find("QJF"),
              std::string::npos);
    EXPECT_GT(TextToDouble(run.GetDevicePropByRef(fixing, "HBv2_Weight").value_or("0")), 0);
  }
  ForgetSampleRanges();
}

}  // namespace
