// tvr_tablebuild <source-root> <output-root>
// Turns the readable table sources of the sample catalogue into dBase tables.
#include <iostream>
#include <string>

#include "tablebuilder/table_build.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: tvr_tablebuild <source-root> <output-root>\n";
    return 2;
  }
  std::string error;
  int built = 0;
  if (!tvr::tools::BuildTables(argv[1], argv[2], error, built)) {
    std::cerr << "tvr_tablebuild: " << error << "\n";
    return 1;
  }
  std::cout << "tvr_tablebuild: " << built << " tables written to " << argv[2] << "\n";
  return 0;
}
