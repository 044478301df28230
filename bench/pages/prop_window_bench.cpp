// The property window following the selection on a large document (100 runs of 200
// elements), off screen: opening it on a selected element, and stepping to the next
// element with the navigation button. Run by hand:
//   QT_QPA_PLATFORM=offscreen build/bench/pages/prop_window_bench

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>

#include <cstdlib>
#include <memory>

#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/element/element_selection.h"
#include "model/run/run.h"
#include "pages/ui/prop_window_host.h"

namespace {

constexpr int kRuns = 100;
constexpr int kElementsPerRun = 200;

// A straight run along x: an end element, then straights, each with its main box.
void BuildRun(CDorneDoc& document, int runIndex) {
  auto made = std::make_unique<CRun>(&document);
  CRun& run = *made;
  document.AddRun(std::move(made));
  run.LoadCatalog();
  CDev* last = run.NewElement();
  last->SetKind(CDev::kEnd);
  last->SetDirection(4);
  run.AddDevice(last);
  for (int i = 1; i < kElementsPerRun; ++i) {
    CDev* element = run.NewElement();
    element->SetKind(CDev::kStraight);
    element->SetActive(1);
    element->SetDirection(4);
    element->SetBookedLength(1000);
    element->SetDrawnLength(1000);
    element->SetNeighbour(0, last);
    last->SetNeighbour(4, element);
    element->MakeBox(CDev::kBodySlot)
        ->SetPlacement(C3DPoint(i * 1000, runIndex * 2000, 0), 100, 100, 100);
    run.AddDevice(element);
    last = element;
  }
  run.SetCurrentElement(last);
  document.SetCurrentRun(&run);
}

struct Fixture {
  Fixture() {
    document = std::make_unique<CDorneDoc>(CDocEnvironment());
    for (int r = 0; r < kRuns; ++r) BuildRun(*document, r);
    host = std::make_unique<CPropWindowHost>([] { return CPropWindowSetup(); },
                                             [] { return nullptr; });
    host->OpenPropDialog();
    host->Window()->SetPinned(true);
  }
  CDev* Middle(int run) { return document->GetRunAt(run)->GetDevices()[kElementsPerRun / 2]; }
  std::unique_ptr<CDorneDoc> document;
  std::unique_ptr<CPropWindowHost> host;
};

// Made once for every benchmark, and let go before the application: its windows must
// not outlive it.
std::unique_ptr<Fixture> g_fixture;

Fixture& Shared() {
  if (!g_fixture) g_fixture = std::make_unique<Fixture>();
  return *g_fixture;
}

void BM_SelectElementShowsItsPages(benchmark::State& state) {
  Fixture& fixture = Shared();
  int run = 0;
  for (auto _ : state) {
    CDev* element = fixture.Middle(run);
    element->SelectElement(true, element->GetBox(CDev::kBodySlot));
    QApplication::processEvents();
    benchmark::DoNotOptimize(fixture.host->Window()->PageCount());
    run = (run + 1) % kRuns;
  }
  state.counters["pages"] = fixture.host->Window()->PageCount();
}
BENCHMARK(BM_SelectElementShowsItsPages)->Unit(benchmark::kMillisecond);

void BM_NextButtonStepsToTheNextElement(benchmark::State& state) {
  Fixture& fixture = Shared();
  CDev* element = fixture.document->GetRunAt(0)->GetDevices()[1];
  element->SelectElement(true, element->GetBox(CDev::kBodySlot));
  QAction* next = fixture.host->Window()->NavigationAction(CPropDialog::kNext);
  for (auto _ : state) {
    if (!next->isEnabled()) {
      state.PauseTiming();
      element->SelectElement(true, element->GetBox(CDev::kBodySlot));
      state.ResumeTiming();
    }
    next->trigger();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_NextButtonStepsToTheNextElement)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_fixture.reset();
  return 0;
}
