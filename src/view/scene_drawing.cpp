#include "view/scene_drawing.h"

#include "geometry/box.h"
#include "geometry/display_list.h"
#include "model/dorne_doc.h"
#include "view/draw_context.h"

#include <algorithm>

namespace {

// Until the elements draw themselves: the faces of a box that look toward the viewer,
// filled and outlined, so that nearer boxes hide farther ones; a box without such a
// face (seen edge-on) shows its outline.
void DrawBoxOutline(CDrawContext& dc, const CBox& box) {
  if (!box.HasFiniteProjection()) return;
  std::array<CPoint, 4> face{};
  bool drawn = false;
  for (int f = 0; f < CBox::kFaceCount; ++f) {
    if ((box.GetFaceFlags(f) & CBox::kFaceVisible) == 0) continue;
    for (int k = 0; k < 4; ++k) face[static_cast<std::size_t>(k)] = box.GetWindowCorner(CBox::GetFaceCorner(f, k));
    dc.Polygon(face);
    drawn = true;
  }
  if (drawn) return;
  const CBrush old = dc.SelectBrush(CBrush::Null());
  for (int f = 0; f < CBox::kFaceCount; ++f) {
    for (int k = 0; k < 4; ++k) face[static_cast<std::size_t>(k)] = box.GetWindowCorner(CBox::GetFaceCorner(f, k));
    dc.Polygon(face);
  }
  dc.SelectBrush(old);
}

}  // namespace

void DrawScene(CDrawContext& dc, const CDorneDoc& document, const CSceneDrawOptions& options) {
  dc.Save();
  const CColor fill = options.monochrome ? CColor{255, 255, 255} : CColor{230, 236, 245};
  dc.SelectPen(CPen{PenStyle::Solid, 0, CColor{0, 0, 0}});
  dc.SelectBrush(CBrush::Solid(fill));
  const CDisplayList& list = document.Projection().GetDisplayList();
  for (const CDisplayNode* node = list.Head(); node != nullptr; node = node->next) {
    DrawBoxOutline(dc, *CDisplayList::PassBox(*node));
  }
  dc.Restore();
}

std::optional<CRect> GetSceneExtent(const CDorneDoc& document) {
  std::optional<CRect> extent;
  const CDisplayList& list = document.Projection().GetDisplayList();
  for (const CDisplayNode* node = list.Head(); node != nullptr; node = node->next) {
    if (!node->box->HasFiniteProjection()) continue;
    for (const CPoint& corner : node->box->GetWindowCorners()) {
      if (!extent) {
        extent = CRect{corner.x, corner.y, corner.x, corner.y};
        continue;
      }
      extent->left = std::min(extent->left, corner.x);
      extent->top = std::min(extent->top, corner.y);
      extent->right = std::max(extent->right, corner.x);
      extent->bottom = std::max(extent->bottom, corner.y);
    }
  }
  return extent;
}
