#include "app/ui/window_translation.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>

#include <optional>

#include "app/current_language.h"
#include "app/ui/translator.h"
#include "language_ui_test_support.h"

namespace {

const char* const kFrench =
    "00300=&Fichier\r\n00301=Ouvrir\\tCtrl+O\r\n00302=Options\r\n00303=Couleurs\r\n"
    "00304=<Aucun>\r\n00305=Nom\r\n";
const char* const kEnglish =
    "00300=&File\r\n00301=Open\\tCtrl+O\r\n00302=Settings\r\n00303=Colours\r\n"
    "00304=<None>\r\n00305=Name\r\n";

// A dialog with one object of every kind that takes a text by message number.
struct SampleWindow {
  SampleWindow() {
    SetMessageText(&dialog, 302);
    SetMessageText(button, 305);
    SetMessageText(label, 304);
    SetMessageText(group, 303);
    SetMessageText(menu, 300);
    SetMessageText(action, 301);
    menu->addAction(action);
    tabs->addTab(page, QString());
    SetMessageText(page, 303);
    SetMessageText(unknown, 9999);
  }
  // Title, button, label, group, menu, action, tab and the button of a missing text.
  QStringList Texts() const {
    return {dialog.windowTitle(), button->text(), label->text(),    group->title(),
            menu->title(),        action->text(), tabs->tabText(0), unknown->text()};
  }
  QDialog dialog;
  QPushButton* button = new QPushButton(&dialog);
  QPushButton* unknown = new QPushButton(&dialog);
  QLabel* label = new QLabel(&dialog);
  QGroupBox* group = new QGroupBox(&dialog);
  QMenu* menu = new QMenu(&dialog);
  QAction* action = new QAction(menu);
  QTabWidget* tabs = new QTabWidget(&dialog);
  QWidget* page = new QWidget;
};

TEST(WindowTranslationTest, ObjectsTakeTheTextsOfTheirMessagesAndTranslateWindowRenewsThem) {
  CTestLanguage language(kFrench);
  SampleWindow window;
  // escapes become characters; a missing text shows its key
  EXPECT_EQ(window.Texts(), (QStringList{"Options", "Nom", "<Aucun>", "Couleurs", "&Fichier",
                                         "Ouvrir\tCtrl+O", "Couleurs", "MSG_9999"}));
  EXPECT_EQ(window.label->textFormat(), Qt::PlainText) << "a '<' is no markup";
  EXPECT_EQ(window.button->property(kMessageNumberProperty).toInt(), 305);
  language.Switch(kEnglish, "044");
  EXPECT_TRUE(TranslateWindow(&window.dialog));
  EXPECT_EQ(window.Texts(), (QStringList{"Settings", "Name", "<None>", "Colours", "&File",
                                         "Open\tCtrl+O", "Colours", "MSG_9999"}));
}

TEST(WindowTranslationTest, AnInactiveTranslatorLeavesFontsAlone) {
  const CTestLanguage french(kFrench);
  CTranslator::Instance().Reset();
  QDialog dialog;
  auto* label = new QLabel(&dialog);
  TranslateWindow(&dialog);
  EXPECT_FALSE(dialog.testAttribute(Qt::WA_SetFont));
  EXPECT_FALSE(label->testAttribute(Qt::WA_SetFont));
}

// Every character set a language file may name: its CHARS name and writing system.
struct CharsetCase {
  int charset;
  const char* name;
  QFontDatabase::WritingSystem system;
};
const CharsetCase kCharsets[] = {{0, "LATIN", QFontDatabase::Latin},
                                 {238, "EASTEUROPE", QFontDatabase::Latin},
                                 {204, "CYRILLIC", QFontDatabase::Cyrillic},
                                 {161, "GREEK", QFontDatabase::Greek},
                                 {162, "TURKISH", QFontDatabase::Latin},
                                 {186, "BALTIC", QFontDatabase::Latin},
                                 {177, "HEBREW", QFontDatabase::Hebrew},
                                 {178, "ARABIC", QFontDatabase::Arabic},
                                 {163, "VIETNAMESE", QFontDatabase::Vietnamese},
                                 {222, "THAI", QFontDatabase::Thai},
                                 {129, "KOREAN", QFontDatabase::Korean},
                                 {136, "CHINESE", QFontDatabase::TraditionalChinese},
                                 {134, "CHINESE SIMPLIFIED", QFontDatabase::SimplifiedChinese},
                                 {128, "JAPANESE", QFontDatabase::Japanese}};

TEST(WritingSystemTest, JohabIsKoreanAndUnknownSetsAreAny) {
  EXPECT_EQ(WritingSystemOfCharset(130), QFontDatabase::Korean);
  for (int unknown : {1, 77})
    EXPECT_EQ(WritingSystemOfCharset(unknown), QFontDatabase::Any) << unknown;
}

// Sets the application font for the test and restores it afterwards.
class TranslatorTest : public testing::Test {
 protected:
  void SetUp() override { m_savedFont = QGuiApplication::font(); }
  void TearDown() override {
    QGuiApplication::setFont(m_savedFont);
    CTranslator::Instance().Reset();
  }
  QFont m_savedFont;
};

TEST_F(TranslatorTest, TheDesktopFontSufficesForItsOwnWritingSystems) {
  const QString desktop = QFontInfo(QGuiApplication::font()).family();
  for (const CharsetCase& c : kCharsets) {
    const int charset = c.charset;
    if (!QFontDatabase::writingSystems(desktop).contains(c.system)) continue;
    const std::optional<QFont> font = CTranslator::Instance().SetLanguageCharset(charset, true);
    ASSERT_TRUE(font) << charset;
    EXPECT_EQ(*font, QGuiApplication::font()) << charset;
    EXPECT_FALSE(CTranslator::Instance().IsActive()) << charset;
    EXPECT_EQ(CTranslator::Instance().Charset(), charset);
  }
  EXPECT_TRUE(CTranslator::Instance().SetLanguageCharset(1, true));
  EXPECT_FALSE(CTranslator::Instance().IsActive()) << "the default character set";
}

TEST_F(TranslatorTest, NoFontForTheWritingSystemLeavesTheTranslatorInactive) {
  for (const CharsetCase& c : kCharsets) {
    if (!QFontDatabase::families(c.system).isEmpty()) continue;
    EXPECT_FALSE(CTranslator::Instance().SetLanguageCharset(c.charset, true)) << c.name;
    EXPECT_FALSE(CTranslator::Instance().IsActive()) << c.name;
    return;
  }
  GTEST_SKIP() << "every writing system has a font here";
}

// A desktop font and a character set that it cannot show but another font can.
std::optional<std::pair<QString, CharsetCase>> FindCharsetNeedingALanguageFont() {
  for (const QString& family : QFontDatabase::families()) {
    for (const CharsetCase& c : kCharsets) {
      if (!QFontDatabase::writingSystems(family).contains(c.system) &&
          !QFontDatabase::families(c.system).isEmpty())
        return std::make_pair(family, c);
    }
  }
  return std::nullopt;
}

TEST_F(TranslatorTest, ALanguageFontGoesToTheWholeWindow) {
  const auto found = FindCharsetNeedingALanguageFont();
  if (!found) GTEST_SKIP() << "no font lacks a writing system that another has";
  QGuiApplication::setFont(QFont(found->first));
  const CTestLanguage language(kFrench);
  const std::optional<QFont> font =
      CTranslator::Instance().SetLanguageCharset(found->second.charset, true);
  ASSERT_TRUE(font);
  ASSERT_TRUE(CTranslator::Instance().IsActive());
  const QFontDatabase::WritingSystem system = found->second.system;
  const QString languageFamily = CTranslator::Instance().LanguageFont().families().value(0);
  EXPECT_TRUE(QFontDatabase::writingSystems(languageFamily).contains(system))
      << languageFamily.toStdString();
  EXPECT_TRUE(CTranslator::Instance().BoldLanguageFont().bold());

  QDialog dialog;
  auto* plain = new QLabel(&dialog);
  auto* heading = new QLabel(&dialog);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  TranslateWindow(&dialog);
  EXPECT_EQ(dialog.font().families().value(0), languageFamily);
  EXPECT_EQ(plain->font().families().value(0), languageFamily);
  EXPECT_EQ(heading->font().families().value(0), languageFamily);
  EXPECT_TRUE(heading->font().bold()) << "a child's own style is kept";
}

TEST_F(TranslatorTest, ALanguageThatNeedsItsOwnFontGivesItToTheApplication) {
  const auto found = FindCharsetNeedingALanguageFont();
  if (!found) GTEST_SKIP() << "no font lacks a writing system that another has";
  QGuiApplication::setFont(QFont(found->first));
  const CTestLanguage language(kFrench, "033", found->second.name);
  ApplyLanguageFont(CCurrentLanguage::Instance().Mapping());
  ASSERT_TRUE(CTranslator::Instance().IsActive());
  EXPECT_EQ(CTranslator::Instance().Charset(), found->second.charset);
  EXPECT_EQ(QGuiApplication::font().families().value(0),
            CTranslator::Instance().LanguageFont().families().value(0));
}

TEST_F(TranslatorTest, ApplyLanguageFontTakesTheLanguagesCharacterSet) {
  const CTestLanguage language(kFrench);  // CHARS=LATIN
  const QFont before = QGuiApplication::font();
  ApplyLanguageFont(CCurrentLanguage::Instance().Mapping());
  EXPECT_EQ(CTranslator::Instance().Charset(), 0);
  if (!CTranslator::Instance().IsActive()) {
    EXPECT_EQ(QGuiApplication::font(), before) << "the desktop's font stays";
  }
  CTranslator::Instance().Reset();
  CLanguageMapping unnamed;  // names no character set
  ApplyLanguageFont(unnamed);
  EXPECT_EQ(CTranslator::Instance().Charset(), 1) << "the translator is not touched";
}

}  // namespace
