#pragma once

#include "app/app_settings.h"
#include "app/catalogue_entry.h"

#include <string>
#include <vector>

class CBoxPointSource;
class CDorneApp;

// What runs and elements read of the running application: its settings (colours and
// design values) and its catalogue list. One process-wide object, set by start-up;
// tests set what they need and call Reset.
class CRunEnvironment {
 public:
  static CRunEnvironment& Instance();

  // No application, default settings, no catalogue.
  void Reset();
  // What the program's start-up gives the runs: its application (settings, article
  // folder) and its catalogue list (catalog.dbf as filtered at start-up). Everything
  // else is reset. Tests that need runs as the program makes them call it too.
  void Connect(const CDorneApp& app, std::vector<CCatalogueEntry> catalogues);

  // The application (not owned); null gives the default settings.
  void SetApp(const CDorneApp* app) { m_app = app; }
  const CDorneApp* App() const { return m_app; }
  const CAppSettings& Settings() const;

  // The application's catalogue list (catalog.dbf), in menu order.
  void SetCatalogues(std::vector<CCatalogueEntry> catalogues) {
    m_catalogues = std::move(catalogues);
  }
  const std::vector<CCatalogueEntry>& Catalogues() const { return m_catalogues; }

  // The folder of the article table: the one set here, else the application's.
  void SetArticleFolder(std::string folder) { m_articleFolder = std::move(folder); }
  std::string ArticleFolder() const;

  // The source of outlet codes and support points (not owned; Reset keeps it); null:
  // elements have none.
  void SetBoxPoints(CBoxPointSource* source) { m_boxPoints = source; }
  CBoxPointSource* BoxPoints() const { return m_boxPoints; }

 private:
  const CDorneApp* m_app = nullptr;
  CAppSettings m_defaultSettings;
  std::vector<CCatalogueEntry> m_catalogues;
  std::string m_articleFolder;
  CBoxPointSource* m_boxPoints = nullptr;
};
