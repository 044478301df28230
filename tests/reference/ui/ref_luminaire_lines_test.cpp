// Lighting lines on the line page: the luminaire mode chosen beside the count, and the
// schematic of a QFP line with its cable range and luminaire options (the sample option
// lists withdraw QFP, so its schematic is drawn on an area of its own).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QRadioButton>

#include <functional>

#include "reference/ui/ref_config_dlg.h"
#include "reference/ui/ref_core.h"
#include "reference/ui/ref_line_area.h"
#include "reference/ui/ref_line_page_view.h"
#include "reference/ui/ref_wnd.h"
#include "ref_ui_test_support.h"
#include "support/test_output.h"

namespace {

TEST(RefLuminaireLinesTest, TheModeButtonOfALightingLineChangesItsMode) {
  CRefTestSetup setup;
  CRefWnd window(setup.environment);
  ASSERT_TRUE(window.CheckConfig());
  window.resize(1280, 820);
  window.show();
  ProcessEvents();
  CRefConfigDlg& dialog = window.Dialog();
  ASSERT_TRUE(dialog.AddNewLineItem(RefProductNodeCode(3, 1)));
  QPushButton* mode = dialog.LinePage().OptionButton(1201);
  ASSERT_NE(mode, nullptr);
  ASSERT_TRUE(mode->isVisible()) << "the sample's QYA offers two luminaire modes";
  CRefLine& work = window.Project().lines[0];
  const int before = work.lineMode;
  QTimer::singleShot(0, [before] {
    auto* panel = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(panel, nullptr);
    // The other mode: box 0 is mode 1, box 1 mode 2.
    const QString other = QStringLiteral("ref_choice_box_%1").arg(before == 1 ? 1 : 0);
    panel->findChild<QRadioButton*>(other)->setChecked(true);
    panel->accept();
  });
  mode->click();
  EXPECT_NE(work.lineMode, before);
  EXPECT_TRUE(work.lineMode == 1 || work.lineMode == 2);
}

TEST(RefLuminaireLinesTest, AQfpSchematicShowsItsCableRangeAndLuminaireOptions) {
  CRefTestSetup setup;
  CRefConfig config;
  for (int p = 0; p < kRefProductCount; ++p) config.Product(p) = ref_defaults::ProductOptions(p, 0);
  CRefLine line;
  line.Assign(nullptr);
  line.group = 3;
  line.productKind = 0;
  line.rating = 20;
  line.conductors = 1;
  line.connection = 0;
  line.lineMode = 10;
  line.length = 24;
  line.components[24] = 4;
  line.components[28] = 2;
  CRefLineEditContext context(config, line);
  BeginRefLineEdit(context, false);
  CRefLineArea area;
  area.resize(1000, 560);
  auto maker = [&context](CRefRect client, int h, int w) {
    return LayOutRefSchematic(context, client, h, w);
  };
  area.ShowSchematic(maker, RefPictureOf(0, 10, 0), context.edits, false);
  area.show();
  ProcessEvents();
  ASSERT_NE(area.Caption(1360), nullptr);  // the cable range under the fixing
  QLabel* total = area.Caption(kStaticEquipment);
  ASSERT_NE(total, nullptr);
  EXPECT_EQ(total->text(), QStringLiteral("6"));  // 4 + the extra feed of line mode 10
  EXPECT_NE(area.ChooseButton(1267), nullptr);
  EXPECT_TRUE(
      area.grab().save(QString::fromStdString(TestOutputPath("reference_qfp_schematic.png"))));
}

}  // namespace
