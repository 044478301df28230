#include "tablebuilder/table_build.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tablebuilder/table_source.h"

namespace fs = std::filesystem;

namespace tvr::tools {
namespace {

constexpr std::string_view kSuffix = ".txt";

bool ReadText(const fs::path& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

std::vector<std::string> FindTableSources(const std::string& sourceRoot) {
  std::vector<std::string> sources;
  std::error_code error;
  if (!fs::is_directory(sourceRoot, error)) return sources;
  for (fs::recursive_directory_iterator it(sourceRoot, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    std::error_code kindError;
    if (!it->is_regular_file(kindError) || name == "CMakeLists.txt") continue;
    if (name.size() <= kSuffix.size() || !name.ends_with(kSuffix)) continue;
    sources.push_back(fs::relative(it->path(), sourceRoot).generic_string());
  }
  std::sort(sources.begin(), sources.end());
  return sources;
}

bool BuildTables(const std::string& sourceRoot, const std::string& outputRoot, std::string& error,
                 int& built) {
  built = 0;
  std::error_code fsError;
  if (!fs::is_directory(sourceRoot, fsError)) {
    error = sourceRoot + ": not a folder";
    return false;
  }
  for (const std::string& relative : FindTableSources(sourceRoot)) {
    const fs::path source = fs::path(sourceRoot) / relative;
    std::string text;
    if (!ReadText(source, text)) {
      error = source.string() + ": cannot be read";
      return false;
    }
    CTableSource table;
    if (!table.Parse(text, source.string())) {
      error = table.Error();
      return false;
    }
    const fs::path target =
        fs::path(outputRoot) / relative.substr(0, relative.size() - kSuffix.size());
    fs::create_directories(target.parent_path(), fsError);
    if (fsError) {
      error = target.parent_path().string() + ": " + fsError.message();
      return false;
    }
    if (!table.Write(target.string())) {
      error = source.string() + ": " + table.Error();
      return false;
    }
    ++built;
  }
  return true;
}

}  // namespace tvr::tools
