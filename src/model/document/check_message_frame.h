#pragma once

#include <string_view>
#include <utility>
#include <vector>

class CDev;
struct CCheckMessage;

// A rectangle of the layout view's drawing.
struct CZoomRect {
  double left = 0, top = 0, right = 0, bottom = 0;
};

// What the design-check dialog asks of the layout view; the view implements it.
class CCheckZoomTarget {
 public:
  virtual ~CCheckZoomTarget() = default;
  // The projected corners of the element's boxes; empty when it has none.
  virtual std::vector<std::pair<double, double>> ProjectedCorners(const CDev& element) const = 0;
  // The highlight circle (radius 0 clears it); the view is redrawn, erased as told.
  virtual void SetHighlight(double x, double y, int radius, bool erase) = 0;
  virtual void ZoomToRect(const CZoomRect& rect) = 0;
  virtual void ZoomAll() = 0;
};

// Where a message is shown on the layout view: the highlight circle and the zoom
// rectangle (the centre plus and minus twice the radius).
struct CCheckFrame {
  bool framed = false;
  double x = 0, y = 0;
  int radius = 0;
  CZoomRect zoom;
};

// The elements a message frames: for the length checks (10 to 13) the element and the
// next one along its back face that is neither a joint nor a straight; for 14 the first
// joint behind it and the element after that joint; otherwise the element.
std::vector<const CDev*> CheckFrameElements(const CCheckMessage& message);
// The frame of the projected corners of the message's elements: the radius is 1.6
// times the largest distance from the centre to a corner, truncated.
CCheckFrame FrameCheckMessage(const CCheckMessage& message, const CCheckZoomTarget& target);

// Which length corrections a message offers (lengthen by value 1 - value 2, shorten by
// value 2): only the length checks of the QD ranges.
struct CCorrectionButtons {
  bool lengthen = false;
  bool shorten = false;
};
CCorrectionButtons CorrectionButtonsFor(const CCheckMessage& message, std::string_view catalog);
