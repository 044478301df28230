#include "dbf_test_support.h"
#include "model/dorne_doc.h"
#include "model/run.h"
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

TEST(ModelWriterTest, RefusesAMissingFolderAndABadCommandLine) {
  CTempFolder folder("model");
  EXPECT_EQ(RunProgram(TVR_MODELWRITER, {folder.File("no/such/model.run")}).exitCode, 1);
  EXPECT_EQ(RunProgram(TVR_MODELWRITER, {}).exitCode, 2);
}

}  // namespace
