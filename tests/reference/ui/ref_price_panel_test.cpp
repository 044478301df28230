#include "reference/ui/ref_price_panel.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <filesystem>

#include "app/message_box_codes.h"
#include "app/profile.h"
#include "app/ui/window_translation.h"
#include "reference/ui/ref_config_dlg.h"
#include "reference/ui/ref_core.h"
#include "reference/ui/ref_line_area.h"
#include "reference/ui/ref_wnd.h"
#include "ref_ui_test_support.h"

namespace {

constexpr int kRowQDA = 2;

// A window with one priced QDA line, its article table a copy the test may change.
class RefPricePanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string articles = setup.common.folder.Folder() + "bd/";
    std::filesystem::create_directories(articles);
    std::filesystem::copy_file(std::string(TVR_PROGRAM_DIR) + "/BD/ARTICLE.DBU",
                               articles + "ARTICLE.DBU");
    setup.environment.common.folders.article = articles;
    setup.environment.catalogueSetup.articleFolder = articles;
    window = std::make_unique<CRefWnd>(setup.environment);
    ASSERT_TRUE(window->CheckConfig());
    window->resize(1280, 820);
    window->show();
    ProcessEvents();
    ASSERT_EQ(AddRefLine(*window, 2, 3, 63, 30, 0, QStringLiteral("Workshop")), 1);
    window->SetModifiedFlag(false);
  }
  CRefPricePanel* OpenPanel() {
    CRefConfigDlg& dialog = window->Dialog();
    dialog.SelectCode(kRefCodeProject);
    if (!dialog.ShowTabPage(1)) return nullptr;
    return qobject_cast<CRefPricePanel*>(dialog.Panel());
  }
  CRefLine& Line() { return window->Project().lines[1]; }

  CRefTestSetup setup;
  std::unique_ptr<CRefWnd> window;
};

TEST_F(RefPricePanelTest, ADiscountAppliedRepricesTheLines) {
  const std::int64_t before = RefRecordAmount(window->Project(), 1);
  ASSERT_GT(before, 0);
  CRefPricePanel* panel = OpenPanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->RowShown(kRowQDA));
  EXPECT_EQ(panel->CoefEdit(kRowQDA)->text(), QStringLiteral("1"));
  EXPECT_EQ(panel->DiscountEdit(kRowQDA)->text(), QStringLiteral("0"));
  panel->DiscountEdit(kRowQDA)->setText(QStringLiteral("25"));
  panel->SyncDiscountAndCoef(kRowQDA, true);
  EXPECT_EQ(panel->CoefEdit(kRowQDA)->text(), QStringLiteral("0.75"));
  EXPECT_TRUE(SaveScreenshot(*window, QStringLiteral("reference_price_panel")));
  EXPECT_TRUE(panel->OnApply());
  ProcessEvents();
  EXPECT_EQ(window->Dialog().Panel(), nullptr);
  EXPECT_EQ(window->Project().priceSettings.productCoefs[kRefProductQDA][0], 0.75);
  // Each unit price is truncated after the coefficient, so the amount lies within a
  // hundredth per item of three quarters of the old one.
  const std::int64_t after = RefRecordAmount(window->Project(), 1);
  EXPECT_NEAR(static_cast<double>(after), before * 0.75,
              static_cast<double>(Line().Items().size()));
  EXPECT_TRUE(window->IsModified());
  // The project's total names all its lines, not the caption of the tree's root.
  window->Dialog().SelectCode(kRefCodeProject);
  ASSERT_TRUE(window->Dialog().ShowTabPage(2));
  EXPECT_EQ(window->Dialog().LineArea().CellText(kRefReportSelectionTotal, 4),
            QStringLiteral("Total for all lines"));
}

TEST_F(RefPricePanelTest, CloseAndAnUnchangedApplyLeaveTheProjectAlone) {
  CRefPricePanel* panel = OpenPanel();
  ASSERT_NE(panel, nullptr);
  panel->DiscountEdit(kRowQDA)->setText(QStringLiteral("50"));
  panel->SyncDiscountAndCoef(kRowQDA, true);
  panel->OnClose();
  ProcessEvents();
  EXPECT_EQ(window->Project().priceSettings.productCoefs[kRefProductQDA][0], 1.0);
  panel = OpenPanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_FALSE(panel->OnApply());
  ProcessEvents();
  EXPECT_FALSE(window->IsModified());
}

TEST_F(RefPricePanelTest, CoefficientsOutOfRangeAreRefused) {
  CRefPricePanel* panel = OpenPanel();
  ASSERT_NE(panel, nullptr);
  for (const char* text : {"2.5", "-0.1", "abc", "", "nan", "inf"}) {
    SCOPED_TRACE(text);
    panel->CoefEdit(kRowQDA)->setText(QString::fromLatin1(text));
    EXPECT_FALSE(panel->OnApply());
    EXPECT_EQ(window->Dialog().Panel(), panel);  // the panel stays for the user to mend
  }
  EXPECT_EQ(window->Project().priceSettings.productCoefs[kRefProductQDA][0], 1.0);
}

TEST_F(RefPricePanelTest, SaveAsDefaultsWritesTheSettings) {
  CRefPricePanel* panel = OpenPanel();
  ASSERT_NE(panel, nullptr);
  panel->CoefEdit(kRowQDA)->setText(QStringLiteral("0.8"));
  panel->MoEdit()->setText(QStringLiteral("45"));
  setup.common.dialogs.answers = {kIdCancel};
  EXPECT_FALSE(panel->SaveAsDefaults());
  EXPECT_EQ(setup.common.profile->ReadProfileText("Ref", "QDA", "none"), "none");
  EXPECT_TRUE(panel->SaveAsDefaults());
  EXPECT_EQ(setup.common.profile->ReadProfileText("Ref", "QDA", "none"), "0.800000");
  // The rate typed 45 is kept in hundredths, as the comparison types and costs it.
  EXPECT_EQ(setup.common.profile->ReadProfileText("Comp", "MO", "none"), "4500");
  EXPECT_EQ(setup.common.profile->ReadProfileText("Ref", "RefGrp", "none"), "0");
  // The project keeps its values until Apply.
  EXPECT_EQ(window->Project().priceSettings.productCoefs[kRefProductQDA][0], 1.0);
}

TEST_F(RefPricePanelTest, TheCurrencyFollowsTheChosenListBeforeApply) {
  CRefPricePanel* panel = OpenPanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->CurrencyLabel()->text(), QStringLiteral("EUR"));
  const struct {
    int list;
    const char* currency;
  } cases[] = {{2, "GBP"}, {3, "USD"}, {0, "EUR"}, {2, "GBP"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.list);
    const int index = panel->PriceListCombo()->findData(c.list);
    ASSERT_GE(index, 0);
    panel->PriceListCombo()->setCurrentIndex(index);
    emit panel->PriceListCombo()->activated(index);
    EXPECT_EQ(panel->CurrencyLabel()->text(), QString::fromLatin1(c.currency));
  }
  // The project's prices follow only on Apply.
  EXPECT_EQ(window->Project().priceSettings.currency, "EUR");
  EXPECT_TRUE(panel->OnApply());
  ProcessEvents();
  EXPECT_EQ(window->Project().priceSettings.priceList, 2);
  EXPECT_EQ(window->Project().priceSettings.currency, "GBP");
}

TEST_F(RefPricePanelTest, SpecialModeTwoCaptionsTheLightingRowsAsLightingBusbars) {
  constexpr int kRowQYB = 3, kRowQYA = 4, kProductQYA = 1;
  const struct {
    int mode;
    int qyaCalMax;
    bool qyaCaption;
    bool qybCaption;
  } cases[] = {
      {0, 40, false, false},  // the product codes
      {2, 40, true, true},    //
      {2, 24, false, true},   // a row not shown keeps no caption either
      {1, 40, false, false},  //
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " QYA " << c.qyaCalMax);
    CRefConfig& config = window->Dialog().MutableConfig();
    config.SetSpecialMode(c.mode);
    config.Product(kProductQYA).optionSlots[8] = c.qyaCalMax;
    CRefPricePanel* panel = OpenPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->LightingCaption(kRowQYA)->isVisibleTo(panel), c.qyaCaption);
    EXPECT_EQ(panel->LightingCaption(kRowQYB)->isVisibleTo(panel), c.qybCaption);
    EXPECT_EQ(panel->RowLabel(kRowQYB)->isVisibleTo(panel), !c.qybCaption);
    EXPECT_EQ(panel->RowLabel(kRowQYA)->isVisibleTo(panel), c.qyaCalMax >= 25 && !c.qyaCaption);
    EXPECT_EQ(panel->LightingCaption(kRowQYA)->text(), StringQText(32063));
    EXPECT_EQ(panel->LightingCaption(kRowQYB)->text(), StringQText(32231));
    if (c.mode == 2 && c.qyaCaption) {
      EXPECT_TRUE(SaveScreenshot(*window, QStringLiteral("reference_price_panel_special")));
    }
    panel->OnClose();
    ProcessEvents();
  }
}

TEST_F(RefPricePanelTest, ANewProjectPricesWithTheSavedDefaults) {
  const std::int64_t before = RefRecordAmount(window->Project(), 1);
  ASSERT_GT(before, 0);
  CRefPricePanel* panel = OpenPanel();
  ASSERT_NE(panel, nullptr);
  panel->CoefEdit(kRowQDA)->setText(QStringLiteral("0.8"));
  ASSERT_TRUE(panel->SaveAsDefaults());
  panel->OnClose();
  ProcessEvents();
  CRefWnd next(setup.environment);
  ASSERT_TRUE(next.CheckConfig());
  next.resize(1280, 820);
  next.show();
  ProcessEvents();
  EXPECT_EQ(next.Project().priceSettings.productCoefs[kRefProductQDA][0], 0.8);
  EXPECT_EQ(next.Project().priceSettings.productCoefs[kRefProductQDA][14], 0.8);
  EXPECT_EQ(next.Project().priceSettings.productCoefs[kRefProductQFP][0], 1.0);
  ASSERT_EQ(AddRefLine(next, 2, 3, 63, 30, 0, QStringLiteral("Workshop")), 1);
  EXPECT_NEAR(static_cast<double>(RefRecordAmount(next.Project(), 1)), before * 0.8,
              static_cast<double>(next.Project().lines[1].Items().size()));
  next.Dialog().SelectCode(kRefCodeProject);
  ASSERT_TRUE(next.Dialog().ShowTabPage(1));
  auto* nextPanel = qobject_cast<CRefPricePanel*>(next.Dialog().Panel());
  ASSERT_NE(nextPanel, nullptr);
  EXPECT_EQ(nextPanel->CoefEdit(kRowQDA)->text(), QStringLiteral("0.8"));
  EXPECT_EQ(nextPanel->DiscountEdit(kRowQDA)->text(), QStringLiteral("20"));
}

// An opened project brings its coefficients: the configurator (whose line page shows
// the line's coefficient) holds those its prices are made with, not the saved default.
// Whatever discount the panel takes, the project saved with it reads back with it: a
// discount of 99.99 % gives a coefficient below 0.0001.
TEST_F(RefPricePanelTest, AnOpenedProjectShowsItsOwnCoefficients) {
  for (const char* discount : {"25", "99.99"}) {
    SCOPED_TRACE(discount);
    CRefPricePanel* panel = OpenPanel();
    ASSERT_NE(panel, nullptr);
    panel->DiscountEdit(kRowQDA)->setText(QString::fromLatin1(discount));
    panel->SyncDiscountAndCoef(kRowQDA, true);
    ASSERT_TRUE(panel->OnApply());
    ProcessEvents();
    const double applied = window->Project().priceSettings.productCoefs[kRefProductQDA][0];
    EXPECT_NEAR(applied, 1.0 - std::stod(discount) * 0.01, 1e-12);
    const std::string path = setup.common.folder.Folder() + "discounted.ref";
    std::string error;
    ASSERT_TRUE(window->SaveToFile(path, error)) << error;
    CRefWnd opened(setup.environment);
    ASSERT_TRUE(opened.CheckConfig());
    ASSERT_TRUE(opened.LoadFile(QString::fromStdString(path)));
    opened.resize(1280, 820);
    opened.show();
    ProcessEvents();
    EXPECT_EQ(opened.Project().priceSettings.productCoefs[kRefProductQDA][0], applied);
    EXPECT_EQ(opened.Dialog().Config().Coefficient(kRefProductQDA), applied);
    EXPECT_EQ(opened.Dialog().Config().Coefficient(kRefProductQFP), 1.0);
    EXPECT_EQ(RefRecordAmount(opened.Project(), 1), RefRecordAmount(window->Project(), 1));
  }
}

TEST_F(RefPricePanelTest, ImportedPricesShowInTheLines) {
  ASSERT_FALSE(Line().Items().empty());
  const CRefItemNode item = Line().Items().front();
  const std::string reference = item.reference.substr(0, item.reference.find('\n'));
  const std::string file =
      setup.common.folder.WriteFile("prices.csv", reference + ";1234,5\r\nno separator\r\n");
  CRefPricePanel* panel = OpenPanel();
  ASSERT_NE(panel, nullptr);
  setup.common.dialogs.filesToOpen = {QString::fromStdString(file)};
  EXPECT_TRUE(panel->OnImport());
  EXPECT_TRUE(setup.common.dialogs.messages.join(QChar(10)).contains(QStringLiteral("line 2")))
      << setup.common.dialogs.messages.join(QChar(10)).toStdString();
  panel->OnClose();  // an import reprices the lines even when nothing else changed
  ProcessEvents();
  EXPECT_EQ(Line().Items().front().unitPrice, 12345000);
  // A failed import changes nothing: the file names no article.
  panel = OpenPanel();
  ASSERT_NE(panel, nullptr);
  setup.common.dialogs.filesToOpen = {
      QString::fromStdString(setup.common.folder.WriteFile("none.csv", "QNOTHERE;5\r\n"))};
  EXPECT_FALSE(panel->OnImport());
  panel->OnClose();
  ProcessEvents();
  EXPECT_EQ(Line().Items().front().unitPrice, 12345000);
}

}  // namespace

namespace {

// With "UseTC" on, the rows list the local articles of the article table.
TEST(RefPricePanelArticlesTest, TheLocalArticlesAreListedReadOnly) {
  CRefTestSetup setup;
  setup.common.folder.WriteFile(
      "TVR.INI", setup.common.folder.ReadFile("TVR.INI") + "[Database]\nUseTC=1\nLANG_DESIGN=UK\n");
  CRefWnd window(setup.environment);
  ASSERT_TRUE(window.CheckConfig());
  window.resize(1280, 820);
  window.show();
  window.Dialog().SelectCode(kRefCodeProject);
  ASSERT_TRUE(window.Dialog().ShowTabPage(1));
  auto* panel = qobject_cast<CRefPricePanel*>(window.Dialog().Panel());
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(panel->IsUserArticleMode());
  EXPECT_EQ(panel->RowLabel(1)->text(), "REMISE_QD");
  EXPECT_EQ(panel->RowDescription(1)->text(), "QD family discount");
  EXPECT_EQ(panel->CoefEdit(1)->text(), "0.9");
  EXPECT_EQ(panel->DiscountEdit(1)->text(), "10");
  EXPECT_TRUE(panel->CoefEdit(1)->isReadOnly());
  EXPECT_FALSE(panel->CoefEdit(0)->isVisibleTo(panel));
  // Six local articles fill the six rows: nothing to scroll.
  EXPECT_EQ(panel->RowLabel(6)->text(), "REMISE_QW");
  EXPECT_FALSE(panel->ArticleScroll()->isEnabled());
  // Each of the six list rows is whole, also those of products the options leave out.
  int percents = 0;
  for (const QLabel* label : panel->findChildren<QLabel*>())
    percents += label->text() == QStringLiteral("%") && label->isVisibleTo(panel) ? 1 : 0;
  EXPECT_EQ(percents, 6);
  EXPECT_TRUE(SaveScreenshot(window, QStringLiteral("reference_price_panel_articles")));
  // Applying keeps the product coefficients the articles stand over.
  const auto coefs = window.Project().priceSettings.productCoefs;
  panel->OnApply();
  ProcessEvents();
  EXPECT_EQ(window.Project().priceSettings.productCoefs, coefs);
}

}  // namespace
