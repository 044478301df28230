// Starts the real program under a virtual X server on a QM run laid out with a feed
// unit with breaker, opens its feed unit page, chooses the switchboard picture and
// another breaker frame and saves (the TVR_SCRIPT_FILE hook); then reads the saved file and finds
// the frame kept on the unit.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/run/run_environment.h"
#include "ranges/range_test_support.h"
#include "samplewriter/sample_layout.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/test_output.h"

namespace {

// A feed unit with breaker at the start, not yet equipped.
constexpr const char* kLayout = "run QMA 25\nstart 4\ngo 4 3000\nend 1\n";

class FeedPagesEndToEndTest : public RangeTest {
 protected:
  void SetUp() override {
    RangeTest::SetUp();
    CRunEnvironment::Instance().SetCatalogues({{"QMA", "QM A"}, {"QMC", "QM C"}});
  }
  static std::string Disj(const std::string& path) {
    CDorneDoc document;
    if (!document.OnOpenDocument(path).ok || document.GetRuns().empty()) return "(not read)";
    const CRun& run = *document.GetRuns().front();
    for (const CDev* element : run.GetDevices())
      if (element->GetKind() == CDev::kEnd && element->GetVariant() == 4)
        return element->GetFieldText("DISJ").value_or("");
    return "(no feed unit)";
  }
};

TEST_F(FeedPagesEndToEndTest, ABreakerChosenOnTheFeedPageIsSaved) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CTempFolder folder("feedpages-e2e");
  folder.WriteFile("settings/TVR73/TVR.INI",
                   "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n"
                   "[Dialog Property]\nLeft=20\nTop=20\n");
  std::filesystem::create_directories(folder.File("documents"));
  const std::string laid = folder.File("documents/qm_feed.run");
  int unit = -1;
  {
    CDorneDoc document{CDocEnvironment{}};
    document.OnNewDocument("");
    while (!document.GetRuns().empty()) document.RemoveRun(document.GetRuns().front());
    ASSERT_EQ(LayOutSample(document, kLayout), "");
    ASSERT_TRUE(document.OnSaveDocument(laid).ok);
  }
  {
    // The unit's place among the run's elements as the program reads them.
    CDorneDoc document;
    ASSERT_TRUE(document.OnOpenDocument(laid).ok);
    const std::vector<CDev*>& devices = document.GetCurrentRun()->GetDevices();
    for (std::size_t i = 0; i < devices.size() && unit < 0; ++i)
      if (devices[i]->GetKind() == CDev::kEnd && devices[i]->GetVariant() == 4)
        unit = static_cast<int>(i);
  }
  ASSERT_GE(unit, 0);
  const std::string saved = folder.File("documents/edited.run");
  const std::string shot = TestOutputPath("feed_page_e2e.png");
  const std::string layoutShot = TestOutputPath("feed_page_e2e_layout.png");
  // Slot 6 is the unit's body; the feed unit page is its second tab.
  const std::string script = "open " + laid + "\npick " + std::to_string(unit) +
                             " 6\nproptab 1\nproppick 1003 0\npropchoose 1675 HK32\npropshot " +
                             shot + "\nshot " + layoutShot + "\nsave " + saved + "\n";
  const CProgramRun run = RunProgram(folder.Folder(), {}, script, "1280x960x24");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
  EXPECT_FALSE(QImage(QString::fromStdString(layoutShot)).isNull());
  EXPECT_EQ(Disj(laid), "");
  EXPECT_EQ(Disj(saved), "HK32_D");
}

}  // namespace
