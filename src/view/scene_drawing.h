#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/draw_types.h"
#include "view/element_draw_options.h"

class CAnnotationPlaces;
class CBox;
class CDorneDoc;
class CDrawContext;
class CElementDrawCache;

// What the scene's drawing depends on besides the document: the output (colours or black
// on white) and the switches of the application that decide what is shown.
struct CSceneDrawOptions {
  static constexpr int kLayerCount = 10;
  // Black pens and white fills: printing in black and white, picture and DXF exports.
  bool monochrome = false;
  // The display layers (branch, dimension, position, bill of materials, run, busbar,
  // text, image, title block, distance labels), as the application keeps them.
  std::array<bool, kLayerCount> layers{true,  true, true, false, true,
                                       false, true, true, false, true};
  // The support display: 0 off, 1 or 2 shown.
  int supportDisplay = 2;
  // The element colours and label styles of the settings.
  CElementDrawOptions elements;
  // What the element drawing keeps between paints, owned by the view that paints (which
  // clears it whenever the document's scene is rebuilt); none: kept for one paint only.
  CElementDrawCache* cache = nullptr;
  // The annotations: the pass on the screen keeps where each label was drawn (for the
  // mouse) in the record of the view that draws, given here (none: printing and exports,
  // which leave every view's record alone); a printed page scales their fonts and
  // margins; a DXF file carries no pictures (neither of annotations nor of elements).
  CAnnotationPlaces* annotationPlaces = nullptr;
  double annotationScale = 1.0;
  bool dxf = false;
  // Where a picture whose stored path cannot be read is looked for by its name.
  std::string documentFolder;
};

// Draws the document's scene into the context: every listed box from the back of the
// display list to its front, each by its element's drawing, with the context's mapping
// (window coordinates are the projection's logical units). The context's state is the
// same afterwards. The boxes are drawn as the projection last placed them; nothing in
// the document changes.
void DrawScene(CDrawContext& dc, const CDorneDoc& document, const CSceneDrawOptions& options);

// DrawScene in pieces, for drawing the boxes on several threads at once: the listed boxes
// that may leave a mark on the context's target, from the back to the front (each node's
// pass set, as the walk of the list sets it); then any stretch of them drawn on a context
// of its own with the same mapping and a cache shared by all (as one paint), and the
// annotation layers drawn last. Drawn one after the other, from fresh contexts, they make
// what DrawScene makes. Boxes drawn without marks beside them (the light picture: neither
// labels nor symbols) leave none outside the target: those wholly outside are left out.
std::vector<const CBox*> SceneBoxesToDraw(const CDrawContext& dc, const CDorneDoc& document,
                                          bool marksBeside = true);
// With leaveStaleMarks, the placing tools' stale marks are left on the tap-off units for
// the caller to take off (see DrawElementBox).
void DrawSceneBoxes(CDrawContext& dc, const CDorneDoc& document, std::span<const CBox* const> boxes,
                    const CSceneDrawOptions& options, CElementDrawCache& cache,
                    bool leaveStaleMarks = false);
void DrawSceneAnnotations(CDrawContext& dc, const CDorneDoc& document,
                          const CSceneDrawOptions& options);

// The bounds of the listed boxes' projected corners (left, top, right, bottom with top
// the least y), or none when nothing is listed.
std::optional<CRect> GetSceneExtent(const CDorneDoc& document);
