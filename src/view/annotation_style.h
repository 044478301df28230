#pragma once

#include <array>

#include "app/app_settings.h"
#include "platform/draw_types.h"
#include "platform/log_font.h"

class CAnnotationLabel;
class CDrawContext;

// The text style an annotation is drawn with: font (height in points), colours and
// whether its box is filled.
struct CAnnotationStyle {
  CLogFont font;
  CColor fontColor;
  CColor background{255, 255, 255};
  bool opaque = false;
};

using CLabelSlots = std::array<CLabelStyle, kLabelStyleCount>;

// The style of a kind: a free text its own, a picture's file name "Arial,10,0" in red, a
// user dimension the font and box of the branch style with the colour of its own slot,
// every other kind its slot. A stored font that does not read as a usable font (no face,
// a height outside 1..500 points) falls back to the slot's.
CAnnotationStyle AnnotationStyleOf(int kind, const CAnnotationLabel* label,
                                   const CLabelSlots& slots);

// The DXF layer and colour number of a kind (kinds outside 0..9: layer "0").
struct CAnnotationLayer {
  const char* name;
  int color;
};
CAnnotationLayer AnnotationLayerOf(int kind);

// Selects the style into the context, which draws in device pixels: the font at
// points x 96 / 72 x scale pixels, the text colour, a pen of that colour, the background
// brush when opaque (else none), the layer of the kind; monochrome draws black on white.
// Returns the label margins (a thirtieth of an inch at 96 pixels an inch, times scale).
CSize SelectAnnotationStyle(CDrawContext& dc, const CAnnotationStyle& style, int kind,
                            bool monochrome, double scale);
