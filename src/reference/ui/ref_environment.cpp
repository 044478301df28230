#include "reference/ui/ref_environment.h"

#include "app/dorne_app.h"
#include "app/ui/costing_window_makers.h"
#include "reference/ui/ref_wnd.h"

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

void RegisterReferenceWindow() {
  RegisterReferenceWindowMaker([](const CCostingWindowContext& context) -> CCostingWindow* {
    return new CRefWnd(CRefEnvironment::FromApp(*context.app, *context.dialogs, context.opened));
  });
}
