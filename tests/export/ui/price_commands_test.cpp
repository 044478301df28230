// Update prices and the price-list dialog of the layout window, on the QD sample.

#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cmath>

#include "app/current_language.h"
#include "app/profile.h"
#include "app/ui/command_ids.h"
#include "export/ui/layout_exports.h"
#include "export/ui/price_base_dlg.h"
#include "model/bom/bom_column_kind.h"
#include "model/bom/bom_grid.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/undo/undo_manager.h"
#include "platform/text_conversions.h"
#include "ranges/range_test_support.h"
#include "support/environment_guard.h"
#include "support/temp_folder.h"
#include "view/ui/bom_view.h"
#include "view/ui/child_frame.h"

namespace {

class PriceCommandsTest : public RangeTest {
 protected:
  void SetUp() override {
    RangeTest::SetUp();
    CRunEnvironment::Instance().SetArticleFolder(TVR_PROGRAM_DIR "/BD/");
    // The texts of the program's English file, for the screenshots.
    CLanguageSetup language;
    language.catalogueFolder = TVR_PROGRAM_DIR "/DBF/";
    CCurrentLanguage::Instance().SetSetup(language);
    CCurrentLanguage::Instance().LoadLanguage(CCurrentLanguage::kFallbackLanguage);
    // The catalogue list of the program's start-up (catalog.dbf): the runs are known.
    CRunEnvironment::Instance().SetCatalogues({{"QDA", "QD A"}, {"QDT", "QD T"}});
    m_folder.WriteFile("TVR.INI", "[Design]\nSplit=1\n");
    m_profile = std::make_unique<CProfile>(m_folder.File("TVR.INI"));
    CDocEnvironment environment;
    environment.profile = m_profile.get();
    environment.settingsFolder = m_folder.Folder();
    m_document = std::make_unique<CDorneDoc>(environment);
    ASSERT_TRUE(m_document->OnOpenDocument(TVR_PROGRAM_DIR "/examples/qd_sample.run").ok);
    m_frame = std::make_unique<CChildFrame>(*m_document, CDorneView::CContext());
    m_frame->SetErrorReporter([this](const QString& text) { m_reports.push_back(text); });
    m_frame->resize(900, 640);
    m_frame->show();
  }
  void TearDown() override {
    m_frame.reset();
    m_document.reset();
    CCurrentLanguage::Instance().Reset();
    RangeTest::TearDown();
  }
  double UnitPrice(int row = 1) const {
    return TextToDouble(m_document->GetRuns()
                            .front()
                            ->GetBOM()
                            .GetLineFieldText(row, kBOMKindUnitPrice)
                            .value_or("0"));
  }
  CPriceBaseDlg* Dialog() const { return m_frame->Exports().PriceDialog(); }
  QLineEdit* Edit(int id) const { return Dialog()->findChild<QLineEdit*>(QString::number(id)); }
  static void Save(QWidget& widget, const char* name) {
    QDir().mkpath(QStringLiteral(TVR_TEST_OUTPUT_DIR));
    widget.grab().save(QStringLiteral(TVR_TEST_OUTPUT_DIR "/") + QLatin1String(name));
  }

  CTempFolder m_folder{"price-commands"};
  std::unique_ptr<CProfile> m_profile;
  std::unique_ptr<CDorneDoc> m_document;
  std::unique_ptr<CChildFrame> m_frame;
  std::vector<QString> m_reports;
};

TEST_F(PriceCommandsTest, UpdatePricesFillsTheBillAndUndoTakesItBack) {
  CCommandState state;
  ASSERT_TRUE(m_frame->UpdateCommand(kIdUpdatePrices, state));
  EXPECT_TRUE(state.enabled);
  const double before = UnitPrice();
  ASSERT_TRUE(m_frame->OnCommand(kIdUpdatePrices));
  EXPECT_TRUE(m_reports.empty()) << m_reports.front().toStdString();
  EXPECT_GT(UnitPrice(), 0);
  EXPECT_NE(UnitPrice(), before);
  ASSERT_NE(Dialog(), nullptr);
  EXPECT_TRUE(Dialog()->isVisible());
  EXPECT_GT(TextToDouble(Edit(1007)->text().toStdString()), 0);
  Save(*Dialog(), "price_list_dialog.png");
  ASSERT_EQ(m_document->GetUndo().Undo(), 1);
  EXPECT_EQ(UnitPrice(), before);
}

// The title named an empty project in brackets ("Price list  []"); it names the price
// list the prices come from, the first by default.
TEST_F(PriceCommandsTest, TheDialogsTitleNamesThePriceList) {
  ASSERT_TRUE(m_frame->OnCommand(kIdUpdatePrices));
  ASSERT_NE(Dialog(), nullptr);
  const QString title = Dialog()->windowTitle();
  EXPECT_TRUE(title.endsWith(QStringLiteral("  [Public 2026]"))) << title.toStdString();
  EXPECT_EQ(m_document->GetDocProperty("BaseDate"), "Public 2026");
}

TEST_F(PriceCommandsTest, RateAndPercentageFollowEachOther) {
  ASSERT_TRUE(m_frame->OnCommand(kIdUpdatePrices));
  ASSERT_NE(Dialog(), nullptr);
  const std::pair<const char*, const char*> percents[] = {{"12.5", "0.875"}, {"0", "1.000"}};
  for (const auto& [percent, rate] : percents) {
    Edit(1080)->clear();
    QTest::keyClicks(Edit(1080), QString::fromLatin1(percent));
    EXPECT_EQ(Edit(1079)->text().toStdString(), rate);
    EXPECT_EQ(Edit(1080)->text().toStdString(), percent) << "no echo into the field typed";
  }
  Edit(1079)->clear();
  QTest::keyClicks(Edit(1079), QStringLiteral("0.950"));
  EXPECT_EQ(Edit(1080)->text().toStdString(), "5.0");
  Dialog()->findChild<QPushButton*>(QStringLiteral("1078"))->click();
  EXPECT_FLOAT_EQ(m_document->GetSalesCoefficient(), 0.95f);
}

TEST_F(PriceCommandsTest, ATypedWholeSaleTotalIsSpreadOverTheRuns) {
  ASSERT_TRUE(m_frame->OnCommand(kIdUpdatePrices));
  ASSERT_NE(Dialog(), nullptr);
  const double shown = TextToDouble(Edit(1007)->text().toStdString());
  const double typed = std::floor(shown * 0.8);
  Edit(1007)->setText(QString::number(typed, 'f', 0));
  Dialog()->Apply();
  EXPECT_LT(m_document->GetSalesCoefficient(), 0.85f);
  const CDorneDoc::CTotals* all = m_document->GetTotals(0);
  ASSERT_NE(all, nullptr);
  EXPECT_DOUBLE_EQ((*all)[4], typed);
  double sum = 0;
  for (int n = 1; n <= m_document->GetRunCount(); ++n) {
    const double value = (*m_document->GetTotals(n))[4];
    if (n >= 2) {
      EXPECT_EQ(value, std::floor(value)) << n;
    }
    sum += value;
  }
  EXPECT_DOUBLE_EQ(sum, typed);
  // The same total again changes nothing.
  const float rate = m_document->GetSalesCoefficient();
  Dialog()->Apply();
  EXPECT_EQ(m_document->GetSalesCoefficient(), rate);
}

TEST_F(PriceCommandsTest, TheTotalsPageSumsThePricedBill) {
  ASSERT_TRUE(m_frame->OnCommand(kIdUpdatePrices));
  Dialog()->close();
  auto* bom = dynamic_cast<CBOMView*>(m_frame->LowerPane());
  ASSERT_NE(bom, nullptr);
  CBOMGrid* totals = bom->GetFirstPage();
  ASSERT_NE(totals, nullptr);
  bom->RecomputeTotals(1, 0);
  double sum = 0;
  for (CRun* run : m_document->GetRuns()) {
    for (int row = 1; row < run->GetBOM().GetLineCount(); ++row)
      sum += TextToDouble(run->GetBOM().GetLineFieldText(row, kBOMKindTotalPrice).value_or("0"));
  }
  EXPECT_NEAR((*m_document->GetTotals(0))[0], sum, 1e-6);
  ASSERT_TRUE(bom->SelectPage(0));
  Save(*m_frame, "cost_summary.png");
}

TEST_F(PriceCommandsTest, PicturesAreProposedUnderTheRunAndViewName) {
  std::vector<std::string> proposed;
  m_frame->SetFileChooser([&](const std::string&, const std::string&, const std::string& path) {
    proposed.push_back(path);
    return QString();  // cancelled: nothing written
  });
  m_frame->SetDocumentPath("/jobs/Plant.run");
  m_document->SetCurrentRun(m_document->GetRuns().front());
  m_document->SetBomPage(1);
  m_document->SetViewPreset(8);
  const std::string run = m_document->GetRuns().front()->GetPropText("Name");
  ASSERT_TRUE(m_frame->OnCommand(kIdExportPicture));
  ASSERT_TRUE(m_frame->OnCommand(kIdExportDxf));
  m_document->SetBomPage(0);
  ASSERT_TRUE(m_frame->OnCommand(kIdExportPicture));
  const std::vector<std::string> expected = {"/jobs/Plant - " + run + " - top.jpg",
                                             "/jobs/Plant - " + run + ".dxf",
                                             "/jobs/Plant - Total - top.jpg"};
  EXPECT_EQ(proposed, expected);
}

TEST_F(PriceCommandsTest, ThePartNumberToolsArticlesJoinTheCurrentRunAsOneStep) {
  // The stand-in is found along PATH and reads its choice from the file named here.
  CEnvironmentGuard environment({"PATH", "TVR_PARTNUM_PICKS"});
  environment.Set("PATH", std::string(TVR_PROGRAM_DIR) + ":" + std::getenv("PATH"));
  environment.Set("TVR_PARTNUM_PICKS", m_folder.WriteFile("picks.txt", "QDA40ED430;4\n"));
  CRun& run = *m_document->GetCurrentRun();
  ASSERT_LT(run.GetBOM().FindLine("QDA40ED430"), 1);
  ASSERT_TRUE(m_frame->OnCommand(kIdImportPartNumbers));
  EXPECT_TRUE(m_reports.empty()) << m_reports.front().toStdString();
  const int row = m_document->GetCurrentRun()->GetBOM().FindLine("QDA40ED430");
  ASSERT_GT(row, 0);
  EXPECT_EQ(m_document->GetCurrentRun()->GetBOM().GetLineQuantity(row), 4);
  ASSERT_EQ(m_document->GetUndo().Undo(), 1);
  EXPECT_LT(m_document->GetCurrentRun()->GetBOM().FindLine("QDA40ED430"), 1);
}

TEST_F(PriceCommandsTest, AMissingPartNumberToolIsToldAndChangesNothing) {
  CEnvironmentGuard environment({"PATH"});
  environment.Set("PATH", "/nonexistent");
  const int lines = m_document->GetCurrentRun()->GetBOM().GetLineCount();
  ASSERT_TRUE(m_frame->OnCommand(kIdImportPartNumbers));
  EXPECT_EQ(m_reports.size(), 1u);
  EXPECT_EQ(m_document->GetCurrentRun()->GetBOM().GetLineCount(), lines);
}

}  // namespace
