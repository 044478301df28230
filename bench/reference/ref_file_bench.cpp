// Saving a costing-by-reference project of 100 lines to its file and opening it again,
// the lines holding 20, 80 and 320 priced items (x1, x4, x16).
//   build/bench/reference/reference_bench --benchmark_filter=RefFile --benchmark_min_time=0.2
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <filesystem>
#include <string>

#include "reference/ref_file.h"

namespace {

std::unique_ptr<CRefProject> HundredLines(int itemsPerLine) {
  auto project = std::make_unique<CRefProject>();
  project->lineCount = CRefProject::kLineCount - 1;
  for (int i = 1; i <= project->lineCount; ++i) {
    CRefLine& line = project->lines[i];
    line.Assign(nullptr);
    line.name = "Line " + std::to_string(i);
    line.comment = "Comment of the line\r\nsecond part";
    line.productKind = i % 9, line.group = i % 4, line.rating = 63, line.conductors = 1;
    for (int c = 0; c < CRefLine::kComponentCount; ++c) line.components[c] = c % 5;
    for (int s = 0; s < 20; ++s) line.slots[s] = 2 | (5 << 16);
    line.sections.resize(4);
    std::vector<CRefItemNode> items;
    for (int k = 0; k < itemsPerLine; ++k)
      items.push_back({"QDA63ED" + std::to_string(k), "Straight length, QDA 63 A 3P+N aluminium",
                       1407900 + k, 1 + k % 12, 56, k % 6});
    line.AddItemNodes(items);
  }
  return project;
}

void BM_RefFileSaveAndOpen(benchmark::State& state) {
  const std::unique_ptr<CRefProject> project = HundredLines(static_cast<int>(state.range(0)));
  const std::string path =
      (std::filesystem::temp_directory_path() / ("tvr-bench-" + std::to_string(getpid()) + ".ref"))
          .string();
  CRefProject loaded;
  for (auto _ : state) {
    if (SaveRefFile(path, *project, "07/12/2026") != 0 || LoadRefFile(path, loaded, {}) != 0) {
      state.SkipWithError("save or open failed");
      break;
    }
    benchmark::DoNotOptimize(loaded.lines[100].Items().size());
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
  std::filesystem::remove(path);
}
BENCHMARK(BM_RefFileSaveAndOpen)->Arg(20)->Arg(80)->Arg(320)->Unit(benchmark::kMillisecond);

// The same without the disk: the bytes and their reading alone.
void BM_RefFileBytesRoundTrip(benchmark::State& state) {
  const std::unique_ptr<CRefProject> project = HundredLines(static_cast<int>(state.range(0)));
  CRefProject loaded;
  for (auto _ : state) {
    const std::vector<std::uint8_t> bytes = RefFileBytes(*project);
    benchmark::DoNotOptimize(ReadRefFileBytes(bytes, loaded, {}));
  }
}
BENCHMARK(BM_RefFileBytesRoundTrip)->Arg(20)->Arg(80)->Arg(320)->Unit(benchmark::kMillisecond);

}  // namespace
