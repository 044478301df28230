// The comparison of a QYA line's installation solutions and its complementary items,
// on the sample tables: the totals, the chart and detail, applying the cable price and
// the labour rate, printing to PDF, editing the items, and the offer on validation.
#include "reference/ui/ref_comparison_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>

#include <filesystem>

#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "reference/ui/ref_compl_dlg.h"
#include "reference/ui/ref_config_dlg.h"
#include "reference/ui/ref_line_page_view.h"
#include "reference/ui/ref_wnd.h"
#include "ref_ui_test_support.h"
#include "support/command_output.h"

namespace {

// Takes the URLs the desktop would open.
class CUrlCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> urls;

 public slots:
  void Open(const QUrl& url) { urls << url; }
};

CRefCompSetup SampleSetup(const CRefEnvironment& environment) {
  CRefCompSetup setup;
  setup.input.productCode = "QYA";
  setup.input.conductorText = "L+N+PE";
  setup.input.figures.length = 30, setup.input.figures.tapOffs = 6;
  setup.input.figures.lamps = 6, setup.input.figures.lampFix = 2;
  setup.input.figures.stepCm = 300;
  setup.input.priceListName = "Tarif public 2026";
  setup.input.priceListCaption = "EUR";
  setup.input.labourRate = 4000;
  setup.catalogue = environment.catalogueSetup;
  setup.decimal = ',';
  return setup;
}

class RefComparisonDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(setup.common.profile->WriteProfileText("Comp", "IT01", "125,00;5"));
    ASSERT_TRUE(setup.common.profile->WriteProfileText("Comp", "IT07", "200,00;25"));
  }
  std::unique_ptr<CSolutionCompareDlg> Open() {
    auto dialog = std::make_unique<CSolutionCompareDlg>(SampleSetup(setup.environment),
                                                        setup.environment.common);
    dialog->resize(900, 640);
    dialog->show();
    ProcessEvents();
    return dialog;
  }
  template <typename Widget>
  static Widget* Child(QWidget& dialog, const char* id) {
    return dialog.findChild<Widget*>(QLatin1String(id));
  }
  std::string Setting(const char* key) const {
    return setup.common.profile->ReadProfileText("Comp", key, "none");
  }

  CRefTestSetup setup;
};

TEST_F(RefComparisonDlgTest, ShowsTheSolutionsTheirChartAndTheDetailOfOne) {
  const auto dialog = Open();
  auto* combo = Child<QComboBox>(*dialog, "1059");
  ASSERT_NE(combo, nullptr);
  QStringList entries;
  for (int i = 0; i < combo->count(); ++i) entries << combo->itemText(i);
  EXPECT_EQ(entries, (QStringList{"All solutions", "Solution 1", "Solution 2", "Solution 3"}));
  EXPECT_EQ(Child<QLabel>(*dialog, "1376")->text(), "Additional item 1");
  EXPECT_EQ(Child<QLineEdit>(*dialog, "1175")->text(), "1,25");
  EXPECT_EQ(Child<QLineEdit>(*dialog, "1351")->text(), "40,00");
  EXPECT_EQ(Child<QLabel>(*dialog, "1147")->text(), "QYA");
  EXPECT_EQ(Child<QLabel>(*dialog, "1294")->text(), "1");
  EXPECT_EQ(dialog->Comparison().solutions[2].Sum(), 39783);
  EXPECT_EQ(dialog->SelectedSolution(), -1);
  EXPECT_TRUE(SaveScreenshot(*dialog, QStringLiteral("comparison")));
  combo->setCurrentIndex(3);
  EXPECT_EQ(dialog->SelectedSolution(), 3);
  EXPECT_TRUE(SaveScreenshot(*dialog, QStringLiteral("comparison_detail")));
}

// Whether a rectangle of a picture holds a pixel of that colour.
bool Holds(const QImage& picture, const QRect& area, const QColor& colour) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (picture.pixelColor(x, y) == colour) return true;
  return false;
}

TEST_F(RefComparisonDlgTest, TheChartKeysItsBarColoursAndNamesItsBars) {
  const auto dialog = Open();
  QWidget* chart = dialog->findChild<QWidget*>(QStringLiteral("1372"));
  ASSERT_NE(chart, nullptr);
  const QImage picture = chart->grab().toImage();
  const int w = chart->width() / 10, h = std::max(chart->height() / 18, 16);
  const QRect labourLabel(8, 8 + 2 * h, 2 * w, h), materialLabel(8, 8 + 3 * h, 2 * w, h);
  const QColor labour(64, 0, 255), material(128, 0, 128);
  EXPECT_TRUE(Holds(picture, labourLabel, labour));
  EXPECT_TRUE(Holds(picture, materialLabel, material));
  EXPECT_FALSE(Holds(picture, labourLabel, material));
  // Under the bars, a row of names: dark text pixels in the band below the axis.
  const QRect names(8 + 2 * w, chart->height() - 8 - 2 * h, 3 * w, 2 * h);
  bool text = false;
  for (int y = names.top(); y <= names.bottom() && !text; ++y)
    for (int x = names.left(); x <= names.right() && !text; ++x)
      text = picture.pixelColor(x, y).lightness() < 100;
  EXPECT_TRUE(text);
  SaveScreenshot(*chart, QStringLiteral("comparison_chart_key"));
}

TEST_F(RefComparisonDlgTest, ThePriceListTextsComeFromTheArticleTableWhenNotGiven) {
  CRefCompSetup compSetup = SampleSetup(setup.environment);
  compSetup.input.priceList = 2;
  compSetup.input.priceListName.clear();
  compSetup.input.priceListCaption.clear();
  CSolutionCompareDlg dialog(compSetup, setup.environment.common);
  EXPECT_EQ(Child<QLabel>(dialog, "1293")->text(), "UK 2026");
  EXPECT_EQ(Child<QLabel>(dialog, "1295")->text(), "GBP");
  EXPECT_EQ(dialog.Comparison().items[4].price, 67100);  // list 3: 7.80 x 0.86
}

TEST_F(RefComparisonDlgTest, ApplyingStoresTheCablePriceAndTheLabourRate) {
  const auto dialog = Open();
  Child<QLineEdit>(*dialog, "1175")->setText(QStringLiteral("1,5"));
  Child<QLineEdit>(*dialog, "1351")->setText(QStringLiteral("42,5"));
  EXPECT_TRUE(dialog->OnApply());
  EXPECT_EQ(Setting("IT01"), "150,00;5");
  EXPECT_EQ(Setting("MO"), "4250");
  EXPECT_EQ(Child<QLineEdit>(*dialog, "1351")->text(), "42,50");
  EXPECT_EQ(dialog->Comparison().solutions[1].material, 1500 + 4620 + 3720);
  EXPECT_EQ(dialog->Comparison().solutions[1].labour, 8330);  // 1.96 h x 42.50
  EXPECT_TRUE(setup.common.dialogs.messages.isEmpty());
}

TEST_F(RefComparisonDlgTest, ANegativeCablePriceIsRefusedAndNothingIsWritten) {
  const struct {
    const char* price;
    const char* rate;
    const char* message;
  } cases[] = {{"-2,5", "40", "A price cannot be negative"},
               {"abc", "40", "must be numbers"},
               {"2", "x", "must be numbers"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.price);
    setup.common.dialogs.messages.clear();
    const auto dialog = Open();
    Child<QLineEdit>(*dialog, "1175")->setText(QString::fromLatin1(c.price));
    Child<QLineEdit>(*dialog, "1351")->setText(QString::fromLatin1(c.rate));
    EXPECT_FALSE(dialog->OnApply());
    ASSERT_EQ(setup.common.dialogs.messages.size(), 1);
    EXPECT_TRUE(setup.common.dialogs.messages[0].contains(QLatin1String(c.message)))
        << setup.common.dialogs.messages[0].toStdString();
    EXPECT_EQ(Setting("IT01"), "125,00;5");
    EXPECT_EQ(Setting("MO"), "none");
    EXPECT_EQ(Child<QLineEdit>(*dialog, "1175")->text(), "1,25");  // restored
  }
}

TEST_F(RefComparisonDlgTest, PrintingWritesThePictureToAPdfThatReadsBack) {
  if (!std::filesystem::exists("/usr/bin/pdftotext")) GTEST_SKIP() << "pdftotext is missing";
  const auto dialog = Open();
  const QString path = QStringLiteral(TVR_TEST_OUTPUT_DIR "/comparison.pdf");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  ASSERT_TRUE(dialog->PrintTo(printer));
  const std::string text =
      CommandOutput("/usr/bin/pdftotext -layout '" + path.toStdString() + "' -");
  for (const char* part : {"Solution 2", "397,83", "+128%", "Additional item 1", "Sale price"})
    EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
}

// Answers the next print dialog: records whether it offers printing to a file (where the
// PDF printer is), then prints to the given file.
void AnswerPrintDialogWith(const QString& pdf, bool& offersFile, bool& seen) {
  QTimer::singleShot(50, [pdf, &offersFile, &seen] {
    auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    seen = true;
    offersFile = dialog->testOption(QAbstractPrintDialog::PrintToFile);
    dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
    dialog->printer()->setOutputFileName(pdf);
    dialog->done(QDialog::Accepted);
  });
}

TEST_F(RefComparisonDlgTest, ThePrintDialogOffersThePdfPrinterAndAFailureIsToldTranslated) {
  const auto dialog = Open();
  const struct {
    const char* name;
    QString pdf;
    bool fails;
  } cases[] = {
      {"a PDF file that can be written", QStringLiteral(TVR_TEST_OUTPUT_DIR "/comparison_dlg.pdf"),
       false},
      {"a PDF file in a folder that does not exist", QStringLiteral("/nonexistent/folder/x.pdf"),
       true},
  };
  for (const auto& c : cases) {
    setup.common.dialogs.messages.clear();
    bool offersFile = false, seen = false;
    AnswerPrintDialogWith(c.pdf, offersFile, seen);
    dialog->OnPrint();
    EXPECT_TRUE(seen) << c.name;
    EXPECT_TRUE(offersFile) << c.name;
    if (!c.fails) {
      EXPECT_TRUE(setup.common.dialogs.messages.isEmpty()) << c.name;
      EXPECT_GT(std::filesystem::file_size(c.pdf.toStdString()), 0u) << c.name;
      continue;
    }
    ASSERT_EQ(setup.common.dialogs.messages.size(), 1) << c.name;
    EXPECT_EQ(setup.common.dialogs.messages[0].toStdString(), StringText(62352)) << c.name;
  }
}

TEST_F(RefComparisonDlgTest, ComplementaryItemsArePagedFilteredRoundedAndHandedBack) {
  const auto dialog = Open();
  CRefComparison& comparison = dialog->MutableComparison();
  CRefComplDlg items(&comparison, ',', setup.environment.common, dialog.get());
  items.resize(620, 520);
  items.show();
  ProcessEvents();
  EXPECT_EQ(Child<QLabel>(items, "1433")->text(), "1/1");
  EXPECT_FALSE(Child<QScrollBar>(items, "1292")->isEnabled());
  // Items 1, 2 (listed only), 4 and 7.
  EXPECT_EQ(Child<QLabel>(items, "1390")->text(), "Additional item 7");
  EXPECT_FALSE(Child<QLabel>(items, "1394")->isVisible());
  auto* price = Child<QLineEdit>(items, "1391");
  auto* time = Child<QLineEdit>(items, "1392");
  EXPECT_EQ(price->text(), "2,00");
  price->setText(QStringLiteral("1,23456"));
  items.ReformatRowValue(1, 3);
  time->setText(QStringLiteral("0,125"));
  items.ReformatRowValue(2, 3);
  EXPECT_EQ(price->text(), "1,2346");
  EXPECT_EQ(time->text(), "0,13");
  EXPECT_TRUE(SaveScreenshot(items, QStringLiteral("complementary_items")));
  Child<QCheckBox>(items, "1325")->click();
  EXPECT_EQ(Child<QLabel>(items, "1386")->text(), "Additional item 7");  // item 2 hidden
  EXPECT_EQ(Child<QLineEdit>(items, "1387")->text(), "1,2346");
  EXPECT_EQ(comparison.items[7].price, 20000);  // not before OK
  items.accept();
  EXPECT_EQ(comparison.items[7].price, 12346);
  EXPECT_EQ(comparison.items[7].time, 13);
}

TEST_F(RefComparisonDlgTest, ThirteenItemsMakeTwoPagesAndCancelKeepsThePrices) {
  CRefComparison comparison;
  for (int n = 1; n <= 13; ++n) comparison.items[static_cast<std::size_t>(n)].state = 1;
  comparison.items[13].price = 5000;
  CRefComplDlg items(&comparison, '.', setup.environment.common);
  items.show();
  ProcessEvents();
  EXPECT_EQ(items.PageCount(), 2);
  auto* scroll = Child<QScrollBar>(items, "1292");
  EXPECT_TRUE(scroll->isEnabled());
  scroll->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(items.CurrentPage(), 2);
  EXPECT_EQ(Child<QLabel>(items, "1433")->text(), "2/2");
  EXPECT_EQ(Child<QLabel>(items, "1378")->text(), "Additional item 13");
  EXPECT_FALSE(Child<QLabel>(items, "1382")->isVisible());
  Child<QLineEdit>(items, "1379")->setText(QStringLiteral("9"));
  items.ReformatRowValue(1, 0);
  scroll->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(items.CurrentPage(), 1);
  Child<QCheckBox>(items, "1325")->click();  // nothing used: one empty page
  EXPECT_EQ(Child<QLabel>(items, "1433")->text(), "1/1");
  items.reject();
  EXPECT_EQ(comparison.items[13].price, 5000);
}

TEST_F(RefComparisonDlgTest, HelpOpensTheShippedPageInTheBrowser) {
  CUrlCatcher catcher;
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
  CRefComparison comparison;
  CRefComplDlg items(&comparison, '.', setup.environment.common);
  Child<QPushButton>(items, "1434")->click();
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
  ASSERT_EQ(catcher.urls.size(), 1);
  EXPECT_TRUE(QFile::exists(catcher.urls[0].toLocalFile()))
      << catcher.urls[0].toString().toStdString();
  EXPECT_TRUE(catcher.urls[0].toLocalFile().endsWith(QLatin1String("help/COMP.htm")));
}

TEST_F(RefComparisonDlgTest, ItemsEditedThroughTheComparisonAreStored) {
  const auto dialog = Open();
  QTimer::singleShot(0, [] {
    auto* items = qobject_cast<CRefComplDlg*>(QApplication::activeModalWidget());
    if (!items) return;
    items->findChild<QLineEdit*>(QStringLiteral("1391"))->setText(QStringLiteral("3"));
    items->accept();
  });
  dialog->OnComplementaryItems();
  EXPECT_EQ(Setting("IT07"), "300,00;25");
  EXPECT_EQ(Setting("IT02"), "0,00;0");  // listed items are written too
  EXPECT_EQ(dialog->Comparison().solutions[3].material, 6300 + 1250 + 3720 + 4680);
}

// The line page of a QYA 25 A line of 30 m and six luminaires, ready to validate.
class RefComparisonOfferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<CRefWnd>(setup.environment);
    ASSERT_TRUE(window->CheckConfig());
    window->resize(1280, 820);
    window->show();
    ProcessEvents();
    CRefConfigDlg& dialog = window->Dialog();
    ASSERT_TRUE(dialog.AddNewLineItem(RefProductNodeCode(3, 1)));
    QComboBox* ratings = dialog.LinePage().RatingCombo();
    ratings->setCurrentIndex(ratings->findData(25));
    ASSERT_GE(ratings->currentIndex(), 0);
    dialog.LinePage().LengthEdit()->setText(QStringLiteral("30"));
    dialog.LinePage().CountEdit()->setText(QStringLiteral("6"));
  }
  CRefTestSetup setup;
  std::unique_ptr<CRefWnd> window;
};

TEST_F(RefComparisonOfferTest, TheAnswerDecidesWhetherTheComparisonOpensFirst) {
  const struct {
    int answer;
    bool opened, validated;
  } cases[] = {{kIdCancel, false, false}, {kIdNo, false, true}, {kIdYes, true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    CRefConfigDlg& dialog = window->Dialog();
    if (dialog.EditStep() != CRefConfigDlg::kStepHeader) dialog.CloseComponentPage();
    setup.common.dialogs.messages.clear();
    setup.common.dialogs.answers = {c.answer};
    int solutions = -1;
    QTimer::singleShot(0, [&solutions] {
      auto* comparison = qobject_cast<CSolutionCompareDlg*>(QApplication::activeModalWidget());
      if (!comparison) return;
      solutions = static_cast<int>(comparison->Comparison().SolutionsWithItems().size());
      comparison->reject();
    });
    EXPECT_EQ(dialog.ValidateOfferingComparison(), c.validated);
    ProcessEvents();
    ASSERT_FALSE(setup.common.dialogs.messages.isEmpty());
    EXPECT_TRUE(
        setup.common.dialogs.messages[0].contains(QLatin1String("Compare the installation")));
    EXPECT_EQ(solutions, c.opened ? 3 : -1);
    EXPECT_EQ(dialog.EditStep(),
              c.validated ? CRefConfigDlg::kStepComponents : CRefConfigDlg::kStepHeader);
  }
}

TEST_F(RefComparisonOfferTest, NoQuestionWhenTheComparisonIsDisabled) {
  ASSERT_TRUE(setup.common.profile->WriteProfileText("Comp", "Disabled", "1"));
  setup.common.dialogs.messages.clear();
  EXPECT_TRUE(window->Dialog().ValidateOfferingComparison());
  for (const QString& message : setup.common.dialogs.messages)
    EXPECT_FALSE(message.contains(QLatin1String("Compare the installation")));
}

}  // namespace

#include "ref_comparison_dlg_test.moc"
