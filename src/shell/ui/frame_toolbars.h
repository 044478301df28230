#pragma once

#include <array>
#include <vector>

class CFrameActions;
class QMainWindow;
class QToolBar;

// The main toolbar and the four toolbars of the layout documents. Each toolbar is named
// "toolbar_<id>" (128 for the main one, else the command that shows it) and shows the
// shared actions of its commands; hiding a button hides its action.
class CFrameToolBars {
 public:
  // The four design toolbars, in the order of their commands 32872, 32873, 32993, 33015.
  static constexpr std::array<int, 4> kDesignBars = {32872, 32873, 32993, 33015};

  // Creates the bars on the window: the main one docked at the top with its buttons
  // 33032, 33031, 57643 and 57644 hidden, the design ones docked on the left.
  void Create(QMainWindow& window, CFrameActions& actions);

  QToolBar* MainBar() const { return m_mainBar; }
  // The design toolbar of a command of kDesignBars, null for another number.
  QToolBar* DesignBar(int commandId) const;
  const std::array<QToolBar*, 4>& DesignBars() const { return m_designBars; }

  // The buttons of each bar, 0 for a separator.
  static const std::vector<int>& MainButtons();
  static const std::vector<int>& DesignButtons(int commandId);

 private:
  QToolBar* m_mainBar = nullptr;
  std::array<QToolBar*, 4> m_designBars{};
};
