#include "app/start_lists.h"
#include "dbf_test_support.h"
#include "model/bom/bom_column_kind.h"
#include "model/bom/bom_grid.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace {

using tvr::platform::test::RunProgram;
using tvr::platform::test::RunResult;

TEST(ModelWriterTest, WritesANewDocumentThatOpens) {
  CTempFolder folder("model");
  const std::string path = folder.File("model.run");
  const RunResult result = RunProgram(TVR_MODELWRITER, {path});
  ASSERT_EQ(result.exitCode, 0) << result.output;
  CDorneDoc model;
  ASSERT_TRUE(model.OnOpenDocument(path).ok);
  ASSERT_EQ(model.GetRunCount(), 1);
  EXPECT_EQ(model.GetCurrentRun()->GetFlagsWord(), 0u);  // a start still to be placed
  EXPECT_EQ(model.GetToolMode(), CDorneDoc::kToolPlaceStart);
}

// A new document of the program takes the units table's first unit; the model and the
// sample, which new documents and new users start from, carry it too.
TEST(ModelWriterTest, TheModelAndTheSampleCarryTheUnitOfANewDocument) {
  CTempFolder folder("model");
  const std::string written = folder.File("model.run");
  ASSERT_EQ(RunProgram(TVR_MODELWRITER, {TVR_PROGRAM_DIR "/DBF", written}).exitCode, 0);
  const auto units = LoadUnitList(TVR_PROGRAM_DIR "/DBF/", [](int) { return std::string(); });
  ASSERT_TRUE(units.error.empty()) << units.error;
  CDocEnvironment environment;
  environment.units = &units.entries;
  for (const std::string& path : {written, std::string(TVR_PROGRAM_DIR "/model.run"),
                                  std::string(TVR_PROGRAM_DIR "/examples/qd_sample.run")}) {
    CDorneDoc document(environment);
    ASSERT_TRUE(document.OnOpenDocument(path).ok) << path;
    EXPECT_EQ(document.GetLengthUnitId(), 0) << path;
  }
}

// A new document takes the bill-of-materials layout of the model's first run: the model
// we ship shows what a costing user reads, after the item and the reference.
TEST(ModelWriterTest, TheModelsBillShowsTheCostingColumns) {
  CTempFolder folder("model");
  const std::string written = folder.File("model.run");
  ASSERT_EQ(RunProgram(TVR_MODELWRITER, {written}).exitCode, 0);
  const std::vector<int> expected = {kBOMKindNone,        kBOMKindNone,     kBOMKindRef,
                                     kBOMKindDesignation, kBOMKindQuantity, kBOMKindUnitPrice,
                                     kBOMKindTotalPrice,  kBOMKindDiscount, kBOMKindSalesPrice,
                                     kBOMKindTotalWeight, kBOMKindTotalTime};
  for (const std::string& path : {written, std::string(TVR_PROGRAM_DIR "/model.run")}) {
    CDorneDoc model;
    ASSERT_TRUE(model.OnOpenDocument(path).ok) << path;
    ASSERT_NE(model.GetCurrentRun(), nullptr) << path;
    const CBOMGrid& grid = model.GetCurrentRun()->GetBOM();
    std::vector<int> kinds;
    for (int column = 0; column < grid.GetColumnCount(); ++column)
      kinds.push_back(grid.GetColumn(column)->kind);
    EXPECT_EQ(kinds, expected) << path;
  }
}

TEST(ModelWriterTest, RefusesAMissingFolderAndABadCommandLine) {
  CTempFolder folder("model");
  EXPECT_EQ(RunProgram(TVR_MODELWRITER, {folder.File("no/such/model.run")}).exitCode, 1);
  EXPECT_EQ(RunProgram(TVR_MODELWRITER, {}).exitCode, 2);
  EXPECT_EQ(
      RunProgram(TVR_MODELWRITER, {folder.File("no/such/DBF"), folder.File("m.run")}).exitCode, 1);
}

}  // namespace
