// The rating tables of the choice panel (choice kinds 20..26) on a catalogue of the
// test's own: what the rows show in each rating family, the units they write into the
// line's slots, and the pictures of the tables.
#include "reference/ui/ref_rating_panel.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <array>
#include <vector>

#include "app/ui/window_translation.h"
#include "linear/ref_coff_table.h"
#include "ref_coff_rows.h"
#include "reference/ui/ref_core.h"
#include "ref_ui_test_support.h"
#include "support/temp_folder.h"
#include "support/test_output.h"

namespace {

// The tap-off slot of a line, read with Qt's "slots" macro set aside.
#pragma push_macro("slots")
#undef slots
std::int32_t SlotOf(const CRefLine& line, std::size_t slot) { return line.slots[slot]; }
#pragma pop_macro("slots")

using Row = RefCoffRow;

const std::vector<Row> kCatalogue = {
    {"QP  ", "R", "11", "MSG31092", "5", "250", "IP40", "MSG32081 T1", "IP54", "T2"},
    {"QP  ", "R", "11", "MSG31092", "6", "400", "IP40", "T3", "IP54", "T4"},
    {"QP  ", "R", "51", "A", "7", "250", "", "TYP3 CP ICC25>400", "", ""},
    {"QP  ", "R", "51", "A", "8", "400", "", "TYP2 CPF ICC10", "", ""},
    {"QP  ", "R", "61", "A", "9", "250", "", "T", "", ""},
    {"QP  ", "R", "6?", "A", "10", "250", "", "S", "", ""},
    {"QY  ", "R", "31", "2 poles/4 poles", "11", "16", "", "R", "", ""},
    {"QY  ", "R", "31", "2 poles/4 poles", "12", "16", "", "S", "", ""},
    {"QP  ", "R", "40", "B", "13", "250", "", "T", "", ""},
};

class RefRatingPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteRefCoffRows(folder.File("REF_COFF.DBF"), kCatalogue));
    ASSERT_TRUE(table.Load(folder.Folder(), false));
    for (int p = 0; p < kRefProductCount; ++p)
      config.Product(p) = ref_defaults::ProductOptions(p, 0);
  }
  // The working line of a product, its slots empty.
  CRefLineEditContext& LineOf(int kind) {
    line.Assign(nullptr);
    line.group = kind == 1 ? 3 : 2;
    line.productKind = kind;
    line.rating = 250;
    line.conductors = 1;
    line.connection = 0;
    context = std::make_unique<CRefLineEditContext>(config, line);
    return *context;
  }
  QString Text(QWidget& panel, const QString& name) {
    auto* label = panel.findChild<QLabel*>(name);
    return label != nullptr && !label->isHidden() ? label->text() : QString();
  }
  void Shoot(QWidget& panel, const char* name) {
    panel.show();
    panel.adjustSize();
    EXPECT_TRUE(panel.grab().save(QString::fromStdString(TestOutputPath(name))));
  }

  CRefTestSetup setup;
  CTempFolder folder{"rating-panel"};
  CRefCoffTable table;
  CRefConfig config;
  CRefLine line;
  std::unique_ptr<CRefLineEditContext> context;
  QStringList told;
  CRefRatingPanel::Teller tell = [this](const QString& text) { told << text; };
};

TEST_F(RefRatingPanelTest, ARatingTableWritesUnitsAndProtectionIntoTheSlots) {
  CRefRatingPanel panel(LineOf(4), 20, &table, tell);
  ASSERT_TRUE(panel.Ready());
  EXPECT_EQ(Text(panel, "ref_rating_heading_0"), QStringLiteral("Rating"));
  EXPECT_EQ(Text(panel, "ref_rating_heading_2"), StringQText(31092));
  EXPECT_EQ(Text(panel, "ref_rating_label_1"), QStringLiteral("250 A"));
  // The catalogue's message number reads as its text, the rest of the text kept.
  EXPECT_EQ(Text(panel, "ref_rating_type_1"), StringQText(32081) + QStringLiteral(" T1"));
  auto* types = panel.findChild<QComboBox*>(QStringLiteral("ref_rating_type"));
  EXPECT_EQ(types->itemText(0), StringQText(31092));  // the POL label too
  panel.findChild<QCheckBox*>(QStringLiteral("ref_rating_ip_2"))->click();
  EXPECT_EQ(Text(panel, "ref_rating_type_2"), QStringLiteral("T4"));
  panel.findChild<QLineEdit*>(QStringLiteral("ref_rating_value_1"))->setText(QStringLiteral("4"));
  panel.findChild<QLineEdit*>(QStringLiteral("ref_rating_value_2"))->setText(QStringLiteral("2"));
  Shoot(panel, "reference_rating_table.png");
  panel.accept();
  EXPECT_EQ(panel.result(), QDialog::Accepted);
  EXPECT_EQ(SlotOf(line, 4), 4 | (40 << 16));
  EXPECT_EQ(SlotOf(line, 5), 2 | (54 << 16));  // the second protection, switched on
}

TEST_F(RefRatingPanelTest, ACountAboveTheLimitKeepsThePanelAndTheSlots) {
  CRefRatingPanel panel(LineOf(4), 20, &table, tell);
  panel.findChild<QLineEdit*>(QStringLiteral("ref_rating_value_1"))
      ->setText(QStringLiteral("10000"));
  panel.show();
  panel.accept();
  EXPECT_TRUE(panel.isVisible());
  ASSERT_EQ(told.size(), 1);
  EXPECT_TRUE(told.front().contains(QStringLiteral("9999"))) << told.front().toStdString();
  EXPECT_EQ(SlotOf(line, 4), 0);
}

TEST_F(RefRatingPanelTest, FamilyTenShowsTypeConnectionAndShortCircuitColumns) {
  CRefRatingPanel panel(LineOf(4), 24, &table, tell);
  ASSERT_TRUE(panel.Ready());
  EXPECT_EQ(Text(panel, "ref_rating_heading_0"), QStringLiteral("Type"));
  EXPECT_EQ(Text(panel, "ref_rating_heading_3"), QStringLiteral("Short-circuit rating"));
  EXPECT_EQ(Text(panel, "ref_rating_label_1"), QStringLiteral("Type 3"));
  EXPECT_EQ(Text(panel, "ref_rating_type_1"), QStringLiteral("Plug-in"));
  EXPECT_EQ(Text(panel, "ref_rating_extra_1"), QStringLiteral("Icc 25 kA, In > 400 A"));
  EXPECT_EQ(Text(panel, "ref_rating_type_2"), QStringLiteral("Fixed"));
  EXPECT_EQ(Text(panel, "ref_rating_extra_2"), QStringLiteral("Icc 10 kA"));
  EXPECT_EQ(Text(panel, "ref_rating_label_3"), QString());  // two positions only
  Shoot(panel, "reference_rating_family10.png");
}

TEST_F(RefRatingPanelTest, FamilyElevenSetsASharedPositionOff) {
  CRefRatingPanel panel(LineOf(4), 25, &table, tell);
  ASSERT_TRUE(panel.Ready());
  auto* grid = panel.findChild<QGridLayout*>();
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->rowMinimumHeight(1), 0);  // before the first row: its own group's
  EXPECT_GT(grid->rowMinimumHeight(3), 0);  // before the shared position
  EXPECT_EQ(Text(panel, "ref_rating_type_2"), QStringLiteral("S"));
}

TEST_F(RefRatingPanelTest, LuminaireBoxesWithAlternativesShowTheNote) {
  CRefRatingPanel panel(LineOf(1), 22, &table, tell);
  ASSERT_TRUE(panel.Ready());
  EXPECT_EQ(Text(panel, "ref_rating_note"),
            QStringLiteral("2 poles ") + StringQText(31035) + QStringLiteral("\n4 poles"));
  EXPECT_EQ(Text(panel, "ref_rating_label_1"), QString());  // the note names it
  EXPECT_EQ(Text(panel, "ref_rating_label_2"), QStringLiteral("2 poles/4 poles"));
  EXPECT_EQ(Text(panel, "ref_rating_heading_0"), StringQText(32080));
  Shoot(panel, "reference_rating_luminaires.png");
}

TEST_F(RefRatingPanelTest, TheSingleAndDoubleLineExcludeEachOtherAsRadioButtons) {
  CRefLineEditContext& qya = LineOf(1);
  CRefRatingPanel panel(qya, 0, nullptr, tell);
  const QList<QRadioButton*> options = panel.findChildren<QRadioButton*>();
  ASSERT_EQ(options.size(), 2);
  EXPECT_EQ(options[0]->text(), StringQText(32042));  // single line
  EXPECT_EQ(options[1]->text(), StringQText(32043));  // double line
  EXPECT_TRUE(panel.findChildren<QCheckBox*>().isEmpty());
  options[0]->click();
  options[1]->click();
  EXPECT_FALSE(options[0]->isChecked());
  EXPECT_TRUE(options[1]->isChecked());
}

TEST_F(RefRatingPanelTest, ThePoleCountRenamesTheStraightMembersWithoutChangingTheLine) {
  CRefLineEditContext& qpa = LineOf(4);
  qpa.ApplyLineDefaults(line);
  CRefRatingPanel panel(qpa, 1, nullptr, tell);
  auto* pole = panel.findChild<QComboBox*>(QStringLiteral("ref_pole"));
  ASSERT_NE(pole, nullptr) << "QPA offers component 8";
  auto* first = panel.findChild<QRadioButton*>(QStringLiteral("ref_choice_box_0"));
  ASSERT_NE(first, nullptr);
  const QString two = first->text();
  const std::int32_t kept = line.components[8];
  pole->setCurrentIndex(1);
  emit pole->activated(1);
  EXPECT_NE(first->text(), two);  // the lengths of four poles
  EXPECT_EQ(line.components[8], kept);
  pole->setCurrentIndex(0);
  emit pole->activated(0);
  EXPECT_EQ(first->text(), two);
}

// The table's caption gives way to the group list of a table with groups and stands
// alone over a table without; the families with a column beside the type narrow the
// type list to three quarters of the row.
TEST_F(RefRatingPanelTest, TheCaptionAndTheTypeListFollowTheFamily) {
  struct Case {
    int productKind, kind;
    bool caption, groups, narrow;
    const char* shot;
  };
  const std::vector<Case> cases = {
      {4, 20, false, true, false, nullptr},                             // family 1, grouped
      {1, 22, false, true, false, nullptr},                             // family 6
      {4, 24, false, true, true, "reference_rating_narrow_types.png"},  // family 10
      {4, 23, true, false, false, "reference_rating_caption.png"},      // family 4, no groups
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    CRefRatingPanel panel(LineOf(c.productKind), c.kind, &table, tell);
    ASSERT_TRUE(panel.Ready());
    panel.resize(600, panel.sizeHint().height());
    panel.show();
    auto* caption = panel.findChild<QLabel*>(QStringLiteral("ref_rating_caption"));
    auto* groups = panel.findChild<QComboBox*>(QStringLiteral("ref_rating_group"));
    auto* types = panel.findChild<QComboBox*>(QStringLiteral("ref_rating_type"));
    ASSERT_TRUE(caption && groups && types);
    EXPECT_EQ(caption->isVisible(), c.caption);
    EXPECT_EQ(groups->isVisible(), c.groups);
    const double share = static_cast<double>(types->width()) / groups->parentWidget()->width();
    if (c.narrow) {
      EXPECT_LT(share, 0.8);
    } else {
      EXPECT_GT(share, 0.9);
    }
    if (c.caption) {
      EXPECT_EQ(caption->text(), StringQText(32027));
    }
    if (c.shot) {
      EXPECT_TRUE(panel.grab().save(QString::fromStdString(TestOutputPath(c.shot))));
    }
  }
}

}  // namespace
