#include "export/picture_files.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxPictures = 100;
constexpr std::array<std::string_view, 6> kSideViews = {"top", "btm", "lft", "rgt", "frt", "bck"};

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// The document's path without ".run"; empty when it does not end so.
std::string BaseOf(std::string_view documentPath) {
  if (documentPath.size() <= 4 || Lower(documentPath.substr(documentPath.size() - 4)) != ".run")
    return {};
  return std::string(documentPath.substr(0, documentPath.size() - 4));
}

std::string ViewSuffix(int preset) {
  if (preset >= 8 && preset <= 13) return " - " + std::string(kSideViews[preset - 8]);
  if (preset >= 0 && preset <= 3) return " - 3d" + std::to_string(preset + 1);
  return {};
}

bool IsPicture(const fs::path& path) {
  const std::string extension = Lower(path.extension().string());
  return extension == ".jpg" || extension == ".bmp";
}

// What follows the document's name: blanks, then "-"; the rest after it (empty when the
// name does not follow the rule).
bool AfterDash(std::string_view stem, std::string_view name, std::string& rest) {
  if (!stem.starts_with(name)) return false;
  std::string_view tail = stem.substr(name.size());
  while (tail.starts_with(' ')) tail.remove_prefix(1);
  if (!tail.starts_with('-')) return false;
  tail.remove_prefix(1);
  while (tail.starts_with(' ')) tail.remove_prefix(1);
  rest = std::string(tail);
  return true;
}

int RunOf(std::string_view rest, const std::vector<std::string>& runNames) {
  for (std::size_t n = runNames.size(); n-- > 0;) {
    const std::string part = PicturePart(runNames[n]);
    if (part.empty() || !rest.starts_with(part)) continue;
    const std::string_view after = rest.substr(part.size());
    std::string_view trimmed = after;
    while (trimmed.starts_with(' ')) trimmed.remove_prefix(1);
    if (trimmed.empty() || trimmed.starts_with('-') || trimmed.starts_with('.'))
      return static_cast<int>(n) + 1;
  }
  return 0;
}

}  // namespace

std::string PicturePart(std::string_view runName) {
  std::string part(runName);
  for (char& c : part) {
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) c = '_';
  }
  return part;
}

std::string ViewPictureName(std::string_view documentPath, std::string_view part, int preset,
                            std::string_view extension) {
  std::string base = BaseOf(documentPath);
  if (base.empty()) base = std::string(documentPath);
  const bool dxf = Lower(extension) == "dxf";
  return base + " - " + PicturePart(part) + (dxf ? std::string() : ViewSuffix(preset)) + "." +
         std::string(extension);
}

bool IsNamedAfterDocument(std::string_view documentPath, std::string_view chosenPath) {
  if (documentPath.empty()) return true;
  std::string base = BaseOf(documentPath);
  if (base.empty()) base = std::string(documentPath);
  const fs::path chosen{std::string(chosenPath)};
  const std::string stem = (chosen.parent_path() / chosen.stem()).string();
  if (!stem.starts_with(base)) return false;
  std::string_view tail = std::string_view(stem).substr(base.size());
  while (tail.starts_with(' ')) tail.remove_prefix(1);
  return tail.empty() || tail.starts_with('-');
}

std::vector<CPictureEntry> PicturesBesideDocument(const std::string& documentPath,
                                                  const std::vector<std::string>& runNames) {
  std::vector<CPictureEntry> pictures;
  const std::string base = BaseOf(documentPath);
  if (base.empty()) return pictures;
  const fs::path folder = fs::path(base).parent_path();
  const std::string name = fs::path(base).filename().string();
  std::vector<fs::path> files;
  std::error_code error;
  for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error), end;
       !error && it != end; it.increment(error)) {
    if (it->is_regular_file(error) && IsPicture(it->path())) files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    std::string rest;
    if (!AfterDash(file.stem().string(), name, rest)) continue;
    pictures.push_back({file.string(), RunOf(rest, runNames)});
    if (pictures.size() == kMaxPictures) break;
  }
  return pictures;
}

int DeleteGeneratedPictures(const std::string& documentPath,
                            const std::vector<std::string>& parts) {
  if (BaseOf(documentPath).empty()) return 0;
  int deleted = 0;
  std::vector<int> presets = {-1, 0, 1, 2, 3};
  for (int preset = 8; preset <= 13; ++preset) presets.push_back(preset);
  for (const std::string& part : parts) {
    for (int preset : presets) {
      for (const char* extension : {"jpg", "bmp"}) {
        std::error_code error;
        if (fs::remove(ViewPictureName(documentPath, part, preset, extension), error)) ++deleted;
      }
    }
  }
  return deleted;
}
