#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/catalogue_menu_plan.h"
#include "app/ui/command_target.h"

class CDorneApp;
class CFrameActions;
class QMenuBar;

// The catalogue menu of layout documents: one checkable item per price list of the
// article table, the current one checked; choosing one makes it current.
class CCatalogueMenu : public CCommandTarget {
 public:
  explicit CCatalogueMenu(CDorneApp& app);

  // Reads the price-list names and settles which lists the menu shows
  // ("Database"/"JustOneCat") and which is current ("Database"/"CurrentCat", default
  // 1): the listed current one becomes the application's current catalogue. Then the
  // installed menu is refilled, when the lists or the current one changed.
  void BuildCatalogueMenu();
  // No current catalogue, the menu built, and list 1 made current when the settings
  // named none that is listed.
  void SelectDefaultCatalogue();

  // Puts the items into the catalogue menu of the bar, when it has one.
  void FillMenu(QMenuBar& bar, CFrameActions& actions) const;
  // Called after BuildCatalogueMenu so that the frame refills its installed menu.
  void SetMenuChanged(std::function<void()> changed) { m_menuChanged = std::move(changed); }

  const CCatalogueMenuPlan& Plan() const { return m_plan; }
  // Why the article table could not be read at the last build; empty when it could.
  const std::string& Error() const { return m_error; }

  bool UpdateCommand(int commandId, CCommandState& state) override;
  bool OnCommand(int commandId) override;

 private:
  // The price list of a catalogue command, 0 for another command.
  static int CatalogueOfCommand(int commandId);

  CDorneApp& m_app;
  CCatalogueMenuPlan m_plan;
  std::string m_error;
  std::function<void()> m_menuChanged;
};
