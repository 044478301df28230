#include <gtest/gtest.h>

#include "app/app_settings.h"
#include "app/profile.h"
#include "support/temp_folder.h"
#include "view/display_layers.h"

namespace {

TEST(DisplayLayersTest, TheSupportDisplaySwitchesBetweenOffAndTwoAndTheRunLayerFollows) {
  CTempFolder folder;
  CProfile profile(folder.File("TVR.INI"));
  CAppSettings settings;
  settings.support = 2;
  settings.labels[kRunLayer].visible = true;
  const struct {
    int support;
    const char* run;
  } expected[] = {{0, "False"}, {2, "True"}};
  for (const auto& row : expected) {
    const CLayerToggle toggle = ToggleDisplayLayer(settings, &profile, kSupportLayer);
    EXPECT_TRUE(toggle.supportChanged);
    EXPECT_EQ(settings.support, row.support);
    EXPECT_EQ(profile.ReadProfileInt("Design", "Support", -1), row.support);
    EXPECT_EQ(profile.ReadProfileText("Label", "RunVisible", ""), row.run);
  }
}

TEST(DisplayLayersTest, EachLayerCommandInvertsItsFlagAndWritesItsKey) {
  CTempFolder folder;
  CProfile profile(folder.File("TVR.INI"));
  CAppSettings settings;
  for (int command : {32994, 32995, 32996, 32997, 32998, 32992, 33001}) {
    const int layer = DisplayLayerOfCommand(command);
    ASSERT_GE(layer, 0) << command;
    const bool before = settings.labels[static_cast<std::size_t>(layer)].visible;
    EXPECT_TRUE(ToggleDisplayLayer(settings, &profile, layer).changed);
    EXPECT_NE(settings.labels[static_cast<std::size_t>(layer)].visible, before) << command;
    EXPECT_EQ(profile.ReadProfileText("Label", DisplayLayerKey(layer), ""),
              before ? "False" : "True")
        << command;
  }
  // The distance layer belongs to the dimension tool; nothing beyond the table switches.
  for (int index : {9, 10, -1})
    EXPECT_FALSE(ToggleDisplayLayer(settings, &profile, index).changed) << index;
  EXPECT_EQ(DisplayLayerOfCommand(32993), -1);
}

}  // namespace
