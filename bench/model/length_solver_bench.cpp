#include "model/builder/length_solver.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void Solve(benchmark::State& state, std::int32_t total, std::vector<std::int32_t> lengths,
           std::int32_t minRemainder) {
  lengths.push_back(0);
  CLengthSolver solver;
  for (auto _ : state) {
    std::string text;
    benchmark::DoNotOptimize(solver.SolveLengthCombination(total, lengths, minRemainder, text));
    benchmark::DoNotOptimize(text);
  }
}

// A run of ordinary straight lengths: the everyday case.
void BM_TypicalRun(benchmark::State& state) {
  Solve(state, 47350, {3000, 2000, 1500, 1000, 500}, 300);
}
BENCHMARK(BM_TypicalRun);

// No exact combination and a remainder that must be searched for: the case where the
// exhaustive search explores every count of every length.
void BM_InexactLongRun(benchmark::State& state) {
  Solve(state, static_cast<std::int32_t>(state.range(0)) + 1,
        {3000, 2900, 2700, 2300, 1900, 1300, 700}, 50);
}
BENCHMARK(BM_InexactLongRun)->Arg(10000)->Arg(100000)->Arg(1000000)->Arg(100000000);

// A total very long compared with the smallest length.
void BM_TinySmallestLength(benchmark::State& state) { Solve(state, 999999937, {7, 1000, 3001}, 5); }
BENCHMARK(BM_TinySmallestLength);

// The largest smallest length the solver accepts, with many lengths: the tables' size.
void BM_LargeSmallestLength(benchmark::State& state) {
  std::vector<std::int32_t> lengths;
  for (int i = 0; i < state.range(0); ++i) lengths.push_back(1048575 - 2 * i);
  Solve(state, 2000000011, lengths, 1);
}
BENCHMARK(BM_LargeSmallestLength)->Arg(1)->Arg(4)->Arg(8);

}  // namespace
