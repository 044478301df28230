#pragma once

#include <array>
#include <optional>
#include <unordered_map>
#include <vector>

#include "app/app_settings.h"

class CAnnotation;
class CAnnotationList;
class CDev;
class CDorneDoc;
class CRun;

// The automatic annotations, brought in step with the model before the annotations are
// drawn: the title block, each run's tables and labels, each element's dimensions,
// position marks and automatic text. Labels are placed only when they are made (a branch
// dimension again when its length changes), so a place the user dragged is kept.
using CLabelStyleSlots = std::array<CLabelStyle, kLabelStyleCount>;
// The annotations of each element, in list order.
using CElementAnnotationIndex = std::unordered_map<const CDev*, std::vector<CAnnotation*>>;

// The title block (made when missing) and its text, then the runs shown.
void UpdateTitleBlock(CDorneDoc& document, const CLabelStyleSlots& slots);
// One run: its elements, then (a run with a catalogue) its table, information label and
// section label, one each, and the totals table.
void UpdateRunAnnotations(CDorneDoc& document, CRun& run, const CLabelStyleSlots& slots);
void UpdateRunAnnotations(CDorneDoc& document, CRun& run, const CLabelStyleSlots& slots,
                          CElementAnnotationIndex& index);
// One element: its branch and length dimensions, up to three position marks and its
// automatic text; duplicates are deleted, the one nearest the end of the list kept.
void UpdateElementAnnotations(CDorneDoc& document, CDev& element, const CLabelStyleSlots& slots);
// The same with the annotations of each element at hand (in list order), as a refresh
// of many elements uses it; the index follows what the update adds and deletes.
CElementAnnotationIndex IndexElementAnnotations(const CAnnotationList& list);
void UpdateElementAnnotations(CDorneDoc& document, CDev& element, const CLabelStyleSlots& slots,
                              CElementAnnotationIndex& index);

// The three values of a connection box that an element's automatic text shows (A, B, C),
// from its sizes and offsets in whole millimetres; none while the box is not set (a width
// of 0 or an x offset of -157869, which the catalogue leaves in unset boxes).
struct CConnectionBoxValues {
  int width = 0, height = 0, depth = 0;
  int xOffset = 0, yOffset = 0, zOffset = 0;
};
std::optional<std::array<int, 3>> ConnectionTextValues(const CConnectionBoxValues& box,
                                                       bool fromBack);
