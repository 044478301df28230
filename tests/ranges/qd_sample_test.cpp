#include "app/article_table.h"
#include "model/bom_grid.h"
#include "model/dorne_doc.h"
#include "model/run.h"
#include "range_test_support.h"
#include "support/golden_file.h"

#include "platform/text_conversions.h"

namespace {

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
