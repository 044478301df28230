#include "export/price_update.h"

#include "export/part_number_link.h"
#include "model/bom/bom_column_kind.h"
#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/element/element_selection.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "platform/dbf_table.h"
#include "platform/text_conversions.h"
#include "ranges/range_test_support.h"
#include "samplewriter/sample_layout.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <tuple>

#include <cmath>
#include <clocale>

namespace {

TEST(PriceLookupTextTest, LookUpTextsAreCutAsTheArticleTableKeepsThem) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"QDA40ED430", "", "QDA40ED430"},
      {"  QDA40ED430 L=2500 ", "", "QDA40ED430"},
      {"QDA40ED430", " QDA40ED420 ", "QDA40ED420"},
      {"QJ026AB1XYZ", "", "QJ026AB1X"},  // 'A' then a letter A..L: nine characters
      {"QJ026AM1XYZ", "", "QJ026AM1XYZ"},
      {"QJ026BC1XYZ", "", "QJ026BC1"},  // "BC": eight characters
      {"QJ0260A", "", "QJ0260A"},       // shorter than ten: as it is
  };
  for (const auto& [reference, needRef, lookup] : cases)
    EXPECT_EQ(PriceLookupText(reference, needRef), lookup) << reference;
}

TEST(PriceLookupTextTest, AMissingArticleIsNamedWhole) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"End cover", "", "End cover"},  // a name of words is not cut at its first blank
      {"  Pièce inconnue #[2,0] ", "", "Pièce inconnue #[2,0]"},
      {"QMA1600ER41      \nGroup=1", "", "QMA1600ER41"},  // the group suffix is not a name
      {"Pièce inconnue \nGroup=2", "", "Pièce inconnue"},
      {"QGA1000ET430    n=Fullneutral,x=3000", "", "QGA1000ET430"},  // parameters left out
      {"QDA40ED430", " QDA40ED420 l=200", "QDA40ED420"},             // what the element needs
  };
  for (const auto& [reference, needRef, name] : cases)
    EXPECT_EQ(MissingArticleName(reference, needRef), name) << reference;
}

TEST(PriceLookupTextTest, DiscountsChainInWholeNumbers) {
  const std::pair<std::vector<long long>, long long> cases[] = {
      {{0, 0, 0, 0}, 10000},      {{1000, 0, 0, 0}, 9000},
      {{1000, 1000, 0, 0}, 8100}, {{3333, 3333, 0, 0}, 4444},  // 6667 * 6667 / 10000, each step cut
      {{10000, 500, 0, 0}, 0},
  };
  for (const auto& [discounts, factor] : cases) EXPECT_EQ(DiscountFactor(discounts), factor);
}

class PriceUpdateTest : public RangeTest {
 protected:
  void SetUp() override {
    RangeTest::SetUp();
    CRunEnvironment::Instance().SetArticleFolder(TVR_PROGRAM_DIR "/BD/");
  }
  void Open(const char* name) {
    const CDocFileResult opened =
        m_document.OnOpenDocument(std::string(TVR_PROGRAM_DIR "/examples/") + name);
    ASSERT_TRUE(opened.ok) << opened.text;
  }
  static CPartNumberLink Link(std::string folder = TVR_PROGRAM_DIR "/BD/") {
    CPartNumberSettings settings;
    settings.articleFolder = std::move(folder);
    CPartNumberLink link;
    link.Init(settings);
    return link;
  }
  static double Field(const CRun& run, int row, int kind) {
    return TextToDouble(run.GetBOM().GetLineFieldText(row, kind).value_or("0"));
  }

  void TearDown() override {
    m_owned.reset();  // the runs go before the range tables they lease
    RangeTest::TearDown();
  }

  std::unique_ptr<CDorneDoc> m_owned = std::make_unique<CDorneDoc>();
  CDorneDoc& m_document = *m_owned;
};

TEST_F(PriceUpdateTest, EveryLineOfTheSampleTakesItsArticle) {
  Open("qd_sample.run");
  CPartNumberLink link = Link();
  const CPriceUpdateReport report = UpdatePrices(m_document, link, {"Tarif 2026", "EUR"});
  EXPECT_TRUE(report.tableOpened);
  EXPECT_TRUE(report.problems.empty());
  EXPECT_EQ(m_document.GetDocProperty("BaseDate"), "Tarif 2026");
  EXPECT_EQ(m_document.GetDocProperty("BaseMoney"), "EUR");
  int priced = 0;
  for (CRun* run : m_document.GetRuns()) {
    CBOMGrid& grid = run->GetBOM();
    for (int row = 1; row < grid.GetLineCount(); ++row) {
      const std::string reference = grid.GetLine(row)->reference;
      const bool missing = std::find(report.missing.begin(), report.missing.end(),
                                     PriceLookupText(reference, "")) != report.missing.end();
      if (missing) continue;
      SCOPED_TRACE(reference);
      // The article's own line, looked up alone, gives what the line shows.
      CPartNumberLink alone = Link();
      ASSERT_TRUE(alone.WriteArticleList({PriceLookupText(reference, "")}));
      const std::optional<std::string> article = alone.TakeNextLine();
      ASSERT_TRUE(article.has_value());
      std::vector<std::string> fields;
      for (std::size_t start = 0, tab; (tab = article->find('\t', start)) != std::string::npos;
           start = tab + 1)
        fields.push_back(article->substr(start, tab - start));
      ASSERT_EQ(fields.size(), 18u);
      EXPECT_NEAR(Field(*run, row, kBOMKindUnitPrice), TextToDouble(fields[3]) * 0.0001, 1e-9);
      EXPECT_NEAR(Field(*run, row, kBOMKindSalesCoefficient),
                  (10000 - TextToDouble(fields[6])) * 0.0001, 1e-9);
      EXPECT_NEAR(Field(*run, row, kBOMKindUnitTime), TextToDouble(fields[9]) * 0.01, 1e-9);
      EXPECT_EQ(run->GetDevicePropByRef(reference, "HBv2_Designation"), fields[2]);
      ++priced;
    }
  }
  EXPECT_GT(priced, 10);
}

TEST_F(PriceUpdateTest, TotalsAddUpTheLines) {
  Open("qd_sample.run");
  CPartNumberLink link = Link();
  UpdatePrices(m_document, link, {});
  m_document.ComputeRunTotals(false);
  const CDorneDoc::CTotals* all = m_document.GetTotals(0);
  ASSERT_NE(all, nullptr);
  double sum = 0;
  for (CRun* run : m_document.GetRuns()) {
    for (int row = 1; row < run->GetBOM().GetLineCount(); ++row)
      sum += Field(*run, row, kBOMKindTotalPrice);
  }
  EXPECT_GT(sum, 0);
  EXPECT_NEAR((*all)[0], sum, 1e-6);
  EXPECT_GT((*all)[1], 0);
  EXPECT_LT((*all)[1], (*all)[0]);  // the family discounts apply
  EXPECT_GT((*all)[2], 0);
  EXPECT_GT((*all)[3], 0);
}

TEST_F(PriceUpdateTest, AMissingArticleIsToldOnceAndTheRestPriced) {
  Open("qd_sample.run");
  CRun& run = *m_document.GetRuns().front();
  ASSERT_TRUE(run.GetBOM().AddRefQuantity("NOT_AN_ARTICLE", 2));
  ASSERT_TRUE(m_document.GetRuns().back()->GetBOM().AddRefQuantity("NOT_AN_ARTICLE", 1));
  CPartNumberLink link = Link();
  const CPriceUpdateReport report = UpdatePrices(m_document, link, {});
  EXPECT_EQ(std::count(report.missing.begin(), report.missing.end(), "NOT_AN_ARTICLE"), 1);
  const int row = run.GetBOM().FindLine("NOT_AN_ARTICLE");
  ASSERT_GT(row, 0);
  EXPECT_EQ(run.GetBOM().GetLineQuantity(row), 2);
  EXPECT_GT(Field(run, 1, kBOMKindUnitPrice), 0);
}

TEST_F(PriceUpdateTest, AMissingArticleOfSeveralWordsIsToldWhole) {
  Open("qd_sample.run");
  CRun& run = *m_document.GetRuns().front();
  ASSERT_TRUE(run.GetBOM().AddRefQuantity("End cover", 1));
  CPartNumberLink link = Link();
  const CPriceUpdateReport report = UpdatePrices(m_document, link, {});
  EXPECT_EQ(report.missing, std::vector<std::string>{"End cover"});
}

TEST_F(PriceUpdateTest, WithoutTheArticleTableNothingIsLost) {
  Open("qd_sample.run");
  CPartNumberLink first = Link();
  UpdatePrices(m_document, first, {});
  CRun& run = *m_document.GetRuns().front();
  const int lines = run.GetBOM().GetLineCount();
  const double price = Field(run, 1, kBOMKindUnitPrice);
  ASSERT_GT(price, 0);
  CPartNumberLink broken = Link("/nonexistent/");
  const CPriceUpdateReport report = UpdatePrices(m_document, broken, {});
  EXPECT_FALSE(report.tableOpened);
  EXPECT_TRUE(report.missing.empty());  // one message says it all
  EXPECT_EQ(run.GetBOM().GetLineCount(), lines);
  EXPECT_EQ(Field(run, 1, kBOMKindUnitPrice), price);
}

TEST_F(PriceUpdateTest, EveryLineOfTheQJFSampleIsPriced) {
  Open("qjf_sample.run");
  CPartNumberLink link = Link();
  const CPriceUpdateReport report = UpdatePrices(m_document, link, {});
  EXPECT_TRUE(report.Clean());
  for (const std::string& missing : report.missing) ADD_FAILURE() << missing;
  CRun& run = *m_document.GetRuns().front();
  ASSERT_GT(run.GetBOM().GetLineCount(), 2);
  for (int row = 1; row < run.GetBOM().GetLineCount(); ++row) {
    const std::string reference = run.GetBOM().GetLine(row)->reference;
    EXPECT_GT(Field(run, row, kBOMKindUnitPrice), 0) << reference;
    EXPECT_GT(Field(run, row, kBOMKindUnitTime), 0) << reference;
  }
  m_document.ComputeRunTotals(false);
  EXPECT_GT((*m_document.GetTotals(0))[1], 0);
}

}  // namespace

namespace {

// The sample's article table with articles of its own added (reference, French name,
// first price list).
std::string ArticlesWith(const CTempFolder& folder,
                         const std::vector<std::tuple<std::string, std::string, double>>& added) {
  std::filesystem::copy_file(TVR_PROGRAM_DIR "/BD/ARTICLE.DBU", folder.File("ARTICLE.DBU"));
  tvr::platform::CDbfTable table;
  EXPECT_TRUE(table.Open(folder.File("ARTICLE.DBU"), tvr::platform::CDbfTable::Mode::ReadWrite))
      << table.Error();
  for (const auto& [reference, name, price] : added) {
    EXPECT_TRUE(table.Append());
    table.Assign(table.FieldIndex("REFERENCE"), reference);
    table.Assign(table.FieldIndex("DESIGN_1"), name);
    EXPECT_TRUE(table.AssignNumber(table.FieldIndex("PRIX_1"), price));
    table.Assign(table.FieldIndex("LOCAL"), "C");
  }
  EXPECT_TRUE(table.Close()) << table.Error();
  return folder.Folder();
}

// A QW run rebuilt with the option "A1" prices each optioned part with the option by the
// metre of its length, and names the part and its option.
TEST_F(PriceUpdateTest, ARebuiltQWPartIsPricedWithItsOption) {
  Open("qw_sample.run");
  CRun& run = *m_document.GetRuns().front();
  run.SetProp("IP", "A1");
  ASSERT_EQ(run.RebuildParts(0), 1);
  CTempFolder folder("price-options");
  const std::string articles = ArticlesWith(folder, {{"QW00_OPTION_A1", "Option A1", 10.0}});
  CPartNumberLink link = Link(articles);
  const CPriceUpdateReport report = UpdatePrices(m_document, link, {});
  EXPECT_TRUE(report.tableOpened);
  const struct {
    const char* reference;
    double metres;  // of the option
  } rows[] = {{"QW063LP4041          A1", 4.7}};
  for (const auto& row : rows) {
    const int line = run.GetBOM().FindLine(row.reference);
    ASSERT_GT(line, 0) << row.reference;
    // The sample's own elbow, with the option named after it.
    EXPECT_EQ(run.GetDevicePropByRef(row.reference, "HBv2_Designation"),
              "Coude \xC3\xA0 plat, QW 630 A 3P+N alu\r\nOption A1 ");
    CPartNumberLink alone = Link(articles);
    ASSERT_TRUE(alone.WriteArticleList({"QW00_OPTION_A1", "QW063LP4041"}));
    double part = 0, option = 0;
    while (const std::optional<std::string> article = alone.TakeNextLine()) {
      std::vector<std::string> fields;
      for (std::size_t start = 0, tab; (tab = article->find('\t', start)) != std::string::npos;
           start = tab + 1)
        fields.push_back(article->substr(start, tab - start));
      ASSERT_GT(fields.size(), 3u);
      (fields[0] == "QW00_OPTION_A1" ? option : part) = TextToDouble(fields[3]);
    }
    ASSERT_GT(option, 0);
    EXPECT_NEAR(Field(run, line, kBOMKindUnitPrice), (part + row.metres * option) * 0.0001, 1e-6);
  }
}

}  // namespace

namespace {

// Each line's reference with its unit weight and total weight as the bill shows them.
std::vector<std::tuple<std::string, double, double>> Weights(const CRun& run) {
  std::vector<std::tuple<std::string, double, double>> lines;
  const CBOMGrid& grid = run.GetBOM();
  for (int row = 1; row < grid.GetLineCount(); ++row) {
    lines.emplace_back(grid.GetLine(row)->reference,
                       TextToDouble(grid.GetLineFieldText(row, kBOMKindUnitWeight).value_or("0")),
                       TextToDouble(grid.GetLineFieldText(row, kBOMKindTotalWeight).value_or("0")));
  }
  return lines;
}

}  // namespace

// A run built and priced loses an element in its middle: the bill goes back to what the
// chain still holds (no negative length, no fixings of the whole run), and priced again
// twice, weighs the same each time, each line its quantity times its unit weight.
TEST_F(PriceUpdateTest, ARunCutAfterItsBuildIsBuiltAnewAndWeighsTheSameAtEveryUpdate) {
  Open("qg_sample.run");
  CRun& run = *m_document.GetRuns().front();
  CPartNumberLink first = Link();
  UpdatePrices(m_document, first, {});
  ASSERT_NE(run.GetPartsState(), 0);
  CDev* middle = run.GetDevices()[3];
  CElementSelection::Of(*middle).Select(middle, CElementSelection::kWholeElement);
  ASSERT_EQ(m_document.DeleteCurrentElement(), 1);
  EXPECT_EQ(run.GetPartsState(), 0) << "the parts are made again by the next build";
  const CBOMGrid& grid = run.GetBOM();
  for (int row = 1; row < grid.GetLineCount(); ++row) {
    SCOPED_TRACE(grid.GetLine(row)->reference);
    EXPECT_GT(grid.GetLineQuantity(row), 0);
    EXPECT_EQ(grid.GetLine(row)->reference.find("- -"), std::string::npos) << "a negative length";
  }
  for (const CDev* device : run.GetDevices()) EXPECT_NE(device->GetKind(), CDev::kAccessory);
  std::vector<std::tuple<std::string, double, double>> weights[2];
  for (auto& weighed : weights) {
    CPartNumberLink link = Link();
    UpdatePrices(m_document, link, {});
    weighed = Weights(run);
  }
  EXPECT_EQ(weights[0], weights[1]);
  double sum = 0;
  for (int row = 1; row < grid.GetLineCount(); ++row) {
    const auto& [reference, unit, total] = weights[1][static_cast<std::size_t>(row - 1)];
    EXPECT_GT(unit, 0) << reference;
    EXPECT_NEAR(total, unit * static_cast<double>(grid.GetLineQuantity(row)), 1e-6) << reference;
    sum += total;
  }
  // The run's information label reads its weight from "SUPP", after the "/".
  const std::string supp = run.GetPropText("SUPP");
  EXPECT_EQ(supp.substr(supp.find('/') + 1), std::to_string(static_cast<long long>(sum)));
}

// A straight that runs to an open end has no part in the catalogue: the update names it
// (run, element and length), since it is drawn but in no bill line; a closed run's
// update names nothing.
TEST_F(PriceUpdateTest, ADrawnElementWithoutAPartIsNamedByTheUpdate) {
  const CProgramTexts texts;
  struct Case {
    const char* fault;
    const char* layout;
    std::vector<const char*> named;
  };
  const Case cases[] = {
      {"an open end's straight is left out unsaid",
       "run QMA 16\nstart 1\ngo 4 3000\n",
       {".1 Straight length l=3000"}},
      {"a closed run is named all the same", "run QMA 16\nstart 1\ngo 4 3000\nend 1\n", {}},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.fault);
    CDorneDoc document{CDocEnvironment{}};
    document.OnNewDocument("");
    while (!document.GetRuns().empty()) document.RemoveRun(document.GetRuns().front());
    ASSERT_EQ(LayOutSample(document, row.layout), "");
    CPartNumberLink link = Link();
    const CPriceUpdateReport report = UpdatePrices(document, link, {});
    std::vector<std::string> named;
    for (const char* element : row.named)
      named.push_back(document.GetRuns().front()->GetPropText("Name") + element);
    EXPECT_EQ(report.unbuilt, named);
  }
}

// Under a decimal-comma locale the discounts kept with the lines read back as they were
// written: the sales coefficients and prices are those of the "C" locale, not 0.
TEST_F(PriceUpdateTest, ADecimalCommaLocaleKeepsTheDiscounts) {
  std::array<std::vector<double>, 2> coefficients;
  for (const char* locale : {"C", "fr_FR.UTF-8"}) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, locale) == nullptr) GTEST_SKIP() << "no locale " << locale;
    auto document = std::make_unique<CDorneDoc>();
    ASSERT_TRUE(document->OnOpenDocument(TVR_PROGRAM_DIR "/examples/qd_sample.run").ok);
    CPartNumberLink link = Link();
    UpdatePrices(*document, link, {});
    std::setlocale(LC_ALL, saved.c_str());
    const CRun& run = *document->GetRuns().front();
    std::vector<double>& read = coefficients[std::string(locale) == "C" ? 0 : 1];
    for (int row = 1; row < run.GetBOM().GetLineCount(); ++row) {
      read.push_back(Field(run, row, kBOMKindSalesCoefficient));
      read.push_back(Field(run, row, kBOMKindSalesPrice));
    }
  }
  ASSERT_FALSE(coefficients[0].empty());
  EXPECT_GT(coefficients[0][0], 0.5);
  EXPECT_EQ(coefficients[1], coefficients[0]);
}
