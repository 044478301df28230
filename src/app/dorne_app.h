#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_settings.h"
#include "app/profile.h"
#include "platform/image.h"

// The folders of one start of the program, as start-up settles them. Every folder text
// ends with '/' (or is empty).
struct CAppFolders {
  std::string program;    // where DBF/, BD/ and the models lie
  std::string settings;   // holds "TVR.INI"; empty when it could not be made
  std::string documents;  // the user's documents folder
};

// The core of the application object: the folders of the installation and of the user,
// the settings file and the settings read at start-up, the current catalogue and the
// switches the windows share. The window side (main frame, splash, language loading,
// single instance) and the start-up lists build on it.
class CDorneApp {
 public:
  static constexpr const char* kSettingsFileName = "TVR.INI";
  static constexpr int kMaxCatalogue = 15;

  // Settings at their defaults, folders empty, a profile on no file.
  CDorneApp();

  // The folder steps of start-up: the settings file in the settings folder, the
  // catalogue folder ("DBF Database"/"Directory", else the program folder's "DBF/"),
  // the article folder ("Database"/"PartnumPath", else the program folder's "BD/") and
  // the first projects folder (the documents folder, also kept as the initial one).
  void InitFolders(const CAppFolders& folders);
  // The same on the folders of this computer (tvr::platform).
  void InitFolders();
  // The settings steps of start-up (user, colours, factors, design values, labels,
  // language number, Copper, APOD), from the settings file.
  void ReadSettings();

  const std::string& ProgramFolder() const { return m_programFolder; }
  const std::string& SettingsFolder() const { return m_settingsFolder; }
  const std::string& CatalogueFolder() const { return m_catalogueFolder; }
  const std::string& ArticleFolder() const { return m_articleFolder; }
  const std::string& ProjectsFolder() const { return m_projectsFolder; }
  const std::string& InitialProjectsFolder() const { return m_initialProjectsFolder; }
  const std::string& DocumentsFolder() const { return m_documentsFolder; }
  // A '/' is added when missing. The initial copy is taken once start-up has settled
  // the projects folder (MarkInitialProjectsFolder).
  void SetProjectsFolder(std::string folder);
  void MarkInitialProjectsFolder() { m_initialProjectsFolder = m_projectsFolder; }
  // Start-up empties the article folder when its article table cannot be opened.
  void ClearArticleFolder() { m_articleFolder.clear(); }

  // The settings file.
  std::string ReadProfileText(std::string_view section, std::string_view key,
                              std::string_view defaultText) const;
  int ReadProfileInt(std::string_view section, std::string_view key, int defaultValue) const;
  [[nodiscard]] bool WriteProfileText(std::string_view section, std::string_view key,
                                      std::string_view value);
  [[nodiscard]] int WriteProfileInt(std::string_view section, std::string_view key, int value);
  CProfile& Profile() { return m_profile; }
  const CProfile& Profile() const { return m_profile; }

  const CAppSettings& Settings() const { return m_settings; }
  CAppSettings& Settings() { return m_settings; }

  // The current catalogue (price list): 1..15, 0 while none is chosen.
  int CurrentCatalogue() const { return m_currentCatalogue; }
  // Makes n (0..15) current without touching the settings file; other values are ignored.
  void SetCurrentCatalogueNumber(int n);

  // Shown while on: the design-check dialog (toggled by the layout menu).
  bool DesignCheck() const { return m_designCheck; }
  void SetDesignCheck(bool on) { m_designCheck = on; }
  // Set while the program waits for an external program it started.
  bool Busy() const { return m_busy; }
  void SetBusy(bool busy) { m_busy = busy; }
  // Set when a layout document is created, opened or closed; the idle handler clears it.
  bool IdlePrompt() const { return m_idlePrompt; }
  void SetIdlePrompt(bool on) { m_idlePrompt = on; }
  // The application name given by the language file.
  const std::string& AppName() const { return m_appName; }
  void SetAppName(std::string name) { m_appName = std::move(name); }
  // Screen resolution against the 96 dots per inch that pictures are drawn for.
  float ScaleX() const { return m_scaleX; }
  float ScaleY() const { return m_scaleY; }
  void SetScale(float x, float y) {
    m_scaleX = x > 0 ? x : 1.0f;
    m_scaleY = y > 0 ? y : 1.0f;
  }

  // Element images (dorne_app_images.cpp): the names start-up provides, in their order; the
  // images added under their names; the image of a name, the last added first, or null.
  // A named image that was never added is drawn by the drawer (when one is set) the first
  // time it is asked for, and kept: drawing them all would hold up the start. An image
  // found stays where it is while the application lives.
  using ImageDrawer = std::function<CImage(const std::string& name)>;
  static const std::vector<std::string>& ElementImageNames();
  void SetImageDrawer(ImageDrawer drawer) { m_imageDrawer = std::move(drawer); }
  void AddImage(CImage image);
  const CImage* FindImage(std::string_view name) const;
  const std::deque<CImage>& Images() const { return m_images; }

 private:
  std::string FolderSetting(std::string_view section, std::string_view key,
                            std::string_view programSubfolder) const;

  std::string m_programFolder;
  std::string m_settingsFolder;
  std::string m_catalogueFolder;
  std::string m_articleFolder;
  std::string m_projectsFolder;
  std::string m_initialProjectsFolder;
  std::string m_documentsFolder;
  CProfile m_profile{std::string()};
  CAppSettings m_settings;
  int m_currentCatalogue = 0;
  bool m_designCheck = true;
  bool m_busy = false;
  bool m_idlePrompt = false;
  std::string m_appName = "Tavrilon";
  float m_scaleX = 1.0f;
  float m_scaleY = 1.0f;
  mutable std::deque<CImage> m_images;
  mutable std::vector<std::string> m_drawnNames;  // drawn on demand, each once
  ImageDrawer m_imageDrawer;
};
