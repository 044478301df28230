#include "app/language_list.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>

#include "app/current_language.h"
#include "app/language_file.h"
#include "app/language_mapping.h"
#include "platform/folders.h"

namespace fs = std::filesystem;

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// "TVR_???.TXT" in any letter case.
bool IsLanguageFileName(std::string_view name) {
  return name.size() == 11 && EqualsIgnoringCase(name.substr(0, 4), "TVR_") &&
         EqualsIgnoringCase(name.substr(7), ".TXT");
}

std::vector<std::string> LanguageFileNames(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  fs::directory_iterator entries(folder.empty() ? std::string(".") : folder, error);
  for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
    const std::string name = entries->path().filename().string();
    std::error_code kindError;
    if (IsLanguageFileName(name) && entries->is_regular_file(kindError)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReplaceFirst(std::string text, std::string_view what, std::string_view with) {
  const std::size_t found = text.find(what);
  if (found != std::string::npos) text.replace(found, what.size(), with);
  return text;
}

bool IsPlainFolderName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

}  // namespace

std::vector<CLanguageFileInfo> ListLanguageFiles(const std::string& catalogueFolder) {
  std::vector<CLanguageFileInfo> files;
  for (const std::string& fileName : LanguageFileNames(catalogueFolder)) {
    CLanguageFileInfo info;
    info.path = catalogueFolder + fileName;
    info.number = LeadingInt(std::string_view(fileName).substr(4)).value_or(0);
    const std::shared_ptr<const CLanguageFile> file = CCurrentLanguage::Instance().File(info.path);
    if (!file || info.number <= 0) continue;
    info.name = file->ProfileText("LANG", "00000");
    if (info.name.empty()) continue;
    info.charset = CharsetFromName(file->ProfileText("LANG", "CHARS"));
    info.projectsName = file->ProfileText("MSG", "00014");
    files.push_back(std::move(info));
  }
  return files;
}

std::vector<CLanguageEntry> BuildLanguageList(const std::vector<CLanguageFileInfo>& files) {
  std::vector<CLanguageEntry> list;
  std::vector<int> numbers;  // beside the list, so keys need not be read back
  for (const CLanguageFileInfo& file : files) {
    // Before the first larger number: ascending, equal numbers in listing order.
    const auto at = std::upper_bound(numbers.begin(), numbers.end(), file.number);
    const auto index = at - numbers.begin();
    numbers.insert(at, file.number);
    list.insert(list.begin() + index,
                {LanguageNumberText(file.number) + "--" + std::to_string(file.charset), file.name});
  }
  return list;
}

std::string SettleProjectsFolder(const std::vector<CLanguageFileInfo>& files,
                                 const CProjectsFolderInput& input) {
  const std::string documents = tvr::platform::WithTrailingSlash(input.documentsFolder);
  std::string projects;
  std::string remembered;
  for (const CLanguageFileInfo& file : files) {
    const std::string name = ReplaceFirst(file.projectsName, "%APP", input.applicationName);
    if (!IsPlainFolderName(name)) continue;
    if (tvr::platform::IsFolder(documents + name)) {
      projects = documents + name + "/";
      break;
    }
    if (file.number == input.currentLanguage) remembered = name;
  }
  if (projects.empty()) {
    projects = documents;
    if (!remembered.empty() && tvr::platform::MakeFolders(documents + remembered))
      projects = documents + remembered + "/";
  }
  if (!input.projectsSetting.empty() && tvr::platform::IsFolder(input.projectsSetting))
    projects = tvr::platform::WithTrailingSlash(input.projectsSetting);
  return projects;
}

std::string SettleProjectsFolder(const std::vector<CLanguageFileInfo>& files,
                                 const std::string& applicationName, int currentLanguage,
                                 const std::string& projectsSetting) {
  return SettleProjectsFolder(
      files, {tvr::platform::DocumentsFolder(), applicationName, currentLanguage, projectsSetting});
}
