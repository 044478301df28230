#pragma once

#include "platform/draw_types.h"

#include <optional>
#include <string>
#include <vector>

// The saved placement of the main window, in section "Application Layout" of the
// settings file, and the rules that keep a restored window reachable.

constexpr unsigned kShowMinimized = 2;
constexpr unsigned kShowMaximized = 3;
constexpr unsigned kShowMinimize = 6;
constexpr unsigned kShowRestore = 9;

struct CWindowPlacement {
  unsigned flags = 1;
  unsigned showCmd = kShowRestore;
  CPoint minPos;
  CPoint maxPos;
  CRect normalPos{8, 16, 632, 464};
  bool operator==(const CWindowPlacement&) const = default;
};

// "Left %ld, Top %ld, Right %ld, Bottom %ld".
std::string PlacementRectToText(const CRect& rect);
// A point is written as a rectangle whose left and right hold x, top and bottom y.
std::string PlacementPointToText(const CPoint& point);
// Nothing when the text is not of that form (words, commas and four whole numbers)
// or a number lies beyond +-1000000.
std::optional<CRect> PlacementRectFromText(const std::string& text);
std::optional<CPoint> PlacementPointFromText(const std::string& text);

// The placement to apply on this desktop: a minimise show command (2 or 6) becomes
// restore (9), and so does a show command that is no show command at all; minimised
// and maximised positions off every screen become (0, 0); a normal rectangle that is
// empty or inverted, or that meets no screen with a title-bar-sized part of itself,
// becomes the default (8, 16, 632, 464), and one larger than its screen is cut to
// it. screens are the screens' rectangles; with
// none, nothing is reset for being off screen.
CWindowPlacement SanitizePlacement(CWindowPlacement placement, const std::vector<CRect>& screens);
