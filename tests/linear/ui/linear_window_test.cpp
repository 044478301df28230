#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <filesystem>
#include <QLineEdit>
#include <QTreeWidget>

#include "app/message_text.h"
#include "app/ui/command_ids.h"
#include "linear/ui/linear_dlg.h"
#include "linear/ui/linear_line_editor.h"
#include "linear/ui/linear_price_view.h"
#include "linear/ui/linear_wnd.h"
#include "linear_ui_test_support.h"

namespace {

TEST(LinearWindowTest, ALineIsAddedPricedSavedAndReadBack) {
  CLinearTestSetup setup;
  CLinearWnd window(setup.environment);
  window.resize(1000, 700);
  ASSERT_TRUE(window.CheckConfig());
  window.show();
  int index = AddLine(window, 0, 800, {{5, "25"}}, "Main run");
  ASSERT_EQ(index, 0);
  const CLinearLine& line = window.Project().lines.Line(0);
  EXPECT_EQ(line.Name, "Main run");
  EXPECT_EQ(line.Slots[5], 2500);
  EXPECT_GT(line.TotalValues[1], 0);  // priced from the sample tables
  EXPECT_TRUE(window.IsModified());
  window.Dialog().SelectItem(0);
  const auto& rows = window.Dialog().PriceView().Rows();
  ASSERT_GT(rows.size(), 2u);
  EXPECT_TRUE(
      std::any_of(rows.begin() + 1, rows.end(), [](const auto& row) { return row[2].value; }));
  EXPECT_TRUE(SaveScreenshot(window, QStringLiteral("linear_window")));

  std::string path = setup.folder.File("project.lin");
  setup.dialogs.filesToSave.push_back(QString::fromStdString(path));
  ASSERT_TRUE(window.Save());
  EXPECT_FALSE(window.IsModified());
  EXPECT_EQ(window.FileTitle(), "project.lin");
  // The sample project shipped in data/examples is this file.
  std::filesystem::copy_file(path, TVR_TEST_OUTPUT_DIR "/sample.lin",
                             std::filesystem::copy_options::overwrite_existing);

  CLinearWnd reopened(setup.environment);
  ASSERT_TRUE(reopened.CheckConfig());
  ASSERT_TRUE(reopened.LoadFile(QString::fromStdString(path)));
  ASSERT_EQ(reopened.Project().lines.LineCount(), 1);
  EXPECT_EQ(reopened.Project().lines.Line(0).Name, "Main run");
  EXPECT_EQ(reopened.Project().lines.Line(0).TotalValues, line.TotalValues);
}

// Closing: what the user answers and whether the window may close.
struct CloseCase {
  const char* name;
  bool modified;
  std::deque<int> answers;
  bool closes;
  int questions;
};

class LinearCloseTest : public testing::TestWithParam<CloseCase> {};

TEST_P(LinearCloseTest, ClosingAsksOnlyForUnsavedWork) {
  const CloseCase& c = GetParam();
  CLinearTestSetup setup;
  CLinearWnd window(setup.environment);
  window.CheckConfig();
  window.UpdateTitle(c.modified);
  setup.dialogs.answers = c.answers;
  setup.dialogs.filesToSave.push_back(QString::fromStdString(setup.folder.File("closed.lin")));
  EXPECT_EQ(window.CloseWithPrompt(), c.closes);
  EXPECT_EQ(setup.dialogs.messages.size(), c.questions);
}

INSTANTIATE_TEST_SUITE_P(Cases, LinearCloseTest,
                         testing::Values(CloseCase{"Unchanged", false, {}, true, 0},
                                         CloseCase{"No", true, {7}, true, 1},
                                         CloseCase{"Cancel", true, {2}, false, 1},
                                         CloseCase{"YesSaves", true, {6}, true, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// The checks of the body page: the floor step and the IP54 length.
struct BodyCase {
  int group;
  int current;
  std::map<int, QString> body;
  int expected;
};

class LinearBodyTest : public testing::TestWithParam<BodyCase> {};

TEST_P(LinearBodyTest, TheBodyIsCheckedBeforeItIsStored) {
  const BodyCase& c = GetParam();
  CLinearTestSetup setup;
  CLinearWnd window(setup.environment);
  window.CheckConfig();
  ASSERT_TRUE(window.Dialog().NewLine(c.group));
  CLinearLineEditor& editor = window.Dialog().Editor();
  editor.AmpereEdit()->setText(QString::number(c.current));
  editor.RefillProducts();
  ASSERT_TRUE(editor.ApplyLineHeader());
  for (const auto& [slot, text] : c.body) {
    auto* edit = qobject_cast<QLineEdit*>(editor.FieldOfSlot(slot));
    ASSERT_NE(edit, nullptr) << "slot " << slot;
    edit->setText(text);
  }
  QString problem;
  EXPECT_EQ(editor.ValidateBody(problem), c.expected) << problem.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, LinearBodyTest,
                         testing::Values(BodyCase{1, 400, {{9, "3"}, {10, "1.9"}}, 31089},
                                         BodyCase{1, 400, {{9, "3"}, {10, "2.0"}}, 0},
                                         BodyCase{1, 400, {{9, "3"}, {10, "4"}}, 0},
                                         BodyCase{1, 400, {{9, "3"}, {10, "4.01"}}, 31089},
                                         BodyCase{0, 800, {{5, "1000.5"}}, 8013},
                                         BodyCase{0, 800, {{5, "-1"}}, 8013}));

TEST(LinearWindowTest, TheColumnMenuHidesAColumnAtOnce) {
  CLinearTestSetup setup;
  CLinearWnd window(setup.environment);
  window.CheckConfig();
  EXPECT_TRUE(window.Dialog().ColumnsShown()[3]);
  window.Dialog().ToggleColumn(3);
  EXPECT_FALSE(window.Dialog().ColumnsShown()[3]);
  window.Dialog().ToggleColumn(0);  // the designation is always shown
  EXPECT_TRUE(window.Dialog().ColumnsShown()[0]);
}

}  // namespace

namespace {

// A file that cannot be read keeps the window empty and tells why.
struct LoadCase {
  const char* name;
  const char* bytes;  // null: no file at all
  int message;
};

class LinearLoadFailureTest : public testing::TestWithParam<LoadCase> {};

TEST_P(LinearLoadFailureTest, AFileThatCannotBeReadIsRefusedWithItsMessage) {
  const LoadCase& c = GetParam();
  CLinearTestSetup setup;
  std::string path = setup.folder.File("broken.lin");
  if (c.bytes) setup.folder.WriteFile("broken.lin", c.bytes);
  CLinearWnd window(setup.environment);
  window.CheckConfig();
  EXPECT_FALSE(window.LoadFile(QString::fromStdString(path)));
  ASSERT_EQ(setup.dialogs.messages.size(), 1);
  EXPECT_EQ(setup.dialogs.messages[0].toStdString(), FormatMessageTextS(c.message, path));
  EXPECT_TRUE(window.PathName().empty());
  EXPECT_EQ(window.Project().lines.LineCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, LinearLoadFailureTest,
                         testing::Values(LoadCase{"Missing", nullptr, 8019},
                                         LoadCase{"NotAProject", "garbage", 8018}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LinearWindowTest, AFailedSaveKeepsTheWorkAndSaysWhy) {
  CLinearTestSetup setup;
  CLinearWnd window(setup.environment);
  window.CheckConfig();
  window.UpdateTitle(true);
  std::string path = setup.folder.File("no-such-folder/project.lin");
  setup.dialogs.filesToSave.push_back(QString::fromStdString(path));
  EXPECT_FALSE(window.Save());
  EXPECT_TRUE(window.IsModified());
  EXPECT_TRUE(window.PathName().empty());
  ASSERT_EQ(setup.dialogs.messages.size(), 1);
}

}  // namespace

namespace {

TEST(LinearWindowTest, TheExportsWaitForALine) {
  CLinearTestSetup setup;
  CLinearWnd window(setup.environment);
  window.CheckConfig();
  for (int lines : {0, 1}) {
    if (lines == 1) {
      window.Project().lines.BeginNewLine(0);
      window.Project().lines.SaveWorkingAsNew("One");
    }
    for (int command : {kIdExportExcelOpen, kIdExportExcelBomOpen, kIdLinearExcelSummary,
                        kIdLinearExcelSummaryOpen}) {
      CCommandState state;
      ASSERT_TRUE(window.UpdateCommand(command, state));
      EXPECT_EQ(state.enabled, lines == 1) << command;
    }
  }
  ASSERT_TRUE(window.Dialog().NewLine(0));  // the line editor holds the exports back
  CCommandState state;
  window.UpdateCommand(kIdExportExcelOpen, state);
  EXPECT_FALSE(state.enabled);
}

}  // namespace

namespace {

TEST(LinearWindowTest, TheProjectViewWalksThroughTheLines) {
  CLinearTestSetup setup;
  CLinearWnd window(setup.environment);
  window.resize(1000, 700);
  window.CheckConfig();
  window.show();
  ASSERT_EQ(AddLine(window, 0, 800, {{5, "25"}}, "A"), 0);
  ASSERT_EQ(AddLine(window, 0, 1600, {{5, "40"}}, "B"), 1);
  CLinearDlg& dialog = window.Dialog();
  dialog.ShowTabPage(2);
  EXPECT_EQ(dialog.ViewMode(), CLinearDlg::kViewProject);
  EXPECT_EQ(dialog.CurrentLine(), 0);
  // Sale coefficients of 1: the sale price without services equals the gross price.
  auto* coef = dialog.findChild<QLabel*>(QStringLiteral("linear_project_coef"));
  ASSERT_NE(coef, nullptr);
  EXPECT_EQ(coef->text(), QStringLiteral("1"));
  const auto& rows = dialog.PriceView().Rows();
  ASSERT_FALSE(rows.empty());
  EXPECT_TRUE(rows.back()[3].value);  // the total over the lines closes the table
  EXPECT_TRUE(SaveScreenshot(window, QStringLiteral("linear_project_view")));
  dialog.ShowTabPage(-1);
  EXPECT_EQ(dialog.ViewMode(), CLinearDlg::kViewNone);
}

}  // namespace

namespace {

// A new user has no option list of their own: the program's sample stands in, so the
// tree offers groups and a double click on one starts a line.
TEST(LinearWindowTest, WithoutAnOptionListOfItsOwnTheSampleIsOffered) {
  CLinearTestSetup setup;
  std::filesystem::remove(setup.folder.File("lin_conf.cfg"));
  CLinearWnd window(setup.environment);
  window.resize(1000, 700);
  ASSERT_TRUE(window.CheckConfig());
  window.show();
  QTreeWidget* tree = window.findChild<QTreeWidget*>();
  ASSERT_NE(tree, nullptr);
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  QTreeWidgetItem* prices = tree->topLevelItem(0);
  EXPECT_GE(prices->childCount(), 3) << "the groups of the sample list";
  ASSERT_GT(prices->childCount(), 0);
  emit tree->itemDoubleClicked(prices->child(0), 0);
  EXPECT_EQ(window.Dialog().ViewMode(), CLinearDlg::kViewEditor);
  EXPECT_FALSE(std::filesystem::exists(setup.folder.File("lin_conf.cfg")))
      << "the user's folder is left as it was";
}

}  // namespace

namespace {

// A project opened while the catalogue folder is missing: one box says so, not one per
// table or per line.
TEST(LinearWindowTest, AProjectOpenedWithoutItsCatalogueIsToldOnce) {
  CLinearTestSetup setup;
  setup.environment.folders.catalogue = setup.folder.File("no-catalogue/");
  CLinearWnd window(setup.environment);
  ASSERT_TRUE(window.CheckConfig());
  setup.dialogs.messages.clear();
  ASSERT_TRUE(window.LoadFile(QStringLiteral(TVR_SOURCE_DIR "/data/examples/sample.lin")));
  ProcessEvents();
  EXPECT_EQ(setup.dialogs.messages.size(), 1) << setup.dialogs.messages.join('\n').toStdString();
  for (const QString& message : setup.dialogs.messages)
    EXPECT_FALSE(message.contains(QStringLiteral("\\n"))) << message.toStdString();
}

}  // namespace
