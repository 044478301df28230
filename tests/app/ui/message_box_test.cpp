#include "app/ui/message_box.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/ui/message_dlg.h"
#include "app/ui/prompt_for_text.h"
#include "language_ui_test_support.h"

namespace {

struct SeenBox {
  QString caption;
  QString text;
  CMessageDlg::IconKind icon = CMessageDlg::IconKind::Exclamation;
};

// Answers the next box by pressing the button of that answer, noting what it showed.
void PressOnNextBox(int answer, SeenBox& seen) {
  OnNextMessageDialog([answer, &seen](CMessageDlg& dialog) {
    seen.caption = dialog.windowTitle();
    seen.text = dialog.findChild<QLabel*>(QString::number(CMessageDlg::kTextId))->text();
    seen.icon = dialog.Icon();
    dialog.Button(answer)->click();
  });
}

class MessageBoxTest : public testing::Test {
 protected:
  CTestLanguage m_language{
      "02710=OK\r\n02711=&Oui\r\n02712=&Non\r\n02713=Annuler\r\n"
      "00500=Enregistrer les &modifications ?\\nLe fichier a chang\xC3\xA9.\r\n"};
};

TEST_F(MessageBoxTest, MessageBoxByIdShowsTheStringTextUnderTheApplicationTitle) {
  SeenBox seen;
  PressOnNextBox(kIdNo, seen);
  EXPECT_EQ(MessageBoxById(500, kMbYesNoCancel | kMbIconQuestion), kIdNo);
  EXPECT_EQ(seen.caption, "Tavrilon");
  EXPECT_EQ(seen.text, QString::fromUtf8("Enregistrer les modifications ?\nLe fichier a chang\xC3\xA9."));
  EXPECT_EQ(seen.icon, CMessageDlg::IconKind::Question);
}

TEST_F(MessageBoxTest, AnUnknownMessageShowsItsKey) {
  SeenBox seen;
  PressOnNextBox(kIdOk, seen);
  EXPECT_EQ(MessageBoxById(9999, kMbOk), kIdOk);
  EXPECT_EQ(seen.text, "MSG_9999");
}

TEST_F(MessageBoxTest, TextBoxesTakeTheirCaption) {
  SeenBox seen;
  PressOnNextBox(kIdYes, seen);
  EXPECT_EQ(TranslatedMessageBox("Delete?", kMbYesNo), kIdYes);
  EXPECT_EQ(seen.caption, "Tavrilon");
  PressOnNextBox(kIdCancel, seen);
  EXPECT_EQ(WindowMessageBox(nullptr, "Text", "Own caption", kMbOkCancel), kIdCancel);
  EXPECT_EQ(seen.caption, "Own caption");
}

TEST_F(MessageBoxTest, PromptForTextReturnsTheTypedText) {
  QString text = "Project";
  OnNextMessageDialog([](CMessageDlg& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Tavrilon");
    EXPECT_EQ(dialog.Icon(), CMessageDlg::IconKind::Question);
    EXPECT_TRUE(dialog.Button(kIdCancel)->isVisible());
    auto* edit = dialog.findChild<QLineEdit*>(QString::number(CMessageDlg::kEditId));
    edit->setText("Renamed");
    dialog.Button(kIdOk)->click();
  });
  EXPECT_EQ(PromptForText(text, "Name:"), kIdOk);
  EXPECT_EQ(text, "Renamed");
}

TEST_F(MessageBoxTest, PromptForTextCancelledLeavesTheText) {
  QString text = "";
  OnNextMessageDialog([](CMessageDlg& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Own");
    dialog.findChild<QLineEdit*>(QString::number(CMessageDlg::kEditId))->setText("typed");
    dialog.Button(kIdCancel)->click();
  });
  EXPECT_EQ(PromptForText(text, "Name:", "Own"), kIdCancel);
  EXPECT_EQ(text, "");
}

}  // namespace
