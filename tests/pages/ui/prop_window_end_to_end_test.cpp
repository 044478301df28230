// Starts the real program under a virtual X server on a copy of the QD sample, double
// clicks an element, types a new length in the property window's page and saves (the
// TVR_SCRIPT_FILE hook); then reads the saved file and finds the new length.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/run/run_environment.h"
#include "ranges/range_test_support.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/test_output.h"

namespace {

constexpr int kTypedLength = 4321;

class PropWindowEndToEndTest : public RangeTest {};

TEST_F(PropWindowEndToEndTest, ALengthTypedInThePageIsSavedWithTheDocument) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CTempFolder folder("propwin-e2e");
  folder.WriteFile("settings/TVR73/TVR.INI",
                   "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n"
                   "[Dialog Property]\nLeft=20\nTop=20\n");
  const std::string sample = folder.File("sample.run");
  std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/qd_sample.run", sample);
  const std::string saved = folder.File("edited.run");
  const std::string window = TestOutputPath("prop_window_end_to_end.png");
  const std::string frame = TestOutputPath("prop_window_end_to_end_frame.png");
  // Element 1 of the current run is the joint after its run end; its back face is face 1.
  const std::string script = "open " + sample + "\npick 1 1\npropshot " + window +
                             "\nproptype 1006 " + std::to_string(kTypedLength) + "\nshot " + frame +
                             "\nsave " + saved + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {QStringLiteral("/nsplash")}, script);
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  const QString& text = run.dump;
  EXPECT_TRUE(text.contains("\nfailed=\n")) << text.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(window)).isNull());

  CRunEnvironment::Instance().SetCatalogues({{"QDA", "QD A"}, {"QDT", "QD T"}});
  CDorneDoc original;
  ASSERT_TRUE(original.OnOpenDocument(sample).ok);
  CDorneDoc reopened;
  ASSERT_TRUE(reopened.OnOpenDocument(saved).ok);
  const CDev* before = original.GetCurrentRun()->GetDevices()[1];
  const CDev* after = reopened.GetCurrentRun()->GetDevices()[1];
  EXPECT_NE(before->GetBookedLength(), kTypedLength);
  EXPECT_EQ(after->GetBookedLength(), kTypedLength);
}

}  // namespace
