#pragma once

#include <functional>
#include <string>

struct CRefProject;

// What the reference window does with files: read and write the project, and export
// it. The window calls these; a program that lacks one tells the user the command is
// not available. Each returns false with error set (in the interface's language) on
// failure; a failed load leaves the project as it was.
struct CRefProjectFiles {
  std::function<bool(const std::string& path, CRefProject& project, std::string& error)> load;
  std::function<bool(const std::string& path, const CRefProject& project, std::string& error)> save;
  // summary: the totals of the selection instead of every line.
  std::function<bool(const std::string& path, const CRefProject& project, bool summary,
                     std::string& error)>
      exportCsv;
  std::function<bool(const std::string& path, const CRefProject& project, bool summary,
                     std::string& error)>
      exportXml;
  std::function<bool(const std::string& path, const CRefProject& project, bool summary,
                     std::string& error)>
      exportWorkbook;
};
