#pragma once

#include <optional>

#include "platform/draw_types.h"

class CAnnotation;
class CDorneDoc;
class CDrawContext;
struct CSceneDrawOptions;

// Whether the annotation belongs to what the document shows: in single-run display only
// the current run's labels, dimensions and texts, with all runs shown the totals table
// only when every run is built; one shown only with its run, only with that run shown.
bool AnnotationShown(const CAnnotation& annotation, const CDorneDoc& document);

// The layered pass over the scene (the context in the scene's logical units): kind by
// kind, each kind whose display layer is on, the annotations from the last of the list to
// the first. On screen (options.annotationPlaces given) it records in that view's record
// which were drawn and where (the view's mouse finds them by that); printing and exports
// leave every record as it was.
void DrawAnnotationLayers(CDrawContext& dc, const CDorneDoc& document,
                          const CSceneDrawOptions& options);

// One annotation as feedback of the mouse: its label frame moved by shift (device pixels,
// a drag) or highlighted; nothing is recorded.
enum class EAnnotationFeedback { kDrag, kHighlight };
void DrawAnnotationFeedback(CDrawContext& dc, const CDorneDoc& document,
                            const CAnnotation& annotation, const CSceneDrawOptions& options,
                            EAnnotationFeedback feedback, CPoint shift);

// The label rectangle of an annotation as it would be drawn now (device pixels), or none
// when it would not be drawn.
std::optional<CRect> AnnotationLabelRect(CDrawContext& dc, const CDorneDoc& document,
                                         const CAnnotation& annotation,
                                         const CSceneDrawOptions& options);
