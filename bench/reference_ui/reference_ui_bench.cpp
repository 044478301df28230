// The reference window on the sample catalogue: pricing every line of the project again
// (the catalogue opened once for all of them) and repainting the prices of the project
// with its total, for 6, 25 and 100 lines (x1, x4, x16). Runs on the offscreen platform
// unless QT_QPA_PLATFORM says otherwise.
//   build/bench/reference_ui/reference_ui_bench --benchmark_min_time=0.2
#include <benchmark/benchmark.h>

#include <QImage>

#include <filesystem>
#include <fstream>
#include <memory>

#include "app/option_list_files.h"
#include "app/profile.h"
#include "reference/ui/ref_config_dlg.h"
#include "reference/ui/ref_core.h"
#include "reference/ui/ref_line_area.h"
#include "reference/ui/ref_wnd.h"

namespace {

struct CBenchWindow {
  explicit CBenchWindow(int lines) {
    settings = std::filesystem::temp_directory_path() / "tvr-reference-ui-bench";
    std::filesystem::create_directories(settings);
    std::ofstream(settings / "TVR.INI") << "[Design]\nCopper=1\n[Ref]\nHlp=1\nHlp2=1\n";
    COptionListFiles::ResetRun(CRefConfig::kListName);
    profile = std::make_unique<CProfile>((settings / "TVR.INI").string());
    environment.common.profile = profile.get();
    environment.common.folders = {TVR_PROGRAM_DIR "/DBF/", TVR_PROGRAM_DIR "/BD/"};
    environment.common.settingsFolder = settings.string() + "/";
    environment.configSetup = {settings.string() + "/", TVR_PROGRAM_DIR "/ref_conf.cfg",
                               TVR_PROGRAM_DIR "/DBF/"};
    environment.catalogueSetup.catalogueFolder = TVR_PROGRAM_DIR "/DBF/";
    environment.catalogueSetup.articleFolder = TVR_PROGRAM_DIR "/BD/";
    window = std::make_unique<CRefWnd>(environment);
    window->resize(1280, 820);
    window->CheckConfig();
    for (int n = 1; n <= lines; ++n) AddLine(window->Project(), n);
    window->Project().lineCount = lines;
    window->Dialog().FillTree(true);
    window->Dialog().SelectCode(kRefCodeProject);
    window->Dialog().ShowTabPage(2);
  }
  // Lines alternating QDA 63 A and QPA 250 A with feeds, lengths, elbows and fixings.
  static void AddLine(CRefProject& project, int n) {
    CRefLine& line = project.lines[static_cast<std::size_t>(n)];
    line.Assign(nullptr);
    line.name = "Line " + std::to_string(n);
    line.group = 2;
    line.productKind = n % 2 ? 4 : 3;
    line.rating = n % 2 ? 250 : 63;
    line.conductors = 1;
    line.connection = 0;
    line.length = 20 + n % 30;
    line.components[0] = 1;
    line.components[3] = 4 + n % 7;
    line.components[4] = 7;
    line.components[9] = 2;
    line.components[13] = 3;
  }
  ~CBenchWindow() {
    window.reset();
    std::filesystem::remove_all(settings);
  }
  std::filesystem::path settings;
  std::unique_ptr<CProfile> profile;
  CRefEnvironment environment;
  std::unique_ptr<CRefWnd> window;
};

void BM_RecomputeAndRepaint(benchmark::State& state) {
  CBenchWindow bench(static_cast<int>(state.range(0)));
  CRefConfigDlg& dialog = bench.window->Dialog();
  CRefLineArea& area = dialog.LineArea();
  QImage image(area.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    dialog.ResolveLineInCatalogue(-1);
    dialog.ShowTotalsLine(1);
    area.render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["lines"] = static_cast<double>(state.range(0));
  std::size_t items = 0;
  for (int index = 1; index <= state.range(0); ++index)
    items += bench.window->Project().lines[static_cast<std::size_t>(index)].Items().size();
  state.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_RecomputeAndRepaint)->Arg(6)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
