#pragma once

#include <cstdint>
#include <limits>

#include "platform/draw_types.h"
#include "view/draw_tools.h"

namespace draw_mapping {

inline std::int32_t Held(std::int64_t result) {
  constexpr std::int64_t kLow = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kHigh = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(result < kLow ? kLow : (result > kHigh ? kHigh : result));
}

// Below this, a dividend divided in double precision gives the integer division's truncated
// quotient: the rounding error stays under the quotient's distance to the next whole number.
constexpr std::int64_t kExactInDouble = std::int64_t{1} << 52;

// (value - from) x numerator / denominator + to, truncated toward zero, held to 32 bits.
// Every point of every figure goes through here, and a 64-bit integer division took
// several times as long as a division of doubles, which gives the same quotient within
// the range above.
inline std::int32_t Map(std::int64_t value, std::int64_t from, std::int64_t numerator,
                        std::int64_t denominator, std::int64_t to) {
  const std::int64_t scaled = (value - from) * numerator;
  if (scaled > -kExactInDouble && scaled < kExactInDouble && denominator != 0) {
    const double quotient = static_cast<double>(scaled) / static_cast<double>(denominator);
    return Held(static_cast<std::int64_t>(quotient) + to);
  }
  return Held(scaled / denominator + to);
}

}  // namespace draw_mapping

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

  // Inline: every point of every figure goes through it.
  CPoint ToDevice(CPoint logical) const {
    using draw_mapping::Map;
    return {Map(logical.x, m_windowOrigin.x, m_viewportExtent.cx, m_windowExtent.cx,
                m_viewportOrigin.x),
            Map(logical.y, m_windowOrigin.y, m_viewportExtent.cy, m_windowExtent.cy,
                m_viewportOrigin.y)};
  }
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
