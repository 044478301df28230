// Starts the real program under a virtual X server on a QW run with the option "A1",
// rebuilds it and updates its prices from an article table that holds the option: the
// saved document prices and names the optioned part with its option by the metre.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <tuple>

#include "model/bom/bom_column_kind.h"
#include "model/bom/bom_grid.h"
#include "platform/dbf_table.h"
#include "platform/text_conversions.h"
#include "ranges/qw_listing.h"
#include "sample_end_to_end_support.h"

namespace {

constexpr const char* kLayout =
    "run QWA 40\n"
    "prop IP A1\n"
    "start 0\n"
    "go 4 3000\n"
    "go 5 2600\n"
    "end 1\n";

// The sample article table, which holds the flat elbow of the run, with the option "A1"
// added.
void WriteArticles(const std::string& folder) {
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(TVR_PROGRAM_DIR "/BD/ARTICLE.DBU", folder + "/ARTICLE.DBU");
  tvr::platform::CDbfTable table;
  ASSERT_TRUE(table.Open(folder + "/ARTICLE.DBU", tvr::platform::CDbfTable::Mode::ReadWrite));
  for (const auto& [reference, name, price] : {std::tuple{"QW00_OPTION_A1", "Option A1", 10.0}}) {
    ASSERT_TRUE(table.Append());
    table.Assign(table.FieldIndex("REFERENCE"), reference);
    table.Assign(table.FieldIndex("DESIGN_1"), name);
    ASSERT_TRUE(table.AssignNumber(table.FieldIndex("PRIX_1"), price));
    table.Assign(table.FieldIndex("LOCAL"), "C");
  }
  ASSERT_TRUE(table.Close()) << table.Error();
}

TEST(QWPricesEndToEndTest, AnOptionedPartIsPricedWithItsOption) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteArticles(folder.Path("articles"));
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\nCurrentCat=1\nPartnumPath=" + folder.Path("articles") +
                   "/\n[Design]\nInfos=0\nSplit=1\n[Language]\nID=044\n");
  const std::string document = folder.Path("qw_option.run");
  ASSERT_EQ(WriteLaidDocument(document, kLayout), "");
  const std::string saved = folder.Path("priced.run");
  const std::string shot = TestOutputPath("qw_option_prices.png");
  std::filesystem::remove(shot);
  const CProgramRun program =
      RunProgram(folder.Path(), {},
                 "closemodals\nopen " + document + "\ncommand " + std::to_string(kIdRebuildParts) +
                     "\ncommand 32875\nshot " + shot + "\nsave " + saved + "\n");
  ASSERT_TRUE(program.finished) << program.output.toStdString();
  EXPECT_EQ(program.values.value("failed"), "") << program.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
  CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  RegisterRangeRuns();
  {
    CDorneDoc priced;
    ASSERT_TRUE(priced.OnOpenDocument(saved).ok);
    ASSERT_EQ(priced.GetRuns().size(), 1u);
    CRun& run = *priced.GetRuns().front();
    const std::string elbow = "QW063LP4041          A1";
    const int line = run.GetBOM().FindLine(elbow);
    ASSERT_GT(line, 0) << QWBillListing(run);
    EXPECT_EQ(run.GetDevicePropByRef(elbow, "HBv2_Designation"),
              "Coude \xC3\xA0 plat, QW 630 A 3P+N alu\r\nOption A1 ");
    // 174.88 for the sample's elbow and 10 a metre of the option over its 4.7 m of legs.
    EXPECT_NEAR(TextToDouble(run.GetBOM().GetLineFieldText(line, kBOMKindUnitPrice).value_or("")),
                221.88, 1e-6);
  }
  ForgetSampleRanges();
}

}  // namespace
