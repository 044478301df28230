#pragma once

#include <cstdint>

#include "platform/draw_types.h"
#include "view/draw_tools.h"

// How a drawing context maps logical units to device pixels:
//   device = (logical - window origin) x viewport extent / window extent + viewport origin
// In text mode both extents are (1, 1). In isotropic mode, every change of an extent
// shrinks the viewport extent on the axis with the larger scale so that one logical unit
// is as long on both axes (pixels are taken as square); signs are kept. Extents can only
// be changed in the isotropic and anisotropic modes. Results are truncated toward zero,
// never rounded.
class CDrawMapping {
 public:
  MapMode Mode() const { return m_mode; }
  // Text mode resets both extents to (1, 1); the other modes keep them.
  void SetMode(MapMode mode);

  CPoint WindowOrigin() const { return m_windowOrigin; }
  CSize WindowExtent() const { return m_windowExtent; }
  CPoint ViewportOrigin() const { return m_viewportOrigin; }
  CSize ViewportExtent() const { return m_viewportExtent; }

  void SetWindowOrigin(CPoint origin) { m_windowOrigin = origin; }
  void SetViewportOrigin(CPoint origin) { m_viewportOrigin = origin; }
  // Ignored in text mode and for a zero extent on either axis (the old one stays).
  void SetWindowExtent(CSize extent);
  void SetViewportExtent(CSize extent);

  CPoint ToDevice(CPoint logical) const;
  CPoint ToLogical(CPoint device) const;
  // Lengths without origins or signs: a logical size in pixels and back.
  CSize SizeToDevice(CSize logical) const;
  CSize SizeToLogical(CSize device) const;

  bool operator==(const CDrawMapping&) const = default;

 private:
  void FitIsotropic();

  MapMode m_mode = MapMode::Text;
  CPoint m_windowOrigin;
  CSize m_windowExtent{1, 1};
  CPoint m_viewportOrigin;
  CSize m_viewportExtent{1, 1};
};
