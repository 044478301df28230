// The program's start-up to its first window, a layout of the QD sample's runs given on its
// command line, against a bare Qt main window started the same way: wall time from the
// start of the process until its window-dump hook (TVR_DUMP_WINDOW_FILE) has written its
// file, which it does as soon as its event loop runs; the time to the process's end is a
// counter. Needs a display: run it under xvfb-run.
//   xvfb-run -a build/bench/app/startup_bench --benchmark_repetitions=5

#include <benchmark/benchmark.h>

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "app/child_process.h"
#include "saved_sample_layout.h"

namespace {

namespace fs = std::filesystem;

// A settings, data and documents folder of the benchmark's own, the information dialog
// off, so that no dialog waits; removed at the end.
class CStartFolder {
 public:
  CStartFolder() {
    std::string pattern = (fs::temp_directory_path() / "tvr-start-bench-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    m_folder = mkdtemp(buffer.data());
    fs::create_directories(m_folder / "settings/TVR73");
    fs::create_directories(m_folder / "data");
    fs::create_directories(m_folder / "documents");
    fs::create_directories(m_folder / "runtime");
    fs::permissions(m_folder / "runtime", fs::perms::owner_all);
    std::ofstream(m_folder / "settings/TVR73/TVR.INI", std::ios::binary)
        << "[Design]\nInfos=0\n[Language]\nID=033\n";
    setenv("XDG_CONFIG_HOME", (m_folder / "settings").c_str(), 1);
    setenv("XDG_DATA_HOME", (m_folder / "data").c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (m_folder / "documents").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (m_folder / "runtime").c_str(), 1);
    setenv("TVR_DUMP_WINDOW_FILE", (m_folder / "dump.txt").c_str(), 1);
  }
  ~CStartFolder() { fs::remove_all(m_folder); }
  CStartFolder(const CStartFolder&) = delete;
  CStartFolder& operator=(const CStartFolder&) = delete;

  const fs::path& Path() const { return m_folder; }

  // Whether the program's last start showed its window.
  bool DumpShowsWindow() const {
    std::ifstream in(m_folder / "dump.txt");
    std::string line;
    while (std::getline(in, line))
      if (line == "visible=1") return true;
    return false;
  }

 private:
  fs::path m_folder;
};

using Clock = std::chrono::steady_clock;

// Waits for the dump file of the folder to be written and closed; false after a minute.
bool WaitForDump(int watch) {
  alignas(inotify_event) char buffer[4096];
  const Clock::time_point end = Clock::now() + std::chrono::minutes(1);
  while (Clock::now() < end) {
    pollfd ready{watch, POLLIN, 0};
    if (poll(&ready, 1, 1000) <= 0) continue;
    const ssize_t length = read(watch, buffer, sizeof buffer);
    for (ssize_t at = 0; at < length;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      if (event->len > 0 && std::string(event->name) == "dump.txt") return true;
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  return false;
}

// One start: the seconds to the written dump, then to the end; nothing when it failed.
std::optional<std::pair<double, double>> StartOnce(const CStartFolder& folder,
                                                   const std::string& program,
                                                   const std::vector<std::string>& arguments) {
  fs::remove(folder.Path() / "dump.txt");
  const int watch = inotify_init1(IN_CLOEXEC);
  inotify_add_watch(watch, folder.Path().c_str(), IN_CLOSE_WRITE);
  const Clock::time_point start = Clock::now();
  CChildProcess child;
  const bool started = child.Start(program, arguments) == 0;
  const bool shown = started && WaitForDump(watch);
  const Clock::time_point shownAt = Clock::now();
  const bool ended = started && child.Wait() == 0;
  close(watch);
  if (!shown || !ended) return std::nullopt;
  return std::make_pair(std::chrono::duration<double>(shownAt - start).count(),
                        std::chrono::duration<double>(Clock::now() - start).count());
}

// Every start is timed but the first, which registers the file types as a user's first
// start does once.
void TimeStarts(benchmark::State& state, const std::string& program,
                const std::vector<std::string>& arguments) {
  CStartFolder folder;
  if (!StartOnce(folder, program, arguments)) {
    state.SkipWithError("the program did not start and end");
    return;
  }
  double toEnd = 0.0;
  for (auto _ : state) {
    const auto times = StartOnce(folder, program, arguments);
    if (!times) {
      state.SkipWithError("the program did not start and end");
      break;
    }
    state.SetIterationTime(times->first);
    toEnd += times->second;
  }
  if (!folder.DumpShowsWindow()) state.SkipWithError("the window did not show");
  state.counters["to_end_ms"] = benchmark::Counter(toEnd * 1e3, benchmark::Counter::kAvgIterations);
}

void BM_StartBareMainWindow(benchmark::State& state) {
  TimeStarts(state, TVR_BARE_WINDOW_PROGRAM, {});
}
BENCHMARK(BM_StartBareMainWindow)->Unit(benchmark::kMillisecond)->UseManualTime();

// The sample's runs once, four and sixteen times.
void BM_StartWithSampleLayout(benchmark::State& state) {
  const int copies = static_cast<int>(state.range(0));
  // Another build's program (its folder whole) can be timed in the same run.
  const char* other = std::getenv("TVR_START_BENCH_PROGRAM");
  const std::string program = other != nullptr ? other : TVR_PROGRAM_DIR "/tvr";
  const std::string sample = TVR_PROGRAM_DIR "/examples/qd_sample.run";
  const std::string path =
      copies == 1 ? sample : SavedSampleLayout(copies * SampleLayoutRunCount());
  TimeStarts(state, program, {path});
  if (path != sample) fs::remove(path);
}
BENCHMARK(BM_StartWithSampleLayout)
    ->Arg(1)
    ->Arg(4)
    ->Arg(16)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

}  // namespace
