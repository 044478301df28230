#include "shell/ui/catalogue_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/dorne_app.h"
#include "app/settings_keys.h"
#include "app/message_text.h"
#include "app/price_lists.h"
#include "shell/ui/frame_actions.h"
#include "app/ui/message_box.h"
#include "shell/ui/mode_menus.h"

CCatalogueMenu::CCatalogueMenu(CDorneApp& app) : m_app(app) {}

void CCatalogueMenu::BuildCatalogueMenu() {
  CPriceListNames names =
      ReadPriceListNames(m_app.ArticleFolder(), [](int n) { return LookupText(n); });
  m_error = names.error;
  bool justOne = ReadSetting(m_app.Profile(), settings_key::kJustOneCatalogue) == "yes";
  int current = ReadSettingInt(m_app.Profile(), settings_key::kCurrentCatalogue, 1);
  CCatalogueMenuPlan plan = PlanCatalogueMenu(
      std::vector<std::string>(names.first.begin(), names.first.end()), justOne, current);
  // The installed menu was filled from the plan it has: the same plan leaves it as it is,
  // as when a layout opens and the lists have not changed since the menu was made.
  const bool changed = plan != m_plan;
  m_plan = std::move(plan);
  if (m_plan.current != 0) m_app.SetCurrentCatalogueNumber(m_plan.current);
  if (changed && m_menuChanged) m_menuChanged();
}

void CCatalogueMenu::SelectDefaultCatalogue() {
  m_app.SetCurrentCatalogueNumber(0);
  BuildCatalogueMenu();
  if (m_app.CurrentCatalogue() == 0) {
    int current = 0;
    if (!SetCurrentCatalogue(1, current, m_app.Profile())) SettingsNotSavedMessage(m_app.Profile());
    m_app.SetCurrentCatalogueNumber(current);
  }
}

void CCatalogueMenu::FillMenu(QMenuBar& bar, CFrameActions& actions) const {
  QMenu* menu = FindCatalogueMenu(bar);
  if (!menu) return;
  menu->clear();
  for (const CCatalogueMenuItem& item : m_plan.items) {
    QAction* action = actions.Action(CatalogueCommandId(item.number - 1));
    action->setText(QString::fromStdString(item.name));
    action->setCheckable(true);
    menu->addAction(action);
  }
}

int CCatalogueMenu::CatalogueOfCommand(int commandId) {
  for (int index = 0; index < kPriceListCount; ++index)
    if (CatalogueCommandId(index) == commandId) return index + 1;
  return 0;
}

bool CCatalogueMenu::UpdateCommand(int commandId, CCommandState& state) {
  int catalogue = CatalogueOfCommand(commandId);
  if (catalogue == 0) return false;
  state.enabled = true;
  state.checked = catalogue == m_app.CurrentCatalogue();
  return true;
}

bool CCatalogueMenu::OnCommand(int commandId) {
  int catalogue = CatalogueOfCommand(commandId);
  if (catalogue == 0) return false;
  int current = m_app.CurrentCatalogue();
  if (!SetCurrentCatalogue(catalogue, current, m_app.Profile()))
    SettingsNotSavedMessage(m_app.Profile());
  m_app.SetCurrentCatalogueNumber(current);
  return true;
}
