#pragma once

#include "pages/prop_page.h"

// The option check page: one box for a per-element option that the element's range
// decides about (CRun::AccessOption); the page knows nothing of the option itself.
class COptionCheckPage : public CPropPage {
 public:
  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  bool IsEnabled() const { return m_state != 0; }
  bool IsChecked() const { return m_state == 1; }

  // The box clicked: the range sets or clears the option; the element's pages are then
  // shown again whatever the range did, so that the box shows the range's state.
  CApplyOutcome SetChecked(bool checked);

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override { return Unchanged(); }

 private:
  // What the range answers for the element: 0 not offered, 1 on, other values off.
  int m_state = 0;
};
