#include "temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Gives the owner back every right on the folder and the folders below it, which removal
// needs; links are not followed, so nothing outside is touched.
void GiveBackFolderRights(const fs::path& folder) {
  std::error_code error;
  fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, error);
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    std::error_code ignored;
    if (entry->is_directory(ignored) && !entry->is_symlink(ignored))
      GiveBackFolderRights(entry->path());
  }
}

}  // namespace

CTempFolder::CTempFolder(const std::string& label) {
  std::string pattern = (fs::temp_directory_path() / ("tvr-" + label + "-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("cannot make a temporary folder from " + pattern);
  m_path = pattern;
}

CTempFolder::~CTempFolder() {
  GiveBackFolderRights(m_path);
  std::error_code error;
  fs::remove_all(m_path, error);
}

std::string CTempFolder::WriteFile(const std::string& name, std::string_view bytes) const {
  const fs::path path = File(name);
  std::error_code error;
  fs::create_directories(path.parent_path(), error);
  std::ofstream stream(path, std::ios::binary | std::ios::trunc);
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  stream.close();
  if (!stream) throw std::runtime_error("cannot write " + path.string());
  return path.string();
}

std::string CTempFolder::ReadFile(const std::string& name) const {
  return ReadWholeFile(File(name));
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}
