#pragma once

#include <functional>
#include <string>

// The action numbers of undo steps and how menus name them.
namespace undo_actions {

// The snapshot of the current state that undo takes itself; names no command.
inline constexpr int kCurrentState = 21828;
inline constexpr int kDeleteRun = 21060;
// The runs reordered by dragging their bill-of-materials tabs.
inline constexpr int kMoveRun = 21071;
// A bill-of-materials grid edited: a cell, its context menu or one of its dialogs.
inline constexpr int kEditBOM = 16965;

// A view action (zoom, pan, turn...): high byte 0x5A.
bool IsViewAction(int action);
// Zoom and pan follow each other as one action.
int Normalized(int action);
// The command whose menu text names the action; 0 when none does.
int CommandOfAction(int action);
// "<base> : <name of the action's command>", the first "..." of the name taken out, cut to
// 75 characters; the base alone for an action no command names; empty for an empty base.
// commandText gives a command's menu text (the menu's '&' marks and shortcut removed).
std::string MenuText(const std::string& base, int action,
                     const std::function<std::string(int)>& commandText);

}  // namespace undo_actions
