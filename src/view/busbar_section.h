#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/draw_types.h"

class CAnnotation;
class CDrawContext;
class CRun;

// What the busbar cross-section of a section label is drawn from: the range letter (the
// second character of the catalogue code: J, D, G, P, M, W), the housing of the run's
// rating and the housing that sets the scale (the last rating of the run's list), in
// millimetres (0 when the catalogue has no row), the run's "Neutral" and, for range QJ,
// the digit that starts the rating text.
struct CBusbarSection {
  char range = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t scaleWidth = 0;
  std::int32_t scaleHeight = 0;
  int neutral = 0;
  int ratingDigit = 0;
};

// The section of the run for a label whose text begins with the run's catalogue code and
// carries the rating text from its seventh character; none when the run has no ratings.
std::optional<CBusbarSection> BusbarSectionOf(const CRun& run, std::string_view labelText);

// Draws the cross-section centred in the square (y grows downward) with its height and
// width dimensions outside it, mx and my the label's horizontal and vertical margins.
// Lines and the "h" go through the context (so into a DXF recording too) with its
// present pen, font and layer. Without a housing, or for a range it does not know, only
// the dimensions are drawn.
void DrawBusbarSection(CDrawContext& dc, const CBusbarSection& section, const CRect& square,
                       std::int32_t mx, std::int32_t my);

// The cross-section of a section label (the drawer the annotation drawing is handed at
// start-up): the label's owner run and text, the square and the label's margins. A label
// without a run, or a run without ratings, draws nothing.
void DrawSectionLabelSymbol(CDrawContext& dc, const CAnnotation& annotation, const CRect& square,
                            CSize margins);
