// The linear window with 100 lines on the sample catalogue: pricing every line again,
// and showing and painting one line's price table (the table is taken once per line,
// painting reads its copy). Runs on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise.
#include <benchmark/benchmark.h>

#include <QImage>

#include <filesystem>
#include <memory>

#include "linear/linear_config.h"
#include "linear/ui/linear_dlg.h"
#include "linear/ui/linear_line_editor.h"
#include "linear/ui/linear_price_view.h"
#include "linear/ui/linear_wnd.h"

namespace {

constexpr int kLines = 100;

struct CBenchWindow {
  CBenchWindow() {
    settings = std::filesystem::temp_directory_path() / "tvr-linear-ui-bench";
    std::filesystem::create_directories(settings);
    environment.folders = {TVR_PROGRAM_DIR "/DBF/", TVR_PROGRAM_DIR "/BD/"};
    environment.settingsFolder = settings.string() + "/";
    std::filesystem::copy_file(TVR_PROGRAM_DIR "/lin_conf.cfg", settings / "lin_conf.cfg",
                               std::filesystem::copy_options::overwrite_existing);
    window = std::make_unique<CLinearWnd>(environment);
    window->resize(1000, 700);
    window->CheckConfig();
    CLinearLineList& lines = window->Project().lines;
    const CLinearConfig& config = window->Dialog().Config();
    for (int n = 0; n < kLines; ++n) {
      lines.BeginNewLine(0);
      lines.Working().Conductors = 13;
      lines.SetProductAndRating(n % 2 == 0 ? kProductQMA : kProductQWA, n % 2 == 0 ? 800 : 400,
                                config);
      lines.Working().Slots[5] = 1000 + 100 * n;
      lines.SaveWorkingAsNew("Line " + std::to_string(n + 1));
    }
  }
  ~CBenchWindow() { std::filesystem::remove_all(settings); }
  std::filesystem::path settings;
  CLinearEnvironment environment;
  std::unique_ptr<CLinearWnd> window;
};

void BM_RecomputeAllLines(benchmark::State& state) {
  CBenchWindow bench;
  for (auto _ : state) bench.window->Dialog().RecomputeLines(-1);
  state.counters["lines"] = kLines;
}
BENCHMARK(BM_RecomputeAllLines)->Unit(benchmark::kMillisecond);

void BM_ShowAndPaintEveryLine(benchmark::State& state) {
  CBenchWindow bench;
  bench.window->Dialog().RecomputeLines(-1);
  CLinearPriceView& view = bench.window->Dialog().PriceView();
  view.resize(700, 600);
  QImage image(view.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    for (int n = 0; n < kLines; ++n) {
      bench.window->Dialog().SelectItem(n);
      view.render(&image);
    }
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_ShowAndPaintEveryLine)->Unit(benchmark::kMillisecond);

void BM_RepaintOneLine(benchmark::State& state) {
  CBenchWindow bench;
  bench.window->Dialog().RecomputeLines(-1);
  bench.window->Dialog().SelectItem(kLines - 1);
  CLinearPriceView& view = bench.window->Dialog().PriceView();
  view.resize(700, 600);
  QImage image(view.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    view.render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_RepaintOneLine)->Unit(benchmark::kMicrosecond);

}  // namespace
