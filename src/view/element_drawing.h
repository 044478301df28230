#pragma once

#include <span>

class CBox;
class CDorneDoc;
class CDrawContext;
class CElementDrawCache;
struct CElementDrawOptions;

// Draws one box of an element: its labels (before and after the faces), its shaded
// faces with their edges and marks, the outline and the supports of each face. Fills,
// joint marks, edges, labels, outlets and supports go to every target; the neutral side
// hatching and the cover ventilation lines to the screen only. A box without an element
// draws nothing. toolMode is the document's tool mode (tap-off highlighting).
void DrawElementBox(CDrawContext& dc, const CBox& box, int toolMode, CElementDrawCache& cache,
                    const CElementDrawOptions& options);

// Takes the placing tools' mark off the tap-off units of these boxes once another tool
// is on. Done before the boxes are drawn on several threads, since the drawing may share
// the boxes of one unit among them; it may spread its own looking over threads.
void ClearStaleTapOffMarks(std::span<const CBox* const> boxes, int toolMode);

// Draws every box of the document's scene in painting order, far boxes first.
void DrawElements(CDrawContext& dc, const CDorneDoc& document, CElementDrawCache& cache,
                  const CElementDrawOptions& options);

// The element colour kind (element_colors.h) a box of an element of that kind and
// variant takes.
int ElementColourKind(int kind, int variant);
