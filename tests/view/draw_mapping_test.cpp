#include "view/draw_mapping.h"

#include <gtest/gtest.h>

namespace {

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

}  // namespace
