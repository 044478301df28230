// tvr_desktopfiles <output-root>
// Writes the program's desktop entry, file types and icon, in their installed form (the
// entry starts "tvr" as found along PATH), below the output root as below <prefix>/share.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/desktop_files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: tvr_desktopfiles <output-root>\n";
    return 2;
  }
  namespace fs = std::filesystem;
  for (const CDesktopFile& file : DesktopFiles(DesktopExecProgram("tvr"))) {
    fs::path path = fs::path(argv[1]) / file.path;
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!(out << file.content) || !out.flush()) {
      std::cerr << "tvr_desktopfiles: cannot write " << path.string() << "\n";
      return 1;
    }
  }
  return 0;
}
