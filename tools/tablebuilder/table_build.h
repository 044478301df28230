#pragma once

#include <string>
#include <vector>

namespace tvr::tools {

// The table sources below a folder: every "*.txt" file except CMakeLists.txt, as paths
// relative to the folder, sorted. Empty when the folder does not exist.
std::vector<std::string> FindTableSources(const std::string& sourceRoot);

// Builds every table source below sourceRoot into outputRoot, keeping its relative
// folder and dropping ".txt" (DBF/dims.dbf.txt gives <outputRoot>/DBF/dims.dbf).
// Stops at the first fault: false with error set (naming the file and line). built
// receives the number of tables written.
bool BuildTables(const std::string& sourceRoot, const std::string& outputRoot, std::string& error,
                 int& built);

}  // namespace tvr::tools
