#pragma once

#include <optional>
#include <string>
#include <vector>

#include "grid/bitmap_desc.h"
#include "platform/draw_types.h"
#include "view/annotation_text_layout.h"

class CAnnotation;
class CDorneDoc;
class CDrawContext;
struct CSceneDrawOptions;

// What a label shows and where, in device pixels: its rectangle, its lines and cells, a
// picture or a table.
struct CLabelBox {
  CRect rect;
  std::vector<CLabelLine> lines;
  CLabelLayout layout;
  std::size_t hiddenLines = 0;  // the title block's measuring lines
  std::optional<CBitmapDesc> picture;
  bool pictureUnusable = false;  // a picture annotation whose file cannot be drawn
  std::int32_t sectionSide = 0;  // the square of a section label below its text
};

// The label of an annotation at its position (device pixels), in the style selected: kinds
// 0, 1, 2 and 9 centred on it, the title block with its bottom-right corner there, the
// others with their top-left corner there.
CLabelBox MeasureAnnotation(CDrawContext& dc, const CDorneDoc& document,
                            const CAnnotation& annotation, CPoint position, CSize margins,
                            const CSceneDrawOptions& options);

// The inside of the label: its texts, table, picture or section.
void DrawAnnotationContent(CDrawContext& dc, const CAnnotation& annotation, const CLabelBox& box,
                           CSize margins, const CSceneDrawOptions& options);
