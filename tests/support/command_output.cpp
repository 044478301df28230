#include "support/command_output.h"

#include <cstdio>
#include <memory>

std::string CommandOutput(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string output;
  char buffer[1024];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) output += buffer;
  return output;
}
