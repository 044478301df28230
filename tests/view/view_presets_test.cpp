#include <gtest/gtest.h>

#include "view/view_presets.h"

namespace {

TEST(ViewPresetsTest, TheDialogShowsTheAnglesAndFindsThePreset) {
  const struct {
    CViewAngles projection, shown;
    int preset, entry;
  } rows[] = {{{330, 315, 0}, {30, -45, 0}, 0, 0}, {{330, 45, 0}, {30, 45, 0}, 1, 1},
              {{90, 0, 0}, {-90, 0, 0}, 9, 5},     {{0, 180, 0}, {0, 180, 0}, 13, 9},
              {{30, 45, 0}, {-30, 45, 0}, 5, -1},  {{350, 20, 30}, {10, 20, 30}, -1, -1}};
  for (const auto& row : rows) {
    EXPECT_EQ(DialogAnglesFromProjection(row.projection), row.shown) << row.preset;
    EXPECT_EQ(ProjectionAnglesFromDialog(row.shown), row.projection) << row.preset;
    EXPECT_EQ(DetectViewPreset(row.projection), row.preset);
    EXPECT_EQ(DialogEntryOfPreset(row.preset), row.entry);
  }
}

TEST(ViewPresetsTest, AnglesOfAnyIntegerUseFloorModulo) {
  const struct {
    long long degrees;
    int normal;
  } rows[] = {{0, 0}, {359, 359}, {360, 0}, {-1, 359}, {-370, 350}, {725, 5}, {-2147483648LL, 232}};
  for (const auto& row : rows) EXPECT_EQ(NormalizeDegrees(row.degrees), row.normal) << row.degrees;
  EXPECT_EQ(DetectViewPreset({-30, -45, 360}), 0);
  EXPECT_EQ(ProjectionAnglesFromDialog({-180, -180, 180}), (CViewAngles{180, 180, 180}));
}

TEST(ViewPresetsTest, DialogEntriesStandForTheListedPresetsOnly) {
  for (int entry = -1; entry <= 10; ++entry) {
    const int preset = PresetOfDialogEntry(entry);
    if (entry < 0 || entry > 9) {
      EXPECT_EQ(preset, -1);
      continue;
    }
    EXPECT_EQ(DialogEntryOfPreset(preset), entry);
    EXPECT_TRUE(ViewPresetAngles(preset).has_value());
  }
  EXPECT_FALSE(ViewPresetAngles(14).has_value());
  EXPECT_EQ(ViewPresetCommand(8), 33006);
  EXPECT_EQ(ViewPresetCommand(7), 33023);
}

}  // namespace
