// The pages of the options sheet, driven one by one: values in, keys out, refusals.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/options_values.h"
#include "app/ui/draw_tab_ctrl.h"
#include "app/ui/label_font_dlg.h"
#include "app/ui/message_dlg.h"
#include "app/ui/options_sheet.h"
#include "app/ui/page_colors.h"
#include "app/ui/page_design.h"
#include "app/ui/page_dir.h"
#include "app/ui/page_etiq.h"
#include "app/ui/page_hbase_cat.h"
#include "app/ui/page_lang_design.h"
#include "app/ui/page_langue.h"
#include "app/ui/page_regl.h"
#include "app/ui/page_user.h"
#include "app/ui/translator.h"
#include "app/ui/window_translation.h"
#include "language_ui_test_support.h"
#include "options_ui_test_support.h"

namespace {

// A sheet of every page on the fixture's application; OK applies it with a frame.
class OptionsPagesTest : public ::testing::Test {
 protected:
  explicit OptionsPagesTest(const std::string& settings = {}) : m_fixture(settings) {}

  void Open() {
    COptionsContext context = m_fixture.Context();
    m_languages = context.languages;
    COptionsSheet::Setup setup{OptionsPages(true, kOptionsFromLayout), context.languages,
                               context.devices};
    m_sheet = std::make_unique<COptionsSheet>(
        setup, LoadOptionsValues(m_fixture.app, m_languages, [](int n) { return LookupText(n); }));
  }
  // OK: true when the sheet closed; its values then go to the application.
  bool Ok() {
    m_sheet->accept();
    if (m_sheet->result() != QDialog::Accepted) return false;
    ApplyOptionsValues(m_fixture.app, m_sheet->Values(), m_languages, &m_frame);
    return true;
  }
  template <typename T>
  T* Page() {
    if (!m_sheet) Open();
    return m_sheet->Page<T>();
  }
  std::string Setting(const char* section, const char* key) {
    return m_fixture.Setting(section, key);
  }

  COptionsFixture m_fixture;
  CRecordingOptionsFrame m_frame;
  std::vector<CLanguageEntry> m_languages;
  std::unique_ptr<COptionsSheet> m_sheet;
};

TEST_F(OptionsPagesTest, UserDetailsGoToTheUserSection) {
  ASSERT_TRUE(m_fixture.app.WriteProfileText("User", "Dept", "Studies"));
  auto* page = Page<CPageUser>();
  EXPECT_EQ(page->Control<QLineEdit>(CPageUser::kName)->text(), "UnKnown");
  EXPECT_EQ(page->Control<QLineEdit>(CPageUser::kDepartment)->text(), "Studies");
  const std::tuple<int, const char*, const char*> typed[] = {
      {CPageUser::kName, "Name", "Ada Lovelace"},
      {CPageUser::kPhone, "Phone", "+44 20 7946"},
      {CPageUser::kDepartment, "Dept", "Engines"},
      {CPageUser::kFax, "Fax", ""},
      {CPageUser::kEmail, "Email", "ada@example.org"}};
  for (auto [id, key, text] : typed) page->Control<QLineEdit>(id)->setText(text);
  ASSERT_TRUE(Ok());
  for (auto [id, key, text] : typed) EXPECT_EQ(Setting("User", key), text) << key;
  EXPECT_EQ(m_fixture.app.Settings().userName, "Ada Lovelace");
}

TEST_F(OptionsPagesTest, ColoursNearTheHighlightAreRefusedWithAWarning) {
  auto* page = Page<CPageColors>();
  page->List()->setCurrentRow(1);  // straight 1
  ASSERT_EQ(page->ShownColor(), MakeColor(0, 255, 0));
  QColor highlight = page->palette().color(QPalette::Highlight);
  QString seen;
  OnNextMessageDialog([&seen](CMessageDlg& dialog) {
    seen = dialog.windowTitle() + "|" +
           dialog.findChild<QLabel*>(QString::number(CMessageDlg::kTextId))->text();
    EXPECT_EQ(dialog.Icon(), CMessageDlg::IconKind::Exclamation);
    dialog.Button(kIdOk)->click();
  });
  EXPECT_FALSE(
      page->ChooseColor(MakeColor(highlight.red() + 5, highlight.green() - 10, highlight.blue())));
  EXPECT_EQ(seen, StringQText(kMsgColorTooNearHighlightCaption) + "|" +
                      StringQText(kMsgColorTooNearHighlight));
  EXPECT_EQ(page->ShownColor(), MakeColor(0, 255, 0)) << "nothing changed";
  EXPECT_TRUE(page->ChooseColor(MakeColor(12, 34, 56)));
  EXPECT_EQ(page->Control<QLabel>(CPageColors::kSample1)->palette().color(QPalette::Window),
            QColor(12, 34, 56));
  page->List()->setCurrentRow(9);  // tap-off
  EXPECT_TRUE(page->ChooseColor(MakeColor(1, 2, 3)));
  ASSERT_TRUE(Ok());
  EXPECT_EQ(Setting("Colors", "Straight1"), "12,34,56");
  EXPECT_EQ(Setting("Colors", "Tapoff"), "1,2,3");
  EXPECT_EQ(Setting("Colors", "FireBarrier"), "64,64,64") << "carried through";
}

struct FactorCase {
  int edit;
  const char* text;
  bool accepted;
};

TEST_F(OptionsPagesTest, PercentagesOutsideOneToTwoHundredAreRefused) {
  auto* page = Page<CPageRegl>();
  EXPECT_EQ(page->Control<QLineEdit>(CPageRegl::kZoomAll)->text(), "90");
  const FactorCase cases[] = {{CPageRegl::kZoomIn, "0", false},
                              {CPageRegl::kMoveUp, "201", false},
                              {CPageRegl::kMoveLeft, "x", false},
                              {CPageRegl::kZoomOut, "200", true}};
  for (const FactorCase& c : cases) {
    page->Control<QPushButton>(COptionsPage::kDefaultsButton)->click();
    page->Control<QLineEdit>(c.edit)->setText(c.text);
    QString seen;
    if (!c.accepted) {
      OnNextMessageDialog([&seen](CMessageDlg& dialog) {
        seen = dialog.findChild<QLabel*>(QString::number(CMessageDlg::kTextId))->text();
        dialog.Button(kIdOk)->click();
      });
    }
    m_sheet->setResult(0);
    EXPECT_EQ(Ok(), c.accepted) << c.text;
    if (!c.accepted) {
      EXPECT_EQ(seen.toStdString(), FormatMessageTextDD(kMsgNumberRange, 1, 200)) << c.text;
      EXPECT_EQ(m_sheet->Tabs()->currentWidget(), page) << "the sheet stays on the page";
    }
  }
  EXPECT_EQ(Setting("Zooms", "Out"), "2.000000");
  EXPECT_EQ(Setting("Zooms", "All"), "0.900000");
  EXPECT_EQ(Setting("Moves", "Down"), "0.200000");
}

TEST_F(OptionsPagesTest, DesignValuesAndTheirDefaults) {
  auto* page = Page<CPageDesign>();
  page->Control<QLineEdit>(CPageDesign::kBoxOverhang)->setText("501");
  OnNextMessageDialog([](CMessageDlg& dialog) { dialog.Button(kIdOk)->click(); });
  EXPECT_FALSE(Ok()) << "501 mm is refused";
  page->Control<QPushButton>(COptionsPage::kDefaultsButton)->click();
  EXPECT_EQ(page->Control<QLineEdit>(CPageDesign::kBoxOverhang)->text(), "50");
  page->Control<QLineEdit>(CPageDesign::kJointOverhang)->setText("0");
  page->Control<QCheckBox>(CPageDesign::kRealJoint)->setChecked(false);
  page->Control<QCheckBox>(CPageDesign::kShowBlackWhite)->setChecked(true);
  ASSERT_TRUE(Ok());
  EXPECT_EQ(Setting("Design", "BoxDebord"), "50");
  EXPECT_EQ(Setting("Design", "JointDebord"), "0");
  EXPECT_EQ(Setting("Design", "RealJoint"), "0");
  EXPECT_EQ(Setting("Design", "AffBW"), "1");
  EXPECT_EQ(Setting("Design", "ImpFrm"), "1");
  EXPECT_EQ(m_frame.calls.back(), "SetModifiedFlag(true)");
}

TEST_F(OptionsPagesTest, EachLabelKindKeepsItsOwnValues) {
  m_fixture.app.Settings().labels[kLabelCartouche].flags = 3;
  auto* page = Page<CPageEtiq>();
  EXPECT_TRUE(page->Control<QPushButton>(CPageEtiq::kFontButton)->isEnabled());
  ASSERT_EQ(page->KindList()->count(), kLabelKindCount);
  page->Control<QCheckBox>(CPageEtiq::kOpaque)->setChecked(true);
  page->SetWorkingFont(TextToLogFont("Liberation Serif,12,700"), MakeColor(200, 0, 0));
  page->KindList()->setCurrentRow(6);
  EXPECT_FALSE(page->Control<QCheckBox>(CPageEtiq::kVisible)->isChecked()) << "cartouche";
  EXPECT_TRUE(page->Control<QCheckBox>(CPageEtiq::kOpaque)->isChecked()) << "cartouche";
  page->Control<QCheckBox>(CPageEtiq::kVisible)->setChecked(true);
  page->SetWorkingBackground(MakeColor(240, 240, 200));
  page->KindList()->setCurrentRow(0);
  EXPECT_TRUE(page->Control<QCheckBox>(CPageEtiq::kOpaque)->isChecked()) << "kept for branches";
  ASSERT_TRUE(Ok());
  EXPECT_EQ(Setting("Label", "BranchOpaque"), "True");
  EXPECT_EQ(Setting("Label", "BranchFont"), "Liberation Serif,12,700");
  EXPECT_EQ(Setting("Label", "BranchFontColor"), "200,0,0");
  EXPECT_EQ(Setting("Label", "CartVisible"), "True");
  EXPECT_EQ(Setting("Label", "CartBkGrd"), "240,240,200");
  EXPECT_EQ(Setting("Label", "CartFlags"), "3") << "the cartouche style's own flags";
  EXPECT_EQ(Setting("Label", "TextVisible"), "<none>") << "not a kind of this page";
}

TEST_F(OptionsPagesTest, TheFontButtonChoosesTheLabelFontWithItsColour) {
  auto* page = Page<CPageEtiq>();
  page->SetWorkingFont(TextToLogFont("Liberation Sans,9,0"), MakeColor(0, 0, 255));
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<CLabelFontDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->SelectedColor(), QColor(0, 0, 255)) << "the kind's colour is shown";
    ASSERT_NE(dialog->findChild<QPushButton*>("label_font_colour"), nullptr);
    dialog->SetColor(QColor(10, 120, 30));
    EXPECT_TRUE(SaveScreenshot(*dialog, "label_font_dialog"));
    dialog->accept();
  });
  page->Control<QPushButton>(CPageEtiq::kFontButton)->click();
  ASSERT_TRUE(Ok());
  EXPECT_EQ(Setting("Label", "BranchFontColor"), "10,120,30");
  EXPECT_EQ(Setting("Label", "BranchFont"), "Liberation Sans,9,0");
}

TEST_F(OptionsPagesTest, LabelDefaultsReloadTheShownKind) {
  auto* page = Page<CPageEtiq>();
  page->KindList()->setCurrentRow(2);
  page->Control<QCheckBox>(CPageEtiq::kOpaque)->setChecked(false);
  page->Control<QPushButton>(COptionsPage::kDefaultsButton)->click();
  EXPECT_TRUE(page->Control<QCheckBox>(CPageEtiq::kOpaque)->isChecked()) << "positions are opaque";
  ASSERT_TRUE(Ok());
  EXPECT_EQ(Setting("Label", "PositionFont"), "Arial,8,0");
  EXPECT_EQ(Setting("Label", "RunVisible"), "False") << "the page's own factory value";
  EXPECT_EQ(Setting("Label", "DimFontColor"), "0,0,255");
}

// Makes the translator hold a language font: the desktop's font is one that lacks a
// writing system another font has. False when no installed font lacks one.
bool ActivateLanguageFont() {
  const int charsets[] = {204, 161, 162, 177, 178, 222, 128, 129, 134, 136};
  for (const QString& family : QFontDatabase::families()) {
    for (int charset : charsets) {
      const QFontDatabase::WritingSystem system = WritingSystemOfCharset(charset);
      if (QFontDatabase::writingSystems(family).contains(system) ||
          QFontDatabase::families(system).isEmpty())
        continue;
      QGuiApplication::setFont(QFont(family));
      if (CTranslator::Instance().SetLanguageCharset(charset, true) &&
          CTranslator::Instance().IsActive())
        return true;
    }
  }
  return false;
}

TEST_F(OptionsPagesTest, TheFontButtonIsDisabledOnALanguageWithItsOwnFont) {
  const QFont desktop = QGuiApplication::font();
  if (!ActivateLanguageFont()) GTEST_SKIP() << "no font lacks a writing system that another has";
  auto* page = Page<CPageEtiq>();
  EXPECT_FALSE(page->Control<QPushButton>(CPageEtiq::kFontButton)->isEnabled());
  EXPECT_TRUE(page->Control<QPushButton>(CPageEtiq::kBackgroundButton)->isEnabled());
  CTranslator::Instance().Reset();
  QGuiApplication::setFont(desktop);
}

class OptionsPagesUkTest : public OptionsPagesTest {
 protected:
  OptionsPagesUkTest() : OptionsPagesTest("LANG_DESIGN=2\nPackaging=1\n") {}
};

TEST_F(OptionsPagesUkTest, DesignLanguageTwoIsTheSecondChoiceAndIsWrittenAsUk) {
  auto* page = Page<CPageLangDesign>();
  EXPECT_TRUE(page->Control<QRadioButton>(CPageLangDesign::kUk)->isChecked());
  EXPECT_TRUE(page->Control<QCheckBox>(CPageLangDesign::kPackaging)->isChecked());
  ASSERT_TRUE(Ok());
  EXPECT_EQ(Setting("Database", "LANG_DESIGN"), "UK");
  page->Control<QPushButton>(COptionsPage::kDefaultsButton)->click();
  EXPECT_TRUE(page->Control<QRadioButton>(CPageLangDesign::kLocal)->isChecked());
  page->Control<QRadioButton>(CPageLangDesign::kOption)->setChecked(true);
  ASSERT_TRUE(Ok());
  EXPECT_EQ(Setting("Database", "LANG_DESIGN"), "OPTION");
  EXPECT_EQ(Setting("Database", "Packaging"), "0");
  EXPECT_EQ(m_fixture.app.Settings().packaging, 0);
}

TEST_F(OptionsPagesTest, ClearingAPriceListNameStoresStars) {
  auto* page = Page<CPageHbaseCat>();
  ASSERT_EQ(page->List()->count(), 5);
  EXPECT_EQ(page->Control<QLineEdit>(CPageHbaseCat::kName)->text(), "Public");
  EXPECT_EQ(page->Control<QLineEdit>(CPageHbaseCat::kSecondName)->text(), "EUR");
  page->Control<QLineEdit>(CPageHbaseCat::kName)->setText("   ");
  page->List()->setCurrentRow(4);  // leaving the entry takes its edit
  EXPECT_EQ(page->List()->item(0)->text(), "***");
  EXPECT_EQ(page->Control<QLineEdit>(CPageHbaseCat::kName)->text(), "Six");
  page->Control<QLineEdit>(CPageHbaseCat::kSecondName)->setText(" GBP ");
  EXPECT_TRUE(m_sheet->PriceListsChanged());
  ASSERT_TRUE(Ok());
  EXPECT_EQ(m_fixture.ArticleNames("PRICE_LIST_1"), "***|***");
  EXPECT_EQ(m_fixture.ArticleNames("PRICE_LIST_6"), "Six|GBP") << "OK takes the pending edit";
  EXPECT_EQ(m_frame.calls.front(), "BuildCatalogueMenu");
}

TEST_F(OptionsPagesTest, WithoutPriceListsBothEditsAreDisabled) {
  ASSERT_TRUE(m_fixture.app.WriteProfileText("Database", "JustOneCat", "yes"));
  ASSERT_TRUE(m_fixture.app.WriteProfileText("Database", "CurrentCat", "9"));
  auto* page = Page<CPageHbaseCat>();
  EXPECT_EQ(page->List()->count(), 0);
  EXPECT_FALSE(page->Control<QLineEdit>(CPageHbaseCat::kName)->isEnabled());
  EXPECT_FALSE(page->Control<QLineEdit>(CPageHbaseCat::kSecondName)->isEnabled());
  page->CommitEdits();
  EXPECT_FALSE(page->Edits().Changed());
}

TEST_F(OptionsPagesTest, TheProjectsFolderChangesThroughTheBrowser) {
  auto* page = Page<CPageDir>();
  auto* edit = page->Control<QLineEdit>(CPageDir::kFolderEdit);
  EXPECT_EQ(edit->text().toStdString(), m_fixture.app.ProjectsFolder());
  EXPECT_TRUE(edit->isReadOnly());
  page->SetFolder(QString::fromStdString(m_fixture.folder.Path("projects")));
  ASSERT_TRUE(Ok());
  EXPECT_EQ(Setting("Database", "Projects"), m_fixture.folder.Path("projects"));
  EXPECT_EQ(m_fixture.app.ProjectsFolder(), m_fixture.folder.Path("projects/"));
  EXPECT_EQ(m_fixture.app.InitialProjectsFolder(), m_fixture.folder.Path("projects/"));
}

TEST_F(OptionsPagesTest, TheLanguagePageListsTheProgramsLanguages) {
  auto* page = Page<CPageLangue>();
  ASSERT_GE(page->Languages()->count(), 2);
  EXPECT_EQ(page->Languages()->currentData().toString().left(3), "033") << "the default ID";
  EXPECT_EQ(page->Languages()
                ->itemDelegate()
                ->sizeHint({}, page->Languages()->model()->index(0, 0))
                .height(),
            16);
  // The closed box shows the current language's flag as its list does.
  EXPECT_FALSE(page->Languages()->itemIcon(page->Languages()->currentIndex()).isNull());
}

TEST_F(OptionsPagesTest, NumberFieldsAreAsWideAsTheirDigitsAndEveryFieldHasItsLabel) {
  Open();
  m_sheet->show();
  struct Field {
    QWidget* page;
    int edit;
  };
  const Field numbers[] = {{Page<CPageRegl>(), CPageRegl::kZoomAll},
                           {Page<CPageRegl>(), CPageRegl::kMoveUp},
                           {Page<CPageDesign>(), CPageDesign::kBoxOverhang},
                           {Page<CPageDesign>(), CPageDesign::kJointOverhang}};
  for (const Field& field : numbers) {
    m_sheet->Tabs()->setCurrentWidget(field.page);
    auto* edit = field.page->findChild<QLineEdit*>(QString::number(field.edit));
    ASSERT_NE(edit, nullptr);
    EXPECT_GE(edit->width(), edit->fontMetrics().horizontalAdvance("500")) << field.edit;
    EXPECT_LT(edit->width(), field.page->width() / 4) << field.edit << " stretches across the page";
  }
  auto* prices = Page<CPageHbaseCat>();
  for (int edit : {CPageHbaseCat::kName, CPageHbaseCat::kSecondName}) {
    bool labelled = false;
    for (QLabel* label : prices->findChildren<QLabel*>())
      labelled = labelled ||
                 (label->buddy() == prices->Control<QLineEdit>(edit) && !label->text().isEmpty());
    EXPECT_TRUE(labelled) << edit;
  }
  m_sheet->reject();
}

}  // namespace
