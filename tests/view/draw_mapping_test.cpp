#include "view/draw_mapping.h"

#include <gtest/gtest.h>

namespace {

struct MappingRow {
  MapMode mode;
  CSize window;
  CSize viewport;
  CSize viewportAfter;  // the isotropic mode shrinks one axis of the viewport
  CPoint logical;
  CPoint device;
  const char* guards;
};

class DrawMappingTest : public testing::TestWithParam<MappingRow> {};

TEST_P(DrawMappingTest, MapsLogicalPointsToDevicePixelsAndBack) {
  const MappingRow& row = GetParam();
  CDrawMapping mapping;
  mapping.SetMode(row.mode);
  mapping.SetWindowExtent(row.window);
  mapping.SetViewportExtent(row.viewport);
  mapping.SetViewportOrigin({250, 250});
  EXPECT_EQ(mapping.ViewportExtent(), row.viewportAfter) << row.guards;
  EXPECT_EQ(mapping.ToDevice(row.logical), row.device) << row.guards;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DrawMappingTest,
    testing::Values(MappingRow{MapMode::Text,
                               {1000, 500},
                               {500, -500},
                               {1, 1},
                               {5, -7},
                               {255, 243},
                               "text mode keeps 1:1"},
                    MappingRow{MapMode::Anisotropic,
                               {1000, 500},
                               {500, -500},
                               {500, -500},
                               {100, 100},
                               {300, 150},
                               "a scale per axis, y up"},
                    MappingRow{MapMode::Anisotropic,
                               {1000, 500},
                               {500, -500},
                               {500, -500},
                               {3, 3},
                               {251, 247},
                               "1.5 pixels truncate to 1"},
                    MappingRow{MapMode::Anisotropic,
                               {1000, 500},
                               {500, -500},
                               {500, -500},
                               {-3, -3},
                               {249, 253},
                               "-1.5 pixels truncate toward zero, not down"},
                    MappingRow{MapMode::Anisotropic,
                               {1000, 0},
                               {500, -500},
                               {500, -500},
                               {0, 0},
                               {250, 250},
                               "a zero window extent is refused"},
                    MappingRow{MapMode::Isotropic,
                               {1000, 800},
                               {500, -500},
                               {500, -400},
                               {100, 100},
                               {300, 200},
                               "the taller scale shrinks to the other"},
                    MappingRow{MapMode::Isotropic,
                               {100, 1000},
                               {500, -500},
                               {50, -500},
                               {100, 100},
                               {300, 200},
                               "the wider scale shrinks to the other"},
                    MappingRow{MapMode::Isotropic,
                               {1000000, 1},
                               {1, -1000},
                               {1, -1},
                               {0, 1},
                               {250, 249},
                               "a shrunk extent never reaches zero and keeps its sign"}),
    [](const testing::TestParamInfo<MappingRow>& info) {
      return "Row" + std::to_string(info.index);
    });

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
