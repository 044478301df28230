#include "reference/ui/ref_lighting_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/current_language.h"
#include "app/ui/command_ids.h"
#include "reference/ui/ref_config_dlg.h"
#include "reference/ui/ref_light_range_dlg.h"
#include "reference/ui/ref_lighting_pictures.h"
#include "reference/ui/ref_lum_rows_dlg.h"
#include "reference/ui/ref_wnd.h"
#include "app/ui/command_target.h"
#include "ref_ui_test_support.h"

namespace {

class LightingDlgTest : public ::testing::Test {
 protected:
  CLightingSetup Setup(bool rangePage = true) {
    CLightingSetup s;
    s.catalogueFolder = setup.environment.catalogueSetup.catalogueFolder;
    s.rangePage = rangePage;
    s.environment = &setup.environment.common;
    return s;
  }
  static void Type(CLightingCalcDlg& dialog, const char* name, const QString& text) {
    auto* edit = dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    ASSERT_NE(edit, nullptr) << name;
    edit->setText(text);
  }
  static QString Text(CLightingCalcDlg& dialog, const char* name) {
    auto* edit = dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    return edit ? edit->text() : QStringLiteral("?");
  }
  // The sample room of the calculation's tests: 10 x 6 x 3 m, the first luminaire, 300 lx.
  void RunToResults(CLightingCalcDlg& dialog, const char* shots = nullptr) {
    dialog.show();
    Type(dialog, "light_length", "10");
    Type(dialog, "light_width", "6");
    Type(dialog, "light_height", "3");
    if (shots) SaveScreenshot(dialog, QStringLiteral("%1_step1").arg(shots));
    ASSERT_TRUE(dialog.Next());
    auto* luminaires = dialog.findChild<QComboBox*>("light_luminaire");
    ASSERT_EQ(luminaires->count(), 3);
    luminaires->setCurrentIndex(0);
    emit luminaires->activated(0);
    EXPECT_EQ(Text(dialog, "light_flux"), "6700");
    EXPECT_FALSE(dialog.findChild<QLabel*>("1562")->pixmap().isNull()) << "the batten's picture";
    if (shots) SaveScreenshot(dialog, QStringLiteral("%1_step2").arg(shots));
    ASSERT_TRUE(dialog.Next());
    Type(dialog, "light_illuminance", "300");
    if (shots) SaveScreenshot(dialog, QStringLiteral("%1_step3").arg(shots));
    ASSERT_TRUE(dialog.Next());
    ASSERT_EQ(dialog.Step(), 4);
  }
  QStringList& Messages() { return setup.common.dialogs.messages; }

  CRefTestSetup setup;
};

TEST_F(LightingDlgTest, TheStudyRunsToItsLineThroughTheRangePage) {
  CLightingCalcDlg dialog(Setup());
  RunToResults(dialog, "lighting");
  EXPECT_EQ(Text(dialog, "light_count"), "9");
  EXPECT_EQ(Text(dialog, "light_run_spacing"), "2.00");
  EXPECT_EQ(Text(dialog, "light_spacing"), "3.333");
  EXPECT_EQ(Text(dialog, "light_em"), "305");
  SaveScreenshot(dialog, "lighting_step4");
  ASSERT_TRUE(dialog.Next());
  EXPECT_EQ(dialog.Step(), 5);
  SaveScreenshot(dialog, "lighting_step5");
  auto* qfp = dialog.findChild<QPushButton*>("1528");
  EXPECT_TRUE(qfp->isHidden() || !qfp->isVisibleTo(&dialog));
  dialog.findChild<QPushButton*>("1530")->click();  // QYB
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Line().kind, 2);
  EXPECT_EQ(dialog.Line().runs, 3);
  EXPECT_EQ(dialog.Line().perRun, 3);
  EXPECT_EQ(dialog.Line().runLength, 7867);
  EXPECT_EQ(dialog.Line().fixingCode, 0x10000 | 2);
}

TEST_F(LightingDlgTest, TheOrientationAndTypedLayoutRecalculate) {
  CLightingCalcDlg dialog(Setup(false));
  RunToResults(dialog);
  dialog.findChild<QCheckBox*>("1325")->click();
  EXPECT_EQ(Text(dialog, "light_run_spacing"), "3.333");
  EXPECT_EQ(Text(dialog, "light_spacing"), "2.00");
  auto* runs = dialog.findChild<QComboBox*>("light_runs");
  runs->setCurrentText("4");
  EXPECT_EQ(Text(dialog, "light_count"), "12");
  EXPECT_EQ(Text(dialog, "light_em"), "407");
  ASSERT_TRUE(dialog.Next());  // no range page: the fourth step finishes
  EXPECT_EQ(dialog.Line().kind, 1);
  EXPECT_EQ(dialog.Line().runs, 4);
  EXPECT_EQ(dialog.Line().runLength, 5000);
}

// Each step shows its picture: the room, the luminaire, the section with the luminaires
// hung or against the ceiling, and the plan of the runs that follows the orientation.
TEST_F(LightingDlgTest, EachStepShowsItsPictures) {
  const struct {
    const char* suspension;
    int section;
  } cases[] = {{"0.5", kLightingPictureSuspended}, {"0", kLightingPictureCeiling}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.suspension);
    CLightingCalcDlg dialog(Setup());
    dialog.show();
    EXPECT_EQ(dialog.StepPictureShown(), kLightingPictureRoom);
    EXPECT_EQ(dialog.OrientationPictureShown(), 0);
    auto* step = dialog.findChild<QLabel*>("1565");
    auto* orientation = dialog.findChild<QLabel*>("1571");
    ASSERT_NE(step, nullptr);
    ASSERT_NE(orientation, nullptr);
    EXPECT_TRUE(step->isVisible());
    EXPECT_FALSE(orientation->isVisible());
    const QImage room = step->pixmap().toImage();
    Type(dialog, "light_length", "10");
    Type(dialog, "light_width", "6");
    Type(dialog, "light_height", "3");
    ASSERT_TRUE(dialog.Next());
    EXPECT_EQ(dialog.StepPictureShown(), kLightingPictureLuminaire);
    EXPECT_NE(step->pixmap().toImage(), room);
    Type(dialog, "light_suspension", QString::fromLatin1(c.suspension));
    auto* luminaires = dialog.findChild<QComboBox*>("light_luminaire");
    luminaires->setCurrentIndex(0);
    emit luminaires->activated(0);
    ASSERT_TRUE(dialog.Next());
    EXPECT_EQ(dialog.StepPictureShown(), c.section);
    EXPECT_EQ(dialog.OrientationPictureShown(), kLightingPictureAlongLength);
    EXPECT_TRUE(orientation->isVisible());
    Type(dialog, "light_illuminance", "300");
    ASSERT_TRUE(dialog.Next());
    EXPECT_EQ(dialog.StepPictureShown(), c.section);
    const QImage along = orientation->pixmap().toImage();
    dialog.findChild<QCheckBox*>("1325")->click();
    EXPECT_EQ(dialog.OrientationPictureShown(), kLightingPictureAcrossWidth);
    EXPECT_NE(orientation->pixmap().toImage(), along);
    SaveScreenshot(dialog, QStringLiteral("lighting_pictures_%1").arg(c.section));
    ASSERT_TRUE(dialog.Next());
    EXPECT_EQ(dialog.Step(), 5);
    EXPECT_FALSE(step->isVisible());
    EXPECT_FALSE(orientation->isVisible());
    dialog.findChild<QPushButton*>("2")->click();  // the range page's back button
    EXPECT_EQ(dialog.Step(), 4);
    EXPECT_EQ(dialog.StepPictureShown(), c.section);
    EXPECT_EQ(dialog.OrientationPictureShown(), kLightingPictureAcrossWidth);
  }
}

TEST(LightingPicturesTest, EveryPictureIsDrawnAndNoOther) {
  const QSize size(180, 170);
  std::vector<QImage> drawn;
  for (int picture :
       {kLightingPictureRoom, kLightingPictureLuminaire, kLightingPictureSuspended,
        kLightingPictureCeiling, kLightingPictureAlongLength, kLightingPictureAcrossWidth}) {
    SCOPED_TRACE(picture);
    const QImage image = DrawLightingPicture(picture, size).toImage();
    ASSERT_EQ(image.size(), size);
    for (const QImage& other : drawn) EXPECT_NE(image, other);
    drawn.push_back(image);
  }
  EXPECT_TRUE(DrawLightingPicture(31047, size).isNull());
  EXPECT_TRUE(DrawLightingPicture(kLightingPictureRoom, QSize(0, 10)).isNull());
}

TEST_F(LightingDlgTest, ALayoutOfNoLuminaireAddsNoLine) {
  CLightingCalcDlg dialog(Setup(false));
  RunToResults(dialog);
  dialog.findChild<QComboBox*>("light_runs")->setCurrentText("0");
  EXPECT_EQ(Text(dialog, "light_count"), "0");
  EXPECT_EQ(Text(dialog, "light_em"), "");
  Messages().clear();
  dialog.Next();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Step(), 4);
  ASSERT_EQ(Messages().size(), 1);
  EXPECT_TRUE(Messages().front().contains("adds no line"));
}

TEST_F(LightingDlgTest, OutOfRangeValuesAreRefused) {
  struct {
    const char* field;
    const char* text;
    const char* message;
  } const cases[] = {
      {"light_ceiling", "100", "between 0 and 99"},
      {"light_length", "0.5", "between 1 and 1000"},
      {"light_plane", "2.95", "between 0 and 2.9"},
      {"light_length", "ten", "between 1 and 1000"},
  };
  for (const auto& c : cases) {
    CLightingCalcDlg dialog(Setup());
    dialog.show();
    Type(dialog, "light_length", "10");
    Type(dialog, "light_width", "6");
    Type(dialog, "light_height", "3");
    Type(dialog, c.field, c.text);
    Messages().clear();
    EXPECT_FALSE(dialog.Next()) << c.field;
    EXPECT_EQ(dialog.Step(), 1);
    ASSERT_EQ(Messages().size(), 1) << c.field;
    EXPECT_TRUE(Messages().front().contains(c.message)) << Messages().front().toStdString();
  }
}

TEST_F(LightingDlgTest, NoLuminaireAndAHugeIlluminanceAreRefused) {
  CLightingCalcDlg dialog(Setup());
  dialog.show();
  Type(dialog, "light_length", "1000");
  Type(dialog, "light_width", "1000");
  Type(dialog, "light_height", "3");
  Type(dialog, "light_depreciation", "0.1");
  ASSERT_TRUE(dialog.Next());
  Messages().clear();
  EXPECT_FALSE(dialog.Next());
  ASSERT_EQ(Messages().size(), 1);
  EXPECT_TRUE(Messages().front().contains("Choose a luminaire"));
  auto* luminaires = dialog.findChild<QComboBox*>("light_luminaire");
  luminaires->setCurrentIndex(0);
  emit luminaires->activated(0);
  ASSERT_TRUE(dialog.Next());
  Type(dialog, "light_illuminance", "2147483647");
  Messages().clear();
  EXPECT_FALSE(dialog.Next());
  EXPECT_EQ(dialog.Step(), 3);
  ASSERT_EQ(Messages().size(), 1);
  EXPECT_TRUE(Messages().front().contains("more than a layout can hold"));
}

TEST_F(LightingDlgTest, TheDepreciationListShowsTheRoomOfTheFactorInEitherLanguage) {
  const struct {
    const char* language;
    QStringList rooms;
  } cases[] = {
      {"033",
       {QStringLiteral("Propre"), QStringLiteral("Normal"),
        QString::fromUtf8("Poussi\xC3\xA9reux")}},
      {"044", {QStringLiteral("Clean"), QStringLiteral("Normal"), QStringLiteral("Dusty")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.language);
    CCurrentLanguage::Instance().LoadLanguage(c.language);
    CLightingCalcDlg dialog(Setup());
    dialog.show();
    auto* rooms = dialog.findChild<QComboBox*>("1550");
    ASSERT_NE(rooms, nullptr);
    QStringList shown;
    for (int i = 0; i < rooms->count(); ++i) shown << rooms->itemText(i);
    EXPECT_EQ(shown, c.rooms);
    // The factor's 0.8 is the clean room's: the list does not read as an empty one.
    EXPECT_EQ(rooms->currentText(), c.rooms.front());
  }
}

TEST_F(LightingDlgTest, TheRangeChoiceTakesOnlyARangeButton) {
  CLightRangeDlg range(false);
  range.show();
  range.accept();  // Enter with no range button focused
  EXPECT_EQ(range.ChoiceMade(), CLightRangeDlg::kNone);
  EXPECT_TRUE(range.isVisible());
  SaveScreenshot(range, "lighting_range_choice");
  range.findChild<QPushButton*>("1528")->click();
  EXPECT_EQ(range.ChoiceMade(), CLightRangeDlg::kQfp);
  EXPECT_EQ(range.result(), QDialog::Accepted);
}

TEST_F(LightingDlgTest, TheRangeLeadStandsBesideTheRangesItNames) {
  for (const bool embedded : {false, true}) {
    CLightRangeDlg range(embedded);
    range.resize(640, 360);
    range.show();
    QApplication::processEvents();
    auto* lead = range.findChild<QLabel*>("1501");
    auto* qyb = range.findChild<QPushButton*>("1530");
    ASSERT_NE(lead, nullptr);
    ASSERT_NE(qyb, nullptr);
    const QRect leadBox(lead->mapTo(&range, QPoint()), lead->size());
    const QRect qybBox(qyb->mapTo(&range, QPoint()), qyb->size());
    // Left of the range buttons, within the band of the range columns, not on a line of
    // its own above them.
    EXPECT_LT(leadBox.right(), qybBox.left()) << embedded;
    EXPECT_GT(leadBox.bottom(), range.findChild<QLabel*>("1509")->mapTo(&range, QPoint()).y())
        << embedded;
    EXPECT_LT(leadBox.top(), qybBox.bottom()) << embedded;
    // Its words end next to the first column shown, with no empty column between.
    const QWidget* first = (embedded ? qyb : range.findChild<QPushButton*>("1528"))->parentWidget();
    const int wordsEnd = leadBox.left() + lead->fontMetrics().horizontalAdvance(lead->text());
    EXPECT_LT(first->mapTo(&range, QPoint()).x() - wordsEnd, 3 * lead->fontMetrics().height())
        << embedded;
    SaveScreenshot(range, embedded ? "lighting_range_lead_embedded" : "lighting_range_lead");
  }
}

TEST_F(LightingDlgTest, TheRowDialogSwitchesBallasts) {
  const std::string folder = setup.environment.catalogueSetup.catalogueFolder;
  CLumRowsDlg rows(folder, 1);
  rows.show();
  auto* option = rows.findChild<QPushButton*>("lum_option_1");
  ASSERT_TRUE(option->isVisible());
  EXPECT_EQ(option->text(), "Électronique");
  option->click();
  EXPECT_EQ(option->text(), "Gradable");
  EXPECT_EQ(rows.Chosen(), 21u);
  SaveScreenshot(rows, "lighting_luminaire_rows");
  auto* check = rows.findChild<QCheckBox*>("1614");
  check->click();  // unchecking leaves no luminaire chosen
  EXPECT_EQ(rows.Chosen(), 0u);
  EXPECT_FALSE(rows.findChild<QPushButton*>("1")->isEnabled());
}

TEST_F(LightingDlgTest, TheCommandsAddTheStudysLine) {
  CRefWnd window(setup.environment);
  ASSERT_TRUE(window.CheckConfig());
  window.show();
  CCommandState state;
  ASSERT_TRUE(window.UpdateCommand(kIdLightingCalc, state));
  EXPECT_TRUE(state.enabled);
  QTimer::singleShot(0, [] {
    auto* range = qobject_cast<CLightRangeDlg*>(QApplication::activeModalWidget());
    if (range) range->findChild<QPushButton*>("1531")->click();
  });
  ASSERT_TRUE(window.Dialog().RunLightingRange());
  EXPECT_EQ(window.Project().lines[0].productKind, 1);  // QYA
  ASSERT_TRUE(window.UpdateCommand(kIdLightingCalc, state));
  EXPECT_FALSE(state.enabled);  // a line is being edited
}

}  // namespace
