// Starts the real program under a virtual X server on a copy of the QD sample, double
// clicks the run's first element, looks at its characteristics page, types a new
// reference on its name page and saves (the TVR_SCRIPT_FILE hook); then reads the saved
// file and finds the reference, counted in the run's bill of materials.

#include <gtest/gtest.h>

#include <QImage>
#include <QStandardPaths>

#include <filesystem>

#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/run/run_environment.h"
#include "ranges/range_test_support.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/test_output.h"

namespace {

constexpr const char* kTypedReference = "E2E-FEED";

class ElementPagesEndToEndTest : public RangeTest {};

TEST_F(ElementPagesEndToEndTest, AReferenceTypedOnTheNamePageIsSavedAndCounted) {
  if (QStandardPaths::findExecutable("xvfb-run").isEmpty())
    GTEST_SKIP() << "xvfb-run is not installed";
  CTempFolder folder("elempages-e2e");
  folder.WriteFile("settings/TVR73/TVR.INI",
                   "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n"
                   "[Dialog Property]\nLeft=20\nTop=20\n");
  const std::string sample = folder.File("sample.run");
  std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/qd_sample.run", sample);
  const std::string saved = folder.File("edited.run");
  const std::string characteristics = TestOutputPath("element_pages_e2e_characteristics.png");
  const std::string name = TestOutputPath("element_pages_e2e_name.png");
  // Element 0 of the current run is one of its ends; slot 6 is its body.
  const CProgramRun program =
      RunProgram(folder.Path(), {QStringLiteral("/nsplash")},
                 "open " + sample + "\npick 0 6\nproptab 0\npropshot " + characteristics +
                     "\nproptab 1\nproptype 1073 " + kTypedReference + "\npropshot " + name +
                     "\nsave " + saved + "\n");
  ASSERT_TRUE(program.finished) << program.output.toStdString();
  ASSERT_FALSE(program.dump.isEmpty()) << program.output.toStdString();
  const QString text = program.dump;
  EXPECT_TRUE(text.contains("\nfailed=\n")) << text.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(characteristics)).isNull());
  EXPECT_FALSE(QImage(QString::fromStdString(name)).isNull());

  CRunEnvironment::Instance().SetCatalogues({{"QDA", "QD A"}, {"QDT", "QD T"}});
  CDorneDoc original;
  ASSERT_TRUE(original.OnOpenDocument(sample).ok);
  CDorneDoc reopened;
  ASSERT_TRUE(reopened.OnOpenDocument(saved).ok);
  const CRun& before = *original.GetCurrentRun();
  const CRun& after = *reopened.GetCurrentRun();
  EXPECT_NE(before.GetDevices()[0]->GetReference(), kTypedReference);
  EXPECT_EQ(after.GetDevices()[0]->GetReference(), kTypedReference);
  EXPECT_GE(after.GetBOM().FindLine(kTypedReference), 0);
  EXPECT_LT(before.GetBOM().FindLine(kTypedReference), 0);
}

}  // namespace
