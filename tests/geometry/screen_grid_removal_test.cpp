// Taking nodes out of the screen grid and filing them again, many times over: every query
// still meets every filed node that overlaps it and never a node taken out, whether the
// node lies in ordinary cells, in the oversize list, in a packed cell's finer grid, was
// filed under an earlier layout, or moved in the meantime.

#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "geometry/display_list.h"
#include "geometry/screen_grid.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <unordered_map>
#include <vector>

namespace {

struct ChurnCase {
  int large;        // boxes a metre or so long, spread out
  int small;        // boxes a few units wide, packed in one spot (a finer grid)
  int huge;         // boxes over most of the scene (the oversize list)
  int rounds;       // of taking out and filing again
  int layoutEvery;  // rounds between new layouts (0: never), filing every box again
  bool forgetSome;  // after a layout, leave some boxes filed under the old one
  unsigned seed;
};

class CChurnScene {
 public:
  CChurnScene(const ChurnCase& c, std::mt19937& random) : m_random(random) {
    for (int i = 0; i < c.large; ++i) Add(Spread(), Size(200, 1500), Size(200, 1500), 0);
    for (int i = 0; i < c.small; ++i)
      Add(C3DPoint(100.0 + (i % 32) * 5.0, 100.0 + (i / 32) * 5.0, 0), 4, i % 9 == 0 ? 0 : 4, 4);
    for (int i = 0; i < c.huge; ++i) Add(C3DPoint(-9000.0, -9000.0, 0), 18000, 18000, 10);
  }
  void Add(const C3DPoint& at, int e0, int e1, int e2) {
    auto box = std::make_unique<CBox>();
    box->SetPlacement(at, e0, e1, e2);
    m_projection.ProjectBox(*box);
    auto node = std::make_unique<CDisplayNode>();
    node->box = box.get();
    boxes.push_back(std::move(box));
    index[node.get()] = nodes.size();
    nodes.push_back(std::move(node));
  }
  void Move(std::size_t i) {
    CBox& box = *boxes[i];
    box.SetPlacement(Spread(), box.GetExtent(0), box.GetExtent(1), box.GetExtent(2));
    m_projection.ProjectBox(box);
  }
  std::vector<CBox*> Boxes() const {
    std::vector<CBox*> all;
    for (const auto& box : boxes) all.push_back(box.get());
    return all;
  }
  std::size_t Pick(std::size_t count) {
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(m_random);
  }

  std::vector<std::unique_ptr<CBox>> boxes;
  std::vector<std::unique_ptr<CDisplayNode>> nodes;
  std::unordered_map<const CDisplayNode*, std::size_t> index;

 private:
  C3DPoint Spread() {
    std::uniform_real_distribution<double> where(-8000.0, 8000.0);
    return C3DPoint(where(m_random), where(m_random), 0);
  }
  int Size(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

  std::mt19937& m_random;
  C3DProjection m_projection;
};

// Queries for a sample of the boxes: the grid meets every filed overlapping node, and
// nothing that is not filed.
void CheckQueries(const CScreenGrid& grid, const CChurnScene& scene, const std::vector<bool>& filed,
                  int round) {
  for (std::size_t i = 0; i < scene.boxes.size(); i += 7) {
    const CBox& box = *scene.boxes[i];
    std::set<const CDisplayNode*> met;
    bool strayed = false;
    const bool queried = grid.Query(box, [&](const CDisplayNode* node) {
      met.insert(node);
      const auto it = scene.index.find(node);
      if (it == scene.index.end() || !filed[it->second]) strayed = true;
    });
    if (!queried) continue;
    ASSERT_FALSE(strayed) << "round " << round << ", box " << i << " met a node taken out";
    for (std::size_t j = 0; j < scene.nodes.size(); ++j) {
      if (filed[j] && StrictlyOverlap(box, *scene.boxes[j])) {
        ASSERT_TRUE(met.contains(scene.nodes[j].get()))
            << "round " << round << ", box " << i << " missed box " << j;
      }
    }
  }
}

class ScreenGridRemovalTest : public ::testing::TestWithParam<ChurnCase> {};

TEST_P(ScreenGridRemovalTest, QueriesMeetExactlyTheFiledNodesThroughAnyChurn) {
  const ChurnCase c = GetParam();
  std::mt19937 random(c.seed);
  CChurnScene scene(c, random);
  CScreenGrid grid;
  grid.Layout(scene.Boxes());
  std::vector<bool> filed(scene.nodes.size(), true);
  for (auto& node : scene.nodes) grid.Add(node.get());
  const std::size_t n = scene.nodes.size();
  for (int round = 1; round <= c.rounds; ++round) {
    for (std::size_t k = 0; k < n / 3; ++k) {
      const std::size_t i = scene.Pick(n);
      grid.Remove(scene.nodes[i].get());  // a second removal changes nothing
      filed[i] = false;
      if (scene.Pick(4) == 0) scene.Move(i);
    }
    for (std::size_t k = 0; k < n / 3; ++k) {
      const std::size_t i = scene.Pick(n);
      if (filed[i]) continue;
      grid.Add(scene.nodes[i].get());
      filed[i] = true;
    }
    if (c.layoutEvery != 0 && round % c.layoutEvery == 0) {
      grid.Layout(scene.Boxes());
      for (std::size_t i = 0; i < n; ++i) {
        // A node left filed under the old layout is in no cell now, and taking it out
        // must leave the others alone.
        if (c.forgetSome && i % 5 == 0) {
          if (filed[i]) grid.Remove(scene.nodes[i].get());
          filed[i] = false;
        } else if (filed[i]) {
          grid.Add(scene.nodes[i].get());
        }
      }
    }
    ASSERT_NO_FATAL_FAILURE(CheckQueries(grid, scene, filed, round));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Churns, ScreenGridRemovalTest,
    ::testing::Values(ChurnCase{400, 0, 0, 12, 0, false, 1},
                      ChurnCase{300, 600, 0, 10, 0, false, 2},
                      ChurnCase{300, 300, 6, 10, 3, false, 3},
                      ChurnCase{200, 400, 4, 12, 4, true, 4},
                      ChurnCase{2500, 2000, 8, 6, 0, false, 5},  // enough to make places anew
                      ChurnCase{1500, 3000, 4, 6, 2, true, 6}, ChurnCase{1, 0, 1, 4, 1, false, 7}));

}  // namespace
