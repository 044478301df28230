#include "app/frame_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(FrameRulesTest, AvailabilityTable) {
  struct Row {
    const char *ml, *rf, *d3, *drne;
    bool noLinear, noReference, noGraphical;
    const char* guards;
  };
  const Row rows[] = {
      {"0", "0", "0", "0", false, false, false, "defaults offer everything"},
      {"1", "0", "0", "0", true, false, false, "NoML"},
      {"0", "1", "1", "0", false, true, true, "No3D"},
      {"0", "0", "0", "1", false, false, true, "NoDRNE when No3D is not 1"},
      {"1", "1", "1", "1", true, true, false, "graphical forced on when the others are off"},
      {"yes", "true", "2", "", false, false, false, "only \"1\" is true"},
  };
  for (const Row& row : rows) {
    CModeAvailability a = ModeAvailabilityFromSettings(row.ml, row.rf, row.d3, row.drne);
    EXPECT_EQ(a.noLinear, row.noLinear) << row.guards;
    EXPECT_EQ(a.noReference, row.noReference) << row.guards;
    EXPECT_EQ(a.noGraphical, row.noGraphical) << row.guards;
  }
}

TEST(FrameRulesTest, StartModeWithoutDialogTable) {
  EXPECT_EQ(StartModeWithoutDialog(true, false, false), kStartLinear);
  EXPECT_EQ(StartModeWithoutDialog(false, true, false), kStartReference);
  EXPECT_EQ(StartModeWithoutDialog(false, false, true), kStartGraphical);
  EXPECT_EQ(StartModeWithoutDialog(false, false, false), kStartGraphical);
  EXPECT_EQ(StartModeWithoutDialog(true, true, false), 0);
  EXPECT_EQ(StartModeWithoutDialog(true, false, true), 0);
  EXPECT_EQ(StartModeWithoutDialog(true, true, true), 0);
}

TEST(FrameRulesTest, ExtensionTable) {
  EXPECT_EQ(ClassifyFileByExtension("/p/a.lin"), EFileKind::Linear);
  EXPECT_EQ(ClassifyFileByExtension("/p/a.LIN"), EFileKind::Linear);
  EXPECT_EQ(ClassifyFileByExtension("/p/a.Ref"), EFileKind::Reference);
  EXPECT_EQ(ClassifyFileByExtension("/p/a.run"), EFileKind::Layout);
  EXPECT_EQ(ClassifyFileByExtension("/p/a.txt"), EFileKind::Layout);
  EXPECT_EQ(ClassifyFileByExtension(".ref"), EFileKind::Layout);  // four characters only
  EXPECT_EQ(ClassifyFileByExtension("x.ref"), EFileKind::Reference);
  EXPECT_EQ(ClassifyFileByExtension("/p/a.lin.bak"), EFileKind::Layout);
}

const char* kTemplate =
    "\n\nTavrilon\nTavrilon Files (*.run)\n.run\nTavrilon.Document\nTavrilon Document";

TEST(FrameRulesTest, OpenFilterInEmptyModeListsTheAvailableKinds) {
  COpenFileFilter all = BuildOpenFileFilter(EFrameMode::Empty, {}, kTemplate, "All Files (*.*)");
  EXPECT_EQ(all.filter,
            "Tavrilon Files (*.run;*.ref;*.lin)|*.run;*.ref;*.lin|All Files (*.*)|*.*||");
  EXPECT_EQ(all.defaultExtension, "run");
  COpenFileFilter noGraphical =
      BuildOpenFileFilter(EFrameMode::Empty, {false, false, true}, kTemplate, "All");
  EXPECT_EQ(noGraphical.filter, "Tavrilon Files (*.ref;*.lin)|*.ref;*.lin|All|*.*||");
  EXPECT_EQ(noGraphical.defaultExtension, "");
  EXPECT_EQ(BuildOpenFileFilter(EFrameMode::Start, {}, kTemplate, "All").filter,
            BuildOpenFileFilter(EFrameMode::Empty, {}, kTemplate, "All").filter);
}

TEST(FrameRulesTest, OpenFilterPerWorkingMode) {
  const std::string run = "Tavrilon Files (*.run)|*.run|";
  const std::string ref = "Tavrilon Files (*.ref)|*.ref|";
  const std::string lin = "Tavrilon Files (*.lin)|*.lin|";
  const std::string end = "All|*.*||";
  EXPECT_EQ(BuildOpenFileFilter(EFrameMode::Graphical, {}, kTemplate, "All").filter,
            run + ref + lin + end);
  EXPECT_EQ(BuildOpenFileFilter(EFrameMode::Linear, {}, kTemplate, "All").filter,
            lin + run + ref + end);
  EXPECT_EQ(BuildOpenFileFilter(EFrameMode::Reference, {}, kTemplate, "All").filter,
            ref + run + lin + end);
  EXPECT_EQ(
      BuildOpenFileFilter(EFrameMode::Reference, {true, false, true}, kTemplate, "All").filter,
      ref + end);
  EXPECT_EQ(BuildOpenFileFilter(EFrameMode::Linear, {}, kTemplate, "All").defaultExtension, "lin");
  // The costing files under their own names, not as layouts.
  EXPECT_EQ(BuildOpenFileFilter(EFrameMode::Reference, {true, false, true}, kTemplate, "All",
                                "Costings by reference (*.ref)", "Linear costings (*.lin)")
                .filter,
            "Costings by reference (*.ref)|*.ref|" + end);
  EXPECT_EQ(BuildOpenFileFilter(EFrameMode::Reference, {}, kTemplate, "All").defaultExtension,
            "ref");
}

TEST(FrameRulesTest, TemplateDescriptionTable) {
  EXPECT_EQ(
      BuildOpenFileFilter(EFrameMode::Graphical, {true, true, false}, "Layouts", "All").filter,
      "Layouts (*.run)|*.run|All|*.*||");
  EXPECT_EQ(TemplateDescription(kTemplate), "Tavrilon Files (*.run)");
  EXPECT_EQ(TemplateDescription("Tavrilon layouts"), "Tavrilon layouts (*.run)");
  EXPECT_EQ(TemplateDescription("a\nb"), "a\nb (*.run)");  // fewer than four lines: whole
  EXPECT_EQ(TemplateDescription(""), "(*.run)");
}

}  // namespace
