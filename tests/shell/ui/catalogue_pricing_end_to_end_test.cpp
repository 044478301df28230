// The real program under a virtual X server prices what a new user tries first: every
// shipped sample, and new runs of the ranges laid out from an empty design, with Update
// prices; no article is missing, every bill line has a price, and the bill shows the
// catalogue's French designations and the columns a costing user reads.

#include <gtest/gtest.h>

#include <QStandardPaths>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "model/bom/bom_column_kind.h"
#include "model/bom/bom_grid.h"
#include "platform/text_conversions.h"
#include "sample_end_to_end_support.h"

namespace {

// The texts that the English and French files give the "partly priced" message.
constexpr const char* kPartlyPriced[] = {"could not be priced", "pas pu être chiffrées"};

struct CPricedDocument {
  std::string source;  // the document the program opens
  std::string saved;   // where it saves it once priced
};

// The program opens each document, updates its prices and saves it; the settings take
// the language `language`. Returns the dialogs the program showed.
QString PriceInProgram(CShellTestFolder& folder, const std::vector<CPricedDocument>& documents,
                       const char* language, const std::string& shotName) {
  folder.Write(
      "settings/TVR73/TVR.INI",
      std::string("[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\nSplit=1\n[Language]\nID=") +
          language + "\n");
  std::filesystem::create_directories(folder.Path("documents"));
  const std::string shot = TestOutputPath(shotName);
  std::filesystem::remove(shot);
  // The answer only makes the program log every modal dialog; none is expected.
  std::string script = "answer - accept\n";
  for (const CPricedDocument& document : documents) {
    script += "open " + document.source + "\ncommand " + std::to_string(kIdUpdatePrices) +
              "\nsave " + document.saved + "\n";
  }
  script += "shot " + shot + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, "1280x960x24");
  EXPECT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
  return run.values.value("dialogs");
}

// Every line of every run of the saved document has a unit price and a designation;
// `designations` gets every designation. With `shipped`, the document is one we ship,
// whose bills show the columns a costing user reads.
void ExpectEveryLinePriced(const std::string& path, bool shipped,
                           std::vector<std::string>* designations) {
  CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  RegisterRangeRuns();
  {
    CDorneDoc document;
    const CDocFileResult opened = document.OnOpenDocument(path);
    ASSERT_TRUE(opened.ok) << path << ": " << opened.text;
    int lines = 0;
    for (CRun* run : document.GetRuns()) {
      CBOMGrid& grid = run->GetBOM();
      for (int row = 1; row < grid.GetLineCount(); ++row) {
        const std::string reference = grid.GetLine(row)->reference;
        if (reference.find_first_not_of(' ') == std::string::npos) continue;
        ++lines;
        EXPECT_GT(TextToDouble(grid.GetLineFieldText(row, kBOMKindUnitPrice).value_or("0")), 0)
            << path << ": " << reference;
        const std::string designation =
            grid.GetLineFieldText(row, kBOMKindDesignation).value_or("");
        EXPECT_FALSE(designation.empty()) << path << ": " << reference;
        if (designations != nullptr) designations->push_back(designation);
      }
      // The columns the sample is shipped with show what was priced.
      if (!shipped) continue;
      for (int kind : {kBOMKindDesignation, kBOMKindQuantity, kBOMKindUnitPrice, kBOMKindTotalPrice,
                       kBOMKindSalesPrice}) {
        bool shown = false;
        for (int column = 0; column < grid.GetColumnCount(); ++column)
          shown = shown || grid.GetColumn(column)->kind == kind;
        EXPECT_TRUE(shown) << path << ": column of kind " << kind;
      }
    }
    EXPECT_GT(lines, 0) << path;
  }
  ForgetSampleRanges();
}

TEST(CataloguePricingEndToEndTest, EverySamplePricesEveryLineWithoutAMissingArticle) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  std::vector<CPricedDocument> documents;
  for (const char* name : {"qd_sample", "qjf_sample", "qp_sample", "qw_sample", "qg_sample",
                           "qm_sample", "qm_bars_sample", "qg_bars_sample"}) {
    const std::string copy = folder.Path(std::string(name) + ".run");
    std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/" + std::string(name) + ".run", copy);
    documents.push_back({copy, folder.Path(std::string("priced_") + name + ".run")});
  }
  const QString dialogs = PriceInProgram(folder, documents, "044", "catalogue_samples_priced.png");
  for (const char* text : kPartlyPriced)
    EXPECT_FALSE(dialogs.contains(QString::fromUtf8(text))) << dialogs.toStdString();
  for (const CPricedDocument& document : documents)
    ExpectEveryLinePriced(document.saved, true, nullptr);
}

// New runs of four ranges at the first rating their rating page offers, laid out as a
// user lays them from an empty design, price in the French program, whose bill shows
// the catalogue's French designations.
TEST(CataloguePricingEndToEndTest, NewRunsPriceAndTheFrenchBillShowsFrenchDesignations) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  const std::string laid = folder.Path("new_runs.run");
  ASSERT_EQ(WriteLaidDocument(laid,
                              "run QJF 14\nstart 3\nentrax 1\ngo 4 6000\ngo 5 2400\nend 1\n"
                              "run QGA 08\nstart 0\ngo 4 6000\ngo 5 2400\nend 4\n"
                              "run QMA 16\nstart 20\nstyle 2000000\ngo 4 6000\ngo 5 2400\nend 1\n"
                              "run QPA 25\nstart 0\ngo 4 6000\ngo 5 2400\nend 6\n"),
            "");
  const std::string saved = folder.Path("new_runs_priced.run");
  const QString dialogs =
      PriceInProgram(folder, {{laid, saved}}, "033", "catalogue_new_runs_priced.png");
  for (const char* text : kPartlyPriced)
    EXPECT_FALSE(dialogs.contains(QString::fromUtf8(text))) << dialogs.toStdString();
  std::vector<std::string> designations;
  ExpectEveryLinePriced(saved, false, &designations);
  int french = 0;
  for (const std::string& designation : designations) {
    EXPECT_EQ(designation.find("Straight length"), std::string::npos) << designation;
    EXPECT_EQ(designation.find("End cover"), std::string::npos) << designation;
    if (designation.find("Élément droit") != std::string::npos) ++french;
  }
  EXPECT_GT(french, 3);
}

// A tee is a part of range QM only edgewise, and range QD makes none: in the French
// program the QM run's edgewise tee prices with the rest, and the QD run's tee keeps a
// line that names it, which the missing-articles message names too, not an "unknown
// piece".
TEST(CataloguePricingEndToEndTest, AnEdgewiseQMTeePricesAndATeeWithoutAPartIsNamed) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  const std::string laid = folder.Path("tees.run");
  ASSERT_EQ(WriteLaidDocument(laid,
                              "run QMA 16\nstart 20\nstyle 2000000\ngo 4 6000\ngo 2 2000\nend 1\n"
                              "from 1\ngo 4 2400\nend 1\n"
                              "run QDA 06\nstart 0\ngo 4 6000\ngo 1 2000\nend 3\n"
                              "from 1\ngo 4 2400\nend 3\n"),
            "");
  const std::string saved = folder.Path("tees_priced.run");
  const QString dialogs =
      PriceInProgram(folder, {{laid, saved}}, "033", "catalogue_tees_priced.png");
  EXPECT_TRUE(dialogs.contains(QString::fromUtf8("Articles introuvables : Té")))
      << dialogs.toStdString();
  EXPECT_FALSE(dialogs.contains(QString::fromUtf8("Pièce inconnue"))) << dialogs.toStdString();
  CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  RegisterRangeRuns();
  {
    CDorneDoc document;
    ASSERT_TRUE(document.OnOpenDocument(saved).ok);
    ASSERT_EQ(document.GetRuns().size(), 2u);
    std::map<std::string, int> unpriced;  // lines, by the run's code
    bool qmTee = false;
    for (CRun* run : document.GetRuns()) {
      CBOMGrid& grid = run->GetBOM();
      for (int row = 1; row < grid.GetLineCount(); ++row) {
        const std::string reference = grid.GetLine(row)->reference;
        if (reference.find_first_not_of(' ') == std::string::npos) continue;
        qmTee = qmTee || reference.starts_with("QMA1600TC4");
        if (TextToDouble(grid.GetLineFieldText(row, kBOMKindUnitPrice).value_or("0")) <= 0)
          ++unpriced[run->GetPropText("Catalog")];
      }
    }
    EXPECT_TRUE(qmTee);
    // Only the QD tee, which the message named.
    EXPECT_EQ(unpriced, (std::map<std::string, int>{{"QDA", 1}}));
  }
  ForgetSampleRanges();
}

// The QG samples' accessories (brackets, pads, covers, kits) weigh what their articles do
// once the program has updated the prices: the bill's weight leaves none of them out.
TEST(CataloguePricingEndToEndTest, TheQGAccessoriesWeighWhatTheirArticlesDo) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  std::vector<CPricedDocument> documents;
  for (const char* name : {"qg_sample", "qg_bars_sample"}) {
    const std::string copy = folder.Path(std::string(name) + ".run");
    std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/" + std::string(name) + ".run", copy);
    documents.push_back({copy, folder.Path(std::string("weighed_") + name + ".run")});
  }
  PriceInProgram(folder, documents, "033", "catalogue_qg_weighed.png");
  CRangeContext::Instance().SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
  RegisterRangeRuns();
  for (const CPricedDocument& priced : documents) {
    CDorneDoc document;
    ASSERT_TRUE(document.OnOpenDocument(priced.saved).ok) << priced.saved;
    int accessories = 0;
    for (CRun* run : document.GetRuns()) {
      CBOMGrid& grid = run->GetBOM();
      for (int row = 1; row < grid.GetLineCount(); ++row) {
        const std::string reference = grid.GetLine(row)->reference;
        if (!reference.starts_with("QGB")) continue;
        ++accessories;
        EXPECT_GT(TextToDouble(run->GetDevicePropByRef(reference, "HBv2_Weight").value_or("0")), 0)
            << priced.saved << ": " << reference;
      }
    }
    EXPECT_GT(accessories, 0) << priced.saved;
  }
  ForgetSampleRanges();
}

// File > New seeds the design from the model document we ship: its bill of materials
// shows at once the columns a costing user reads.
TEST(CataloguePricingEndToEndTest, ANewDesignsBillShowsTheCostingColumns) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSampleSettings(folder);
  const std::string saved = folder.Path("documents/new.run");
  const std::string shot = TestOutputPath("catalogue_new_design.png");
  std::filesystem::remove(shot);
  const std::string script = "answer - 1118\ncommand " + std::to_string(kIdFileNew) + "\nshot " +
                             shot + "\nsave " + saved + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, "1280x960x24");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
  CDorneDoc document;
  ASSERT_TRUE(document.OnOpenDocument(saved).ok);
  ASSERT_FALSE(document.GetRuns().empty());
  const CBOMGrid& grid = document.GetRuns().front()->GetBOM();
  std::vector<int> kinds;
  for (int column = 2; column < grid.GetColumnCount(); ++column)
    kinds.push_back(grid.GetColumn(column)->kind);
  const std::vector<int> expected = {kBOMKindRef,        kBOMKindDesignation, kBOMKindQuantity,
                                     kBOMKindUnitPrice,  kBOMKindTotalPrice,  kBOMKindDiscount,
                                     kBOMKindSalesPrice, kBOMKindTotalWeight, kBOMKindTotalTime};
  EXPECT_EQ(kinds, expected);
}

}  // namespace
