// Starts the real program under a virtual X server (the TVR_SCRIPT_FILE hook) as a new
// user would: the new layout it starts with, its run made a QDA 63 A run on the rating page, three
// straights and an elbow added with the mouse, the parts rebuilt, saved and opened
// again; and on the QD sample, a range change undone gives back the same file.

#include <gtest/gtest.h>

#include <QImage>
#include <QStandardPaths>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "model/bom/bom_grid.h"
#include "model/bom/bom_line.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/run/run_environment.h"
#include "ranges/range_test_support.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/test_output.h"

namespace {

class RunPagesEndToEndTest : public RangeTest {
 protected:
  // Runs the program on the script; the dump of its window after the script.
  QString RunScript(const std::string& script) {
    m_folder.WriteFile("settings/TVR73/TVR.INI",
                       "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\nSplit=1\n[Language]\n"
                       "ID=044\n[Dialog Property]\nLeft=20\nTop=20\nStayVisible=1\n");
    const CProgramRun program = ::RunProgram(m_folder.Path(), {QStringLiteral("/nsplash")}, script);
    EXPECT_TRUE(program.finished) << program.output.toStdString();
    EXPECT_FALSE(program.dump.isEmpty()) << program.output.toStdString();
    return program.dump;
  }
  std::string File(const char* name) { return m_folder.File(name); }
  static std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // The references of the run's bill, in line order.
  static std::vector<std::string> References(const CRun& run) {
    std::vector<std::string> references;
    const CBOMGrid& bom = run.GetBOM();
    for (int row = 1; row < bom.GetLineCount(); ++row)
      if (const CBOMLine* line = bom.GetLine(row)) references.push_back(line->reference);
    return references;
  }

 private:
  CTempFolder m_folder{"run-pages-e2e"};
};

TEST_F(RunPagesEndToEndTest, ANewRunOfRangeQDIsLaidOutBuiltSavedAndReopened) {
  if (QStandardPaths::findExecutable("xvfb-run").isEmpty())
    GTEST_SKIP() << "xvfb-run is not installed";
  const std::string shots = TestOutputPath("run_pages_e2e_");
  const std::string saved = File("design.run");
  const std::string again = File("again.run");
  const QString text = RunScript(
      "closemodals\ntoward 1 1500\nkey return\ncommand 32792\npropchoose 1020 QDA\n"
      "propchoose 1021 63 A\npropshot " +
      shots +
      "1_rating.png\n"
      "toward 1 1500\ntoward 1 1500\ntoward 1 1500\ntoward 4 1500\ncommand 32790\nshot " +
      shots + "2_built.png\nsave " + saved + "\ncommand 57602\nopen " + saved + "\nshot " + shots +
      "3_reopened.png\nsave " + again + "\n");
  EXPECT_TRUE(text.contains("\nfailed=\n")) << text.toStdString();

  CRunEnvironment::Instance().SetCatalogues({{"QDA", "QD A"}, {"QDT", "QD T"}});
  CDorneDoc built;
  ASSERT_TRUE(built.OnOpenDocument(saved).ok);
  CDorneDoc reopened;
  ASSERT_TRUE(reopened.OnOpenDocument(again).ok);
  for (const CDorneDoc* document : {&built, &reopened}) {
    const CRun& run = *document->GetCurrentRun();
    EXPECT_EQ(run.GetPropText("Catalog"), "QDA");
    EXPECT_EQ(run.GetPropText("Calibre"), "06");  // "63 A"
    int elbows = 0;
    for (const CDev* element : run.GetDevices()) elbows += element->GetKind() == CDev::kElbow;
    EXPECT_EQ(elbows, 1);
    const std::vector<std::string> references = References(run);
    EXPECT_TRUE(std::any_of(references.begin(), references.end(),
                            [](const std::string& r) { return r.starts_with("QD"); }));
  }
  EXPECT_EQ(References(*built.GetCurrentRun()), References(*reopened.GetCurrentRun()));
  for (const char* step : {"1_rating", "2_built", "3_reopened"})
    EXPECT_FALSE(QImage(QString::fromStdString(shots + step + ".png")).isNull()) << step;
}

TEST_F(RunPagesEndToEndTest, ARangeChangeUndoneGivesBackTheSameFile) {
  if (QStandardPaths::findExecutable("xvfb-run").isEmpty())
    GTEST_SKIP() << "xvfb-run is not installed";
  const std::string sample = File("sample.run");
  std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/qd_sample.run", sample);
  const std::string shots = TestOutputPath("run_pages_e2e_qdt_");
  const QString text =
      RunScript("closemodals\nopen " + sample + "\ncommand 32792\nsave " + File("before.run") +
                "\npropchoose 1020 QDT\n"
                "propshot " +
                shots + "1_changed.png\nsave " + File("changed.run") + "\ncommand 57643\nsave " +
                File("undone.run") + "\n");
  EXPECT_TRUE(text.contains("\nfailed=\n")) << text.toStdString();
  CRunEnvironment::Instance().SetCatalogues({{"QDA", "QD A"}, {"QDT", "QD T"}});
  CDorneDoc changed;
  ASSERT_TRUE(changed.OnOpenDocument(File("changed.run")).ok);
  // Run > Properties shows the current run: it alone changed.
  EXPECT_EQ(changed.GetCurrentRun()->GetPropText("Catalog"), "QDT");
  CDorneDoc before;
  ASSERT_TRUE(before.OnOpenDocument(File("before.run")).ok);
  ASSERT_EQ(changed.GetRunCount(), before.GetRunCount());
  int changedRuns = 0;
  for (int i = 0; i < changed.GetRunCount(); ++i)
    changedRuns +=
        changed.GetRunAt(i)->GetPropText("Catalog") != before.GetRunAt(i)->GetPropText("Catalog");
  EXPECT_EQ(changedRuns, 1);
  EXPECT_EQ(before.GetCurrentRun()->GetPropText("Catalog"), "QDA");
  EXPECT_FALSE(Bytes(File("changed.run")) == Bytes(File("before.run")));
  EXPECT_TRUE(Bytes(File("undone.run")) == Bytes(File("before.run")));
}

}  // namespace
