// The options sheet as the Options command runs it.

#include "app/ui/options_sheet.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <filesystem>

#include "app/current_language.h"
#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/draw_tab_ctrl.h"
#include "app/ui/message_dlg.h"
#include "app/ui/page_hbase_cat.h"
#include "app/ui/page_langue.h"
#include "app/ui/page_regl.h"
#include "language_ui_test_support.h"
#include "options_ui_test_support.h"

namespace {

QStringList TabTexts(const COptionsSheet& sheet) {
  QStringList texts;
  for (int index = 0; index < sheet.Tabs()->count(); ++index) texts << sheet.Tabs()->tabText(index);
  return texts;
}

QStringList Captions(std::initializer_list<int> messages) {
  QStringList texts;
  for (int message : messages) texts << QString::fromStdString(ResourceText(message));
  return texts;
}

void PressOk(COptionsSheet& sheet) { sheet.findChild<QPushButton*>(QStringLiteral("1"))->click(); }
void PressCancel(COptionsSheet& sheet) {
  sheet.findChild<QPushButton*>(QStringLiteral("2"))->click();
}

class OptionsSheetTest : public ::testing::Test {
 protected:
  explicit OptionsSheetTest(const std::string& settings = {}) : m_fixture(settings) {}
  unsigned Run(COptionsFrame* frame, int kind) {
    return RunOptionsSheet(frame, kind, m_fixture.Context());
  }
  std::string SettingsBytes() const {
    return ReadWholeFile(m_fixture.folder.SettingsFolder() + "TVR.INI");
  }

  COptionsFixture m_fixture;
  CRecordingOptionsFrame m_frame;
};

TEST_F(OptionsSheetTest, EachWindowShowsItsPages) {
  QStringList seen[3];
  for (int kind : {kOptionsFromLinear, kOptionsFromReference, kOptionsFromLayout}) {
    OnNextOptionsSheet([&seen, kind](COptionsSheet& sheet) {
      seen[kind] = TabTexts(sheet);
      EXPECT_EQ(sheet.windowTitle().toStdString(), ResourceText(7535));
      PressCancel(sheet);
    });
    Run(kind == kOptionsFromLayout ? &m_frame : nullptr, kind);
  }
  EXPECT_EQ(seen[kOptionsFromLinear], Captions({2600, 2613, 2660, 2715}));
  EXPECT_EQ(seen[kOptionsFromReference], Captions({2600, 2613, 2630, 2660, 2715}));
  EXPECT_EQ(seen[kOptionsFromLayout],
            Captions({2600, 2613, 2567, 2602, 2573, 2580, 2630, 2660, 2715}));
  EXPECT_TRUE(m_frame.calls.empty()) << "Cancel touches no document";
}

TEST_F(OptionsSheetTest, CancelWritesNothingAndKeepsTheRunningLanguage) {
  CCurrentLanguage::Instance().SetLanguageNumber("044");
  const std::string before = SettingsBytes();
  OnNextOptionsSheet([](COptionsSheet& sheet) {
    sheet.Page<CPageLangue>()->Languages()->setCurrentIndex(0);
    sheet.Page<CPageRegl>()->Control<QLineEdit>(CPageRegl::kZoomAll)->setText("50");
    PressCancel(sheet);
  });
  EXPECT_EQ(Run(&m_frame, kOptionsFromLayout), 0u);
  EXPECT_EQ(SettingsBytes(), before);
  EXPECT_EQ(CCurrentLanguage::Instance().LanguageNumber(), "044");
  EXPECT_TRUE(m_frame.calls.empty());
}

TEST_F(OptionsSheetTest, AnotherLanguageIsWrittenButTheProgramKeepsItsOwn) {
  CCurrentLanguage::Instance().SetLanguageNumber("044");
  OnNextOptionsSheet([](COptionsSheet& sheet) {
    QComboBox* languages = sheet.Page<CPageLangue>()->Languages();
    EXPECT_EQ(languages->currentData().toString().left(3), "033") << "\"Language\"/\"ID\" default";
    languages->setCurrentIndex(
        languages->findData(QStringLiteral("044"), Qt::UserRole, Qt::MatchStartsWith));
    PressOk(sheet);
  });
  EXPECT_EQ(Run(nullptr, kOptionsFromLinear), 0u);
  EXPECT_EQ(m_fixture.Setting("Language", "ID"), "044");
  EXPECT_EQ(CCurrentLanguage::Instance().LanguageNumber(), "044");
  EXPECT_EQ(m_fixture.Setting("Zooms", "All"), "<none>") << "no frame: no factors";
}

// Edits the name of the first price list.
void RenameFirstPriceList(COptionsSheet& sheet, const char* name) {
  auto* page = sheet.Page<CPageHbaseCat>();
  page->Control<QLineEdit>(CPageHbaseCat::kName)->setText(name);
  page->CommitEdits();
}

TEST_F(OptionsSheetTest, AnEditedNameIsReportedEvenAfterCancel) {
  const std::string before = m_fixture.ArticleBytes();
  OnNextOptionsSheet([](COptionsSheet& sheet) {
    RenameFirstPriceList(sheet, "Trade");
    PressCancel(sheet);
  });
  EXPECT_EQ(Run(nullptr, kOptionsFromLinear), 1u);
  EXPECT_EQ(m_fixture.ArticleBytes(), before) << "Cancel saves nothing";
}

TEST_F(OptionsSheetTest, AReadOnlyArticleTableIsReportedAndLeftAsItWas) {
  std::filesystem::permissions(m_fixture.ArticleTablePath(), std::filesystem::perms::owner_read);
  const std::string before = m_fixture.ArticleBytes();
  QString message;
  OnNextOptionsSheet([&message](COptionsSheet& sheet) {
    RenameFirstPriceList(sheet, "Trade");
    OnNextMessageDialog([&message](CMessageDlg& dialog) {
      message = dialog.findChild<QLabel*>(QString::number(CMessageDlg::kTextId))->text();
      EXPECT_EQ(dialog.Icon(), CMessageDlg::IconKind::Error);
      dialog.Button(kIdOk)->click();
    });
    PressOk(sheet);
  });
  EXPECT_EQ(Run(nullptr, kOptionsFromReference), 1u);
  EXPECT_TRUE(message.startsWith(
      QString::fromStdString(StringText(kMsgPriceListsNotSaved)).section('\n', 0, 0)))
      << message.toStdString();
  EXPECT_TRUE(message.contains(QStringLiteral("read-only"))) << message.toStdString();
  EXPECT_EQ(m_fixture.ArticleBytes(), before);
  EXPECT_EQ(m_fixture.Setting("User", "Name"), "UnKnown") << "the settings are saved all the same";
  std::filesystem::permissions(m_fixture.ArticleTablePath(), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
}

}  // namespace
