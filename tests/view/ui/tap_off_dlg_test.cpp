// The tap-off device dialog on the sample catalogue: what it lists for a run's product,
// what OK hands over, and a screenshot in build/test-output/tapoff_dialog.png.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/current_language.h"
#include "support/test_output.h"
#include "view/ui/tap_off_dlg.h"

namespace {

class TapOffDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CCurrentLanguage::Instance().Reset();
    CLanguageSetup setup;
    setup.catalogueFolder = std::string(TVR_PROGRAM_DIR) + "/DBF/";
    CCurrentLanguage::Instance().SetSetup(setup);
    CCurrentLanguage::Instance().LoadLanguage("044");
    ASSERT_TRUE(m_table.Load(setup.catalogueFolder, false));
  }
  void TearDown() override {
    ResetRememberedTapOffChoice();
    CCurrentLanguage::Instance().Reset();
  }
  template <typename T>
  static T* Control(QWidget& dialog, int id) {
    return dialog.findChild<T*>(QString::number(id));
  }
  CRefCoffTable m_table;
};

TEST_F(TapOffDlgTest, ListsTheRunsRowsByFunction) {
  CTapOffDlg dialog(m_table, "QDA", nullptr);
  auto* fuses = Control<QRadioButton>(dialog, 1628);
  ASSERT_NE(fuses, nullptr);
  EXPECT_FALSE(fuses->isHidden());
  EXPECT_TRUE(fuses->isChecked());
  EXPECT_TRUE(Control<QRadioButton>(dialog, 1629)->isHidden()) << "QDA has no function 2";
  EXPECT_FALSE(Control<QRadioButton>(dialog, 1107)->isHidden());
  auto* subs = Control<QComboBox>(dialog, 1630);
  ASSERT_EQ(subs->count(), 2);
  EXPECT_EQ(subs->itemText(0), "Fuse boxes");
  auto* rows = Control<QComboBox>(dialog, 1500);
  ASSERT_EQ(rows->count(), 2);
  EXPECT_EQ(rows->itemText(0), "QDB0016SE  |  Fuses");
  EXPECT_FALSE(Control<QRadioButton>(dialog, 1113)->isHidden());
  EXPECT_TRUE(Control<QRadioButton>(dialog, 1115)->isHidden());
  dialog.adjustSize();
  EXPECT_TRUE(dialog.grab().save(QString::fromStdString(TestOutputPath("tapoff_dialog.png"))));
}

TEST_F(TapOffDlgTest, OkRemembersTheCheckedDevice) {
  const struct {
    const char* name;
    bool distribute;
    int result;
  } rows[] = {{"placing by hand", false, 1}, {"automatic distribution", true, 6}};
  for (const auto& row : rows) {
    ResetRememberedTapOffChoice();
    CTapOffDlg dialog(m_table, "QDA", nullptr);
    auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    EXPECT_FALSE(ok->isEnabled()) << "no device chosen yet";
    Control<QRadioButton>(dialog, 1113)->setChecked(true);
    Control<QCheckBox>(dialog, 1677)->setChecked(row.distribute);
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_TRUE(Control<QRadioButton>(dialog, 1628)->isChecked()) << "the function stays chosen";
    QTimer::singleShot(0, ok, &QPushButton::click);
    EXPECT_EQ(dialog.exec(), row.result) << row.name;
    EXPECT_EQ(RememberedTapOffChoice().reference, "QDB0032SE") << row.name;
    EXPECT_EQ(RememberedTapOffChoice().record.mask, 128u) << row.name;
    EXPECT_EQ(RememberedTapOffChoice().record.ratings[2], 180) << row.name;
  }
  // Opened again, the remembered unit is preselected.
  CTapOffDlg again(m_table, "QDA", nullptr);
  EXPECT_TRUE(Control<QRadioButton>(again, 1113)->isChecked());
}

TEST_F(TapOffDlgTest, UnknownProductShowsNoFunction) {
  CTapOffDlg dialog(m_table, "QZZ", nullptr);
  for (int id : CTapOffDlg::kFunctionIds)
    EXPECT_TRUE(Control<QRadioButton>(dialog, id)->isHidden());
  EXPECT_EQ(Control<QComboBox>(dialog, 1500)->count(), 0);
}

}  // namespace
