#include "platform/archive.h"
#include "model/element/dev.h"
#include "model/element/element_iterator.h"
#include "model/run/range_rules.h"
#include "model/run/run.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

CRangeTables& Tables() {
  static CRangeTables tables = [] {
    CRangeTables t;
    t.codes = {{{"0", "0", "END-0", ""}}, {{"1", "0", "STR-0", ""}}, {{"3", "0", "TEE-0", ""}}};
    return t;
  }();
  return tables;
}

// A run of `count` elements: a main line with a tee every 50 elements and a short branch
// of 5 straights at each tee.
std::unique_ptr<CRun> BuildRun(int count) {
  auto run = std::make_unique<CRun>();
  run->AttachRangeTables(Tables());
  CDev* last = run->NewElement();
  last->SetKind(CDev::kEnd);
  last->SetActive(1);
  last->SetDirection(4);
  run->AddDevice(last);
  auto add = [&run](CDev* from, int face, int kind, int index) {
    CDev* element = run->NewElement();
    element->SetKind(kind);
    element->SetActive(1);
    element->SetDirection(face);
    element->SetBookedLength(1000);
    element->SetReference(kind == CDev::kStraight ? "S-" + std::to_string(index % 40) : "TEE-0");
    element->SetNeighbour(CDev::OppositeDirection(face), from);
    from->SetNeighbour(face, element);
    element->MakeBox(CDev::kBodySlot)->SetPlacement(C3DPoint(index, 0, 0), 100, 100, 100);
    run->AddDevice(element);
    return element;
  };
  for (int i = 1; i < count;) {
    const bool tee = i % 50 == 0;
    last = add(last, 4, tee ? CDev::kJunction2 : CDev::kStraight, i++);
    if (!tee) continue;
    CDev* branch = last;
    for (int k = 0; k < 5 && i < count; ++k) branch = add(branch, 2, CDev::kStraight, i++);
  }
  return run;
}

void BM_WalkRun(benchmark::State& state) {
  const auto run = BuildRun(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    CElementIterator walk = run->IterateElements(true);
    int visited = 0;
    while (walk.Next() != nullptr) ++visited;
    benchmark::DoNotOptimize(visited);
  }
}
BENCHMARK(BM_WalkRun)->Arg(1000)->Arg(5000);

void BM_WriteRun(benchmark::State& state) {
  const auto run = BuildRun(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    CArchiveWriter writer;
    run->Serialize(writer);
    benchmark::DoNotOptimize(writer.Bytes().data());
  }
}
BENCHMARK(BM_WriteRun)->Arg(1000)->Arg(5000);

void BM_ReadRun(benchmark::State& state) {
  const auto run = BuildRun(static_cast<int>(state.range(0)));
  CArchiveWriter writer;
  run->Serialize(writer);
  for (auto _ : state) {
    CRun copy;
    copy.AttachRangeTables(Tables());
    CArchiveReader reader(writer.Bytes().data(), writer.Bytes().size());
    copy.Serialize(reader);
    benchmark::DoNotOptimize(copy.GetDevices().size());
  }
}
BENCHMARK(BM_ReadRun)->Arg(1000)->Arg(5000);

// The bill of materials asks the run for every line and column by reference.
void BM_PropertiesByReference(benchmark::State& state) {
  const auto run = BuildRun(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    for (int line = 0; line < 40; ++line) {
      const std::string reference = "S-" + std::to_string(line);
      for (const char* field : {"PrixU", "PrixT", "PoidsU", "Comment", "Designation"}) {
        benchmark::DoNotOptimize(run->GetDevicePropByRef(reference, field));
      }
      benchmark::DoNotOptimize(run->CountByRef(reference));
    }
  }
}
BENCHMARK(BM_PropertiesByReference)->Arg(1000)->Arg(5000);

}  // namespace
