#include "qm_test_support.h"

#include "support/temp_folder.h"

#include <fstream>
#include <iterator>

namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Rating 30 has become 32, and the old step switch is forgotten; after that first load
// the document saves and reloads to the same bytes.
TEST_F(QMRunTest, AnOldRunLoadsWithRating32AndWithoutTheStepSwitch) {
  const CTempFolder folder("qm-load");
  struct Row {
    const char* rating;
    const char* step;
    const char* loaded;
  };
  for (const Row& row : {Row{"30", "1", "32"}, Row{"30", "0", "32"}, Row{"25", "1", "25"},
                         Row{"3", "", "3"}, Row{"300", "1", "300"}}) {
    CRunQM& laid = LayOut("run QMA 25\nstart 2\ngo 4 3000\nend 1\n");
    laid.SetProp("Calibre", row.rating);
    laid.SetProp("QM_ED_STEP", row.step);
    const std::string first = folder.File(std::string("old") + row.rating + row.step + ".run");
    ASSERT_TRUE(m_document->OnSaveDocument(first).ok);

    CDorneDoc loaded{CDocEnvironment{}};
    ASSERT_TRUE(loaded.OnOpenDocument(first).ok) << row.rating;
    ASSERT_EQ(loaded.GetRuns().size(), 1u);
    const CRun& run = *loaded.GetRuns().front();
    EXPECT_NE(dynamic_cast<const CRunQM*>(&run), nullptr);
    EXPECT_EQ(run.GetPropText("Calibre"), row.loaded) << row.rating;
    EXPECT_FALSE(run.GetProp("QM_ED_STEP").has_value()) << row.rating << row.step;

    const std::string second = folder.File("second.run");
    const std::string third = folder.File("third.run");
    ASSERT_TRUE(loaded.OnSaveDocument(second).ok);
    CDorneDoc again{CDocEnvironment{}};
    ASSERT_TRUE(again.OnOpenDocument(second).ok);
    ASSERT_TRUE(again.OnSaveDocument(third).ok);
    EXPECT_EQ(FileBytes(third), FileBytes(second)) << row.rating;
  }
}

// The equipment box of a feed unit with breaker finds the row of the connection, its
// place and the breaker; without the breaker no row would match and the preset sizes
// would be drawn.
TEST_F(QMRunTest, TheEquipmentBoxOfAFeedUnitLooksUpItsBreaker) {
  struct Row {
    const char* layout;
    std::array<std::int32_t, 3> sizes;
  };
  const Row rows[] = {
      // Selector 1 (connection "ULM"), place 1, breaker HK25_D of a QMA 25 run.
      {"run QMA 25\nstart 4\nstyle 5000000\ngo 4 3000\nend 1\n", {700, 400, 300}},
      // A breaker chosen on the element that has no row: the preset sizes.
      {"run QMA 25\nstart 4\nstyle 5000000\ngo 4 3000\nend 1\n", {600, 1200, 2000}},
      // Not a feed unit with breaker: no breaker in the key, the preset sizes.
      {"run QMA 25\nstart 2\nstyle 5000000\ngo 4 3000\nend 1\n", {600, 1200, 2000}},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    LayOut(rows[i].layout);
    CDev& unit = *m_laid.front();
    if (i == 1) {
      unit.SetPropValue("DISJ", "7");
      m_document->SetEquipmentValues(unit, {});
      unit.BuildBoxes(0);
    }
    const auto values = m_document->GetEquipmentValues(unit);
    ASSERT_TRUE(values.has_value()) << i;
    EXPECT_EQ((std::array<std::int32_t, 3>{(*values)[0], (*values)[1], (*values)[2]}),
              rows[i].sizes)
        << rows[i].layout;
  }
}

}  // namespace
