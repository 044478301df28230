#include "app/startup.h"

#include <unistd.h>

namespace {

constexpr const char* kNoSplash = "/nsplash";

std::string TrimmedRight(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
  return text;
}

}  // namespace

CStartCommandLine ParseStartCommandLine(const std::vector<std::string>& arguments) {
  CStartCommandLine result;
  std::vector<std::string> rest = arguments;
  if (!rest.empty() && TrimmedRight(rest.back()) == kNoSplash) {
    result.noSplash = true;
    rest.pop_back();
  }
  std::string file;
  for (const std::string& argument : rest) {
    if (!file.empty()) file += ' ';
    file += argument;
  }
  result.file = TrimmedRight(file);
  return result;
}

std::vector<std::string> RelaunchArguments(const CStartCommandLine& commandLine) {
  std::vector<std::string> arguments;
  if (!commandLine.file.empty()) arguments.push_back(commandLine.file);
  arguments.push_back(kNoSplash);
  return arguments;
}

std::string SingleInstanceName(unsigned userId) { return "TVR73Class-" + std::to_string(userId); }

std::string SingleInstanceName() { return SingleInstanceName(static_cast<unsigned>(::getuid())); }
