#include "app/article_table.h"
#include "model/bom/bom_grid.h"
#include "model/document/dorne_doc.h"
#include "platform/text_conversions.h"
#include "qd_test_support.h"
#include "support/golden_file.h"

namespace {

TEST_F(QDRunTest, RatingCodesBecomeAmperes) {
  struct Row {
    const char* variant;
    const char* text;
    const char* expected;  // the text after the call
    bool changed;
  };
  for (const Row& c :
       {Row{"A", "QDA04ED4", "QDA40ED4", true}, Row{"A", "QDA06AB4 x=1", "QDA63AB4 x=1", true},
        Row{"A", "QDA10XY4", "QDA100XY4", true}, Row{"A", "QDA25ED4", "QDA25ED4", false},
        Row{"A", "QDA100ED4", "QDA100ED4", false}, Row{"A", "QDA10E", "QDA10E", false},
        Row{"A", "QD", "QD", false}, Row{"T", "QDA10ED4", "QDT100ED4", true},
        Row{"T", "QDA06ZJ4", "QDT63ZJ4", true}, Row{"T", "QDA10XY4", "QDA100XY4", true}}) {
    MakeRun(c.variant, "06");
    std::string text = c.text;
    EXPECT_EQ(m_run->NormalizeQDRef(text), c.changed) << c.text;
    EXPECT_EQ(text, c.expected);
  }
  for (const char* rating : {"06", "10"}) {
    MakeRun("T", rating);
    EXPECT_EQ(Trimmed(m_run->GetElementRef(CDev::kJoint2)),
              rating[0] == '0' ? "QDT63ZJ4" : "QDT100ZJ4");
  }
}

TEST_F(QDRunTest, MountingSideFollowsTheRunEndsAndTheStoredField) {
  MakeRun("A", "06");
  const std::vector<CDev*> elements = Lay({"S3000", "E"}, 2);
  elements.front()->SetVariantBoth(2);
  struct Row {
    CDev* element;
    const char* mount;
    int mode, expected;
  };
  for (const Row& row :
       {Row{nullptr, "", 0, 1}, Row{elements[0], "", 0, 1}, Row{elements[2], "", 0, 0},
        Row{elements[2], "INV", 0, 1}, Row{elements[2], "L", 0, 1}, Row{elements[0], "R", 0, 0},
        Row{elements[2], "L", -1, 0}}) {
    if (row.element != nullptr) row.element->SetFieldText("MOUNT", row.mount);
    EXPECT_EQ(m_run->IsMountReversed(row.element, row.mode), row.expected) << row.mount;
  }
  // The second box of a feed unit moves to the side it is mounted on.
  for (CDev* end : {elements[0], elements[2]}) end->SetFieldText("MOUNT", "");
  EXPECT_EQ(m_run->GetHousingDims(*elements[2]).offset.y, -40);
  EXPECT_EQ(m_run->GetHousingDims(*elements[0]).offset.y, 40);
  // The run's default side is kept until mode 1 works it out again.
  elements[0]->SetDirection(2);
  EXPECT_EQ(m_run->IsMountReversed(nullptr, 0), 1);
  EXPECT_EQ(m_run->IsMountReversed(nullptr, 1), 0);
}

// The side feed box's device pattern writes '#' where the rating goes: the reference
// keeps the run's rating digits there (a 40 A line takes the 63 A box).
TEST_F(QDRunTest, AFeedBoxPatternKeepsTheRatingDigits) {
  struct Row {
    const char* variant;
    const char* rating;
    const char* expected;
  };
  for (const Row& row :
       {Row{"A", "04", "QDA06AB4 2"}, Row{"A", "16", "QDA16AB4 2"}, Row{"T", "10", "QDT10AB4 2"}}) {
    MakeRun(row.variant, row.rating);
    const std::vector<CDev*> elements = Lay({"S3000", "E"}, 2);
    std::string pattern(22, ' ');
    m_run->BuildHousingPattern(*elements.back(), pattern);
    EXPECT_EQ(Trimmed(pattern), row.expected) << row.rating;
  }
}

TEST_F(QDRunTest, DeviceTextForASideOfAThreeMetreStraight) {
  struct Row {
    const char* rating;
    const char* reference;
    int side;
    const char* expected;
  };
  for (const Row& row :
       {Row{"06", "QDA63ED430", 0, "QDA63ED430"}, Row{"06", "QDA63ED430", 1, "QDA63ED4303"},
        Row{"06", "QDA63ED430", 2, "QDA63ED4306"}, Row{"06", "QDA63ED430", 4, "QDA63ED4301"},
        Row{"16", "QDA160ED430", 4, ""}, Row{"10", "QDA100ED430", 2, "QDA100ED4306"},
        Row{"06", "QDA63ED420", 1, ""}, Row{"06", "QDA63", 1, ""}}) {
    MakeRun("A", row.rating);
    CDev* straight = Lay({"S3000"}).back();
    straight->SetReference(row.reference);
    EXPECT_EQ(Trimmed(m_run->GetDeviceTextForSide(*straight, row.side)), row.expected)
        << row.reference;
  }
}

// The sample document that the build writes opens and rebuilds without a design
// problem; its bills of materials hold references of the sample catalogue's articles,
// listed with their quantities and weights.
TEST_F(RangeTest, SampleQDDocumentRebuildsToItsBills) {
  CDorneDoc document;
  const CDocFileResult opened = document.OnOpenDocument(TVR_PROGRAM_DIR "/examples/qd_sample.run");
  ASSERT_TRUE(opened.ok) << opened.text;
  tvr::platform::CDbfTable articles;
  ASSERT_TRUE(
      OpenArticleTable(articles, TVR_PROGRAM_DIR "/BD/", tvr::platform::CDbfTable::Mode::ReadOnly));
  const auto grams = [&articles](const std::string& reference) {
    return SeekArticle(articles, reference.substr(0, reference.find(' ')))
               ? TextToInt(articles.FieldText(articles.FieldIndex("MASSE")))
               : -1;
  };
  std::string listing;
  for (CRun* run : document.GetRuns()) {
    EXPECT_EQ(run->RebuildParts(0), 1);
    EXPECT_EQ(run->GetPartsState(), 2) << run->GetPropText("Catalog");
    listing += "run " + run->GetPropText("Catalog") + " " + run->GetPropText("Calibre") + "\n";
    const CBOMGrid& bom = run->GetBOM();
    for (int row = 1; row < bom.GetLineCount(); ++row) {
      const std::string& reference = bom.GetLine(row)->reference;
      const std::int64_t quantity = bom.GetLineQuantity(row);
      listing += "  " + reference + " x" + std::to_string(quantity) + " " +
                 std::to_string(grams(reference) * quantity) + " g\n";
    }
  }
  ExpectGolden("examples/qd_sample_bom.txt", listing);
}

}  // namespace
