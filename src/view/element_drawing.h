#pragma once

#include <span>
#include <vector>

class CBox;
class CDev;
class CDorneDoc;
class CDrawContext;
class CElementDrawCache;
struct CElementDrawOptions;

// Draws one box of an element: its labels (before and after the faces), its shaded
// faces with their edges and marks, the outline and the supports of each face. Fills,
// joint marks, edges, labels, outlets and supports go to every target; the neutral side
// hatching and the cover ventilation lines to the screen only. A box without an element
// draws nothing. toolMode is the document's tool mode (tap-off highlighting). Once another
// tool is on, the drawing takes the placing tools' mark off the tap-off unit, unless
// leaveStaleMarks: boxes drawn on several threads leave that to their caller.
void DrawElementBox(CDrawContext& dc, const CBox& box, int toolMode, CElementDrawCache& cache,
                    const CElementDrawOptions& options, bool leaveStaleMarks = false);

// Takes the placing tools' mark off the tap-off units of these boxes once another tool
// is on. Done before the boxes are drawn on several threads, since the drawing may share
// the boxes of one unit among them; it may spread its own looking over threads.
void ClearStaleTapOffMarks(std::span<const CBox* const> boxes, int toolMode);
// The same in two steps, for boxes drawn on several threads with their marks left: the
// units of these boxes whose marks are to go added to `units` (only read), and the marks
// of such units taken off.
void GatherStaleTapOffMarks(std::span<const CBox* const> boxes, int toolMode,
                            std::vector<CDev*>& units);
void TakeOffTapOffMarks(std::span<CDev* const> units);

// Draws every box of the document's scene in painting order, far boxes first.
void DrawElements(CDrawContext& dc, const CDorneDoc& document, CElementDrawCache& cache,
                  const CElementDrawOptions& options);

// The element colour kind (element_colors.h) a box of an element of that kind and
// variant takes.
int ElementColourKind(int kind, int variant);
