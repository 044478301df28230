#include "app/ui/message_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <set>

#include "app/message_box_codes.h"
#include "language_ui_test_support.h"

namespace {

void PressKey(QWidget& target, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(&target, &press);
}

std::set<int> VisibleButtons(const CMessageDlg& dialog) {
  std::set<int> visible;
  for (int answer : {kIdOk, kIdYes, kIdNo, kIdCancel})
    if (!dialog.Button(answer)->isHidden()) visible.insert(answer);
  return visible;
}

struct ButtonsCase {
  const char* fault;
  unsigned type;
  std::set<int> buttons;
  int enterAnswer;   // the default button
  int escapeAnswer;  // 0: Escape does nothing
};

class MessageDlgButtonsTest : public testing::TestWithParam<ButtonsCase> {};

TEST_P(MessageDlgButtonsTest, ShowsTheButtonsOfTheTypeAndAnswersEnterAndEscape) {
  const ButtonsCase& row = GetParam();
  CMessageDlg dialog("Text", "Caption", row.type);
  EXPECT_EQ(VisibleButtons(dialog), row.buttons) << row.fault;
  dialog.show();
  PressKey(dialog, Qt::Key_Return);  // the default button
  EXPECT_FALSE(dialog.isVisible()) << row.fault;
  EXPECT_EQ(dialog.result(), row.enterAnswer) << row.fault;
  dialog.setResult(0);
  dialog.show();
  PressKey(dialog, Qt::Key_Escape);  // Cancel where there is one
  EXPECT_EQ(dialog.isVisible(), row.escapeAnswer == 0) << row.fault;
  EXPECT_EQ(dialog.result(), row.escapeAnswer) << row.fault;
}

INSTANTIATE_TEST_SUITE_P(
    Types, MessageDlgButtonsTest,
    testing::Values(
        ButtonsCase{"OK", kMbOk, {kIdOk}, kIdOk, kIdOk},
        ButtonsCase{"OK has no second button", kMbOk | kMbDefButton2, {kIdOk}, kIdOk, kIdOk},
        ButtonsCase{"OK and Cancel", kMbOkCancel, {kIdOk, kIdCancel}, kIdOk, kIdCancel},
        ButtonsCase{
            "Cancel second", kMbOkCancel | kMbDefButton2, {kIdOk, kIdCancel}, kIdCancel, kIdCancel},
        ButtonsCase{
            "Yes, No and Cancel", kMbYesNoCancel, {kIdYes, kIdNo, kIdCancel}, kIdYes, kIdCancel},
        ButtonsCase{"No second",
                    kMbYesNoCancel | kMbDefButton2,
                    {kIdYes, kIdNo, kIdCancel},
                    kIdNo,
                    kIdCancel},
        ButtonsCase{"Enter in a Yes/No box means Yes",
                    kMbYesNo | kMbIconQuestion,
                    {kIdYes, kIdNo},
                    kIdYes,
                    0},
        ButtonsCase{"Yes/No with No second", kMbYesNo | kMbDefButton2, {kIdYes, kIdNo}, kIdNo, 0},
        ButtonsCase{"an unknown type still has OK", 0x2, {kIdOk}, kIdOk, kIdOk}));

TEST(MessageDlgTest, ButtonsSpeakTheProgramsLanguage) {
  const CTestLanguage french("02710=OK\r\n02711=&Oui\r\n02712=&Non\r\n02713=Annuler\r\n");
  CMessageDlg dialog("Texte", "Titre", kMbYesNoCancel);
  EXPECT_EQ(dialog.Button(kIdYes)->text(), "&Oui");
  EXPECT_EQ(dialog.Button(kIdNo)->text(), "&Non");
  EXPECT_EQ(dialog.Button(kIdCancel)->text(), "Annuler");
  EXPECT_EQ(dialog.windowTitle(), "Titre");
}

// A box asked without a caption is the program's: never titled by the executable's name.
TEST(MessageDlgTest, ABoxWithoutCaptionIsTitledWithTheProgramsName) {
  const CTestLanguage french("02710=OK\r\n");
  CMessageDlg dialog("Supprimer ?", QString(), kMbYesNo);
  EXPECT_EQ(dialog.windowTitle(), "Tavrilon");
}

TEST(MessageDlgTest, ShowsTheMessageAsPlainTextAndNoEditWithoutInput) {
  CMessageDlg dialog("<b>a.run</b>", "Caption", kMbOk);
  dialog.show();
  EXPECT_FALSE(dialog.findChild<QLineEdit*>(QString::number(CMessageDlg::kEditId))->isVisible());
  const auto* text = dialog.findChild<QLabel*>(QString::number(CMessageDlg::kTextId));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text(), "<b>a.run</b>");
  EXPECT_EQ(text->textFormat(), Qt::PlainText);
}

TEST(MessageDlgTest, GrowsWithItsLines) {
  CMessageDlg one("A line", "Caption", kMbOk);
  CMessageDlg three("A line\nA much longer second line of the message\nThird", "Caption", kMbOk);
  one.show();
  three.show();
  EXPECT_GT(three.width(), one.width());
  EXPECT_GT(three.height(), one.height());
}

TEST(MessageDlgTest, ALongLineWrapsIntoAParagraphAndShortLinesDoNot) {
  const QString sentence = QString("The units cannot be distributed along the run. ").repeated(8);
  CMessageDlg one("A line", "Caption", kMbOk);
  CMessageDlg wrapped(sentence, "Caption", kMbOk);
  one.show();
  wrapped.show();
  const auto* text = wrapped.findChild<QLabel*>(QString::number(CMessageDlg::kTextId));
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(text->wordWrap());
  EXPECT_FALSE(one.findChild<QLabel*>(QString::number(CMessageDlg::kTextId))->wordWrap());
  EXPECT_LT(wrapped.width(), text->fontMetrics().horizontalAdvance(sentence));
  EXPECT_GT(wrapped.height(), one.height());
}

TEST(MessageDlgTest, OkStoresTheInputTextAndCancelKeepsTheOld) {
  for (const bool ok : {true, false}) {
    CMessageDlg dialog("Name?", "Caption", kMbOkCancel | kMbIconQuestion);
    dialog.SetInputText("old");
    dialog.show();
    auto* edit = dialog.findChild<QLineEdit*>(QString::number(CMessageDlg::kEditId));
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->text(), "old");
    edit->setText("new");
    if (ok) PressKey(dialog, Qt::Key_Return);
    else dialog.Button(kIdCancel)->click();
    EXPECT_EQ(dialog.result(), ok ? kIdOk : kIdCancel);
    EXPECT_EQ(dialog.InputText(), ok ? "new" : "old");
  }
}

}  // namespace
