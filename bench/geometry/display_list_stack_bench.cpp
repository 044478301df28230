// Inserting boxes of elements that share one screen cell, as a rebuild of the document
// does (the grid laid out for all the boxes first, then the boxes one by one):
// - StackedRuns: straight runs of 40 elements laid exactly on one another (mode 0), or
//   each a little above the last (mode 1), so that every box overlaps the boxes of every
//   other run at its place and at its neighbours' places.
// - SmallBoxesInOneCell: most of the design runs of boxes a metre long, side by side,
//   and a third of the boxes small parts packed in one square metre, which the grid laid
//   out for the metre-long boxes files in one or two cells.
// - ZeroSizeBoxesAtOnePoint: runs side by side and, for half of the boxes, parts without
//   size at one point (a design's markers); every box is listed and then every one taken
//   out again, the last listed first.
// The box count is the argument: no case may grow faster than n log n.
//
// Run: build/bench/geometry/geometry_bench --benchmark_filter=Stacked\|OneCell\|OnePoint

#include "bench_element.h"
#include "geometry/3d_projection.h"
#include "geometry/box.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

class CScene {
 public:
  explicit CScene(C3DProjection& projection) : m_projection(projection) {}
  // The list holds the boxes: it lets them go before they are freed.
  ~CScene() { m_projection.ClearDisplayList(); }
  CScene(const CScene&) = delete;
  CScene& operator=(const CScene&) = delete;

  CBenchElement& AddElement(int kind, int direction, const C3DPoint& at) {
    auto element = std::make_unique<CBenchElement>();
    element->projection = &m_projection;
    element->kind = kind;
    element->direction = direction;
    element->position = at;
    m_elements.push_back(std::move(element));
    return *m_elements.back();
  }
  // Extents: e0 along z, e1 along x, e2 along y.
  void AddBox(CBenchElement& owner, int slot, const C3DPoint& origin, int e0, int e1, int e2) {
    auto box = std::make_unique<CBox>(&owner);
    owner.boxes[static_cast<std::size_t>(slot)] = box.get();
    box->SetPlacement(origin, e0, e1, e2);
    m_boxes.push_back(std::move(box));
  }
  // A straight run along +x: each element a body and a length toward the next one.
  void AddRun(const C3DPoint& start, int elements) {
    CBenchElement* previous = nullptr;
    C3DPoint at = start;
    for (int k = 0; k < elements; ++k) {
      CBenchElement& element = AddElement(k == 0 ? 0 : 9, 4, at);
      if (previous != nullptr) {
        previous->neighbours[4] = &element;
        element.neighbours[0] = previous;
      }
      AddBox(element, CBoxOwner::kBodySlot, at, 220, 220, 220);
      AddBox(element, 4, at + C3DPoint(500, 0, 0), 130, 1000, 130);
      at = at + C3DPoint(1000, 0, 0);
      previous = &element;
    }
  }
  std::size_t Size() const { return m_boxes.size(); }

  // Builds the display list as a rebuild does, and counts what it made.
  void Insert(benchmark::State& state) {
    const std::vector<CBox*> boxes = ProjectAll();
    for (auto _ : state) {
      ListAll(boxes);
    }
    std::size_t edges = 0;
    const CDisplayList& list = m_projection.GetDisplayList();
    for (const CDisplayNode* n = list.Head(); n != nullptr; n = n->next) edges += n->edges.size();
    state.counters["boxes"] = static_cast<double>(list.Size());
    state.counters["depth_edges"] = static_cast<double>(edges);
    state.SetComplexityN(static_cast<std::int64_t>(list.Size()));
  }
  // Lists every box and takes each out again, the last listed first.
  void InsertAndRemove(benchmark::State& state) {
    const std::vector<CBox*> boxes = ProjectAll();
    for (auto _ : state) {
      ListAll(boxes);
      for (auto box = boxes.rbegin(); box != boxes.rend(); ++box)
        m_projection.RemoveFromDisplayList(**box);
    }
    state.SetComplexityN(static_cast<std::int64_t>(boxes.size()));
  }

 private:
  std::vector<CBox*> ProjectAll() {
    std::vector<CBox*> boxes;
    for (auto& box : m_boxes) {
      m_projection.ProjectBox(*box);
      boxes.push_back(box.get());
    }
    return boxes;
  }
  // Lists the boxes anew, as a rebuild does.
  void ListAll(const std::vector<CBox*>& boxes) {
    m_projection.ClearDisplayList();
    m_projection.PrepareDisplayList(boxes);
    for (CBox* box : boxes) m_projection.InsertInDisplayList(*box);
  }

  C3DProjection& m_projection;
  std::vector<std::unique_ptr<CBenchElement>> m_elements;
  std::vector<std::unique_ptr<CBox>> m_boxes;
};

void BM_InsertStackedRuns(benchmark::State& state) {
  C3DProjection projection;
  CScene scene(projection);
  const int runs = static_cast<int>(state.range(0)) / 80;
  const double rise = state.range(1) != 0 ? 10.0 : 0.0;
  for (int r = 0; r < runs; ++r) scene.AddRun(C3DPoint(0, 0, r * rise), 40);
  scene.Insert(state);
}
BENCHMARK(BM_InsertStackedRuns)
    ->ArgsProduct({{1250, 5000, 20000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

void BM_InsertSmallBoxesInOneCell(benchmark::State& state) {
  C3DProjection projection;
  CScene scene(projection);
  const int count = static_cast<int>(state.range(0));
  // Runs side by side, two boxes an element, for two thirds of the boxes.
  for (int row = 0; 3 * static_cast<int>(scene.Size()) < 2 * count; ++row)
    scene.AddRun(C3DPoint(0, row * 2000.0, 0), 40);
  // Small parts 4 units wide on a lattice of 8, packed into a square about a metre wide.
  const int parts = count - static_cast<int>(scene.Size());
  int side = 1;
  while (side * side < parts) ++side;
  const double spacing = 1000.0 / side;
  for (int i = 0; i < parts; ++i) {
    const C3DPoint at(-3000.0 + (i % side) * spacing, -3000.0 + (i / side) * spacing, 0);
    CBenchElement& part = scene.AddElement(14, 5, at);
    scene.AddBox(part, CBoxOwner::kBodySlot, at, 4, 4, 4);
  }
  scene.Insert(state);
}
BENCHMARK(BM_InsertSmallBoxesInOneCell)
    ->Arg(1250)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

void BM_ZeroSizeBoxesAtOnePoint(benchmark::State& state) {
  C3DProjection projection;
  CScene scene(projection);
  const int count = static_cast<int>(state.range(0));
  for (int row = 0; 2 * static_cast<int>(scene.Size()) < count; ++row)
    scene.AddRun(C3DPoint(0, row * 2000.0, 0), 40);
  const C3DPoint at(-3000.0, -3000.0, 0);
  for (int i = static_cast<int>(scene.Size()); i < count; ++i) {
    CBenchElement& part = scene.AddElement(14, 5, at);
    scene.AddBox(part, CBoxOwner::kBodySlot, at, 0, 0, 0);
  }
  scene.InsertAndRemove(state);
}
BENCHMARK(BM_ZeroSizeBoxesAtOnePoint)
    ->Arg(1250)
    ->Arg(5000)
    ->Arg(20000)
    ->Arg(80000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
