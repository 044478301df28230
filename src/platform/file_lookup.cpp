#include "platform/file_lookup.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace tvr::platform {
namespace {

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string Joined(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path += '/';
  path += name;
  return path;
}

}  // namespace

std::string FindFileNoCase(const std::string& folder, std::string_view name) {
  if (name.empty() || name.find('/') != std::string_view::npos) return std::string();
  std::error_code error;
  const std::string exact = Joined(folder, name);
  if (fs::is_regular_file(exact, error)) return exact;
  const fs::path dir = folder.empty() ? fs::path(".") : fs::path(folder);
  std::string best;
  for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
    const std::string candidate = it->path().filename().string();
    if (!SameNoCase(candidate, name)) continue;
    std::error_code kindError;
    if (!it->is_regular_file(kindError)) continue;
    if (best.empty() || candidate < best) best = candidate;
  }
  return best.empty() ? std::string() : Joined(folder, best);
}

}  // namespace tvr::platform
