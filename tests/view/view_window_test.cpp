#include <gtest/gtest.h>

#include "view/draw_mapping.h"
#include "view/view_window.h"
#include "view/view_presets.h"

namespace {

constexpr std::int32_t kMax = CViewWindow::kMaxExtent;

TEST(ViewWindowTest, ZoomStepsKeepTheWindowWithinItsBounds) {
  const struct {
    const char* fault;
    bool in;
    CSize before;
    double step;
    bool accepted;
    CSize after;
  } rows[] = {
      {"zoom in shrinks by the step", true, {5, 5}, 0.1, true, {4, 4}},
      {"zoom in below one unit is refused", true, {1, 1}, 0.1, false, {1, 1}},
      {"a step truncating to the same size still grows", false, {5, 5}, 0.1, true, {6, 6}},
      {"zoom out grows by the step", false, {8000, 4000}, 0.1, true, {8800, 4400}},
      {"(1 + step) x width beyond 32 bits", false, {2000000000, 1000}, 0.5, true, {kMax, 1500}},
      {"a window at the bound grows no further", false, {kMax, kMax}, 0.1, false, {kMax, kMax}},
      {"a negative step giving a negative side", false, {100, 100}, -2.0, false, {100, 100}},
  };
  for (const auto& row : rows) {
    CViewWindow window({10, -20}, row.before);
    EXPECT_EQ(row.in ? window.ZoomIn(row.step) : window.ZoomOut(row.step), row.accepted)
        << row.fault;
    EXPECT_EQ(window.Size(), row.after) << row.fault;
    EXPECT_EQ(window.Centre(), (CPoint{10, -20})) << row.fault;
  }
}

TEST(ViewWindowTest, ZoomToRectTakesTheClientShapeAndRefusesThinRectangles) {
  CViewWindow window({0, 0}, {500, 500});
  EXPECT_FALSE(window.ZoomToRect({0, 0}, {2, 50}, {200, 200}));
  EXPECT_EQ(window.Size(), (CSize{500, 500}));
  ASSERT_TRUE(window.ZoomToRect({100, 40}, {0, 50}, {200, 200}));
  EXPECT_EQ(window.Size(), (CSize{100, 100}));
  EXPECT_EQ(window.Centre(), (CPoint{50, 45}));
  // Corners far apart: the distance alone overflows 32 bits.
  ASSERT_TRUE(window.ZoomToRect({-2000000000, 0}, {2000000000, 10}, {100, 100}));
  EXPECT_EQ(window.Size(), (CSize{kMax, kMax}));
}

TEST(ViewWindowTest, ZoomAllFillsTheClientWithTheScene) {
  CViewWindow window;
  window.ZoomAll({0, 0, 1000, 500}, 0.9, {400, 400});
  EXPECT_EQ(window.Size(), (CSize{1111, 1111}));
  EXPECT_EQ(window.Centre(),
            (CPoint{499, 249}));  // the centre of the scene, not of the widened window
  window.ZoomAll({0, 0, 1000, 500}, 0.9, {0, 0});  // a zero client counts as one pixel
  EXPECT_EQ(window.Size(), (CSize{1111, 1111}));
}

TEST(ViewWindowTest, ResizeKeepsTheScaleAndCannotOverflow) {
  CViewWindow window({0, 0}, {1000, 800});
  window.Resize({400, 400}, {200, 400});
  EXPECT_EQ(window.Size(), (CSize{500, 800}));
  CViewWindow wide({0, 0}, {kMax, 1000});
  wide.Resize({10, 10}, {30000, 10});  // width x cx / previous cx beyond 32 bits
  EXPECT_EQ(wide.Size(), (CSize{kMax, 1000}));
}

TEST(ViewWindowTest, TheMappingPutsTheCentreInTheMiddleWithYUp) {
  CViewWindow window({1000, 2000}, {400, 200});
  CDrawMapping mapping;
  window.ApplyTo(mapping, {200, 100});
  EXPECT_EQ(mapping.ToDevice({1000, 2000}), (CPoint{100, 50}));
  EXPECT_EQ(mapping.ToDevice({1200, 2100}), (CPoint{200, 0}));
  EXPECT_EQ(mapping.ToLogical({0, 100}), (CPoint{800, 1900}));
}

TEST(DrawMappingTest, MapsLogicalPointsToDevicePixelsAndBack) {
  constexpr MapMode T = MapMode::Text, A = MapMode::Anisotropic, I = MapMode::Isotropic;
  // Window, viewport, the viewport afterwards (the isotropic mode shrinks one axis), a
  // logical point and its device pixel with the viewport origin at (250, 250).
  const struct {
    MapMode mode;
    int wx, wy, vx, vy, ax, ay, lx, ly, dx, dy;
    const char* guards;
  } rows[] = {
      {T, 1000, 500, 500, -500, 1, 1, 5, -7, 255, 243, "text mode keeps 1:1"},
      {A, 1000, 500, 500, -500, 500, -500, 100, 100, 300, 150, "a scale per axis, y up"},
      {A, 1000, 500, 500, -500, 500, -500, 3, 3, 251, 247, "1.5 pixels truncate to 1"},
      {A, 1000, 500, 500, -500, 500, -500, -3, -3, 249, 253, "-1.5 truncates toward zero"},
      {A, 1000, 0, 500, -500, 500, -500, 0, 0, 250, 250, "a zero window extent is refused"},
      {I, 1000, 800, 500, -500, 500, -400, 100, 100, 300, 200, "the taller scale shrinks"},
      {I, 100, 1000, 500, -500, 50, -500, 100, 100, 300, 200, "the wider scale shrinks"},
      {I, 1000000, 1, 1, -1000, 1, -1, 0, 1, 250, 249, "a shrunk extent keeps 1 and its sign"},
  };
  for (const auto& row : rows) {
    CDrawMapping mapping;
    mapping.SetMode(row.mode);
    mapping.SetWindowExtent({row.wx, row.wy});
    mapping.SetViewportExtent({row.vx, row.vy});
    mapping.SetViewportOrigin({250, 250});
    EXPECT_EQ(mapping.ViewportExtent(), (CSize{row.ax, row.ay})) << row.guards;
    EXPECT_EQ(mapping.ToDevice({row.lx, row.ly}), (CPoint{row.dx, row.dy})) << row.guards;
  }
}

TEST(DrawMappingModes, BackToTextModeResetsTheExtentsAndDeviceToLogicalInverts) {
  CDrawMapping mapping;
  mapping.SetMode(MapMode::Anisotropic);
  mapping.SetWindowExtent({1000, 500});
  mapping.SetViewportExtent({500, -500});
  mapping.SetWindowOrigin({10, 20});
  EXPECT_EQ(mapping.ToLogical(mapping.ToDevice({110, 120})), (CPoint{110, 120}));
  EXPECT_EQ(mapping.SizeToDevice({100, 100}), (CSize{50, 100}));
  mapping.SetMode(MapMode::Text);
  EXPECT_EQ(mapping.WindowExtent(), (CSize{1, 1}));
  EXPECT_EQ(mapping.ToDevice({110, 120}), (CPoint{100, 100}));
}

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
