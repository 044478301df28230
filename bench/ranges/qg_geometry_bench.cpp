// The further boxes of a QG run's elements: every index the box builder asks for, for a
// run of straights, special shapes of each variant, elbows, tees and wall pieces. Runs on
// the sample catalogue.
#include "model/element/dev.h"
#include "ranges/qg/run_qg.h"

#include <benchmark/benchmark.h>

#include "sample_ranges.h"

#include <memory>
#include <vector>

namespace {

std::vector<std::unique_ptr<CDev>> MakeElements(int count) {
  struct Shape {
    int kind;
    int variant;
    int sub;
    const char* entrax;
  };
  const Shape shapes[] = {{CDev::kStraight, 0, 0, ""},
                          {CDev::kEnd, 2, 1, ""},
                          {CDev::kEnd, 2, 2, "200/200/200"},
                          {CDev::kEnd, 3, 3, "150/150"},
                          {CDev::kEnd, 5, 0, ""},
                          {CDev::kEnd, 6, 2, "300"},
                          {CDev::kElbow, 0, 0, ""},
                          {CDev::kJunction2, 0, 0, ""},
                          {CDev::kInLineVariant, 15, 0, ""}};
  std::vector<std::unique_ptr<CDev>> elements;
  for (int i = 0; i < count; ++i) {
    const Shape& shape = shapes[i % std::size(shapes)];
    auto element = std::make_unique<CDev>();
    element->SetKind(shape.kind);
    element->SetStyle(static_cast<std::uint32_t>(shape.variant) |
                      (static_cast<std::uint32_t>(shape.sub) << 20));
    element->SetPropValue("ENTRAX", shape.entrax);
    element->SetPropValue("CLINQ", "9");
    if (shape.kind == CDev::kJunction2) element->SetReference("QGA1000TD4  ");
    elements.push_back(std::move(element));
  }
  return elements;
}

// Indices 7 to 24 of every element, as the box builder walks them.
void BM_QGRunGeometry(benchmark::State& state) {
  SetUpSampleRanges();
  CRunQG run("A", nullptr);
  run.SetProp("Calibre", "10");
  const auto elements = MakeElements(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    int boxes = 0;
    for (const auto& element : elements) {
      for (int index = 7; index <= 24; ++index) {
        CElementGeometry geometry;
        run.GetElementGeometry(*element, index, geometry);
        boxes += geometry.extents[0] != 0 ? 1 : 0;
      }
    }
    benchmark::DoNotOptimize(boxes);
  }
}
BENCHMARK(BM_QGRunGeometry)->Arg(500)->Arg(2000)->Arg(8000)->Unit(benchmark::kMicrosecond);

}  // namespace
