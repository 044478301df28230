// The screen grid finds every listed box whose bounds overlap a query's, and a query among
// small boxes packed into one cell meets only the few near it.

#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "geometry/display_list.h"
#include "geometry/screen_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <vector>

namespace {

struct GridCase {
  int large;       // boxes a metre or so long, spread out
  int small;       // boxes a few units wide, packed in one spot
  double spacing;  // of the packed boxes
  int zeroSize;    // of the packed boxes, every so many has no size
};

class CGridScene {
 public:
  explicit CGridScene(const GridCase& c) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> where(-8000.0, 8000.0);
    std::uniform_int_distribution<int> size(200, 1500);
    for (int i = 0; i < c.large; ++i)
      Add(C3DPoint(where(random), where(random), 0), size(random), size(random), size(random));
    const int side = 32;
    for (int i = 0; i < c.small; ++i) {
      const C3DPoint at(100.0 + (i % side) * c.spacing, 100.0 + (i / side) * c.spacing, 0);
      const int extent = c.zeroSize != 0 && i % c.zeroSize == 0 ? 0 : 4;
      Add(at, extent, extent, extent);
    }
  }
  void Add(const C3DPoint& at, int e0, int e1, int e2) {
    auto box = std::make_unique<CBox>();
    box->SetPlacement(at, e0, e1, e2);
    m_projection.ProjectBox(*box);
    auto node = std::make_unique<CDisplayNode>();
    node->box = box.get();
    boxes.push_back(std::move(box));
    nodes.push_back(std::move(node));
  }
  std::vector<CBox*> Boxes() const {
    std::vector<CBox*> all;
    for (const auto& box : boxes) all.push_back(box.get());
    return all;
  }

  std::vector<std::unique_ptr<CBox>> boxes;
  std::vector<std::unique_ptr<CDisplayNode>> nodes;

 private:
  C3DProjection m_projection;
};

// The filed nodes that overlap the box, by the grid and by looking at each; and how many
// visits the grid's answer took.
struct Found {
  std::set<const CDisplayNode*> byGrid;
  std::set<const CDisplayNode*> byScan;
  std::size_t visits = 0;
};

Found Find(const CScreenGrid& grid, const CGridScene& scene, const std::vector<bool>& filed,
           const CBox& box) {
  Found found;
  const bool queried = grid.Query(box, [&](const CDisplayNode* node) {
    ++found.visits;
    if (StrictlyOverlap(box, *node->box)) found.byGrid.insert(node);
  });
  for (std::size_t i = 0; i < scene.nodes.size(); ++i) {
    if (filed[i] && StrictlyOverlap(box, *scene.boxes[i]))
      found.byScan.insert(scene.nodes[i].get());
  }
  if (!queried) found.byGrid = found.byScan;  // the caller looks at every node itself
  return found;
}

class ScreenGridTest : public ::testing::TestWithParam<GridCase> {};

TEST_P(ScreenGridTest, QueriesFindEveryOverlapAndFewOthersAmongPackedBoxes) {
  const GridCase c = GetParam();
  CGridScene scene(c);
  CScreenGrid grid;
  grid.Layout(scene.Boxes());
  std::vector<bool> filed(scene.nodes.size(), true);
  for (auto& node : scene.nodes) grid.Add(node.get());
  // Small boxes that come after the layout, some into the packed spot.
  const std::size_t laidOut = scene.nodes.size();
  for (int i = 0; i < 40; ++i) scene.Add(C3DPoint(102.0 + i * 3.0, 101.0, 0), 3, 3, 3);
  filed.resize(scene.nodes.size(), true);
  for (std::size_t i = laidOut; i < scene.nodes.size(); ++i) grid.Add(scene.nodes[i].get());

  auto checkAll = [&](const char* step) {
    for (std::size_t i = 0; i < scene.boxes.size(); ++i) {
      const Found found = Find(grid, scene, filed, *scene.boxes[i]);
      ASSERT_EQ(found.byGrid, found.byScan) << step << ", box " << i;
      // A packed box meets the large boxes over it and a few cells of its near neighbours
      // (each up to four times), not the whole spot.
      if (i < static_cast<std::size_t>(c.large)) continue;
      const std::size_t bound =
          16 * (found.byScan.size() + 4) + static_cast<std::size_t>(c.large) / 8;
      ASSERT_LE(found.visits, bound) << step << ", box " << i;
    }
  };
  checkAll("after filing");
  for (std::size_t i = 0; i < scene.nodes.size(); i += 3) {
    grid.Remove(scene.nodes[i].get());
    filed[i] = false;
  }
  checkAll("after removing every third");
  for (std::size_t i = 0; i < scene.nodes.size(); i += 6) {
    grid.Add(scene.nodes[i].get());
    filed[i] = true;
  }
  checkAll("after filing some again");
}

INSTANTIATE_TEST_SUITE_P(Scenes, ScreenGridTest,
                         ::testing::Values(GridCase{600, 1000, 6.0, 0}, GridCase{600, 1000, 2.0, 0},
                                           GridCase{900, 500, 9.0, 7},
                                           GridCase{300, 200, 12.0, 0}));

}  // namespace
