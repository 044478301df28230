// Starts the real program under a virtual X server on a copy of the QG sample whose end
// feed unit is a feed box, chooses its end piece on
// the special-shape page and its bars on the shape dimensions page, and saves (the
// TVR_SCRIPT_FILE hook); then reads the saved file back: the element keeps its shape and
// bars, and the run's bill counts the made-to-measure piece.

#include <gtest/gtest.h>

#include <QImage>
#include <QStandardPaths>

#include <algorithm>
#include <filesystem>

#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/element/element_selection.h"
#include "model/run/run.h"
#include "model/run/run_environment.h"
#include "ranges/range_pages.h"
#include "ranges/range_test_support.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/test_output.h"

namespace {

class ShapePagesEndToEndTest : public RangeTest {};

// The sample's end feed unit: the run's end of variant 0.
int FeedUnitIndex(const CRun& run) {
  const auto& devices = run.GetDevices();
  for (std::size_t i = 0; i < devices.size(); ++i)
    if (devices[i]->GetKind() == CDev::kEnd && devices[i]->GetVariant() == 0)
      return static_cast<int>(i);
  return -1;
}

// The tab of the page among those the run lists for its feed unit made a feed box.
int TabOf(int page) {
  CRunEnvironment::Instance().SetCatalogues({{"QGA", "QG A"}, {"QGC", "QG C"}});
  CDorneDoc document;
  if (!document.OnOpenDocument(TVR_PROGRAM_DIR "/examples/qg_sample.run").ok) return -1;
  CRun& run = *document.GetCurrentRun();
  const int index = FeedUnitIndex(run);
  if (index < 0) return -1;
  CDev& element = *run.GetDevices()[static_cast<std::size_t>(index)];
  element.SetVariantBoth(2);
  document.Selection().Select(&element, CElementSelection::kWholeElement);
  const std::vector<int> pages = run.GetSubObjects(element);
  const auto at = std::find(pages.begin(), pages.end(), page);
  return at != pages.end() ? static_cast<int>(at - pages.begin()) : -1;
}

TEST_F(ShapePagesEndToEndTest, AnEndPieceAndItsBarsAreSavedAndBooked) {
  if (QStandardPaths::findExecutable("xvfb-run").isEmpty())
    GTEST_SKIP() << "xvfb-run is not installed";
  CTempFolder folder("shapepages-e2e");
  folder.WriteFile("settings/TVR73/TVR.INI",
                   "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n"
                   "[Dialog Property]\nLeft=20\nTop=20\n");
  const std::string saved = folder.File("edited.run");
  const std::string sample = folder.File("sample.run");
  int feedUnit = -1;
  {
    // The sample's parts are built, so its variants are fixed: its feed unit is made a
    // feed box before the program opens it.
    CRunEnvironment::Instance().SetCatalogues({{"QGA", "QG A"}, {"QGC", "QG C"}});
    CDorneDoc original;
    ASSERT_TRUE(original.OnOpenDocument(TVR_PROGRAM_DIR "/examples/qg_sample.run").ok);
    CRun& run = *original.GetCurrentRun();
    feedUnit = FeedUnitIndex(run);
    ASSERT_GE(feedUnit, 0);
    run.GetDevices()[static_cast<std::size_t>(feedUnit)]->SetVariantBoth(2);
    ASSERT_TRUE(original.OnSaveDocument(sample).ok);
  }
  const int tabEndPiece = TabOf(kPageSpecialShape);
  const int tabShapeDimensions = TabOf(kPageShapeDimensions);
  ASSERT_GE(tabEndPiece, 0);
  ASSERT_GE(tabShapeDimensions, 0);
  const std::string endPiece = TestOutputPath("shape_pages_e2e_end_piece.png");
  const std::string bars = TestOutputPath("shape_pages_e2e_bars.png");
  const CProgramRun program = RunProgram(
      folder.Path(), {QStringLiteral("/nsplash")},
      "open " + sample + "\npick " + std::to_string(feedUnit) + " 6\nproptab 0\npropshot " +
          TestOutputPath("shape_pages_e2e_start.png") + "\n" + "proptab " +
          std::to_string(tabEndPiece) + "\nproppick 1003 1\npropshot " + endPiece + "\nproptab " +
          std::to_string(tabShapeDimensions) + "\nproptype 1685 120\npropshot " + bars + "\nsave " +
          saved + "\n");
  ASSERT_TRUE(program.finished) << program.output.toStdString();
  ASSERT_FALSE(program.dump.isEmpty()) << program.output.toStdString();
  const QString text = program.dump;
  EXPECT_TRUE(text.contains("\nfailed=\n")) << text.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(endPiece)).isNull());
  EXPECT_FALSE(QImage(QString::fromStdString(bars)).isNull());

  CRunEnvironment::Instance().SetCatalogues({{"QGA", "QG A"}, {"QGC", "QG C"}});
  CDorneDoc reopened;
  ASSERT_TRUE(reopened.OnOpenDocument(saved).ok);
  CRun& run = *reopened.GetCurrentRun();
  const CDev& element = *run.GetDevices()[static_cast<std::size_t>(feedUnit)];
  EXPECT_EQ(element.GetVariant(), 2);
  EXPECT_EQ((element.GetStyle() >> 20) & 0xF, 2u);
  EXPECT_FALSE(element.GetFieldText("ENTRAX").value_or("").empty());
  EXPECT_TRUE(element.GetFieldText("BARS").value_or("").starts_with("120/"))
      << element.GetFieldText("BARS").value_or("");
  EXPECT_GE(run.GetBOM().FindLine(element.GetReference()), 0) << element.GetReference();
}

}  // namespace
