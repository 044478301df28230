#include "model/run/run_environment.h"

#include "app/dorne_app.h"

CRunEnvironment& CRunEnvironment::Instance() {
  static CRunEnvironment environment;
  return environment;
}

void CRunEnvironment::Reset() {
  m_app = nullptr;
  m_defaultSettings = CAppSettings();
  m_catalogues.clear();
  m_articleFolder.clear();
}

void CRunEnvironment::Connect(const CDorneApp& app, std::vector<CCatalogueEntry> catalogues) {
  Reset();
  m_app = &app;
  m_catalogues = std::move(catalogues);
}

std::string CRunEnvironment::ArticleFolder() const {
  if (!m_articleFolder.empty() || m_app == nullptr) return m_articleFolder;
  return m_app->ArticleFolder();
}

const CAppSettings& CRunEnvironment::Settings() const {
  return m_app != nullptr ? m_app->Settings() : m_defaultSettings;
}
