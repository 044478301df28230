#pragma once

#include <string>
#include <vector>

namespace tvr::platform::test {

// What a finished program printed and how it ended.
struct RunResult {
  bool started = false;  // false when the program could not be started
  int exitCode = -1;     // -1 when it did not end normally
  std::string output;    // standard output and standard error, in order
};

// Runs the program (absolute path) with its arguments, without a shell, waits for it and
// collects its output.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& arguments);

// True when the file exists and may be run.
bool IsProgram(const std::string& path);

}  // namespace tvr::platform::test
