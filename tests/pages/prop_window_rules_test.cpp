// Where the property window opens, which tab it opens on and its run summary.

#include <gtest/gtest.h>

#include "model/run/range_rules.h"
#include "model/run/run.h"
#include "pages/page_captions.h"
#include "pages/prop_window_rules.h"
#include "model/props/page_kinds.h"

namespace {

struct FoldCase {
  const char* what;
  long long value;
  int size;
  int expected;
};

TEST(PropWindowRulesTest, SavedEdgesFoldOntoTheScreen) {
  const FoldCase cases[] = {
      {"inside the screen", 300, 1600, 300},
      {"past the right edge", 2000, 1600, 400},
      {"a negative edge comes back onto the screen", -100, 1600, 1500},
      {"far to the left", -3300, 1600, 1500},
      {"the screen's own width is its left edge", 1600, 1600, 0},
      {"no screen", 500, 0, 0},
  };
  for (const FoldCase& row : cases) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(prop_window::FoldOntoScreen(row.value, row.size), row.expected);
  }
}

struct PlaceCase {
  const char* what;
  long long value;
  int window;
  int screen;
  int expected;
};

// A window 450 wide on a screen 1600 wide: the saved edge is folded, then held so that
// the whole window shows.
TEST(PropWindowRulesTest, ASavedPlaceShowsTheWholeWindow) {
  const PlaceCase cases[] = {
      {"inside the screen", 300, 450, 1600, 300},
      {"past the right edge, folded", 2000, 450, 1600, 400},
      {"near the right edge", 1556, 450, 1600, 1150},
      {"just fits", 1150, 450, 1600, 1150},
      {"a negative edge near the right edge", -25, 450, 1600, 1150},
      {"a window larger than the screen keeps its near edge", 700, 2000, 1600, 0},
      {"no screen", 500, 450, 0, 0},
  };
  for (const PlaceCase& row : cases) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(prop_window::PlaceOnScreen(row.value, row.window, row.screen), row.expected);
  }
}

struct TabCase {
  const char* what;
  bool isRun;
  std::vector<std::string> captions;
  const char* last;
  int expected;
};

TEST(PropWindowRulesTest, TheOpeningTabFollowsTheLastCaption) {
  const TabCase cases[] = {
      {"an element opens on its first page", false, {" Length ", " Name "}, "", 0},
      {"a run opens on its second page", true, {" Comment ", " Rating "}, "", 1},
      {"the last caption wins", true, {" Comment ", " Rating "}, "Comment", 0},
      {"captions compare trimmed", false, {" Length ", " Name "}, "  Name", 1},
      {"a run with one page opens on it", true, {" Comment "}, "", 0},
      {"no page", false, {}, "Name", 0},
  };
  for (const TabCase& row : cases) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(prop_window::OpeningTab(row.isRun, row.captions, row.last), row.expected);
  }
}

TEST(PropWindowRulesTest, TheSummaryNamesCatalogueRatingAndNeutral) {
  CRangeTables tables;
  tables.ratings = {{"06", "63 A/63 A QD"}, {"10", "100 A/100 A QD"}, {"06", "Cu/63 A"}};
  tables.neutrals = {{"4", "3L+N+PE"}, {"5", "3L+N+PE+FE"}};
  struct Row {
    const char* catalog;
    const char* calibre;
    const char* neutral;
    const char* expected;
  };
  const Row rows[] = {
      {"qda", "06", "4", "QDA - 63 A - 3L+N+PE"},
      {"QDA", "99", "7", "QDA - 99 - 7"},
      {"QWA", "10", "6", "QWA - 100 A QD - 3L+2N+PE / 3L+N+PE+PEI"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    CRun run;
    run.AttachRangeTables(tables);
    run.SetCatalog(row.catalog);
    run.SetProp("Calibre", row.calibre);
    run.SetProp("Neutral", row.neutral);
    EXPECT_EQ(prop_window::RunSummary(run), row.expected);
  }
}

TEST(PropWindowRulesTest, EveryCommonPageHasACaption) {
  for (int page :
       {kPageRunComment, kPageRunRating, kPageLength, kPagePosition, kPageCharacteristics,
        kPageElbow, kPageElementName, kPageFeedUnit, kPagePhaseOrder})
    EXPECT_NE(PageCaptionMessage(page), 0) << page;
  EXPECT_EQ(PageCaptionMessage(kPageNone), 0);
}

}  // namespace
