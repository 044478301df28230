// The characteristics page's range options on runs laid into the QD sample: the kit
// position of a QG riser unit (held within its kit row, typed as a distance, moved to the
// middle by Home and End), the QM options EH44 and ED31 of a face's straight read and
// written through the run's access operations and cleared where the straight cannot carry
// them, and the plug standard of a QM rise whose straight carries ED31.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "feed_test_support.h"
#include "model/element/kit_limits.h"
#include "model/props/dimension.h"
#include "pages/characteristics_page.h"
#include "pages/riser_page.h"
#include "ranges/qm/run_qm.h"

namespace {

// A QGA 1000 A riser with a fixing 1000 up it: its kit row gives a kit 1000 long with
// margins of 100, so the fixing (200 long) may sit 300 off the kit's middle.
constexpr const char* kQGKitLayout =
    "run QGA 10\nstart 0\ngo 4 3000\ngo 2 3000\nend 4\nfrom 1\nkit 2 1000\nfield KITCF 0\n"
    "variant 1\n";

using EBox = CCharacteristicsPage::EOptionBox;

class CharacteristicsRangeOptionsTest : public LaidRunPageTest {
 protected:
  CDev& Kit(CCharacteristicsPage& page) {
    const std::vector<CDev*> laid = Lay(kQGKitLayout);
    CDev* kit = laid.at(1)->GetNeighbour(2);
    EXPECT_NE(kit, nullptr);
    SelectWhole(*kit);
    page.SetObject(kit);
    EXPECT_TRUE(page.Load());
    return *kit;
  }
  // The end of a QM run whose straight behind it has the type (style bits 8-11), with its
  // face selected.
  CDev& QMFace(const std::string& run, int type, int length = 4000) {
    const std::vector<CDev*> laid = Lay(run + "start 1\ngo 4 " + std::to_string(length) +
                                        "\ntype " + std::to_string(type) + "\nend 1\n");
    CDev& end = *laid.at(1);
    SelectFace(end);
    return end;
  }
  static CRunQM& QM(CDev& element) { return dynamic_cast<CRunQM&>(*element.GetRun()); }
  std::string Length(std::int64_t length) { return document->GetUnits().FormatLength(length); }
};

TEST_F(CharacteristicsRangeOptionsTest, TheKitMovesWithinItsRowAndIsWrittenToItsUnit) {
  CCharacteristicsPage page;
  CDev& kit = Kit(page);
  ASSERT_TRUE(page.IsKitShown());
  EXPECT_TRUE(page.IsKitEnabled());
  EXPECT_EQ(page.GetKitLimit(), 300);
  EXPECT_EQ(page.GetKitPosition(), 0);
  EXPECT_EQ(page.GetKitDistanceText(false), Length(500));
  struct Step {
    std::int64_t wanted;
    const char* stored;
  };
  const int before = UndoSteps();
  for (const Step& step : {Step{120, "120"}, Step{1000, "300"}, Step{-301, "-300"}, Step{0, "0"}}) {
    page.SetKitPosition(step.wanted);
    EXPECT_EQ(kit.GetFieldText("KITCF").value_or(""), step.stored) << step.wanted;
  }
  // The moves of one kit, one after the other, are one undo step.
  EXPECT_EQ(UndoSteps(), before + 1);
  // The same place again changes nothing.
  const int steps = UndoSteps();
  EXPECT_EQ(page.SetKitPosition(0).result, EApplyResult::kUnchanged);
  EXPECT_EQ(UndoSteps(), steps);
}

TEST_F(CharacteristicsRangeOptionsTest, ADistanceTypedInFrontOrBehindPlacesTheKit) {
  CCharacteristicsPage page;
  CDev& kit = Kit(page);
  struct Typed {
    bool after;
    const char* text;
    const char* stored;
  };
  const Typed cases[] = {{false, "350", "150"},
                         {true, "350", "-150"},
                         {true, "9000", "300"},
                         {false, "9000", "-300"},
                         {false, "x", "-300"}};
  for (const Typed& typed : cases) {
    const bool refused = typed.text == std::string("x");
    EXPECT_EQ(page.SetKitDistance(typed.after, typed.text).result == EApplyResult::kRefused,
              refused)
        << typed.text;
    EXPECT_EQ(kit.GetFieldText("KITCF").value_or(""), typed.stored) << typed.text;
  }
  // Through the page's apply, as Enter in the field gives it.
  page.SetTypedKitDistances(page.GetKitDistanceText(false), "400");
  EXPECT_EQ(page.Apply().result, EApplyResult::kApplied);
  EXPECT_EQ(kit.GetFieldText("KITCF").value_or(""), "-100");
  EXPECT_EQ(page.GetKitDistanceText(false), Length(600));
}

TEST_F(CharacteristicsRangeOptionsTest, HomeAndEndGoToTheFarLimitOrBackToTheMiddle) {
  EXPECT_EQ(CCharacteristicsPage::KitHomeTarget(0), -CCharacteristicsPage::kKitFarthest);
  EXPECT_EQ(CCharacteristicsPage::KitHomeTarget(-5), -CCharacteristicsPage::kKitFarthest);
  EXPECT_EQ(CCharacteristicsPage::KitHomeTarget(5), 0);
  EXPECT_EQ(CCharacteristicsPage::KitEndTarget(0), CCharacteristicsPage::kKitFarthest);
  EXPECT_EQ(CCharacteristicsPage::KitEndTarget(5), CCharacteristicsPage::kKitFarthest);
  EXPECT_EQ(CCharacteristicsPage::KitEndTarget(-5), 0);
}

TEST_F(CharacteristicsRangeOptionsTest, ABuiltRunShowsTheKitWithoutMovingIt) {
  CCharacteristicsPage page;
  CDev& kit = Kit(page);
  kit.GetRun()->SetPartsState(1);
  ASSERT_TRUE(page.Load());
  EXPECT_TRUE(page.IsKitShown());
  EXPECT_FALSE(page.IsKitEnabled());
  EXPECT_EQ(page.SetKitPosition(100).result, EApplyResult::kUnchanged);
  EXPECT_EQ(kit.GetFieldText("KITCF").value_or(""), "0");
}

TEST_F(CharacteristicsRangeOptionsTest, TheEH44BoxWritesTheOptionThroughTheRun) {
  struct Case {
    const char* neutral;
    int type;
    const char* step;
    bool box;
  };
  const Case cases[] = {{"6", 4, "", true},   {"8", 4, "0", true}, {"7", 1, "", true},
                        {"6", 1, "0", false}, {"4", 4, "", false}, {"6", 2, "", false}};
  for (const Case& test : cases) {
    SCOPED_TRACE(std::string(test.neutral) + "/" + std::to_string(test.type) + "/" + test.step);
    CDev& face = QMFace(std::string("run QMA 25\nprop Neutral ") + test.neutral +
                            "\nprop QM_ED_STEP " + (*test.step ? test.step : "1") + "\n",
                        test.type);
    CCharacteristicsPage page;
    page.SetObject(&face);
    ASSERT_TRUE(page.Load());
    EXPECT_EQ(page.GetOptionBox() == EBox::kEH44, test.box);
    if (!test.box) continue;
    EXPECT_EQ(page.GetOptionMessage(), 30083);
    EXPECT_FALSE(page.IsOptionChecked());
    const int steps = UndoSteps();
    EXPECT_EQ(page.SetOptionChecked(true).result, EApplyResult::kApplied);
    EXPECT_TRUE(QM(face).AccessEH44Option(face, -1));
    EXPECT_EQ(UndoSteps(), steps + 1);
    EXPECT_EQ(page.SetOptionChecked(true).result, EApplyResult::kUnchanged);
    ASSERT_TRUE(page.Load());
    EXPECT_TRUE(page.IsOptionChecked());
    // A straight of another type loses the option when its page is shown.
    face.SetVariantIndex(2);
    ASSERT_TRUE(page.Load());
    EXPECT_EQ(page.GetOptionBox(), EBox::kNone);
    EXPECT_FALSE(QM(face).AccessEH44Option(face, -1));
  }
}

TEST_F(CharacteristicsRangeOptionsTest, TheED31BoxShowsOnSteppedStraightsOfSingleRuns) {
  struct Case {
    const char* run;
    const char* step;
    bool box;
  };
  const Case cases[] = {{"QMA 25", "1", true},
                        {"QMC 32", "1", true},
                        {"QMA 25", "0", false},
                        {"QMC 63", "1", false},
                        {"QMA 50", "1", false}};
  for (const Case& test : cases) {
    SCOPED_TRACE(std::string(test.run) + "/" + test.step);
    CDev& face =
        QMFace(std::string("run ") + test.run + "\nprop QM_ED_STEP " + test.step + "\n", 3, 2000);
    // A value left by an earlier straight.
    QM(face).AccessED31Option(face, 1);
    CCharacteristicsPage page;
    page.SetObject(&face);
    ASSERT_TRUE(page.Load());
    EXPECT_EQ(page.GetOptionBox() == EBox::kED31, test.box);
    if (!test.box) {
      EXPECT_EQ(face.GetFieldText("ED31").value_or(""), "");
      continue;
    }
    EXPECT_EQ(page.GetOptionMessage(), 30200);
    EXPECT_TRUE(page.IsOptionChecked());
    EXPECT_EQ(page.SetOptionChecked(false).result, EApplyResult::kApplied);
    EXPECT_FALSE(QM(face).AccessED31Option(face, -1));
    EXPECT_EQ(page.SetOptionChecked(true).result, EApplyResult::kApplied);
    EXPECT_TRUE(QM(face).AccessED31Option(face, -1));
  }
}

// The sample catalogue offers a QM straight the stepped type and the EH44 one, and an
// in-line unit of a QM rise the riser kit, whose position then moves within its kit row.
TEST_F(CharacteristicsRangeOptionsTest, TheSampleQMTypesOfferTheStepsAndARiserKit) {
  CCharacteristicsPage page;
  CDev& face = QMFace("run QMA 25\nprop Neutral 7\n", 0);
  page.SetObject(&face);
  ASSERT_TRUE(page.Load());
  std::vector<int> variants;
  for (const CCharacteristicsPage::CEntry& entry : page.GetEntries())
    variants.push_back(entry.Variant());
  EXPECT_EQ(variants, (std::vector<int>{0, 3, 4}));
  const std::vector<CDev*> laid =
      Lay("run QMA 25\nstart 1\ngo 4 3000\ngo 2 4000\nend 1\nfrom 1\n"
          "kit 2 1500\n");
  CDev* unit = laid.at(1)->GetNeighbour(2);
  ASSERT_NE(unit, nullptr);
  SelectWhole(*unit);
  page.SetObject(unit);
  ASSERT_TRUE(page.Load());
  const std::vector<CCharacteristicsPage::CEntry>& entries = page.GetEntries();
  const auto kit = std::find_if(entries.begin(), entries.end(),
                                [](const auto& entry) { return entry.Variant() == 1; });
  ASSERT_NE(kit, entries.end());
  page.SetChoice(static_cast<int>(kit - entries.begin()));
  page.Apply();
  EXPECT_EQ(unit->GetFieldText("KITCF").value_or(""), "0");
  ASSERT_TRUE(page.Load());
  ASSERT_TRUE(page.IsKitShown());
  EXPECT_GT(page.GetKitLimit(), 100);
  page.SetKitPosition(100);
  EXPECT_EQ(unit->GetFieldText("KITCF").value_or(""), "100");
}

// A QM rise: the fixing between the straight and the rise, whose straight may carry ED31.
TEST_F(CharacteristicsRangeOptionsTest, TheQMPlugStandardIsTheSteppedOneOnlyWithoutED31) {
  for (bool ed31 : {false, true}) {
    SCOPED_TRACE(ed31);
    const std::vector<CDev*> laid =
        Lay(std::string("run QMA 25\nstart 1\ngo 4 3000\ngo 2 4000\n") +
            (ed31 ? "field ED31 1\n" : "") + "end 1\nfrom 1\nkit 2 1500\n");
    CDev* unit = laid.at(1)->GetNeighbour(2);
    ASSERT_NE(unit, nullptr);
    ASSERT_EQ(unit->GetKind(), CDev::kInLine);
    ASSERT_EQ(QM(*unit).AccessED31Option(*unit, -1), ed31);
    SelectWhole(*unit);
    CRiserPage page;
    page.SetObject(unit);
    ASSERT_TRUE(page.Load());
    EXPECT_EQ(page.GetStandardPlug(), ed31 ? 2000 : 1950);
    page.SetPlugText(document->GetUnits().FormatScaled(2100));
    page.Apply();
    EXPECT_EQ(unit->GetFieldText("PLUG1").value_or(""), ed31 ? "100" : "150");
  }
}

}  // namespace
