#include "reference/ui/ref_environment.h"

#include "app/dorne_app.h"

CRefEnvironment CRefEnvironment::FromApp(CDorneApp& app, CShellDialogs& dialogs,
                                         std::function<void(const QString&)> opened) {
  CRefEnvironment environment;
  environment.common = CLinearEnvironment::FromApp(app, dialogs, std::move(opened));
  environment.configSetup = RefConfigSetupFor(app);
  environment.catalogueSetup.catalogueFolder = app.CatalogueFolder();
  environment.catalogueSetup.articleFolder = app.ArticleFolder();
  environment.catalogueSetup.langDesign = app.ReadProfileText("Database", "LANG_DESIGN", "1");
  environment.catalogueSetup.useTc = app.ReadProfileInt("Database", "UseTC", 0);
  environment.packQuantities = app.ReadProfileInt("Database", "Packaging", 0) != 0;
  return environment;
}
