#include "reference/ref_catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "linear_test_support.h"
#include "ref_test_support.h"
#include "support/golden_file.h"
#include "support/temp_folder.h"

namespace {

// A QDA 63 A line of two, in group 1, through the sample tables, with the counts the
// configurator gives a QDA line: feed units, straights of two members, complementary
// lengths, hangers, wall brackets (the last one an end support), ceiling supports,
// joints, free outlets and three tap-off slots, the last one the breaker boxes'.
CRefLine SampleQdaLine() {
  CRefLine line = MakeRefLine(3, 63);
  line.lineQuantity = 2;
  line.components[0] = 1;
  line.components[3] = 4;
  line.components[4] = 7;
  line.components[6] = 1;
  line.components[9] = 2;
  line.components[10] = 5;
  line.components[20] = 2;
  line.slots[0] = 3 | (54 << 16);
  line.slots[1] = 2;
  line.slots[2] = 2;
  return line;
}

TEST(RefCatalogueTest, SampleLinesExpandIntoTheirPricedItems) {
  CRefPriceSettings settings;
  settings.outletFactors = {2, 1, 0, 0, 0, 0};
  settings.designColumn = 2;
  CRefCatalogue catalogue;
  CRefCatalogueSetup setup = SampleRefSetup();
  setup.langDesign = "UK";
  ASSERT_TRUE(catalogue.OpenRefCatalogue(setup, settings));
  CRefLine qda = SampleQdaLine();
  catalogue.RebuildLineItems(qda);
  CRefLine qpa = MakeRefLine(4, 250);
  qpa.components[0] = 1;
  qpa.components[3] = 5;
  qpa.components[2] = 1;
  qpa.components[9] = 4;
  qpa.components[10] = 2;
  qpa.components[20] = 1;
  catalogue.RebuildLineItems(qpa);
  EXPECT_TRUE(catalogue.Messages().empty());
  ExpectGolden("reference/sample_line_items.txt",
               "QDA 63 A x2\n" + ItemListing(qda) + "QPA 250 A\n" + ItemListing(qpa));
}

TEST(RefCatalogueTest, OpeningReadsTheListTheDesignationColumnAndTheUserArticleState) {
  const struct {
    const char* langDesign;
    int column;
  } columns[] = {{"UK", 2}, {"2", 2}, {"OPTION", 3}, {"3", 3}, {"", 1}, {"FR", 1}};
  for (const auto& c : columns) {
    CRefPriceSettings settings;
    settings.priceList = 1;
    CRefCatalogueSetup setup = SampleRefSetup();
    setup.langDesign = c.langDesign;
    setup.useTc = 7;
    CRefCatalogue catalogue;
    ASSERT_TRUE(catalogue.OpenRefCatalogue(setup, settings));
    EXPECT_EQ(settings.designColumn, c.column) << c.langDesign;
    EXPECT_EQ(settings.listName, "Distribution 2026");
    EXPECT_EQ(settings.currency, "EUR");
    EXPECT_EQ(settings.userArticles, 1);
  }
}

TEST(RefCatalogueTest, AMissingTableLeavesNothingOpenAndSaysWhich) {
  const CEnglishTexts texts;
  CTempFolder folder("reference");
  namespace fs = std::filesystem;
  for (const char* name : {"REF_FORM.DBF", "REF_COFF.DBF"})
    fs::copy_file(SampleRefSetup().catalogueFolder + name, folder.File(name));
  CRefCatalogueSetup setup = SampleRefSetup();
  setup.catalogueFolder = folder.Folder();
  CRefRecordingNotifier notifier;
  CRefPriceSettings settings;
  CRefCatalogue catalogue(&notifier);
  EXPECT_FALSE(catalogue.OpenRefCatalogue(setup, settings));
  EXPECT_FALSE(catalogue.IsOpen());
  ASSERT_EQ(notifier.messages.size(), 1u);
  EXPECT_NE(notifier.messages[0].find("LIN_REF.DBF"), std::string::npos);
  CRefLine line = SampleQdaLine();
  catalogue.RebuildLineItems(line);
  EXPECT_TRUE(line.Items().empty());
}

TEST(RefCatalogueTest, PricesFollowTheCoefficientTheUserArticlesAndTheSecondReference) {
  CRefPriceSettings settings;
  settings.productCoefs[3][0] = 1.5;
  settings.displayFlags = 1;
  CRefCatalogue catalogue;
  ASSERT_TRUE(catalogue.OpenRefCatalogue(SampleRefSetup(), settings));
  const CRefLine line = MakeRefLine(3, 63);
  std::string reference = "QDA63ED430";
  std::int32_t price = 0, labour = 0;
  std::string designation;
  ASSERT_TRUE(catalogue.ReadReferenceData(line, reference, price, designation, labour));
  EXPECT_EQ(price, 2111850);  // 140.79 in ten-thousandths, x 1.5
  EXPECT_EQ(labour, 56);
  EXPECT_EQ(reference, "QDA63ED430\n\r / TV103731");
  reference = "REMISE_QD";  // an article without a second reference
  ASSERT_TRUE(catalogue.ReadReferenceData(line, reference, price, designation, labour));
  EXPECT_EQ(reference, "REMISE_QD\n\r / ? REF2 ?");

  CRefCatalogueSetup setup = SampleRefSetup();
  setup.useTc = 1;
  settings.displayFlags = 0;
  ASSERT_TRUE(catalogue.OpenRefCatalogue(setup, settings));
  reference = "QDA63ED430";  // its family's record keeps 90.00 %
  ASSERT_TRUE(catalogue.ReadReferenceData(line, reference, price, designation, labour));
  EXPECT_EQ(price, 1267110);
  reference = "QDA99NOTHERE";
  EXPECT_FALSE(catalogue.ReadReferenceData(line, reference, price, designation, labour));
  EXPECT_EQ(price, 0);
  EXPECT_EQ(designation, " ? ? ?");

  std::int32_t mass = -1;
  EXPECT_TRUE(catalogue.ReadReferenceMass("QDA63ED430", mass));
  EXPECT_EQ(mass, 8505);
  EXPECT_FALSE(catalogue.ReadReferenceMass("QDA99NOTHERE", mass));
  EXPECT_EQ(mass, 0);
}

TEST(RefCatalogueTest, ProductsOfPricesKeepTheirLastUnit) {
  EXPECT_EQ(TruncatedProduct(100 * 0.29), 29);
  EXPECT_EQ(TruncatedProduct(-100 * 0.29), -29);
  EXPECT_EQ(TruncatedProduct(28.5), 28);
  EXPECT_EQ(TruncatedProduct(1e12), 2147483647);
  EXPECT_EQ(TruncatedProduct(std::nan("")), 0);
}

TEST(RefCatalogueTest, QuantitiesRiseToWholePacks) {
  CRefLine line = MakeRefLine(3, 63);
  line.AddItemNode({"QDB0000YC1", "hanger", 1, 7, 0, 5});                   // packs of 10
  line.AddItemNode({"QDB0000YP11\n\r / TV106510", "support", 1, 4, 0, 5});  // packs of 2
  line.AddItemNode({"QDA63ED430", "straight", 1, 3, 0, 1});                 // no pack
  CRefArticles articles;
  ASSERT_TRUE(articles.Load(SampleRefSetup().articleFolder, 0, 1));
  ApplyIndividualQuantities(line, articles);
  EXPECT_EQ(ItemSummary(line),
            "QDA63ED430 x3 :1\nQDB0000YC1 x10 :5\nQDB0000YP11| / TV106510 x4 :5\n");
  EXPECT_FALSE(ApplyIndividualQuantities(line, "/nonexistent/"));
}

}  // namespace
