#include "app/dorne_app.h"

#include "app/app_settings_lock.h"

#include "platform/folders.h"

using tvr::platform::WithTrailingSlash;

CDorneApp::CDorneApp() = default;

void CDorneApp::InitFolders(const CAppFolders& folders) {
  m_programFolder = WithTrailingSlash(folders.program);
  m_settingsFolder = WithTrailingSlash(folders.settings);
  // Without a settings folder every read gives its default and every write fails,
  // rather than a file landing in whatever the current folder is.
  m_profile =
      CProfile(m_settingsFolder.empty() ? std::string() : m_settingsFolder + kSettingsFileName);
  m_catalogueFolder = FolderSetting("DBF Database", "Directory", "DBF");
  m_articleFolder = FolderSetting("Database", "PartnumPath", "BD");
  m_documentsFolder = WithTrailingSlash(folders.documents);
  m_projectsFolder = m_documentsFolder;
  m_initialProjectsFolder = m_projectsFolder;
}

void CDorneApp::InitFolders() {
  InitFolders({tvr::platform::ProgramFolder(), tvr::platform::SettingsFolder(),
               tvr::platform::DocumentsFolder()});
}

void CDorneApp::ReadSettings() {
  CAppSettings read = ReadAppSettings(m_profile);
  const std::unique_lock lock(AppSettingsMutex());
  m_settings = std::move(read);
}

std::string CDorneApp::FolderSetting(std::string_view section, std::string_view key,
                                     std::string_view programSubfolder) const {
  std::string folder = m_profile.ReadProfileText(section, key, "");
  if (folder.empty() || folder == "Default")
    folder = m_programFolder + std::string(programSubfolder);
  return WithTrailingSlash(folder);
}

void CDorneApp::SetProjectsFolder(std::string folder) {
  m_projectsFolder = WithTrailingSlash(std::move(folder));
}

std::string CDorneApp::ReadProfileText(std::string_view section, std::string_view key,
                                       std::string_view defaultText) const {
  return m_profile.ReadProfileText(section, key, defaultText);
}

int CDorneApp::ReadProfileInt(std::string_view section, std::string_view key,
                              int defaultValue) const {
  return m_profile.ReadProfileInt(section, key, defaultValue);
}

bool CDorneApp::WriteProfileText(std::string_view section, std::string_view key,
                                 std::string_view value) {
  return m_profile.WriteProfileText(section, key, value);
}

int CDorneApp::WriteProfileInt(std::string_view section, std::string_view key, int value) {
  return m_profile.WriteProfileInt(section, key, value);
}

void CDorneApp::SetCurrentCatalogueNumber(int n) {
  if (n >= 0 && n <= kMaxCatalogue) m_currentCatalogue = n;
}
