// The start-up's desktop registration when everything is already in place, which is
// every start but the first: it must cost a few file reads, never a process.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/shell_file_types.h"

namespace {

void BM_RegisterWhenUpToDate(benchmark::State& state) {
  std::string pattern = (std::filesystem::temp_directory_path() / "tvr-bench-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  std::string folder = mkdtemp(buffer.data());
  setenv("XDG_DATA_HOME", folder.c_str(), 1);  // the updaters' own search path, as in use
  CShellFileTypes fileTypes(folder, DesktopFiles("/opt/tvr/tvr"));
  fileTypes.Register(std::chrono::milliseconds(10000));  // the first start: writes and updates
  for (auto _ : state)
    benchmark::DoNotOptimize(fileTypes.Register(std::chrono::milliseconds(10000)));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_RegisterWhenUpToDate)->Unit(benchmark::kMicrosecond);

}  // namespace
