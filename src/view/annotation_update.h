#pragma once

#include <array>
#include <cstdint>
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

// The title block (made when missing) and its text, then the runs shown. With weights
// (the "Design"/"Support" setting on) a built run's information label shows its weight.
void UpdateTitleBlock(CDorneDoc& document, const CLabelStyleSlots& slots, bool weights = false);
// Runs UpdateTitleBlock only when what the automatic annotations are made from may have
// changed since its last run: the document, its display list, its annotation list, which
// runs are shown, the label settings, or anything the owner marks stale (every notice of
// the document). A repaint of an unchanged document then costs nothing here.
class CAnnotationRefresh {
 public:
  // True when it refreshed.
  bool Run(CDorneDoc& document, const CLabelStyleSlots& slots, bool weights);
  void MarkStale() { m_stale = true; }

 private:
  struct CKey {
    const CDorneDoc* document = nullptr;
    std::uint64_t listChanges = 0;
    std::uint64_t annotationChanges = 0;
    bool currentRunOnly = false;
    const CRun* currentRun = nullptr;
    CLabelStyleSlots labelStyles{};
    bool weights = false;
    bool operator==(const CKey&) const = default;
  };
  static CKey KeyOf(const CDorneDoc& document, const CLabelStyleSlots& slots, bool weights);

  CKey m_key;
  bool m_stale = true;
};

// One run: its elements, then (a run with a catalogue) its table, information label and
// section label, one each, and the totals table.
void UpdateRunAnnotations(CDorneDoc& document, CRun& run, const CLabelStyleSlots& slots,
                          bool weights = false);
void UpdateRunAnnotations(CDorneDoc& document, CRun& run, const CLabelStyleSlots& slots,
                          CElementAnnotationIndex& index, bool weights = false);
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
