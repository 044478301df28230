#include "linear/ui/linear_environment.h"

#include "app/dorne_app.h"
#include "app/price_lists.h"
#include "app/profile.h"

CLinearEnvironment CLinearEnvironment::FromApp(CDorneApp& app, CShellDialogs& dialogs,
                                               std::function<void(const QString&)> opened) {
  CLinearEnvironment environment;
  environment.profile = &app.Profile();
  environment.dialogs = &dialogs;
  environment.folders = {app.CatalogueFolder(), app.ArticleFolder()};
  environment.settingsFolder = app.SettingsFolder();
  environment.projectsFolder = app.ProjectsFolder();
  environment.programFolder = app.ProgramFolder();
  environment.userName = app.ReadProfileText("User", "Name", "");
  environment.copper = app.ReadProfileInt("Design", "Copper", 0);
  environment.apod = app.ReadProfileInt("Design", "APOD", 0);
  environment.opened = std::move(opened);
  environment.setCatalogue = [&app](int n) {
    int current = 0;
    // A settings file that cannot be written keeps the choice for this run only.
    [[maybe_unused]] bool kept = SetCurrentCatalogue(n, current, app.Profile());
    app.SetCurrentCatalogueNumber(n);
  };
  return environment;
}

int CLinearEnvironment::ReadInt(const char* section, const char* key, int fallback) const {
  return profile ? profile->ReadProfileInt(section, key, fallback) : fallback;
}

std::string CLinearEnvironment::ReadText(const char* section, const char* key,
                                         const char* fallback) const {
  return profile ? profile->ReadProfileText(section, key, fallback) : std::string(fallback);
}

bool CLinearEnvironment::WriteText(const char* section, const char* key,
                                   const std::string& value) const {
  return profile && profile->WriteProfileText(section, key, value);
}
