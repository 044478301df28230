// Depth ordering of a layout as the user orbits it: every mouse move turns the view by
// a degree and re-sorts the whole scene (C3DProjection::SetViewAngles with resort).
//
// The scene is a building's worth of busbar runs: runs of 40 elements that start on a
// grid of bays on three floors and wander level, with an elbow now and then and a riser
// to the next floor once in a while; the floor grows with the box count, as a larger
// layout is a larger building. Each element has a body and a length toward the next
// element, so boxes overlap on screen with their neighbours and, where runs of
// different bays or floors cross in the view, with other runs.
//
// Two forms of the same scene:
// - Elements: the boxes belong to linked elements, as in a document, so that joints
//   between neighbours are settled by the element rules and only crossing runs need
//   the geometric comparison.
// - FreeBoxes: the same boxes without elements, so that every overlap goes through the
//   geometric comparison (edge crossings and face probes): the worst case.
//
// A re-sort of a long list spreads its work over threads, so its times are wall-clock;
// on a busy machine they say little (the CPU column is the calling thread's alone).
//
// Run: build/bench/geometry/geometry_bench --benchmark_min_time=0.5

#include "bench_element.h"
#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "geometry/box_owner.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// Directions: 0 -x, 1 -z, 2 +y, 3 -y, 4 +x, 5 +z.
C3DPoint Unit(int direction) {
  static const C3DPoint kUnits[6] = {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0},
                                     {0, -1, 0}, {1, 0, 0},  {0, 0, 1}};
  return kUnits[direction];
}

class CLayout {
 public:
  CLayout(int boxCount, bool withElements, C3DProjection& projection) : m_projection(projection) {
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> pick(0, 1 << 20);
    const int runs = (boxCount + 79) / 80;
    const int bays = static_cast<int>(std::ceil(std::sqrt(runs / 3.0)));
    for (int run = 0; static_cast<int>(m_boxes.size()) < boxCount; ++run) {
      C3DPoint at((run % bays) * 40000.0, ((run / bays) % bays) * 40000.0,
                  (run / (bays * bays)) * 4000.0);
      int direction = (pick(random) % 2) ? 4 : 2;
      CBenchElement* previous = nullptr;
      for (int k = 0; k < 40 && static_cast<int>(m_boxes.size()) < boxCount; ++k) {
        int step = direction;
        if (pick(random) % 8 == 0) {
          const int sideways[2][2] = {{2, 3}, {4, 0}};  // an elbow: turn across
          direction = sideways[direction == 2 || direction == 3 ? 1 : 0][pick(random) % 2];
          step = direction;
        }
        if (pick(random) % 40 == 0) step = 5;  // a riser
        const double length = step == 5 ? 4000.0 : 1000.0 + pick(random) % 3000;
        auto element = std::make_unique<CBenchElement>();
        element->projection = &projection;
        element->direction = step;
        element->kind = k == 0 ? 0 : (step != (previous ? previous->direction : step) ? 2 : 9);
        element->position = at;
        if (previous != nullptr) {
          previous->neighbours[step] = element.get();
          element->neighbours[CBoxOwner::OppositeDirection(step)] = previous;
        }
        AddBox(withElements ? element.get() : nullptr, CBoxOwner::kBodySlot, at, 220, 220, 220);
        if (static_cast<int>(m_boxes.size()) < boxCount) {
          const int along = static_cast<int>(length);
          const bool z = step == 5, x = step == 0 || step == 4;
          AddBox(withElements ? element.get() : nullptr, step, at + Unit(step) * (length / 2),
                 z ? along : 130, x ? along : 130, !z && !x ? along : 130);
        }
        at = at + Unit(step) * length;
        previous = element.get();
        m_elements.push_back(std::move(element));
      }
    }
  }

  // The list holds the boxes: it lets them go before they are freed.
  ~CLayout() { m_projection.ClearDisplayList(); }
  CLayout(const CLayout&) = delete;
  CLayout& operator=(const CLayout&) = delete;

  std::vector<std::unique_ptr<CBox>>& Boxes() { return m_boxes; }

 private:
  // Extents: e0 along z, e1 along x, e2 along y.
  void AddBox(CBenchElement* owner, int slot, const C3DPoint& origin, int e0, int e1, int e2) {
    auto box = std::make_unique<CBox>(owner);
    if (owner != nullptr) owner->boxes[slot] = box.get();
    box->SetPlacement(origin, e0, e1, e2);
    m_boxes.push_back(std::move(box));
  }

  C3DProjection& m_projection;
  std::vector<std::unique_ptr<CBenchElement>> m_elements;
  std::vector<std::unique_ptr<CBox>> m_boxes;
};

void CountEdges(benchmark::State& state, const C3DProjection& projection) {
  std::size_t edges = 0;
  for (const CDisplayNode* n = projection.GetDisplayList().Head(); n != nullptr; n = n->next)
    edges += n->edges.size();
  state.counters["boxes"] = static_cast<double>(projection.GetDisplayList().Size());
  state.counters["depth_edges"] = static_cast<double>(edges);
}

// A full re-sort after the view turned by one degree, as on every orbit step.
void ResortAfterOrbitStep(benchmark::State& state, bool withElements) {
  C3DProjection projection;
  CLayout layout(static_cast<int>(state.range(0)), withElements, projection);
  for (auto& box : layout.Boxes()) {
    projection.ProjectBox(*box);
    projection.InsertInDisplayList(*box);
  }
  int step = 0;
  for (auto _ : state) {
    projection.SetViewAngles((step % 2) ? 1 : -1, 1, 0, true, true);
    ++step;
  }
  CountEdges(state, projection);
  state.SetComplexityN(state.range(0));
}

void BM_ResortElements(benchmark::State& state) { ResortAfterOrbitStep(state, true); }
void BM_ResortFreeBoxes(benchmark::State& state) { ResortAfterOrbitStep(state, false); }
BENCHMARK(BM_ResortElements)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Complexity();
BENCHMARK(BM_ResortFreeBoxes)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Complexity();

// Building the scene box by box, as a rebuild of the document does.
void BM_InsertElements(benchmark::State& state) {
  C3DProjection projection;
  CLayout layout(static_cast<int>(state.range(0)), true, projection);
  for (auto _ : state) {
    projection.ClearDisplayList();
    for (auto& box : layout.Boxes()) {
      projection.ProjectBox(*box);
      projection.InsertInDisplayList(*box);
    }
  }
  CountEdges(state, projection);
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_InsertElements)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// Boxes that share one screen cell: a design of zero-size boxes at one point (mode 0), or
// runs of the same boxes stacked on one another (mode 1). No case may grow faster than
// n log n.
void BM_InsertCoincidentBoxes(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const bool sized = state.range(1) != 0;
  std::vector<std::unique_ptr<CBox>> boxes;  // outlives the list that holds them
  C3DProjection projection;
  for (int i = 0; i < count; ++i) {
    auto box = std::make_unique<CBox>(nullptr);
    if (sized) box->SetPlacement(C3DPoint((i % 40) * 1000.0, 0, 0), 130, 1000, 130);
    else box->SetPlacement(C3DPoint(500, 500, 500), 0, 0, 0);
    projection.ProjectBox(*box);
    boxes.push_back(std::move(box));
  }
  for (auto _ : state) {
    projection.ClearDisplayList();
    for (auto& box : boxes) projection.InsertInDisplayList(*box);
  }
  CountEdges(state, projection);
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_InsertCoincidentBoxes)
    ->ArgsProduct({{1250, 5000, 20000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
