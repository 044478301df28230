#include "geometry/box.h"
#include "model/element/box_point_source.h"
#include "model/element/dev.h"
#include "model/run/range_rules.h"
#include "model/run/run.h"
#include "model/run/run_environment.h"
#include "model/tapoff/tap_off_choice.h"
#include "model/tapoff/tap_off_place.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Three outlets of range code 128 along x from every joint box's origin.
class COutlets : public CBoxPointSource {
 public:
  C3DPoint ConnectionCode(const CBox& box, int point, int) override {
    if (point >= 10) return C3DPoint(3, 128 * 256, (2 * 16 + 4) * 16 + 5);
    return box.GetOrigin() + C3DPoint(100.0 * (point + 1), 0, 0);
  }
  C3DPoint SupportPoint(const CBox&, int, int) override { return {}; }
};

CRangeTables& Tables() {
  static CRangeTables tables = [] {
    CRangeTables t;
    t.codes = {{{"0", "0", "END-0", ""}}, {{"1", "0", "STR-0", ""}}};
    return t;
  }();
  return tables;
}

// A straight line of `joints` joints 1 m apart, a straight before each, the outlet boxes
// of the joints facing back; every joint but the last carries a unit on its first outlet.
std::unique_ptr<CRun> BuildRun(int joints, std::vector<CDev*>& jointList) {
  auto run = std::make_unique<CRun>();
  run->AttachRangeTables(Tables());
  run->SetPartsState(2);
  CDev* last = run->NewElement();
  last->SetKind(CDev::kEnd);
  last->SetActive(1);
  last->SetDirection(4);
  run->AddDevice(last);
  for (int i = 0; i < 2 * joints; ++i) {
    CDev* element = run->NewElement();
    element->SetKind(i % 2 == 0 ? CDev::kStraight : CDev::kJoint);
    element->SetActive(1);
    element->SetDirection(4);
    element->SetBookedLength(500);
    element->SetNeighbour(0, last);
    last->SetNeighbour(4, element);
    if (i % 2 == 1) {
      element->MakeBox(0)->SetOrigin(C3DPoint(1000.0 * i, 0, 0));
      jointList.push_back(element);
    }
    run->AddDevice(element);
    last = element;
  }
  CTapOffChoice& choice = RememberedTapOffChoice();
  choice.reference = "QDB0016SE";
  choice.record.mask = 128;
  choice.record.ratings = {100, 50, 80, 0, 0, 0};
  for (std::size_t i = 0; i + 1 < jointList.size(); ++i)
    PlaceTapOffUnit(*jointList[i], 10, nullptr, true);
  return run;
}

void BM_PlaceTapOffUnit(benchmark::State& state) {
  COutlets outlets;
  CRunEnvironment::Instance().SetBoxPoints(&outlets);
  std::vector<CDev*> joints;
  const auto run = BuildRun(static_cast<int>(state.range(0)) + 1, joints);
  for (auto _ : state) {
    benchmark::DoNotOptimize(PlaceTapOffUnit(*joints.back(), 10, nullptr, true));
    state.PauseTiming();
    run->DeleteElement(run->GetDevices().back());  // the unit just placed
    state.ResumeTiming();
  }
  state.counters["units"] = static_cast<double>(state.range(0));
  CRunEnvironment::Instance().SetBoxPoints(nullptr);
  ResetRememberedTapOffChoice();
}
BENCHMARK(BM_PlaceTapOffUnit)
    ->Arg(500)
    ->Arg(2000)
    ->Arg(8000)
    ->Arg(32000)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
