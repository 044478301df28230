#pragma once

#include <cstdint>
#include <memory>

#include "platform/draw_types.h"

class CAnnotation;
class CAnnotationList;
class CAnnotationPlaces;
class CDorneDoc;
class CRun;

// The annotation the mouse is on in a view: the last of the list that the view's last
// pass drew (its record of places) whose label rectangle (the view's pixels) holds the
// point; null when none.
CAnnotation* HitTestAnnotations(const CAnnotationList& list, const CAnnotationPlaces& places,
                                CPoint device);

// Dimensions, position marks and labels on an element move in the scene's logical units;
// other labels in the window's 1/2000.
bool IsWorldAnchored(const CAnnotation& annotation);

// How MoveAnnotation moves.
enum class EAnnotationMove {
  kDrag,       // by (dx, dy): the offset, and a dimension's label point with it
  kReset,      // a dimension's label back onto the measured points, the offset cleared
  kRecompute,  // a new user dimension: its label point half-way between its ends
};
// Runs of the same catalogue and rating, whose section labels show the same and share
// one place.
bool SameSection(const CRun* a, const CRun* b);
// A section label dragged takes the section labels of runs of the same catalogue and
// rating along (they share one offset).
void MoveAnnotation(CDorneDoc& document, CAnnotation& annotation, std::int32_t dx, std::int32_t dy,
                    EAnnotationMove how);

// The dialog results of an annotation.
enum EAnnotationEdit : int { kEditNone = 0, kEditOk = 1, kEditCancel = 2, kEditDelete = 3 };

// Whether an annotation opens a dialog: a user's text, picture or dimension (not an
// element's automatic text).
bool IsUserEditable(const CAnnotation& annotation);

// What a dialog's result does: a new annotation (not in the list) is appended on OK and
// dropped otherwise; one in the list is deleted on Delete. True when the list changed.
bool ApplyEditResult(CDorneDoc& document, std::unique_ptr<CAnnotation> fresh, CAnnotation* existing,
                     int result);
