#include "reference/ui/ref_wnd.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "app/typed_field.h"
#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/option_list_files.h"
#include "app/ui/command_ids.h"
#include "app/ui/window_translation.h"
#include "reference/ui/ref_config_dlg.h"
#include "reference/ui/ref_core.h"
#include "reference/ui/ref_line_area.h"
#include "reference/ui/ref_line_page_view.h"
#include "ref_ui_test_support.h"

namespace {

class RefWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<CRefWnd>(setup.environment);
    ASSERT_TRUE(window->CheckConfig());
    window->resize(1280, 820);
    window->show();
    ProcessEvents();
  }
  CRefConfigDlg& Dialog() { return window->Dialog(); }
  CRefProject& Project() { return window->Project(); }
  int Lines() { return RefLineCount(Project()); }
  int TreeCodeOf(const QString& text) {
    for (QTreeWidgetItemIterator it(Dialog().Tree()); *it; ++it)
      if ((*it)->text(0) == text) return (*it)->data(0, Qt::UserRole).toInt();
    return -1;
  }
  QStringList& Messages() { return setup.common.dialogs.messages; }

  CRefTestSetup setup;
  std::unique_ptr<CRefWnd> window;
};

struct ProductCase {
  int group, kind, rating, length, count;
  bool priced;  // the sample's formula and article tables price the product
};

// The products the sample's option lists offer, at ratings its article table holds; its
// formula table prices every one of them.
constexpr ProductCase kSampleProducts[] = {{2, 3, 63, 30, 0, true},
                                           {2, 4, 250, 25, 0, true},
                                           {2, 8, 400, 40, 0, true},
                                           {3, 1, 0, 24, 8, true},
                                           {3, 2, 0, 18, 6, true}};

TEST_F(RefWindowTest, EverySampleProductMakesAPricedLine) {
  int expected = 0;
  for (const ProductCase& c : kSampleProducts) {
    const QString name = QStringLiteral("L%1").arg(c.kind);
    ASSERT_EQ(AddRefLine(*window, c.group, c.kind, c.rating, c.length, c.count, name), ++expected)
        << c.kind;
    const CRefLine& line = Project().lines[static_cast<std::size_t>(expected)];
    EXPECT_EQ(line.name, name.toStdString());
    EXPECT_EQ(line.length, c.length);
    EXPECT_EQ(line.Items().empty(), !c.priced) << c.kind;
    EXPECT_EQ(RefRecordAmount(Project(), expected) > 0, c.priced) << c.kind;
    EXPECT_EQ(TreeCodeOf(name), expected);
  }
  EXPECT_TRUE(window->IsModified());
  EXPECT_TRUE(window->windowTitle().endsWith(" *"));
  EXPECT_EQ(Dialog().EditState(), CRefConfigDlg::kBrowsing);
  EXPECT_TRUE(Messages().filter(QStringLiteral("not in the article table")).isEmpty())
      << Messages().join(QLatin1Char('\n')).toStdString();
}

TEST_F(RefWindowTest, TheEditingPagesShowHeaderSchematicAndPrices) {
  ASSERT_TRUE(Dialog().AddNewLineItem(RefProductNodeCode(2, 4)));
  CRefLinePageView& page = Dialog().LinePage();
  EXPECT_GT(page.RatingCombo()->count(), 1);
  page.RatingCombo()->setCurrentIndex(page.RatingCombo()->findData(250));
  EXPECT_TRUE(page.Title()->text().contains(StringQText(32061)));
  page.LengthEdit()->setText(QStringLiteral("25"));
  EXPECT_TRUE(SaveScreenshot(*window, QStringLiteral("reference_line_page")));
  ASSERT_TRUE(Dialog().Validate());
  CRefLineArea& area = Dialog().LineArea();
  EXPECT_EQ(area.Showing(), CRefLineArea::Content::Schematic);
  QLineEdit* straight = area.CountEdit(kEditStraightCount);
  ASSERT_NE(straight, nullptr);
  EXPECT_GT(straight->text().toInt(), 0);
  EXPECT_NE(area.Caption(kCaptionStraight), nullptr);
  EXPECT_TRUE(SaveScreenshot(*window, QStringLiteral("reference_schematic")));
  ASSERT_TRUE(Dialog().TakeComponentCounts());
  EXPECT_EQ(area.Showing(), CRefLineArea::Content::Prices);
  const std::int64_t once = RefRecordAmount(Project(), 0);
  EXPECT_EQ(area.CellText(kRefReportLineTotal, 5).toStdString(),
            RefHundredthsText(once, Dialog().DecimalChar(), true));
  area.repaint();
  EXPECT_TRUE(area.PlusButton()->isVisible());
  area.PlusButton()->click();
  EXPECT_EQ(Project().lines[0].lineQuantity, 2);
  EXPECT_EQ(RefRecordAmount(Project(), 0), 2 * once);
  EXPECT_TRUE(SaveScreenshot(*window, QStringLiteral("reference_price_table")));
  AcceptNextModal(QStringLiteral("Twice"));
  ASSERT_TRUE(Dialog().Commit());
  EXPECT_EQ(Project().lines[1].lineQuantity, 2);
}

TEST_F(RefWindowTest, BadTypedNumbersAreRefusedAndNothingHalfEditedIsKept) {
  ASSERT_EQ(AddRefLine(*window, 2, 3, 63, 30, 0, QStringLiteral("kept")), 1);
  const std::int64_t amount = RefRecordAmount(Project(), 1);
  ASSERT_TRUE(Dialog().AddNewLineItem(RefProductNodeCode(2, 3)));
  QLineEdit* length = Dialog().LinePage().LengthEdit();
  length->setText(QStringLiteral("12a"));
  emit length->textEdited(length->text());
  EXPECT_EQ(length->text(), QStringLiteral("12"));  // letters never reach the length
  length->setText(QStringLiteral("10000"));
  EXPECT_FALSE(Dialog().Validate());
  EXPECT_EQ(Messages().back(),
            QString::fromStdString(FieldRangeMessage(StringText(30152), "0", "9999", true)));
  EXPECT_EQ(Dialog().EditStep(), CRefConfigDlg::kStepHeader);
  length->setText(QStringLiteral("20"));
  ASSERT_TRUE(Dialog().Validate());
  Dialog().LineArea().CountEdit(kEditStraightCount)->setText(QStringLiteral("99999"));
  EXPECT_FALSE(Dialog().TakeComponentCounts());
  EXPECT_EQ(Dialog().EditStep(), CRefConfigDlg::kStepComponents);
  // Cancelling asks first; the project keeps only the committed line.
  setup.common.dialogs.answers = {kIdOk};
  EXPECT_TRUE(Dialog().BeginOrCancelEdit(false));
  EXPECT_EQ(Messages().back(), StringQText(31106));
  EXPECT_EQ(Lines(), 1);
  EXPECT_EQ(RefRecordAmount(Project(), 1), amount);
  EXPECT_EQ(TreeCodeOf(StringQText(31010)), -1);  // the new-line item went too
}

TEST_F(RefWindowTest, AnEditedLineIsCommittedOverItself) {
  ASSERT_EQ(AddRefLine(*window, 2, 3, 63, 30, 0, QStringLiteral("first")), 1);
  const int straight = Project().lines[1].Component(Dialog().Config().Product(3).states[3] ? 3 : 4);
  ASSERT_TRUE(Dialog().SelectCode(1));
  ASSERT_TRUE(Dialog().ShowTabPage(0));
  EXPECT_EQ(Dialog().EditStep(), CRefConfigDlg::kStepComponents);  // applied at once
  QLineEdit* edit = Dialog().LineArea().CountEdit(kEditStraightCount);
  ASSERT_NE(edit, nullptr);
  edit->setText(QString::number(edit->text().toInt() + 5));
  ASSERT_TRUE(Dialog().TakeComponentCounts());
  ASSERT_TRUE(Dialog().Commit());  // no name asked for an existing line
  EXPECT_EQ(Lines(), 1);
  EXPECT_EQ(Project().lines[1].name, "first");
  EXPECT_NE(Project().lines[1].Component(Dialog().Config().Product(3).states[3] ? 3 : 4), straight);
}

TEST_F(RefWindowTest, DeletingALineRenumbersTheLaterOnes) {
  for (const char* name : {"a", "b", "c"})
    ASSERT_GT(AddRefLine(*window, 2, 3, 63, 10, 0, QString::fromLatin1(name)), 0);
  ASSERT_TRUE(Dialog().SelectCode(2));
  ASSERT_TRUE(Dialog().ShowTabPage(1));
  auto* panel = qobject_cast<CNameCommentPanel*>(Dialog().Panel());
  ASSERT_NE(panel, nullptr);
  panel->DeleteBox()->setChecked(true);
  panel->OnDeleteCheck();
  panel->OnApply();
  ProcessEvents();
  EXPECT_EQ(Lines(), 2);
  EXPECT_EQ(Project().lines[2].name, "c");
  EXPECT_EQ(TreeCodeOf(QStringLiteral("c")), 2);
  EXPECT_EQ(TreeCodeOf(QStringLiteral("b")), -1);
  EXPECT_EQ(Dialog().EditState(), CRefConfigDlg::kBrowsing);
}

TEST_F(RefWindowTest, TheProjectPricesShowTheTotalOfAllLines) {
  ASSERT_EQ(AddRefLine(*window, 2, 3, 63, 30, 0, QStringLiteral("qda")), 1);
  ASSERT_EQ(AddRefLine(*window, 3, 1, 0, 24, 8, QStringLiteral("qya")), 2);
  ASSERT_TRUE(Dialog().SelectCode(kRefCodeProject));
  ASSERT_TRUE(Dialog().ShowTabPage(2));
  const std::int64_t sum = RefRecordAmount(Project(), 1) + RefRecordAmount(Project(), 2);
  EXPECT_EQ(Dialog().TotalText(), RefHundredthsText(sum, Dialog().DecimalChar(), true));
  EXPECT_TRUE(SaveScreenshot(*window, QStringLiteral("reference_window")));
  CCommandState state;
  ASSERT_TRUE(window->UpdateCommand(kIdExportCsv, state));
  EXPECT_TRUE(state.enabled);  // exports are offered on the prices of the project
  Dialog().Button(1158)->click();
  EXPECT_EQ(Dialog().EditState(), CRefConfigDlg::kBrowsing);
}

TEST_F(RefWindowTest, ClosingAsksWhileEditingAndWhenModified) {
  ASSERT_EQ(AddRefLine(*window, 2, 3, 63, 30, 0, QStringLiteral("qda")), 1);
  ASSERT_TRUE(Dialog().AddNewLineItem(RefProductNodeCode(2, 4)));
  CCommandState state;
  window->UpdateCommand(kIdExportCsv, state);
  EXPECT_FALSE(state.enabled);  // not while a line is being edited
  setup.common.dialogs.answers = {kIdCancel};
  EXPECT_FALSE(window->CloseWithPrompt());
  EXPECT_EQ(Messages().back(), StringQText(31106));
  setup.common.dialogs.answers = {kIdOk, kIdCancel};
  EXPECT_FALSE(window->CloseWithPrompt());
  EXPECT_TRUE(Messages().back().startsWith(
      QString::fromStdString(FormatMessageTextS(8008, window->FileTitle())).left(10)));
  EXPECT_TRUE(window->isVisible());
}

TEST_F(RefWindowTest, TheLineQuantityStaysWithinItsLimits) {
  ASSERT_TRUE(Dialog().AddNewLineItem(RefProductNodeCode(2, 3)));
  Dialog().LinePage().LengthEdit()->setText(QStringLiteral("30"));
  ASSERT_TRUE(Dialog().Validate());
  ASSERT_TRUE(Dialog().TakeComponentCounts());
  CRefLine& work = Project().lines[0];
  struct Case {
    int from, delta, expected;
  } cases[] = {{100, 1, 100}, {99, 1, 100}, {0, -1, 0}, {1, -1, 0}, {5, -1, 4}};
  for (const Case& c : cases) {
    work.lineQuantity = c.from;
    Dialog().ChangeQuantity(c.delta);
    EXPECT_EQ(work.lineQuantity, c.expected) << c.from << " " << c.delta;
  }
}

TEST_F(RefWindowTest, AFullProjectTakesNoNewLineButItsLinesStayEditable) {
  ASSERT_EQ(AddRefLine(*window, 2, 3, 63, 30, 0, QStringLiteral("first")), 1);
  for (int index = 2; index <= kRefMaxLines; ++index)
    Project().lines[static_cast<std::size_t>(index)].Assign(&Project().lines[1]);
  Project().lineCount = kRefMaxLines;
  Dialog().FillTree(true);
  EXPECT_FALSE(Dialog().AddNewLineItem(RefProductNodeCode(2, 3)));
  EXPECT_EQ(TreeCodeOf(StringQText(31010)), -1);  // no new-line item is left behind
  EXPECT_EQ(Dialog().EditState(), CRefConfigDlg::kBrowsing);
  ASSERT_TRUE(Dialog().SelectCode(kRefMaxLines));
  EXPECT_TRUE(Dialog().ShowTabPage(0));
  EXPECT_EQ(Dialog().EditState(), CRefConfigDlg::kEditing);
}

TEST_F(RefWindowTest, WithRefGrpThePricesOfTheProjectShowItsMergedItems) {
  setup.common.folder.WriteFile("TVR.INI", "[Design]\nCopper=1\n[Ref]\nHlp=1\nHlp2=1\nRefGrp=1\n");
  COptionListFiles::ResetRun(CRefConfig::kListName);
  CRefWnd grouped(setup.environment);
  ASSERT_TRUE(grouped.CheckConfig());
  ASSERT_EQ(grouped.Dialog().Config().RefGroup(), 1);
  ASSERT_EQ(AddRefLine(grouped, 2, 3, 63, 30, 0, QStringLiteral("one")), 1);
  ASSERT_EQ(AddRefLine(grouped, 2, 3, 63, 12, 0, QStringLiteral("two")), 2);
  ASSERT_TRUE(grouped.Dialog().SelectCode(kRefCodeProject));
  ASSERT_TRUE(grouped.Dialog().ShowTabPage(2));
  const CRefProject& project = grouped.Project();
  EXPECT_EQ(grouped.Dialog().CurrentRecord(), 0);
  // Both QDA lines share their references: the working record holds each once.
  EXPECT_EQ(project.lines[0].Items().size(), project.lines[1].Items().size());
  for (const CRefItemNode& item : project.lines[0].Items()) EXPECT_LT(item.kind, 0);
  const std::int64_t sum = RefRecordAmount(project, 1) + RefRecordAmount(project, 2);
  EXPECT_EQ(grouped.Dialog().TotalText(),
            RefHundredthsText(sum, grouped.Dialog().DecimalChar(), true));
  EXPECT_EQ(grouped.Dialog().LineArea().CellText(kRefReportLineTotal, 5),
            QString());  // no line total
}

TEST_F(RefWindowTest, TheTreeKeepsItsSelectionWhileALineIsEdited) {
  ASSERT_EQ(AddRefLine(*window, 2, 3, 63, 30, 0, QStringLiteral("qda")), 1);
  ASSERT_TRUE(Dialog().AddNewLineItem(RefProductNodeCode(2, 4)));
  const int editing = Dialog().SelectedCode();
  Dialog().Tree()->setCurrentItem(Dialog().Tree()->topLevelItem(0));
  EXPECT_EQ(Dialog().SelectedCode(), editing);
  EXPECT_FALSE(Dialog().SelectCode(1));
  EXPECT_FALSE(Dialog().ShowTabPage(2));  // only the page being worked on
}

TEST_F(RefWindowTest, AProjectSavedAndOpenedAgainKeepsItsLines) {
  ASSERT_EQ(AddRefLine(*window, 2, 3, 63, 30, 0, QStringLiteral("qda")), 1);
  ASSERT_EQ(AddRefLine(*window, 2, 4, 250, 25, 0, QStringLiteral("qpa")), 2);
  Project().lines[2].SetItemQuantity(0, 77);  // as the catalogue of another day gave it
  const QString path = QString::fromStdString(setup.common.folder.File("two.ref"));
  setup.common.dialogs.filesToSave = {path};
  ASSERT_TRUE(window->SaveRefFile());
  EXPECT_FALSE(window->IsModified());
  EXPECT_EQ(window->FileTitle(), "two.ref");
  CRefWnd reopened(setup.environment);
  ASSERT_TRUE(reopened.CheckConfig());
  ASSERT_TRUE(reopened.LoadFile(path));
  ASSERT_EQ(RefLineCount(reopened.Project()), 2);
  for (int index : {1, 2}) {
    EXPECT_EQ(reopened.Project().lines[static_cast<std::size_t>(index)].name,
              Project().lines[static_cast<std::size_t>(index)].name);
    EXPECT_EQ(RefRecordAmount(reopened.Project(), index), RefRecordAmount(Project(), index));
  }
  EXPECT_EQ(reopened.Project().lines[2].Items().front().quantity, 77);  // not priced again
  EXPECT_TRUE(reopened.windowTitle().endsWith(QStringLiteral("two.ref")));
}

TEST_F(RefWindowTest, TheCsvExportWritesTheSelectedLines) {
  ASSERT_EQ(AddRefLine(*window, 2, 3, 63, 30, 0, QStringLiteral("qda")), 1);
  ASSERT_TRUE(Dialog().SelectCode(kRefCodeProject));
  const std::string path = setup.common.folder.File("lines.csv");
  setup.common.dialogs.filesToSave = {QString::fromStdString(path)};
  ASSERT_TRUE(window->OnCommand(kIdExportCsvDetailed));
  std::ifstream file(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), {}};
  std::string narrow;
  for (std::size_t i = 2; i < bytes.size(); i += 2) narrow += bytes[i];  // UTF-16LE
  EXPECT_NE(narrow.find(Project().lines[1].Items().front().reference), std::string::npos);
}

// The user's last connection choices outlive the window that took them: written as it
// closes, from the environment and project it still holds.
TEST_F(RefWindowTest, ConnectionChoicesChangedAreKeptWhenTheWindowCloses) {
  Dialog().MutableConfig().Connection(0)[0] = 3;
  Dialog().MutableConfig().Connection(2)[0] = 1;
  window.reset();
  const std::string choices = setup.common.folder.ReadFile("ref_conf.cfg");
  EXPECT_NE(choices.find("[QFP]"), std::string::npos) << choices;
  EXPECT_NE(choices.find("CHOIXCONN=3"), std::string::npos) << choices;
  EXPECT_NE(choices.find("CHOIXCONN=1"), std::string::npos) << choices;
}

}  // namespace
