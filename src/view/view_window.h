#pragma once

#include <cstdint>

#include "platform/draw_types.h"

class CDorneDoc;
class CDrawMapping;

// The view window of the layout view: the rectangle of the scene plane (centre and size
// in scene units) that the view maps isotropically onto its client area, with every
// operation that changes it. The document keeps it; a view reads it, changes it and
// stores it back. Sizes are held within 1..kMaxExtent and the centre within
// +-kMaxExtent, so that no step (zoom, resize, fit) overflows 32 bits; arithmetic runs
// on 64-bit or double intermediates and truncates toward zero.
class CViewWindow {
 public:
  static constexpr std::int32_t kMaxExtent = 100'000'000;

  CViewWindow() = default;
  CViewWindow(CPoint centre, CSize size);
  static CViewWindow FromDocument(const CDorneDoc& document);
  void StoreIn(CDorneDoc& document) const;

  CPoint Centre() const { return m_centre; }
  CSize Size() const { return m_size; }
  void SetCentre(CPoint centre);

  // Zoom in by the step (0.1: the window shrinks by a tenth); false, with nothing
  // changed, when a side would drop below 1.
  bool ZoomIn(double step);
  // Zoom out by the step; a window too small to grow by the step grows by 1. False,
  // with nothing changed, when the window is already as large as it may be or a
  // negative step would give a negative side.
  bool ZoomOut(double step);
  // The window shows the rectangle of the two corners, widened to the client's shape;
  // false (nothing changed) when either side is below 3 units.
  bool ZoomToRect(CPoint first, CPoint second, CSize client);
  // The window shows the scene extent (left, top, right, bottom; y up) filled to the
  // factor, widened to the client's shape.
  void ZoomAll(const CRect& extent, double fill, CSize client);
  // The scale stays when the client changes size: each side follows its client side.
  void Resize(CSize previousClient, CSize client);
  // Moves the centre by the distance.
  void Pan(std::int32_t dx, std::int32_t dy);

  // The mapping of the view: isotropic, the window on the client with y up and the
  // centre in the client's middle. A zero client side counts as 1.
  void ApplyTo(CDrawMapping& mapping, CSize client) const;

 private:
  void SetSize(std::int64_t width, std::int64_t height);

  CPoint m_centre;
  CSize m_size{8000, 8000};
};

// A client size with each side at least 1.
CSize AtLeastOnePixel(CSize client);
