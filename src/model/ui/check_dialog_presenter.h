#pragma once

#include "model/document/check_message_presenter.h"

#include <functional>

class CCheckZoomTarget;
class QWidget;

// Shows a rebuild's design-check messages in the check dialog, framed on the given
// layout view; install it with SetCheckMessagePresenter.
class CCheckDialogPresenter : public CCheckMessagePresenter {
 public:
  // view: the layout view to frame on (not owned, may be null); beforeCorrection: the
  // document's undo step, taken before a correction changes an element.
  CCheckDialogPresenter(QWidget* parent, CCheckZoomTarget* view,
                        std::function<void()> beforeCorrection);

  int ShowCheckMessages(CPartBuilder& builder) override;

 private:
  QWidget* m_parent;
  CCheckZoomTarget* m_view;
  std::function<void()> m_beforeCorrection;
};
