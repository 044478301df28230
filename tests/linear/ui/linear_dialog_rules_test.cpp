#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <filesystem>

#include "app/message_text.h"
#include "app/price_lists.h"
#include "app/ui/window_translation.h"
#include "linear/linear_products.h"
#include "linear/ui/linear_dlg.h"
#include "linear/local_articles.h"
#include "linear/ui/linear_line_editor.h"
#include "linear/ui/linear_price_dlg.h"
#include "linear/ui/linear_wnd.h"
#include "linear_ui_test_support.h"

namespace {

class LinearHeaderTest : public testing::Test {
 protected:
  void SetUp() override {
    // The sample settings offer no lighting group: give it one.
    setup.folder.WriteFile("lin_conf.cfg",
                           setup.folder.ReadFile("lin_conf.cfg") + "\n[3]\nQYA=1\nQYB=2\n");
    window.resize(1000, 700);
    ASSERT_TRUE(window.CheckConfig());
    window.show();
  }
  CLinearDlg& Dialog() { return window.Dialog(); }
  CLinearLineEditor& Editor() { return window.Dialog().Editor(); }
  QPushButton* NewLineButton() {
    return window.findChild<QPushButton*>(QStringLiteral("linear_new_line"));
  }

  CLinearTestSetup setup;
  CLinearWnd window{setup.environment};
};

TEST_F(LinearHeaderTest, TheNewLineButtonOpensALineInTheSelectedGroup) {
  ASSERT_NE(NewLineButton(), nullptr);
  Dialog().SelectItem(-1);
  EXPECT_FALSE(NewLineButton()->isEnabled());
  Dialog().SelectItem(CLinearDlg::kPriceItem);
  EXPECT_FALSE(NewLineButton()->isEnabled());
  Dialog().SelectItem(-1000);
  ASSERT_TRUE(NewLineButton()->isEnabled());
  NewLineButton()->click();
  EXPECT_EQ(Dialog().ViewMode(), CLinearDlg::kViewEditor);
  EXPECT_EQ(window.Project().lines.Working().Group, 0);
  // While a line is edited no other one may be started.
  EXPECT_FALSE(NewLineButton()->isEnabled());
}

// The note beside the product combo follows the code of the chosen entry.
TEST_F(LinearHeaderTest, TheProductNoteFollowsTheChosenProduct) {
  int checked = 0;
  for (int group = 0; group < kLinearGroupCount; ++group) {
    if (!Dialog().NewLine(group)) continue;
    Editor().AmpereEdit()->setText(QStringLiteral("1"));
    Editor().RefillProducts();
    QComboBox* products = Editor().ProductCombo();
    for (int i = 0; i < products->count(); ++i) {
      products->setCurrentIndex(i);
      const QString code = products->currentText().left(3);
      SCOPED_TRACE(code.toStdString());
      QString expected;
      if (QStringList{"QMA", "QMC", "QDA", "QPA", "QPC"}.contains(code))
        expected = StringQText(31140);
      else if (code == QLatin1String("QYX")) expected = StringQText(32282);
      EXPECT_EQ(Editor().ProductNote()->text(), expected);
      EXPECT_EQ(Editor().ProductNote()->isVisibleTo(&Editor()), !expected.isEmpty());
      ++checked;
    }
    Dialog().AbandonEdit();
  }
  EXPECT_GT(checked, 3);
}

// Typing a current refills the product list and chooses its first entry, whose note
// then shows: the list never stands without a choice while it has entries.
TEST_F(LinearHeaderTest, ARefilledProductListChoosesItsFirstEntry) {
  int checked = 0;
  for (int group = 0; group < kLinearGroupCount; ++group) {
    if (!Dialog().NewLine(group)) continue;
    for (const char* current : {"1", "100", "400", "1000", "99999"}) {
      SCOPED_TRACE(testing::Message() << "group " << group << " current " << current);
      Editor().AmpereEdit()->setText(QString::fromLatin1(current));
      emit Editor().AmpereEdit()->textEdited(Editor().AmpereEdit()->text());
      QComboBox* products = Editor().ProductCombo();
      EXPECT_EQ(products->currentIndex(), products->count() > 0 ? 0 : -1);
      EXPECT_EQ(products->isEnabled(), products->count() > 0);
      if (products->count() == 0) continue;
      const QString code = products->itemText(0).left(3);
      const bool noted = QStringList{"QMA", "QMC", "QDA", "QPA", "QPC", "QYX"}.contains(code);
      EXPECT_EQ(Editor().ProductNote()->isVisibleTo(&Editor()), noted) << code.toStdString();
      ++checked;
    }
    Dialog().AbandonEdit();
  }
  EXPECT_GT(checked, 5);
}

TEST_F(LinearHeaderTest, TheLightingChoiceEmptiesTheTapOffBoxesWhenItChanges) {
  ASSERT_TRUE(Dialog().NewLine(3));
  CLinearLine& line = window.Project().lines.Working();
  Editor().AmpereEdit()->setText(QStringLiteral("1"));
  Editor().RefillProducts();
  QComboBox* products = Editor().ProductCombo();
  int qy = -1;
  for (int i = 0; i < products->count() && qy < 0; ++i)
    if (IsQyProduct(products->itemData(i).toInt())) qy = i;
  ASSERT_GE(qy, 0);
  products->setCurrentIndex(qy);
  Editor().QyChoiceCombo()->setCurrentIndex(1);
  ASSERT_TRUE(Editor().ApplyLineHeader());
  EXPECT_LE(line.Slots[125], 0);
  line.Slots[40] = 3;
  Editor().ShowHeaderPage();
  ASSERT_TRUE(Editor().ApplyLineHeader());  // the same choice keeps the boxes
  EXPECT_EQ(line.Slots[40], 3);
  Editor().ShowHeaderPage();
  Editor().QyChoiceCombo()->setCurrentIndex(0);
  ASSERT_TRUE(Editor().ApplyLineHeader());
  EXPECT_EQ(line.Slots[125], 1);
  EXPECT_EQ(line.Slots[40], -1);
}

// The options sheet reports changed price lists; the window reads their names again.
TEST(LinearOptionsTest, ChangedPriceListNamesAreReadAgain) {
  CLinearTestSetup setup;
  const std::string articles = setup.folder.File("BD/");
  std::filesystem::create_directories(articles);
  for (const auto& entry : std::filesystem::directory_iterator(setup.environment.folders.article))
    std::filesystem::copy_file(entry.path(), articles + entry.path().filename().string());
  setup.environment.folders.article = articles;
  CLinearWnd window(setup.environment);
  ASSERT_TRUE(window.CheckConfig());
  std::array<std::string, 2 * kPriceListCount> names{};
  names[0] = "Export 2027";
  std::array<int, kPriceListCount> numbers{};
  numbers[0] = 1;
  ASSERT_TRUE(SavePriceListNames(articles, names, numbers, false).saved);
  EXPECT_NE(window.Dialog().PriceListName(0), "Export 2027");
  window.OptionsChanged(0);
  EXPECT_NE(window.Dialog().PriceListName(0), "Export 2027");
  window.OptionsChanged(1);
  EXPECT_EQ(window.Dialog().PriceListName(0), "Export 2027");
}

// With "UseTC" on, the price panel lists the local articles of the article table.
TEST(LinearArticleViewTest, TheLocalArticlesAreListedReadOnly) {
  CLinearTestSetup setup;
  setup.folder.WriteFile(
      "TVR.INI", setup.folder.ReadFile("TVR.INI") + "[Database]\nUseTC=1\nLANG_DESIGN=UK\n");
  CLinearWnd window(setup.environment);
  ASSERT_TRUE(window.CheckConfig());
  window.show();
  window.Dialog().SelectItem(CLinearDlg::kPriceItem);
  window.Dialog().ShowEditPanel(true, 0);
  auto* panel = qobject_cast<CLinearPriceDlg*>(window.Dialog().Panel());
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(panel->IsArticleView());
  const int first = CLinearPriceDlg::kFirstArticleRow;
  EXPECT_EQ(panel->RowLabel(first)->text(), "REMISE_QD");
  EXPECT_EQ(panel->ArticleDescription(0)->text(), "QD family discount");
  EXPECT_EQ(panel->CoefEdit(first)->text(), "0.9");
  EXPECT_TRUE(panel->CoefEdit(first)->isReadOnly());
  EXPECT_TRUE(panel->DiscountEdit(first)->text().isEmpty());
  EXPECT_FALSE(panel->CoefEdit(CLinearPriceDlg::kRowQM)->isVisibleTo(panel));
  // Six local articles fill the six rows: nothing to scroll.
  EXPECT_EQ(panel->RowLabel(first + 5)->text(), "REMISE_QW");
  EXPECT_FALSE(panel->ArticleScroll()->isEnabled());
  window.resize(1280, 820);
  EXPECT_TRUE(SaveScreenshot(window, QStringLiteral("linear_price_panel_articles")));
  // Applying keeps the range coefficients the articles stand over.
  const auto coefs = window.Project().settings.saleCoefs;
  ASSERT_TRUE(panel->OnApply());
  EXPECT_EQ(window.Project().settings.saleCoefs, coefs);
}

TEST(LocalArticleValueTest, ThePriceIsCutAfterTwoDecimalsAndDividedByAHundred) {
  const std::pair<const char*, double> cases[] = {
      {"85.00", 0.85}, {"12.345", 0.1234}, {"7", 0.07},  {"  82.5", 0.825},
      {"3,5", 0.035},  {"", 0.0},          {"abc", 0.0}, {"-12.50", -0.125}};
  for (const auto& [text, value] : cases) {
    SCOPED_TRACE(text);
    EXPECT_NEAR(LocalArticleValue(text), value, 1e-12);
  }
  EXPECT_EQ(LocalDesignField("UK"), 2);
  EXPECT_EQ(LocalDesignField("OPTION"), 3);
  EXPECT_EQ(LocalDesignField("FR"), 1);
}

}  // namespace
