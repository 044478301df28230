// Page edits on a QJF run laid out by the placement edits and built, in a document that
// keeps undo snapshots: the undo step, the write, the rebuild the page asks for and the
// refresh of the views, as the property window applies them. Sizes 125, 500 and 2000
// elements. Run by hand:
//   build/bench/pages/element_pages_bench

#include <benchmark/benchmark.h>

#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/run/run_factory.h"
#include "model/undo/undo_manager.h"
#include "pages/elbow_page.h"
#include "pages/element_name_page.h"
#include "pages/entrax_page.h"
#include "ranges/range_context.h"
#include "ranges/range_registry.h"
#include "samplewriter/sample_layout.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// Another action between two page edits, so that every edit writes its own snapshot.
constexpr int kOtherAction = 21069;

std::string LayoutOf(int blocks) {
  std::string layout = "run QJF 26\nstart 3\nentrax 1\n";
  for (int i = 0; i < blocks; ++i) layout += "go 4 3000\ngo 1 500\ngo 4 3500\ngo 5 2500\n";
  return layout + "go 4 2000\nend 5\nentrax 5\nstyle 11000000\n";
}

struct Layout {
  explicit Layout(int elements) {
    CRangeTableCache::Instance().Reset();
    CRunFactory::Instance().Reset();
    RegisterRangeRuns();
    CRangeContext& context = CRangeContext::Instance();
    context.Reset();
    context.SetCatalogueFolder(TVR_PROGRAM_DIR "/DBF/");
    folder = std::filesystem::temp_directory_path() / "tvr_element_pages_bench";
    std::filesystem::create_directories(folder);
    CDocEnvironment environment;
    environment.settingsFolder = folder.string() + "/";
    document = std::make_unique<CDorneDoc>(environment);
    document->OnNewDocument("");
    while (!document->GetRuns().empty()) document->RemoveRun(document->GetRuns().front());
    problem = LayOutSample(*document, LayoutOf((elements - 3) / 4));
    if (problem.empty() && !document->GetRuns().empty()) {
      run = document->GetRuns().front();
      run->RebuildParts(0);
    }
  }
  ~Layout() {
    document.reset();
    std::filesystem::remove_all(folder);
  }
  std::vector<CDev*> Of(int kind) const {
    std::vector<CDev*> found;
    for (CDev* element : run->GetChainOrder())
      if (element->GetKind() == kind) found.push_back(element);
    return found;
  }
  void SeparateSteps() { document->GetUndo().SaveUndoState(kOtherAction, true); }

  std::filesystem::path folder;
  std::unique_ptr<CDorneDoc> document;
  CRun* run = nullptr;
  std::string problem;
};

void Count(benchmark::State& state, const Layout& layout) {
  state.counters["devices"] = static_cast<double>(layout.run->GetDevices().size());
}

void BM_ElbowAngle(benchmark::State& state) {
  Layout layout(static_cast<int>(state.range(0)));
  if (layout.run == nullptr) return state.SkipWithError(layout.problem.c_str());
  std::vector<CDev*> elbows = layout.Of(CDev::kElbow);
  CDev* elbow = elbows[elbows.size() / 2];
  layout.document->Selection().Select(elbow, 6);
  CElbowPage page;
  page.SetObject(elbow);
  int angle = 120;
  for (auto _ : state) {
    state.PauseTiming();
    layout.SeparateSteps();
    page.Load();
    if (!page.IsSpecialAngle()) page.ToggleSpecialAngle();
    page.SetAngleText(std::to_string(angle));
    angle = angle == 120 ? 121 : 120;
    state.ResumeTiming();
    benchmark::DoNotOptimize(page.Apply());
  }
  Count(state, layout);
}
BENCHMARK(BM_ElbowAngle)->Arg(125)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

// The shape of the start's feed unit: the boxes of the whole chain beyond it rebuilt.
void BM_FeedUnitShape(benchmark::State& state) {
  Layout layout(static_cast<int>(state.range(0)));
  if (layout.run == nullptr) return state.SkipWithError(layout.problem.c_str());
  CDev* feed = layout.run->GetFirstElement();
  layout.document->Selection().Select(feed, 6);
  CEntraxPage page;
  page.SetObject(feed);
  int choice = 1;
  for (auto _ : state) {
    state.PauseTiming();
    layout.SeparateSteps();
    page.Load();
    page.SetChoice(choice);
    choice = 1 - choice;
    state.ResumeTiming();
    benchmark::DoNotOptimize(page.Apply());
  }
  Count(state, layout);
}
BENCHMARK(BM_FeedUnitShape)->Arg(125)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

// A reference given to every elbow that has the old one: the bill moved, ordered and
// its totals recomputed.
void BM_ReplaceAllReferences(benchmark::State& state) {
  Layout layout(static_cast<int>(state.range(0)));
  if (layout.run == nullptr) return state.SkipWithError(layout.problem.c_str());
  std::vector<CDev*> elbows = layout.Of(CDev::kElbow);
  CDev* elbow = elbows[elbows.size() / 2];
  layout.document->Selection().Select(elbow, 6);
  CElementNamePage page;
  page.SetObject(elbow);
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    layout.SeparateSteps();
    page.Load();
    page.SetText("ELBOW " + std::to_string(round++));
    page.SetReplaceAll(true);
    state.ResumeTiming();
    benchmark::DoNotOptimize(page.Apply());
  }
  Count(state, layout);
}
BENCHMARK(BM_ReplaceAllReferences)->Arg(125)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
