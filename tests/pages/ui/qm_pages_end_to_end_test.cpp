// Starts the real program under a virtual X server on QM runs laid out for the purpose:
// the transformer connection's feed page takes the transformer picture and a rating
// (its equipment box is drawn from then on, over the unit), and a
// variant-6 end piece takes its phase arrangement on the special-shape page; both are
// saved (the TVR_SCRIPT_FILE hook) and read back.

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <filesystem>

#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/element/element_selection.h"
#include "model/run/run.h"
#include "model/run/run_environment.h"
#include "ranges/range_pages.h"
#include "ranges/range_test_support.h"
#include "samplewriter/sample_layout.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/test_output.h"

namespace {

class QMPagesEndToEndTest : public RangeTest {
 protected:
  void SetUp() override {
    RangeTest::SetUp();
    CRunEnvironment::Instance().SetCatalogues({{"QMA", "QM A"}, {"QMC", "QM C"}});
    m_folder.WriteFile("settings/TVR73/TVR.INI",
                       "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n"
                       "[Dialog Property]\nLeft=20\nTop=20\n");
    std::filesystem::create_directories(m_folder.File("documents"));
  }
  // The layout saved as a document; the index of its first element of the variant among
  // the run's elements and the tab of the page, as the program reads them.
  std::string Laid(const char* layout, int variant, int page, int& element, int& tab) {
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
    element = tab = -1;
    for (std::size_t i = 0; i < devices.size() && element < 0; ++i)
      if (devices[i]->GetKind() == CDev::kEnd && devices[i]->GetVariant() == variant)
        element = static_cast<int>(i);
    if (element < 0) return path;
    CDev& found = *devices[static_cast<std::size_t>(element)];
    document.Selection().Select(&found, CElementSelection::kWholeElement);
    const std::vector<int> pages = run.GetSubObjects(found);
    const auto at = std::find(pages.begin(), pages.end(), page);
    if (at != pages.end()) tab = static_cast<int>(at - pages.begin());
    return path;
  }
  // The first end of the variant in the saved document.
  static std::optional<CDev> Saved(CDorneDoc& document, const std::string& path, int variant) {
    if (!document.OnOpenDocument(path).ok || document.GetRuns().empty()) return std::nullopt;
    for (const CDev* element : document.GetRuns().front()->GetDevices())
      if (element->GetKind() == CDev::kEnd && element->GetVariant() == variant) return *element;
    return std::nullopt;
  }
  CProgramRun Run(const std::string& script) {
    return RunProgram(m_folder.Folder(), {}, script, "1280x960x24");
  }

  CTempFolder m_folder{"qmpages-e2e"};
};

TEST_F(QMPagesEndToEndTest, ATransformerRatingChosenOnTheFeedPageIsSaved) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  int unit = -1, tab = -1;
  const std::string laid =
      Laid("run QMA 25\nstart 20\nfield QWA 5\ngo 4 3000\nend 1\n", 20, kPageFeedUnit, unit, tab);
  ASSERT_GE(unit, 0);
  ASSERT_GE(tab, 0);
  const std::string saved = m_folder.File("documents/edited.run");
  const std::string before = TestOutputPath("qm_transformer_e2e_before.png");
  const std::string after = TestOutputPath("qm_transformer_e2e_after.png");
  const CProgramRun run =
      Run("open " + laid + "\npick " + std::to_string(unit) + " 6\nproptab " + std::to_string(tab) +
          "\npropshot " + before + "\nproppick 1003 0\npropchoose 1473 3150\npropshot " + after +
          "\nsave " + saved + "\n");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(before)).isNull());
  EXPECT_FALSE(QImage(QString::fromStdString(after)).isNull());
  CDorneDoc document;
  const std::optional<CDev> element = Saved(document, saved, 20);
  ASSERT_TRUE(element.has_value());
  EXPECT_EQ(element->GetFieldText("QWA").value_or(""), "8");
  EXPECT_EQ(element->GetStyle() >> 24, 2u);  // the transformer picture stays
}

// Once the transformer is chosen its equipment box stands over the unit: a double click
// on that box opens the unit's pages, as a double click on the unit itself does.
TEST_F(QMPagesEndToEndTest, ADoubleClickOnTheTransformerBoxOpensTheUnitsPages) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  int unit = -1, tab = -1;
  const std::string laid =
      Laid("run QMA 25\nstart 20\nfield QWA 5\ngo 4 3000\nend 1\n", 20, kPageFeedUnit, unit, tab);
  ASSERT_GE(unit, 0);
  ASSERT_GE(tab, 0);
  const std::string saved = m_folder.File("documents/transformer.run");
  const CProgramRun chosen =
      Run("open " + laid + "\npick " + std::to_string(unit) + " 6\nproptab " + std::to_string(tab) +
          "\nproppick 1003 0\npropchoose 1473 3150\nsave " + saved + "\n");
  ASSERT_TRUE(chosen.finished) << chosen.output.toStdString();
  ASSERT_EQ(chosen.values.value("failed"), "") << chosen.dump.toStdString();
  const std::string layout = TestOutputPath("qm_transformer_box_pick_layout.png");
  const std::string pages = TestOutputPath("qm_transformer_box_pick_pages.png");
  const std::string index = std::to_string(unit);
  const CProgramRun run = Run("open " + saved + "\nshot " + layout + "\npick " + index +
                              " equipment\npropshows " + index + "\npropshot " + pages + "\n");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(layout)).isNull());
  EXPECT_FALSE(QImage(QString::fromStdString(pages)).isNull());
}

TEST_F(QMPagesEndToEndTest, APhaseArrangementChosenOnTheShapePageIsSaved) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  int piece = -1, tab = -1;
  const std::string laid =
      Laid("run QMA 25\nstart 6\ngo 4 3000\nend 1\n", 6, kPageSpecialShape, piece, tab);
  ASSERT_GE(piece, 0);
  ASSERT_GE(tab, 0);
  const std::string saved = m_folder.File("documents/edited.run");
  const std::string shot = TestOutputPath("qm_arrangement_e2e.png");
  const CProgramRun run = Run(
      "open " + laid + "\npick " + std::to_string(piece) + " 6\nproptab " + std::to_string(tab) +
      "\nproppick 1003 0\npropchoose 1626 L3/N/L2/L1\npropshot " + shot + "\nsave " + saved + "\n");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
  CDorneDoc document;
  const std::optional<CDev> element = Saved(document, saved, 6);
  ASSERT_TRUE(element.has_value());
  const std::string entrax = element->GetFieldText("ENTRAX").value_or("");
  EXPECT_TRUE(entrax.starts_with("3/")) << entrax;
  EXPECT_EQ((element->GetStyle() >> 20) & 0xF, 1u);
}

}  // namespace
