#pragma once

class CPartBuilder;

// How the core shows a rebuild's design-check messages, which it never does itself: the
// window side installs a presenter that runs the check dialog over the builder's table.
// With none installed nothing is shown.
class CCheckMessagePresenter {
 public:
  virtual ~CCheckMessagePresenter() = default;

  // Shows the messages; 1 when closed, 2 when a length correction was applied (the run
  // is to be rebuilt).
  virtual int ShowCheckMessages(CPartBuilder& builder) = 0;
};

// The installed presenter (not owned), or null to detach; returns the previous one.
CCheckMessagePresenter* SetCheckMessagePresenter(CCheckMessagePresenter* presenter);
CCheckMessagePresenter* GetCheckMessagePresenter();

// The program's design-check switch: on at start, toggled by the main frame.
bool DesignChecksEnabled();
void SetDesignChecksEnabled(bool enabled);
