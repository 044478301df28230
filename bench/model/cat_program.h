#pragma once

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

// The file read by the cat program into /dev/null, its start-up included, as a user would
// time `cat FILE > /dev/null`: wall time, the work being another process's.
inline void TimeCatProgram(benchmark::State& state, std::string path) {
  std::string name = "cat";
  char* arguments[] = {name.data(), path.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  for (auto _ : state) {
    pid_t child = 0;
    int status = 0;
    if (posix_spawnp(&child, "cat", &actions, nullptr, arguments, environ) != 0 ||
        waitpid(child, &status, 0) != child || status != 0) {
      state.SkipWithError("cat failed");
      break;
    }
  }
  posix_spawn_file_actions_destroy(&actions);
}
