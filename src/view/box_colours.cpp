#include "view/box_colours.h"

#include <algorithm>

namespace {

CColor Scaled(CColor c, double factor, int add) {
  auto channel = [&](std::uint8_t v) {
    return static_cast<std::uint8_t>(std::min(255, static_cast<int>(v * factor) + add));
  };
  return {channel(c.red), channel(c.green), channel(c.blue)};
}

CColor Halved(CColor c) {
  auto channel = [](std::uint8_t v) { return static_cast<std::uint8_t>(v / 2 + 1); };
  return {channel(c.red), channel(c.green), channel(c.blue)};
}

CColor Lighter(CColor c) {
  auto channel = [](std::uint8_t v) { return static_cast<std::uint8_t>(std::min(250, v * 3 / 2)); };
  return {channel(c.red), channel(c.green), channel(c.blue)};
}

bool IsWhite(CColor c) { return c.red == 255 && c.green == 255 && c.blue == 255; }

}  // namespace

CBoxColours ChooseBoxColours(const CBoxColourInput& in) {
  CBoxColours out;
  out.edges = in.edgeColourFlag || in.monochrome;
  if (in.monochrome) {
    out.fill = {255, 255, 255};
    out.pen = {0, 0, 0};
  } else if (in.patternedBody) {
    out.fill = {255, 255, 255};
    out.pen = IsWhite(in.boxColour) ? CColor{0, 0, 0} : in.boxColour;
    if (in.selection != 0) out.pen = in.highlight;
  } else {
    out.pen = {0, 0, 0};
    out.fill = in.boxColour;
    if (in.hasTapOffPen) {
      out.pen = in.tapOffPen;
      out.edges = true;
    }
    if (in.hasTapOffFill) out.fill = in.tapOffFill;
    if (in.selection != 0) {
      out.fill = in.selection == 2 ? Lighter(in.highlight) : in.highlight;
      if (in.edgeColourFlag) out.pen = out.fill;
    }
  }
  if (IsWhite(out.fill) || in.faceMode != 0) {
    out.full = out.half = out.threeQuarter = out.fill;
    out.edges = true;
  } else {
    out.full = out.fill;
    out.half = Halved(out.fill);
    // times 0.75 plus one, truncated: a channel of 255 stays within range
    out.threeQuarter = Scaled(out.fill, 0.75, 1);
  }
  return out;
}
