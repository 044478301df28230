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

TEST(WindowTranslationTest, ObjectsTakeTheTextsOfTheirMessages) {
  const CTestLanguage french(kFrench);
  const SampleWindow window;
  EXPECT_EQ(window.dialog.windowTitle(), "Options");
  EXPECT_EQ(window.button->text(), "Nom");
  EXPECT_EQ(window.label->text(), "<Aucun>");
  EXPECT_EQ(window.label->textFormat(), Qt::PlainText) << "a '<' is no markup";
  EXPECT_EQ(window.group->title(), "Couleurs");
  EXPECT_EQ(window.menu->title(), "&Fichier");
  EXPECT_EQ(window.action->text(), "Ouvrir\tCtrl+O") << "escapes become characters";
  EXPECT_EQ(window.tabs->tabText(0), "Couleurs");
  EXPECT_EQ(window.unknown->text(), "MSG_9999") << "a missing text shows its key";
  EXPECT_EQ(window.button->property(kMessageNumberProperty).toInt(), 305);
}

TEST(WindowTranslationTest, TranslateWindowAppliesTheLanguageAgain) {
  CTestLanguage language(kFrench);
  const SampleWindow window;
  language.Switch(kEnglish, "044");
  EXPECT_TRUE(TranslateWindow(const_cast<QDialog*>(&window.dialog)));
  EXPECT_EQ(window.dialog.windowTitle(), "Settings");
  EXPECT_EQ(window.button->text(), "Name");
  EXPECT_EQ(window.label->text(), "<None>");
  EXPECT_EQ(window.group->title(), "Colours");
  EXPECT_EQ(window.menu->title(), "&File");
  EXPECT_EQ(window.action->text(), "Open\tCtrl+O");
  EXPECT_EQ(window.tabs->tabText(0), "Colours");
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

struct WritingSystemCase {
  int charset;
  QFontDatabase::WritingSystem system;
};

class WritingSystemTest : public testing::TestWithParam<WritingSystemCase> {};

TEST_P(WritingSystemTest, MapsTheCharacterSet) {
  EXPECT_EQ(WritingSystemOfCharset(GetParam().charset), GetParam().system) << GetParam().charset;
}

INSTANTIATE_TEST_SUITE_P(
    Charsets, WritingSystemTest,
    testing::Values(WritingSystemCase{0, QFontDatabase::Latin},
                    WritingSystemCase{238, QFontDatabase::Latin},
                    WritingSystemCase{162, QFontDatabase::Latin},
                    WritingSystemCase{186, QFontDatabase::Latin},
                    WritingSystemCase{204, QFontDatabase::Cyrillic},
                    WritingSystemCase{161, QFontDatabase::Greek},
                    WritingSystemCase{177, QFontDatabase::Hebrew},
                    WritingSystemCase{178, QFontDatabase::Arabic},
                    WritingSystemCase{163, QFontDatabase::Vietnamese},
                    WritingSystemCase{222, QFontDatabase::Thai},
                    WritingSystemCase{129, QFontDatabase::Korean},
                    WritingSystemCase{130, QFontDatabase::Korean},
                    WritingSystemCase{136, QFontDatabase::TraditionalChinese},
                    WritingSystemCase{134, QFontDatabase::SimplifiedChinese},
                    WritingSystemCase{128, QFontDatabase::Japanese},
                    WritingSystemCase{1, QFontDatabase::Any},
                    WritingSystemCase{77, QFontDatabase::Any}));

const int kCharsets[] = {0, 238, 204, 161, 162, 186, 177, 178, 163, 222, 129, 136, 134, 128};

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
  for (int charset : kCharsets) {
    if (!QFontDatabase::writingSystems(desktop).contains(WritingSystemOfCharset(charset)))
      continue;
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
  for (int charset : kCharsets) {
    if (!QFontDatabase::families(WritingSystemOfCharset(charset)).isEmpty()) continue;
    EXPECT_FALSE(CTranslator::Instance().SetLanguageCharset(charset, true)) << charset;
    EXPECT_FALSE(CTranslator::Instance().IsActive()) << charset;
    return;
  }
  GTEST_SKIP() << "every writing system has a font here";
}

// A desktop font and a character set that it cannot show but another font can.
std::optional<std::pair<QString, int>> FindCharsetNeedingALanguageFont() {
  for (const QString& family : QFontDatabase::families()) {
    for (int charset : kCharsets) {
      const QFontDatabase::WritingSystem system = WritingSystemOfCharset(charset);
      if (!QFontDatabase::writingSystems(family).contains(system) &&
          !QFontDatabase::families(system).isEmpty())
        return std::make_pair(family, charset);
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
      CTranslator::Instance().SetLanguageCharset(found->second, true);
  ASSERT_TRUE(font);
  ASSERT_TRUE(CTranslator::Instance().IsActive());
  const QFontDatabase::WritingSystem system = WritingSystemOfCharset(found->second);
  const QString languageFamily = CTranslator::Instance().LanguageFont().families().value(0);
  EXPECT_TRUE(QFontDatabase::writingSystems(languageFamily).contains(system)) << languageFamily.toStdString();
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

const char* CharsName(int charset) {
  static const std::pair<int, const char*> kNames[] = {
      {0, "LATIN"},       {238, "EASTEUROPE"}, {204, "CYRILLIC"},   {161, "GREEK"},
      {162, "TURKISH"},   {186, "BALTIC"},     {177, "HEBREW"},     {178, "ARABIC"},
      {163, "VIETNAMESE"}, {222, "THAI"},      {129, "KOREAN"},     {136, "CHINESE"},
      {134, "CHINESE SIMPLIFIED"}, {128, "JAPANESE"}};
  for (const auto& [value, name] : kNames)
    if (value == charset) return name;
  return "";
}

TEST_F(TranslatorTest, ALanguageThatNeedsItsOwnFontGivesItToTheApplication) {
  const auto found = FindCharsetNeedingALanguageFont();
  if (!found) GTEST_SKIP() << "no font lacks a writing system that another has";
  QGuiApplication::setFont(QFont(found->first));
  const CTestLanguage language(kFrench, "033", CharsName(found->second));
  ApplyLanguageFont(CCurrentLanguage::Instance().Mapping());
  ASSERT_TRUE(CTranslator::Instance().IsActive());
  EXPECT_EQ(CTranslator::Instance().Charset(), found->second);
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
