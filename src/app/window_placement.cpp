#include "app/window_placement.h"

#include <algorithm>

#include "platform/text_conversions.h"

namespace {

// No screen is this far away; larger values are nonsense and keep the arithmetic safe.
constexpr long kLargestCoordinate = 1'000'000;

bool Meets(const CRect& window, const CRect& screen, long minimum) {
  long width = std::min(window.right, screen.right) - std::max(window.left, screen.left);
  long height = std::min(window.bottom, screen.bottom) - std::max(window.top, screen.top);
  return width >= minimum && height >= minimum;
}

bool PointOnSomeScreen(const CPoint& point, const std::vector<CRect>& screens) {
  return std::any_of(screens.begin(), screens.end(), [&point](const CRect& screen) {
    return point.x >= screen.left && point.x < screen.right && point.y >= screen.top &&
           point.y < screen.bottom;
  });
}

// A window larger than the screen it is on is cut to that screen.
CRect FittedToScreen(CRect window, const std::vector<CRect>& screens) {
  for (const CRect& screen : screens) {
    if (!Meets(window, screen, 1)) continue;
    if (window.right - window.left > screen.right - screen.left) {
      window.left = screen.left;
      window.right = screen.right;
    }
    if (window.bottom - window.top > screen.bottom - screen.top) {
      window.top = screen.top;
      window.bottom = screen.bottom;
    }
    break;
  }
  return window;
}

bool ShowCommandKnown(unsigned showCmd) { return showCmd <= 11; }

}  // namespace

std::string PlacementRectToText(const CRect& rect) {
  return RectToText({static_cast<int>(rect.left), static_cast<int>(rect.top),
                     static_cast<int>(rect.right), static_cast<int>(rect.bottom)});
}

std::string PlacementPointToText(const CPoint& point) {
  return PlacementRectToText({point.x, point.y, point.x, point.y});
}

std::optional<CRect> PlacementRectFromText(const std::string& text) {
  std::optional<CRect> rect = TryTextToRect(text);
  if (!rect) return std::nullopt;
  for (int value : {rect->left, rect->top, rect->right, rect->bottom})
    if (value < -kLargestCoordinate || value > kLargestCoordinate) return std::nullopt;
  return CRect{rect->left, rect->top, rect->right, rect->bottom};
}

std::optional<CPoint> PlacementPointFromText(const std::string& text) {
  std::optional<CRect> rect = PlacementRectFromText(text);
  if (!rect) return std::nullopt;
  return CPoint{rect->left, rect->top};
}

CWindowPlacement SanitizePlacement(CWindowPlacement placement, const std::vector<CRect>& screens) {
  const CWindowPlacement defaults;
  if (placement.showCmd == kShowMinimized || placement.showCmd == kShowMinimize ||
      !ShowCommandKnown(placement.showCmd))
    placement.showCmd = kShowRestore;
  const CRect& normal = placement.normalPos;
  bool inverted = normal.right <= normal.left || normal.bottom <= normal.top;
  constexpr long kTitleBar = 24;
  bool offScreen = !screens.empty() &&
                   std::none_of(screens.begin(), screens.end(), [&normal](const CRect& screen) {
                     return Meets(normal, screen, kTitleBar);
                   });
  if (inverted || offScreen) placement.normalPos = defaults.normalPos;
  else placement.normalPos = FittedToScreen(placement.normalPos, screens);
  if (!screens.empty() && !PointOnSomeScreen(placement.minPos, screens)) placement.minPos = {};
  if (!screens.empty() && !PointOnSomeScreen(placement.maxPos, screens)) placement.maxPos = {};
  return placement;
}
