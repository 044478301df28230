// The screen grid finds every listed box whose bounds overlap a query's, and a query among
// small boxes packed into one cell meets only the few near it; nodes filed in bands on
// several threads are filed as one by one.

#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "geometry/display_list.h"
#include "geometry/screen_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace {

struct GridCase {
  int large;       // boxes a metre or so long, spread out
  int small;       // boxes a few units wide, packed in one spot
  double spacing;  // of the packed boxes
  int zeroSize;    // of the packed boxes, every so many has no size
};

// Printed field by field: the padding between them holds no value to print.
void PrintTo(const GridCase& c, std::ostream* os) {
  *os << c.large << " large, " << c.small << " small " << c.spacing << " apart, every "
      << c.zeroSize << " without size";
}

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

struct RelayoutCase {
  const char* name;
  void (*before)(CScreenGrid& grid, CGridScene& scene);
};

// A layout empties the grid whatever was filed, removed or reset before it (a grid reset or
// laid out with nothing filed since is known to be empty): only the nodes filed after it are
// found.
TEST_P(ScreenGridTest, ALayoutLeavesOnlyTheNodesFiledAfterItWhateverCameBefore) {
  const RelayoutCase cases[] = {
      {"nothing", [](CScreenGrid&, CGridScene&) {}},
      {"laid out, nothing filed",
       [](CScreenGrid& grid, CGridScene& scene) { grid.Layout(scene.Boxes()); }},
      {"laid out, filed one by one",
       [](CScreenGrid& grid, CGridScene& scene) {
         grid.Layout(scene.Boxes());
         for (auto& node : scene.nodes) grid.Add(node.get());
       }},
      {"filed without a layout",
       [](CScreenGrid& grid, CGridScene& scene) {
         for (auto& node : scene.nodes) grid.Add(node.get());
       }},
      {"laid out, filed in bands",
       [](CScreenGrid& grid, CGridScene& scene) {
         const std::vector<CBox*> boxes = scene.Boxes();
         std::vector<CScreenGrid::Bounds> bounds;
         std::vector<CDisplayNode*> nodes;
         std::vector<std::uint32_t> boundsOf;
         for (std::size_t k = 0; k < boxes.size(); ++k) {
           bounds.push_back(CScreenGrid::BoundsOf(*boxes[k]));
           nodes.push_back(scene.nodes[k].get());
           boundsOf.push_back(static_cast<std::uint32_t>(k));
         }
         grid.Layout(boxes, bounds);
         CScreenGrid::CBandFiling filing(grid, nodes, bounds, boundsOf, 3);
         for (std::size_t band = 0; band < filing.Bands(); ++band) filing.File(band, nullptr);
         filing.Finish();
       }},
      {"laid out, filed, then reset",
       [](CScreenGrid& grid, CGridScene& scene) {
         grid.Layout(scene.Boxes());
         for (auto& node : scene.nodes) grid.Add(node.get());
         grid.Reset();
       }},
      {"laid out, filed, every other removed",
       [](CScreenGrid& grid, CGridScene& scene) {
         grid.Layout(scene.Boxes());
         for (auto& node : scene.nodes) grid.Add(node.get());
         for (std::size_t i = 0; i < scene.nodes.size(); i += 2) grid.Remove(scene.nodes[i].get());
       }},
  };
  for (const RelayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    CGridScene scene(GetParam());
    CScreenGrid grid;
    c.before(grid, scene);
    grid.Layout(scene.Boxes());
    std::vector<bool> filed(scene.nodes.size(), false);
    for (std::size_t i = 1; i < scene.nodes.size(); i += 3) {
      grid.Add(scene.nodes[i].get());
      filed[i] = true;
    }
    for (std::size_t i = 0; i < scene.boxes.size(); i += 5) {
      const Found found = Find(grid, scene, filed, *scene.boxes[i]);
      if (found.byGrid == found.byScan) continue;
      ADD_FAILURE() << "box " << i << " meets other nodes than those filed";
      break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Scenes, ScreenGridTest,
                         ::testing::Values(GridCase{600, 1000, 6.0, 0}, GridCase{600, 1000, 2.0, 0},
                                           GridCase{900, 500, 9.0, 7},
                                           GridCase{300, 200, 12.0, 0}));

// Nodes leaving and coming back in a random sequence, where many share one list: zero-size
// boxes at one point, equal small boxes in one cell, boxes too large for the cells, and
// boxes over a few cells. The grid must drop exactly the node removed, and search a list
// for it only when it lies in several cells.
struct ChurnCase {
  const char* name;
  int points;  // zero-size boxes at one point
  int equal;   // small boxes of one size at one spot
  int huge;    // boxes spanning far more cells than a node may
  int spread;  // boxes over two to four cells
};

void PrintTo(const ChurnCase& c, std::ostream* os) {
  *os << c.name << ": " << c.points << " at a point, " << c.equal << " equal, " << c.huge
      << " huge, " << c.spread << " spread";
}

class ScreenGridChurnTest : public ::testing::TestWithParam<ChurnCase> {};

std::size_t CellsOf(const CScreenGrid::Filing& filing) {
  return static_cast<std::size_t>(filing.x1 - filing.x0 + 1) *
         static_cast<std::size_t>(filing.y1 - filing.y0 + 1);
}

TEST_P(ScreenGridChurnTest, RemovalDropsTheNodeAloneAndSearchesOnlyForNodesInSeveralCells) {
  const ChurnCase c = GetParam();
  CGridScene scene(GridCase{400, 0, 0.0, 0});
  for (int i = 0; i < c.points; ++i) scene.Add(C3DPoint(500.0, 500.0, 0), 0, 0, 0);
  for (int i = 0; i < c.equal; ++i) scene.Add(C3DPoint(300.0, 300.0, 0), 3, 3, 3);
  for (int i = 0; i < c.huge; ++i)
    scene.Add(C3DPoint(-7000.0 + i, -7000.0, 0), 14000, 14000, 14000);
  for (int i = 0; i < c.spread; ++i) scene.Add(C3DPoint(1990.0, 1990.0 + i % 7, 0), 900, 900, 900);
  const std::size_t boxCount = scene.nodes.size();
  // Probes, never filed: each holds the corner where one kind of box starts, so that
  // together they meet every box the case adds.
  for (const C3DPoint& spot :
       {C3DPoint(500, 500, 0), C3DPoint(300, 300, 0), C3DPoint(1990, 1990, 0)})
    scene.Add(spot - C3DPoint(5, 5, 5), 20, 20, 20);
  CScreenGrid grid;
  grid.Layout(scene.Boxes());
  std::vector<bool> filed(boxCount, true);
  for (std::size_t i = 0; i < boxCount; ++i) grid.Add(scene.nodes[i].get());

  std::mt19937 random(11);
  std::uniform_int_distribution<std::size_t> pick(0, boxCount - 1);
  std::size_t expectedSearches = 0;
  const std::size_t searchesBefore = grid.RemovalSearches();
  for (int step = 0; step < 3000; ++step) {
    const std::size_t i = pick(random);
    CDisplayNode* node = scene.nodes[i].get();
    if (!filed[i]) {
      grid.Add(node);
    } else {
      if (!node->filing.oversize && CellsOf(node->filing) > 1)
        expectedSearches += CellsOf(node->filing);
      grid.Remove(node);
      ASSERT_FALSE(node->filing.filed) << c.name << ", step " << step;
    }
    filed[i] = !filed[i];
    if (step % 100 != 99) continue;
    std::vector<bool> visited(boxCount, false);
    for (std::size_t probe = boxCount; probe < scene.boxes.size(); ++probe) {
      ASSERT_TRUE(grid.Query(*scene.boxes[probe], [&](const CDisplayNode* node) {
        const auto it = std::find_if(scene.nodes.begin(), scene.nodes.end(),
                                     [node](const auto& own) { return own.get() == node; });
        visited[static_cast<std::size_t>(it - scene.nodes.begin())] = true;
      }));
    }
    for (std::size_t k = 400; k < boxCount; ++k)
      ASSERT_EQ(visited[k], filed[k]) << c.name << ", step " << step << ", box " << k;
  }
  EXPECT_EQ(grid.RemovalSearches() - searchesBefore, expectedSearches) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Crowds, ScreenGridChurnTest,
                         ::testing::Values(ChurnCase{"points", 600, 0, 0, 0},
                                           ChurnCase{"equal", 0, 600, 0, 0},
                                           ChurnCase{"huge", 0, 0, 300, 0},
                                           ChurnCase{"spread", 0, 0, 0, 300},
                                           ChurnCase{"mixed", 200, 200, 100, 100}));

// Filing in bands, on threads of their own, against Add one node after the other: two
// scenes of the same boxes, every node filed alike, every query visiting the same nodes in
// the same order, before and after removals. The cases hold packed boxes (finer grids),
// zero-size points, boxes too large for the cells, boxes over several rows of cells, and
// bounds read in another order than the nodes'.
struct BandCase {
  const char* name;
  GridCase grid;
  int points;
  int huge;
  int tall;  // boxes over many rows, across band borders
  bool boundsReversed;
};

void PrintTo(const BandCase& c, std::ostream* os) { *os << c.name; }

class ScreenGridBandsTest : public ::testing::TestWithParam<BandCase> {};

void AddBandBoxes(CGridScene& scene, const BandCase& c) {
  for (int i = 0; i < c.points; ++i) scene.Add(C3DPoint(500.0, -3000.0 + i % 5, 0), 0, 0, 0);
  for (int i = 0; i < c.huge; ++i)
    scene.Add(C3DPoint(-7000.0 + i, -7000.0, 0), 14000, 14000, 14000);
  for (int i = 0; i < c.tall; ++i)
    scene.Add(C3DPoint(-6000.0 + 97.0 * i, -7500.0 + 13.0 * i, 0), 300, 300, 9000);
}

// For a query of every box of the scene, the nodes it visits (by their place in the scene)
// in order, and whether it was made.
std::vector<std::size_t> Visits(const CScreenGrid& grid, const CGridScene& scene) {
  std::map<const CBox*, std::size_t> place;
  for (std::size_t i = 0; i < scene.boxes.size(); ++i) place[scene.boxes[i].get()] = i;
  std::vector<std::size_t> visits;
  for (const auto& box : scene.boxes) {
    const bool queried =
        grid.Query(*box, [&](const CDisplayNode* node) { visits.push_back(place.at(node->box)); });
    visits.push_back(queried ? 1u : 0u);
  }
  return visits;
}

void ExpectFiledAlike(const CGridScene& one, const CGridScene& other) {
  for (std::size_t i = 0; i < one.nodes.size(); ++i) {
    const CScreenGrid::Filing& a = one.nodes[i]->filing;
    const CScreenGrid::Filing& b = other.nodes[i]->filing;
    ASSERT_EQ(std::tie(a.x0, a.y0, a.x1, a.y1, a.filed, a.oversize, a.clamped, a.flatness, a.home),
              std::tie(b.x0, b.y0, b.x1, b.y1, b.filed, b.oversize, b.clamped, b.flatness, b.home))
        << "node " << i;
    // The slot counts only where the node lies in one list.
    if (a.oversize || (a.x0 == a.x1 && a.y0 == a.y1)) {
      ASSERT_EQ(a.slot, b.slot) << "node " << i;
    }
  }
}

TEST_P(ScreenGridBandsTest, NodesFiledInBandsAreFiledAsOneByOne) {
  const BandCase c = GetParam();
  for (const std::size_t bands : {1u, 2u, 3u, 5u, 8u}) {
    SCOPED_TRACE(std::to_string(bands) + " bands");
    CGridScene alone(c.grid);
    AddBandBoxes(alone, c);
    CScreenGrid byOne;
    byOne.Layout(alone.Boxes());
    for (const auto& node : alone.nodes) byOne.Add(node.get());

    CGridScene banded(c.grid);
    AddBandBoxes(banded, c);
    std::vector<CDisplayNode*> nodes;
    std::vector<CScreenGrid::Bounds> bounds;
    for (const auto& node : banded.nodes) {
      nodes.push_back(node.get());
      bounds.push_back(CScreenGrid::BoundsOf(*node->box));
    }
    std::vector<std::uint32_t> boundsOf(bounds.size());
    for (std::size_t k = 0; k < bounds.size(); ++k) boundsOf[k] = static_cast<std::uint32_t>(k);
    if (c.boundsReversed) {
      std::reverse(bounds.begin(), bounds.end());
      std::reverse(boundsOf.begin(), boundsOf.end());
    }
    CScreenGrid grid;
    grid.Layout(banded.Boxes());
    CScreenGrid::CBandFiling filing(grid, nodes, bounds, boundsOf, bands);
    EXPECT_EQ(filing.Bands(), bands);
    {
      std::vector<std::jthread> threads;
      for (std::size_t band = 0; band < filing.Bands(); ++band)
        threads.emplace_back([&filing, band] { filing.File(band, nullptr); });
    }
    filing.Finish();
    EXPECT_EQ(grid.MisfitCount(), byOne.MisfitCount());
    ExpectFiledAlike(alone, banded);
    EXPECT_EQ(Visits(grid, banded), Visits(byOne, alone));
    // Removals find the nodes where Add put them, with as many searches.
    for (std::size_t i = 0; i < nodes.size(); i += 3) {
      grid.Remove(nodes[i]);
      byOne.Remove(alone.nodes[i].get());
    }
    EXPECT_EQ(grid.RemovalSearches(), byOne.RemovalSearches());
    EXPECT_EQ(grid.MisfitCount(), byOne.MisfitCount());
    EXPECT_EQ(Visits(grid, banded), Visits(byOne, alone));
  }
}

// A re-sort asks the grid for the earlier steps a box meets from the cells' entries alone,
// reading no node. For every box k taken as step k: the steps given are those of earlier
// filed boxes that overlap it, each entry holding its node's step, and the grid declines
// exactly where a query of the nodes declines. Grids filed in bands (lists in step order),
// node by node from the last step back (lists in reverse order), after removals (lists
// reshuffled), and by a filing stopped at once; with coinciding boxes among the others.
TEST_P(ScreenGridBandsTest, EarlierStepsFoundFromTheEntriesAreTheEarlierBoxesMet) {
  const BandCase c = GetParam();
  CGridScene scene(c.grid);
  AddBandBoxes(scene, c);
  for (int i = 0; i < 40; ++i) scene.Add(C3DPoint(1200.0, 1200.0, 0), 700, 700, 700);
  std::vector<CDisplayNode*> nodes;
  std::vector<CScreenGrid::Bounds> bounds;
  std::vector<std::uint32_t> boundsOf;
  for (const auto& node : scene.nodes) {
    node->step = static_cast<std::uint32_t>(nodes.size());
    boundsOf.push_back(node->step);
    nodes.push_back(node.get());
    bounds.push_back(CScreenGrid::BoundsOf(*node->box));
  }
  auto fileInBands = [&](CScreenGrid& grid, std::size_t bands, bool stop) {
    // As a re-sort clears them: a node not filed by a stopped filing holds no filing.
    for (CDisplayNode* node : nodes) node->filing = CScreenGrid::Filing();
    grid.Layout(scene.Boxes());
    const std::atomic<bool> stopFlag{stop};
    CScreenGrid::CBandFiling filing(grid, nodes, bounds, boundsOf, bands);
    {
      std::vector<std::jthread> threads;
      for (std::size_t band = 0; band < filing.Bands(); ++band)
        threads.emplace_back([&filing, &stopFlag, band] { filing.File(band, &stopFlag); });
    }
    filing.Finish();
  };
  auto expectEarlierMet = [&](const CScreenGrid& grid, const std::string& how) {
    SCOPED_TRACE(how);
    std::size_t declined = 0;
    for (std::size_t k = 0; k < nodes.size(); ++k) {
      if (!bounds[k].finite) continue;
      const CBox& box = *scene.boxes[k];
      std::set<std::size_t> fromEntries;
      const bool answered = grid.QueryEarlier(bounds[k], static_cast<std::uint32_t>(k),
                                              [&](const CScreenGrid::Entry& entry) {
                                                ASSERT_LT(entry.step, k);
                                                ASSERT_EQ(entry.node, nodes[entry.step]);
                                                if (bounds[k].StrictlyOverlaps(bounds[entry.step]))
                                                  fromEntries.insert(entry.step);
                                              });
      ASSERT_EQ(answered, grid.Query(box, [](const CDisplayNode*) {})) << "box " << k;
      if (!answered) {
        ++declined;
        continue;
      }
      std::set<std::size_t> met;
      for (std::size_t j = 0; j < k; ++j) {
        const CScreenGrid::Filing& filing = nodes[j]->filing;
        if ((filing.filed || filing.home != 0) && StrictlyOverlap(box, *scene.boxes[j]))
          met.insert(j);
      }
      ASSERT_EQ(fromEntries, met) << "box " << k;
    }
    // Only the boxes too large for a query are left to a scan of every node.
    EXPECT_LE(declined, static_cast<std::size_t>(c.huge + c.tall)) << how;
  };
  for (const std::size_t bands : {1u, 3u, 8u}) {
    CScreenGrid grid;
    fileInBands(grid, bands, false);
    expectEarlierMet(grid, std::to_string(bands) + " bands");
    for (std::size_t i = 0; i < nodes.size(); i += 5) grid.Remove(nodes[i]);
    expectEarlierMet(grid, std::to_string(bands) + " bands, every fifth removed");
  }
  CScreenGrid backwards;
  backwards.Layout(scene.Boxes());
  for (std::size_t k = nodes.size(); k-- > 0;) backwards.Add(nodes[k], bounds[k]);
  expectEarlierMet(backwards, "node by node from the last");
  CScreenGrid stopped;
  fileInBands(stopped, 4, true);
  expectEarlierMet(stopped, "filing stopped at once");
}

INSTANTIATE_TEST_SUITE_P(
    Scenes, ScreenGridBandsTest,
    ::testing::Values(
        BandCase{"spread", GridCase{900, 0, 0.0, 0}, 0, 0, 0, false},
        BandCase{"packed", GridCase{600, 1000, 2.0, 7}, 0, 0, 0, false},
        BandCase{"points, huge and tall", GridCase{600, 200, 6.0, 0}, 300, 40, 60, false},
        BandCase{"bounds in reverse", GridCase{600, 500, 3.0, 5}, 100, 20, 60, true}));

}  // namespace
