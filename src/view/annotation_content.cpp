#include "view/annotation_label_box.h"

#include "model/annotation/annotation.h"
#include "platform/folders.h"
#include "view/annotation_icons.h"
#include "view/annotation_section.h"
#include "view/draw_context.h"
#include "view/scene_drawing.h"

namespace {

// Icons stand 2 pixels right of and below their cell's corner.
constexpr std::int32_t kIconInset = 2;

CBusbarSectionDrawer& SectionDrawerSlot() {
  static CBusbarSectionDrawer drawer;
  return drawer;
}

unsigned CellFormat(const CAnnotation& annotation, std::size_t column) {
  unsigned align = text_format::kCenter;
  if (annotation.GetKind() == CAnnotation::kBom) {
    align = column == 1 ? text_format::kRight : text_format::kLeft;
  } else if ((annotation.GetFlags() & 0x010u) != 0) {
    align = text_format::kLeft;
  } else if ((annotation.GetFlags() & 0x020u) != 0) {
    align = text_format::kRight;
  }
  return align | text_format::kSingleLine | text_format::kVerticalCenter | text_format::kNoClip;
}

void Outline(CDrawContext& dc, const CRect& rect) {
  const CBrush old = dc.SelectBrush(CBrush::Null());
  dc.Rectangle(rect.left, rect.top, rect.right, rect.bottom);
  dc.SelectBrush(old);
}

// Grid lines of tables and the title block: under the header or between lines, and
// between the columns.
void DrawRules(CDrawContext& dc, const CLabelBox& box, std::int32_t top, bool everyLine) {
  const CRect& r = box.rect;
  std::int32_t y = top;
  for (std::size_t i = box.hiddenLines; i + 1 < box.layout.lineHeights.size(); ++i) {
    y += box.layout.lineHeights[i];
    if (!everyLine && i > box.hiddenLines) break;
    dc.MoveTo(r.left, y);
    dc.LineTo(r.right, y);
  }
  std::int32_t x = r.left;
  for (std::size_t c = 0; c + 1 < box.layout.columns.size(); ++c) {
    x += box.layout.columns[c];
    if (box.layout.columns[c + 1] == 0) break;
    dc.MoveTo(x, r.top);
    dc.LineTo(x, r.bottom);
  }
}

// Icons are pictures: a DXF file carries none.
void DrawIcon(CDrawContext& dc, const CLabelCell& cell, CPoint topLeft, bool dxf) {
  const CBitmapDesc* icon = dxf ? nullptr : AnnotationIcon(cell.icon);
  if (icon == nullptr) return;
  dc.DrawBitmap({topLeft.x + kIconInset, topLeft.y + kIconInset,
                 topLeft.x + kIconInset + icon->width, topLeft.y + kIconInset + icon->height},
                *icon);
}

std::int32_t DrawLines(CDrawContext& dc, const CAnnotation& annotation, const CLabelBox& box,
                       CPoint origin, CSize margins, bool dxf) {
  std::int32_t y = origin.y;
  for (std::size_t i = box.hiddenLines; i < box.lines.size(); ++i) {
    const std::int32_t height = box.layout.lineHeights[i];
    std::int32_t x = origin.x;
    for (std::size_t c = 0; c < box.lines[i].size(); ++c) {
      const std::int32_t width = box.layout.columns[c];
      const CLabelCell& cell = box.lines[i][c];
      if (cell.icon != 0) DrawIcon(dc, cell, {x, y}, dxf);
      if (cell.icon == 0 && !cell.text.empty()) {
        const bool single = box.lines[i].size() == 1;
        const std::int32_t right = single ? box.rect.right - margins.cx : x + width - margins.cx;
        dc.DrawText(cell.text, CRect{x + margins.cx, y, right, y + height},
                    CellFormat(annotation, c));
      }
      x += width;
    }
    y += height;
  }
  return y;
}

// The logo stands on the title block, three of its lines high, at its right edge (on
// the lines it would hide the project's name).
void DrawLogo(CDrawContext& dc, const CLabelBox& box) {
  if (box.layout.lineHeights.size() <= box.hiddenLines) return;
  const std::optional<CBitmapDesc> logo = TitleBlockLogo(tvr::platform::ProgramFolder());
  if (!logo || logo->height <= 0) return;
  const std::int32_t height = 3 * box.layout.lineHeights[box.hiddenLines];
  const auto width = static_cast<std::int32_t>(std::int64_t{height} * logo->width / logo->height);
  dc.DrawBitmap({box.rect.right - width, box.rect.top - height, box.rect.right, box.rect.top},
                *logo);
}

void DrawSection(CDrawContext& dc, const CAnnotation& annotation, const CLabelBox& box,
                 std::int32_t top, CSize margins) {
  const CBusbarSectionDrawer& drawer = BusbarSectionDrawer();
  if (!drawer) return;
  const CRect square{box.rect.left + 4 * margins.cx, top + margins.cy, box.rect.right - margins.cx,
                     box.rect.bottom - 3 * margins.cy};
  drawer(dc, annotation, square, margins);
}

void DrawPicture(CDrawContext& dc, const CAnnotation& annotation, const CLabelBox& box,
                 CSize margins, const CSceneDrawOptions& options) {
  if (box.picture) {
    if (!options.dxf)
      dc.DrawBitmap({box.rect.left + 1, box.rect.top + 1, box.rect.right - 1, box.rect.bottom - 1},
                    *box.picture);
    return;
  }
  // A picture that cannot be drawn keeps its place: a frame with the file's name.
  Outline(dc, box.rect);
  DrawLines(dc, annotation, box, {box.rect.left, box.rect.top}, margins, options.dxf);
}

}  // namespace

void SetBusbarSectionDrawer(CBusbarSectionDrawer drawer) {
  SectionDrawerSlot() = std::move(drawer);
}

const CBusbarSectionDrawer& BusbarSectionDrawer() { return SectionDrawerSlot(); }

void DrawAnnotationContent(CDrawContext& dc, const CAnnotation& annotation, const CLabelBox& box,
                           CSize margins, const CSceneDrawOptions& options) {
  const int kind = annotation.GetKind();
  if (kind == CAnnotation::kImage) return DrawPicture(dc, annotation, box, margins, options);
  const bool opaque = dc.Brush().IsFilled();
  const bool outlined = kind == CAnnotation::kRunInfo || kind == CAnnotation::kSection ||
                        kind == CAnnotation::kTitleBlock || kind == CAnnotation::kBom;
  if (outlined && !opaque) Outline(dc, box.rect);
  CPoint origin{box.rect.left, box.rect.top};
  if (kind == CAnnotation::kRunInfo) {
    const CRect& r = box.rect;
    Outline(dc,
            {r.left + margins.cx, r.top + margins.cy, r.right - margins.cx, r.bottom - margins.cy});
    origin = {r.left + 2 * margins.cx, r.top + 2 * margins.cy};
  }
  const std::int32_t bottom = DrawLines(dc, annotation, box, origin, margins, options.dxf);
  if (kind == CAnnotation::kBom) DrawRules(dc, box, box.rect.top, false);
  if (kind == CAnnotation::kTitleBlock) {
    DrawRules(dc, box, box.rect.top, true);
    if (!options.dxf) DrawLogo(dc, box);
  }
  if (kind == CAnnotation::kSection) DrawSection(dc, annotation, box, bottom, margins);
}
