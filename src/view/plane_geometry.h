#pragma once

#include "view/window_point.h"

#include <cstdint>
#include <optional>
#include <span>

// Integer tests on window points shared by the depth ordering, the face pick and the
// hidden-line handling of the drawing.

// Where the segment (x1, y1)-(x2, y2) meets the segment (x3, y3)-(x4, y4), or none.
// Slopes and intercepts are taken in doubles; two vertical segments or two equal slopes
// never meet, even when they overlap. The crossing x is truncated toward zero, and y is
// taken (truncated) on the non-vertical line through it (the first one when neither is
// vertical).
// mode < 0: the crossing of the infinite lines, wherever it lies.
// Otherwise the crossing must lie within the first segment's x range (its y range when
// vertical), end points included, and within the second segment's x range (y range when
// vertical): strictly inside for mode 0, end points included for any other mode.
std::optional<CWindowPoint> SegmentIntersection(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                                                std::int32_t y2, std::int32_t x3, std::int32_t y3,
                                                std::int32_t x4, std::int32_t y4, int mode);

// True when (x, y) lies strictly inside the convex polygon: the cross product of every
// edge with the point has the same non-zero sign. A point on an edge's line is outside;
// an empty polygon contains every point. The arithmetic is exact for any 32-bit input.
bool PointInPolygon(std::int32_t x, std::int32_t y, std::span<const CWindowPoint> polygon);
