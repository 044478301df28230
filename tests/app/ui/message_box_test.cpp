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
  struct Case {
    int message;
    unsigned type;
    int answer;
    QString text;
    CMessageDlg::IconKind icon;
  };
  const Case cases[] = {
      {500, kMbYesNoCancel | kMbIconQuestion, kIdNo,
       QString::fromUtf8("Enregistrer les modifications ?\nLe fichier a chang\xC3\xA9."),
       CMessageDlg::IconKind::Question},
      {9999, kMbOk, kIdOk, "MSG_9999",
       CMessageDlg::IconKind::Exclamation}};  // an unknown one shows its key
  for (const Case& c : cases) {
    SeenBox seen;
    PressOnNextBox(c.answer, seen);
    EXPECT_EQ(MessageBoxById(c.message, c.type), c.answer);
    EXPECT_EQ(seen.caption, "Tavrilon");
    EXPECT_EQ(seen.text, c.text);
    EXPECT_EQ(seen.icon, c.icon);
  }
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

TEST_F(MessageBoxTest, PromptForTextReturnsTheTypedTextOrLeavesItOnCancel) {
  for (const int answer : {kIdOk, kIdCancel}) {
    const QString caption = answer == kIdOk ? QString() : QStringLiteral("Own");
    QString text = "Project";
    OnNextMessageDialog([answer, caption](CMessageDlg& dialog) {
      EXPECT_EQ(dialog.windowTitle(), caption.isEmpty() ? QStringLiteral("Tavrilon") : caption);
      EXPECT_EQ(dialog.Icon(), CMessageDlg::IconKind::Question);
      EXPECT_TRUE(dialog.Button(kIdCancel)->isVisible());
      dialog.findChild<QLineEdit*>(QString::number(CMessageDlg::kEditId))->setText("Renamed");
      dialog.Button(answer)->click();
    });
    EXPECT_EQ(PromptForText(text, "Name:", caption), answer);
    EXPECT_EQ(text, answer == kIdOk ? "Renamed" : "Project");
  }
}

}  // namespace
