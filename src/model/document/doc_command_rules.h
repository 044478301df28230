#pragma once

#include <array>

class CDorneDoc;

// What the command states read besides the document.
struct CDocCommandContext {
  bool partNumberingRunning = false;  // the external part-numbering program is running
  bool bomPageVisible = true;         // the bill-of-materials view's current page exists and shows
  bool totalsPageShown = false;       // the bill-of-materials view shows its totals page
  int viewSubMode = 0;                // the layout view's sub-mode of tool mode 7
  std::array<bool, 7> layers{};       // display layers of commands 32994..32998, 32992, 33001
  bool qmqgSwitch = false;            // the switch of command 33063
  bool undoPossible = false;
  bool redoPossible = false;
};

struct CDocCommandState {
  bool handled = false;  // false: not a command of the document
  bool enabled = false;
  bool checked = false;
  bool checkable = false;  // a command that shows its state with a check mark
};

// The enabled and checked states of the layout commands that depend on the document:
// its tool mode, view preset and current run. One table for the menus and toolbars.
CDocCommandState GetDocCommandState(const CDorneDoc& document, int command,
                                    const CDocCommandContext& context);
