#include "reference/ref_project_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "ref_sample_config_support.h"

namespace {

// A project of lines given as (group, kind, name), numbered from 1.
struct LineDraft {
  int group, kind;
  const char* name;
};

CRefProject MakeProject(std::initializer_list<LineDraft> lines) {
  CRefProject project;
  int index = 1;
  for (const LineDraft& draft : lines)
    project.lines[static_cast<std::size_t>(index++)] =
        MakeProjectLine(draft.group, draft.kind, draft.name);
  project.lineCount = index - 1;
  return project;
}

std::string Walk(const CRefProject& project, const CRefConfig& config, int filter) {
  std::string names;
  for (int n = 1;; ++n) {
    const int index = FindRefLine(project, config, n, filter);
    if (index < 0) break;
    names += project.lines[static_cast<std::size_t>(index)].name + " ";
  }
  return names;
}

class RefProjectLinesTest : public ::testing::Test {
 protected:
  CRefSampleConfig sample;
  // QDA and QPA in distribution, QYA in lighting, QFP (withdrawn by the sample) last.
  CRefProject project =
      MakeProject({{2, 3, "qda1"}, {3, 1, "qya1"}, {2, 4, "qpa1"}, {2, 3, "qda2"}, {3, 0, "qfp1"}});
};

struct WalkCase {
  const char* fault;
  int filter;
  const char* names;
};

TEST_F(RefProjectLinesTest, TheWalkFollowsTheTreeAndItsFilter) {
  const WalkCase cases[] = {
      // Products from kind 8 down, lines in order within a product; QFP is not offered.
      {"project order is the tree's, not the records'", kRefCodeProject, "qpa1 qda1 qda2 qya1 "},
      {"a group walks only its own lines", RefGroupCode(2), "qpa1 qda1 qda2 "},
      {"a product walks only its own lines", RefProductNodeCode(2, 3), "qda1 qda2 "},
      {"a line walks only itself", 4, "qda2 "},
      {"a product of no line walks nothing", RefProductNodeCode(2, 8), ""},
      {"a line beyond the last walks nothing", 7, ""},
  };
  for (const WalkCase& c : cases) {
    EXPECT_EQ(Walk(project, sample.config, c.filter), c.names) << c.fault;
    EXPECT_EQ(FindRefLine(project, sample.config, 0, c.filter),
              static_cast<int>(std::count(c.names, c.names + std::strlen(c.names), ' ')))
        << c.fault;
  }
}

TEST_F(RefProjectLinesTest, TheCountIsHeldToTheRecordsAProjectHas) {
  EXPECT_EQ(RefLineCount(project), 5);
  project.lineCount = 1000;  // as a damaged file could give it
  EXPECT_EQ(RefLineCount(project), kRefMaxLines);
  project.lineCount = -3;
  EXPECT_EQ(RefLineCount(project), 0);
  EXPECT_EQ(FindRefLine(project, sample.config, 0, kRefCodeProject), 0);
}

TEST_F(RefProjectLinesTest, TheSelectionFollowsTheWalkAndItsAmountsTheItems) {
  EXPECT_EQ(RefSelection(project, sample.config, RefGroupCode(2)), (std::vector<int>{3, 1, 4}));
  project.lines[2] = MakeProjectLine(3, 1, "priced", 1999950, 3);
  EXPECT_EQ(RefRecordAmount(project, 2), 59999);  // 5999850 / 100, half up
}

TEST_F(RefProjectLinesTest, DeletingALineMovesTheLaterOnesDownAndRenumbersTheirCodes) {
  ASSERT_TRUE(DeleteRefLine(project, 3));
  EXPECT_EQ(RefLineCount(project), 4);
  EXPECT_EQ(project.lines[3].name, "qda2");
  EXPECT_EQ(project.lines[4].name, "qfp1");
  EXPECT_EQ(project.lines[5].productKind, -1);
  EXPECT_EQ(project.lineCount, 4);
  const int codes[][2] = {{4, 3},
                          {5, 4},
                          {2, 2},
                          {3, 3},
                          {RefNewLineCode(2, 3), RefNewLineCode(2, 3)},  // new-line item keeps it
                          {RefProductNodeCode(2, 4), RefProductNodeCode(2, 4)}};
  for (const auto& code : codes) EXPECT_EQ(RenumberedRefCode(code[0], 3), code[1]) << code[0];
  EXPECT_FALSE(DeleteRefLine(project, 5));
  EXPECT_FALSE(DeleteRefLine(project, 0));  // the working record is no line
}

TEST_F(RefProjectLinesTest, TheWorkingRecordBecomesTheNewLastLineUntilTheProjectIsFull) {
  project.lines[0] = MakeProjectLine(2, 4, "new", 1000, 2);
  EXPECT_EQ(AppendRefLine(project), 6);
  EXPECT_EQ(project.lines[6].name, "new");
  EXPECT_EQ(project.lines[6].Items().size(), 1u);
  EXPECT_EQ(project.lines[0].productKind, -1);
  EXPECT_EQ(CountRefLinesOf(project, 2, 4), 2);
  for (int index = 7; index <= kRefMaxLines; ++index)
    project.lines[static_cast<std::size_t>(index)] = MakeProjectLine(2, 3, "filler");
  project.lineCount = kRefMaxLines;
  project.lines[0] = MakeProjectLine(2, 4, "one too many");
  EXPECT_EQ(AppendRefLine(project), -1);
  EXPECT_EQ(project.lines[0].name, "one too many");  // kept for the user
}

}  // namespace
