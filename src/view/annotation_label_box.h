#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "grid/bitmap_desc.h"
#include "platform/draw_types.h"
#include "platform/log_font.h"
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

// The texts a drawing pass measured in the font selected, by text: the labels of a layout
// repeat their few texts (lengths, item numbers) many times over. Measures through the
// context, so one set serves one context (one measurer and mapping) only.
class CLabelTextExtents {
 public:
  CSize Of(const CDrawContext& dc, std::string_view text);

 private:
  std::optional<CLogFont> m_font;  // the font of the texts known
  std::unordered_map<std::string, CSize> m_known;
  std::string m_key;
};

// The label of an annotation at its position (device pixels), in the style selected: kinds
// 0, 1, 2 and 9 centred on it, the title block with its bottom-right corner there, the
// others with their top-left corner there. Texts are measured through the known extents
// when given.
CLabelBox MeasureAnnotation(CDrawContext& dc, const CDorneDoc& document,
                            const CAnnotation& annotation, CPoint position, CSize margins,
                            const CSceneDrawOptions& options, CLabelTextExtents* known = nullptr);

// The inside of the label: its texts, table, picture or section.
void DrawAnnotationContent(CDrawContext& dc, const CAnnotation& annotation, const CLabelBox& box,
                           CSize margins, const CSceneDrawOptions& options);
