#include "platform/folders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace tvr::platform {
namespace {

std::string EnvText(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string HomeFolder() {
  std::string home = EnvText("HOME");
  return home.empty() ? std::string("/") : WithTrailingSlash(home);
}

}  // namespace

std::string WithTrailingSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

bool IsFolder(const std::string& path) {
  std::error_code error;
  return !path.empty() && fs::is_directory(path, error);
}

bool MakeFolders(const std::string& path) {
  std::error_code error;
  fs::create_directories(path, error);
  return IsFolder(path);
}

std::string ProgramFolder() {
  std::error_code error;
  fs::path exe = fs::read_symlink("/proc/self/exe", error);
  if (error) return WithTrailingSlash(fs::current_path(error).string());
  return WithTrailingSlash(exe.parent_path().string());
}

std::string SettingsFolder() {
  std::string base = EnvText("XDG_CONFIG_HOME");
  if (base.empty() || base.front() != '/') base = HomeFolder() + ".config";
  std::string folder = WithTrailingSlash(base) + "TVR73/";
  return MakeFolders(folder) ? folder : std::string();
}

std::string DataHomeFolder() {
  std::string base = EnvText("XDG_DATA_HOME");
  if (base.empty() || base.front() != '/') base = HomeFolder() + ".local/share";
  return WithTrailingSlash(base);
}

std::string DocumentsFolder() {
  std::string documents = EnvText("XDG_DOCUMENTS_DIR");
  if (IsFolder(documents)) return WithTrailingSlash(documents);
  std::string fallback = HomeFolder() + "Documents";
  if (IsFolder(fallback)) return WithTrailingSlash(fallback);
  return HomeFolder();
}

}  // namespace tvr::platform
