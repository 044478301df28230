#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QPointer>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/profile.h"
#include "app/ui/info_dlg.h"
#include "app/ui/model_dlg.h"
#include "app/ui/pictures.h"
#include "app/ui/shell_dialogs.h"
#include "app/ui/splash_dlg.h"
#include "app/ui/start_mode_dlg.h"
#include "shell_test_support.h"

namespace {

QPushButton* Button(QWidget& dialog, int id) {
  return dialog.findChild<QPushButton*>(QString::number(id));
}

TEST(StartModeDlgTest, ASingleOfferedWayNeedsNoDialog) {
  UseProgramLanguage();
  struct Row {
    bool linear, reference, graphical;
    int result;
  };
  const Row rows[] = {{true, false, false, kStartLinear},
                      {false, true, false, kStartReference},
                      {false, false, true, kStartGraphical},
                      {false, false, false, kStartGraphical}};
  for (const Row& row : rows) {
    CStartModeDlg dialog;
    dialog.SetOffers(row.linear, row.reference, row.graphical);
    EXPECT_EQ(dialog.Run(), row.result);  // would block if it were shown
    EXPECT_FALSE(dialog.isVisible());
  }
}

TEST(StartModeDlgTest, ButtonsEndTheDialogWithTheirWay) {
  UseProgramLanguage();
  for (auto [button, result] : {std::pair{CStartModeDlg::kLinearButton, kStartLinear},
                                std::pair{CStartModeDlg::kReferenceButton, kStartReference},
                                std::pair{CStartModeDlg::kGraphicalButton, kStartGraphical}}) {
    CStartModeDlg dialog;
    QTimer::singleShot(0, &dialog, [&dialog, id = button] { Button(dialog, id)->click(); });
    EXPECT_EQ(dialog.Run(), result);
  }
  CStartModeDlg closed;
  QTimer::singleShot(0, &closed, [&closed] { closed.reject(); });
  EXPECT_EQ(closed.Run(), 0);
}

TEST(StartModeDlgTest, WaysNotOfferedAreHiddenAndTheDialogNarrows) {
  UseProgramLanguage();
  CStartModeDlg all;
  all.show();
  int fullWidth = all.sizeHint().width();
  EXPECT_TRUE(SaveScreenshot(all, "start_mode_dialog"));
  EXPECT_TRUE(Button(all, CStartModeDlg::kLinearButton)->text().contains("Linear costing"));
  EXPECT_TRUE(all.windowTitle().startsWith("Create a new project"));
  EXPECT_FALSE(all.windowTitle().contains('\n'));
  CStartModeDlg two;
  two.SetOffers(false, true, true);
  two.show();
  EXPECT_FALSE(Button(two, CStartModeDlg::kLinearButton)->isVisible());
  EXPECT_FALSE(two.findChild<QLabel*>("1216")->isVisible());
  EXPECT_TRUE(Button(two, CStartModeDlg::kGraphicalButton)->isVisible());
  EXPECT_LT(two.sizeHint().width(), fullWidth);
}

TEST(ModelDlgTest, PathIsEditableAndTrimmed) {
  UseProgramLanguage();
  CModelDlg dialog("/opt/tvr/model.run");
  auto* edit = dialog.findChild<QLineEdit*>("1031");
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->text(), "/opt/tvr/model.run");
  edit->setText("  /x/y.run ");
  EXPECT_EQ(dialog.ModelPath(), "/x/y.run");
  EXPECT_NE(dialog.findChild<QPushButton*>("1077"), nullptr);
}

class InfoDlgTest : public ::testing::Test {
 protected:
  void SetUp() override { UseProgramLanguage(); }
  CInfoDlg::Setup MakeSetup(EInfoMode mode, int current) {
    CInfoDlg::Setup setup;
    setup.mode = mode;
    setup.languages = {{"033--0", "Français"}, {"044--0", "English"}, {"030--161", "Ελληνικά"}};
    setup.currentLanguage = current;
    setup.applicationName = "Tavrilon";
    setup.version = "7.3";
    return setup;
  }
  CShellTestFolder m_folder;
  CProfile m_profile{m_folder.SettingsFolder() + "TVR.INI"};
};

TEST_F(InfoDlgTest, StartupOkWithTheBoxCheckedWritesZero) {
  CInfoDlg dialog(MakeSetup(EInfoMode::Startup, 44), m_profile);
  EXPECT_EQ(dialog.LanguageCombo()->currentIndex(), 1);
  EXPECT_FALSE(dialog.InfosCheck()->isChecked());
  EXPECT_TRUE(dialog.findChild<QLabel*>("1070")->text().endsWith("Tavrilon 7.3"));
  dialog.show();
  EXPECT_TRUE(SaveScreenshot(dialog, "info_dialog"));
  dialog.InfosCheck()->setChecked(true);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(m_profile.ReadProfileInt("Design", "Infos", 7), 0);
  EXPECT_EQ(m_profile.ReadProfileText("Language", "ID", "none"), "none");
}

TEST_F(InfoDlgTest, AboutBoxReadsTheOtherWayAndWritesOnlyChanges) {
  ASSERT_NE(m_profile.WriteProfileInt("Design", "Infos", 1), 0);
  CInfoDlg unchanged(MakeSetup(EInfoMode::About, 33), m_profile);
  EXPECT_TRUE(unchanged.InfosCheck()->isChecked());
  EXPECT_TRUE(unchanged.InfosCheck()->text().contains("Show this window"));
  unchanged.accept();
  CInfoDlg cleared(MakeSetup(EInfoMode::About, 33), m_profile);
  cleared.InfosCheck()->setChecked(false);
  cleared.accept();
  EXPECT_EQ(m_profile.ReadProfileInt("Design", "Infos", 7), 0);
}

TEST_F(InfoDlgTest, AnotherLanguageEndsWithFourAndIsStored) {
  CInfoDlg dialog(MakeSetup(EInfoMode::Startup, 33), m_profile);
  dialog.LanguageCombo()->setCurrentIndex(2);
  dialog.accept();
  EXPECT_EQ(dialog.result(), kInfoLanguageChanged);
  EXPECT_EQ(m_profile.ReadProfileText("Language", "ID", ""), "030");
  CInfoDlg same(MakeSetup(EInfoMode::Startup, 33), m_profile);
  same.accept();
  EXPECT_EQ(same.result(), QDialog::Accepted);
}

TEST_F(InfoDlgTest, AnUnlistedLanguageIsNotSwitchedByOkAlone) {
  CInfoDlg dialog(MakeSetup(EInfoMode::Startup, 49), m_profile);
  EXPECT_EQ(dialog.LanguageCombo()->currentIndex(), -1);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(m_profile.ReadProfileText("Language", "ID", "none"), "none");
}

TEST(SplashDlgTest, ShowsTheDrawnPictureAndClosesOnAKey) {
  CSplashDlg* splash = new CSplashDlg("/nonexistent/splash.jpg", "Tavrilon");
  QPointer<CSplashDlg> alive(splash);
  EXPECT_EQ(splash->size(), QSize(kSplashWidth, kSplashHeight));
  EXPECT_GT(splash->ScaleX(), 0.0f);
  splash->ShowForStart();
  EXPECT_TRUE(SaveScreenshot(*splash, "splash"));
  QWidget other;
  QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
  QApplication::sendEvent(&other, &press);
  ProcessEvents();
  EXPECT_TRUE(alive.isNull());
}

TEST(ShellDialogsTest, StoredFiltersBecomeFileDialogFilters) {
  EXPECT_EQ(FileDialogFilter("Tavrilon Files (*.run;*.ref)|*.run;*.ref|All Files (*.*)|*.*||"),
            "Tavrilon Files (*.run *.ref);;All Files (*.*)");
  EXPECT_EQ(FileDialogFilter("Layouts|*.run||"), "Layouts (*.run)");
  EXPECT_EQ(FileDialogFilter(""), "");
}

}  // namespace
