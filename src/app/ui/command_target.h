#pragma once

#include <QString>

#include <optional>

// The state of one command as its handler decides it.
struct CCommandState {
  bool enabled = true;
  std::optional<bool> checked;  // nothing: not a checkable command
  std::optional<QString> text;  // a text that replaces the menu text (undo, redo)
  QString hint;                 // why a disabled command is disabled; empty for none
};

// Something that handles commands by number: the active child window, the main frame,
// the application. The frame asks them in that order; the first that handles a
// command decides its state and runs it. A command nobody handles is disabled.
class CCommandTarget {
 public:
  virtual ~CCommandTarget() = default;
  // True when this target handles the command; state then holds its state.
  virtual bool UpdateCommand(int commandId, CCommandState& state) = 0;
  // True when this target handled the command.
  virtual bool OnCommand(int commandId) = 0;
};
