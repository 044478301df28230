#pragma once

// A Python peer of a benchmark: the script times its own work and writes the seconds to
// `timeFile`, which become each round's time (the benchmark uses manual time), so that
// starting the interpreter is not counted.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/child_process.h"

// `arguments`: the script and what it is given. Skips the benchmark with `failure` when
// the script did not run or wrote no time.
inline void TimePythonPeer(benchmark::State& state, const std::vector<std::string>& arguments,
                           const std::string& timeFile, const char* failure) {
  for (auto _ : state) {
    std::filesystem::remove(timeFile);
    CChildProcess python;
    double seconds = -1.0;
    if (python.Start("/usr/bin/python3", arguments) == 0 && python.Wait() == 0)
      std::ifstream(timeFile) >> seconds;
    if (seconds < 0.0) {
      state.SkipWithError(failure);
      break;
    }
    state.SetIterationTime(seconds);
  }
}
