// Starts the real program under a virtual X server on runs laid for the purpose: the kit
// of a QG or QM riser fixing is moved on the characteristics page (a distance typed, then the
// scroll bar dragged past its limit), and the plug of a QM rise whose straight carries
// ED31 is typed on the riser page; both are saved (the TVR_SCRIPT_FILE hook) and read back.

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <filesystem>

#include "model/document/dorne_doc.h"
#include "model/element/dev.h"
#include "model/element/element_selection.h"
#include "model/props/page_kinds.h"
#include "model/run/range_rules.h"
#include "model/run/run.h"
#include "model/run/run_environment.h"
#include "ranges/range_pages.h"
#include "ranges/range_test_support.h"
#include "samplewriter/sample_layout.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/test_output.h"

namespace {

class RangeOptionsEndToEndTest : public RangeTest {
 protected:
  void SetUp() override {
    RangeTest::SetUp();
    CRunEnvironment::Instance().SetCatalogues({{"QMA", "QM A"}, {"QGA", "QG A"}});
    m_folder.WriteFile("settings/TVR73/TVR.INI",
                       "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n"
                       "[Dialog Property]\nLeft=20\nTop=20\n");
    std::filesystem::create_directories(m_folder.File("documents"));
  }
  // The layout saved as a document; the index among the run's elements of the in-line
  // unit at face 2 of the first straight, and the tab of the page on it.
  std::string Laid(const std::string& layout, int page, int& unit, int& tab) {
    const std::string path = m_folder.File("documents/laid.run");
    {
      CDorneDoc document{CDocEnvironment{}};
      document.OnNewDocument("");
      while (!document.GetRuns().empty()) document.RemoveRun(document.GetRuns().front());
      EXPECT_EQ(LayOutSample(document, layout), "");
      EXPECT_TRUE(document.OnSaveDocument(path).ok);
    }
    CDorneDoc document;
    EXPECT_TRUE(document.OnOpenDocument(path).ok);
    CRun& run = *document.GetCurrentRun();
    const std::vector<CDev*>& devices = run.GetDevices();
    unit = tab = -1;
    for (std::size_t i = 0; i < devices.size() && unit < 0; ++i)
      if (devices[i]->GetKind() == CDev::kInLine) unit = static_cast<int>(i);
    if (unit < 0) return path;
    CDev& found = *devices[static_cast<std::size_t>(unit)];
    document.Selection().Select(&found, CElementSelection::kWholeElement);
    const std::vector<int> pages = run.GetSubObjects(found);
    const auto at = std::find(pages.begin(), pages.end(), page);
    if (at != pages.end()) tab = static_cast<int>(at - pages.begin());
    return path;
  }
  // A field of the first in-line unit of the saved document.
  std::string SavedField(const std::string& path, const char* field) {
    CDorneDoc document;
    if (!document.OnOpenDocument(path).ok || document.GetRuns().empty()) return "?";
    for (const CDev* element : document.GetRuns().front()->GetDevices())
      if (element->GetKind() == CDev::kInLine) return element->GetFieldText(field).value_or("");
    return "?";
  }
  CProgramRun Run(const std::string& script) {
    return RunProgram(m_folder.Folder(), {}, script, "1280x960x24");
  }

  CTempFolder m_folder{"range-options-e2e"};
};

// The kit rows give the limits: QG's kit of 1000 leaves 300 each way, QM's of 700 (margin
// 60 past a housing of 320) 190.
TEST_F(RangeOptionsEndToEndTest, TheKitOfARiserFixingMovesOnTheCharacteristicsPage) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  struct Case {
    const char* range;
    const char* distance;
    const char* typed;
    const char* dragged;
  };
  const Case cases[] = {{"QGA 10", "350", "150", "-300"}, {"QMA 25", "300", "50", "-190"}};
  for (const Case& row : cases) {
    SCOPED_TRACE(row.range);
    int unit = -1, tab = -1;
    const std::string laid = Laid(std::string("run ") + row.range +
                                      "\nstart 0\ngo 4 3000\ngo 2 3000\nend 4\nfrom 1\nkit 2 "
                                      "1000\nfield KITCF 0\nvariant 1\n",
                                  kPageCharacteristics, unit, tab);
    ASSERT_GE(unit, 0);
    ASSERT_GE(tab, 0);
    const std::string typed = m_folder.File("documents/typed.run");
    const std::string dragged = m_folder.File("documents/dragged.run");
    const std::string shot =
        TestOutputPath(std::string("kit_position_") + row.range[1] + "_e2e.png");
    const std::string pick = "open " + laid + "\npick " + std::to_string(unit) + " 6\nproptab " +
                             std::to_string(tab) + "\n";
    // The distance in front of the kit is typed; the unit sits that far from the middle.
    // A pause after it lets the idle undo read-ahead run: the window stays on the unit.
    const CProgramRun run = Run(pick + "proptype 1679 " + row.distance + "\nidle 800\npropshows " +
                                std::to_string(unit) + "\npropshot " + shot + "\nsave " + typed +
                                "\npropscroll 1292 -1000\nsave " + dragged + "\n");
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
    EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
    EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
    EXPECT_EQ(SavedField(typed, "KITCF"), row.typed);
    // The scroll bar ends at the kit row's limit.
    EXPECT_EQ(SavedField(dragged, "KITCF"), row.dragged);
  }
}

TEST_F(RangeOptionsEndToEndTest, AQMRiseWithED31KeepsThePlainPlugStandard) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  for (bool ed31 : {false, true}) {
    SCOPED_TRACE(ed31);
    int unit = -1, tab = -1;
    const std::string laid =
        Laid(std::string("run QMA 25\nstart 1\ngo 4 3000\ngo 2 4000\n") +
                 (ed31 ? "field ED31 1\n" : "") + "end 1\nfrom 1\nkit 2 1500\n",
             kPageRiser, unit, tab);
    ASSERT_GE(unit, 0);
    ASSERT_GE(tab, 0);
    const std::string saved = m_folder.File("documents/plug.run");
    const std::string shot =
        TestOutputPath(ed31 ? "riser_plug_ed31_e2e.png" : "riser_plug_e2e.png");
    const CProgramRun run = Run("open " + laid + "\npick " + std::to_string(unit) + " 6\nproptab " +
                                std::to_string(tab) + "\nproptype 1067 2100\npropshot " + shot +
                                "\nsave " + saved + "\n");
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
    ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
    EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
    EXPECT_EQ(SavedField(saved, "PLUG1"), ed31 ? "100" : "150");
  }
}

// A current typed past every rating of the run chooses its top rating.
TEST_F(RangeOptionsEndToEndTest, ACurrentPastEveryRatingChoosesTheTopRating) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  int unit = -1, tab = -1;
  const std::string laid = Laid("run QMA 16\nstart 1\ngo 4 3000\nend 1\n", kPageRiser, unit, tab);
  const std::string saved = m_folder.File("documents/rating.run");
  const std::string shot = TestOutputPath("rating_past_every_rating_e2e.png");
  const CProgramRun run =
      Run("closemodals\nopen " + laid + "\nmenu 32792\nproptype 1006 99999999999\npropshot " +
          shot + "\nsave " + saved + "\n");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  CDorneDoc document;
  ASSERT_TRUE(document.OnOpenDocument(saved).ok);
  const CRun& reopened = *document.GetRuns().front();
  ASSERT_NE(reopened.GetRatingList(), nullptr);
  ASSERT_FALSE(reopened.GetRatingList()->empty());
  EXPECT_EQ(reopened.GetPropText("Calibre"), reopened.GetRatingList()->back().code);
  EXPECT_NE(reopened.GetPropText("Calibre"), "16");
}

}  // namespace
