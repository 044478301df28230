#include "view/scene_drawing.h"

#include "geometry/box.h"
#include "geometry/display_list.h"
#include "model/dorne_doc.h"
#include "view/draw_context.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <span>
#include <utility>

namespace {

// The faces that look toward the viewer, filled; or, when none does (a box seen edge-on),
// every face outlined.
void DrawFaces(CDrawContext& dc, const CBox& box) {
  bool anyVisible = false;
  for (int f = 0; f < CBox::kFaceCount; ++f)
    anyVisible |= (box.GetFaceFlags(f) & CBox::kFaceVisible) != 0;
  const CBrush old = anyVisible ? dc.Brush() : dc.SelectBrush(CBrush::Null());
  std::array<CPoint, 4> face{};
  for (int f = 0; f < CBox::kFaceCount; ++f) {
    if (anyVisible && (box.GetFaceFlags(f) & CBox::kFaceVisible) == 0) continue;
    for (int k = 0; k < 4; ++k)
      face[static_cast<std::size_t>(k)] = box.GetWindowCorner(CBox::GetFaceCorner(f, k));
    dc.Polygon(face);
  }
  dc.SelectBrush(old);
}

// Until the elements draw themselves: the box's silhouette (the faces that look toward
// the viewer, filled in one figure, so that nearer boxes hide farther ones) and the edges
// between those faces.
void DrawBoxOutline(CDrawContext& dc, const CBox& box) {
  if (!box.HasFiniteProjection()) return;
  // Each face lists its corners in one turning sense, so an edge shared by two visible
  // faces appears once each way; the edges that appear once bound the silhouette.
  std::array<std::uint8_t, CBox::kCornerCount> edges{};  // bit t of edges[c]: the edge c -> t
  std::array<std::pair<int, int>, 12> inner{};
  std::size_t innerCount = 0;
  for (int f = 0; f < CBox::kFaceCount; ++f) {
    if ((box.GetFaceFlags(f) & CBox::kFaceVisible) == 0) continue;
    for (int k = 0; k < 4; ++k) {
      const auto from = static_cast<std::size_t>(CBox::GetFaceCorner(f, k));
      const auto to = static_cast<std::size_t>(CBox::GetFaceCorner(f, (k + 1) % 4));
      if (edges[to] & (1u << from)) {
        edges[to] = static_cast<std::uint8_t>(edges[to] & ~(1u << from));
        if (innerCount < inner.size()) inner[innerCount++] = {int(from), int(to)};
      } else {
        edges[from] = static_cast<std::uint8_t>(edges[from] | (1u << to));
      }
    }
  }
  std::array<int, CBox::kCornerCount> next;
  next.fill(-1);
  int start = -1;
  for (std::size_t corner = 0; corner < edges.size(); ++corner) {
    if (edges[corner] == 0) continue;
    // A corner with two ways out is no convex silhouette: draw the faces as they are.
    if ((edges[corner] & (edges[corner] - 1)) != 0) start = -2;
    if (start == -2) break;
    next[corner] = std::countr_zero(static_cast<unsigned>(edges[corner]));
    start = static_cast<int>(corner);
  }
  std::array<CPoint, CBox::kCornerCount + 1> outline{};
  std::size_t count = 0;
  bool closed = false;
  for (int corner = start; corner >= 0 && count < outline.size();) {
    outline[count++] = box.GetWindowCorner(corner);
    corner = next[static_cast<std::size_t>(corner)];
    closed = corner == start;
    if (closed) break;
  }
  if (!closed || count < 3) {
    DrawFaces(dc, box);
    return;
  }
  dc.Polygon(std::span<const CPoint>(outline.data(), count));
  for (std::size_t i = 0; i < innerCount; ++i) {
    const CPoint from = box.GetWindowCorner(inner[i].first);
    const CPoint to = box.GetWindowCorner(inner[i].second);
    dc.MoveTo(from.x, from.y);
    dc.LineTo(to.x, to.y);
  }
}

// The logical rectangle within which a box may leave a mark on the target: the target
// widened by its own size on every side, since an element draws its labels and symbols
// beside its boxes.
struct CLogicalBounds {
  double left, top, right, bottom;
  bool Meets(const CBox& box) const {
    const C3DPoint& low = box.GetProjectedMin();
    const C3DPoint& high = box.GetProjectedMax();
    return high.x >= left && low.x <= right && high.y >= top && low.y <= bottom;
  }
};

CLogicalBounds MarkableBounds(const CDrawContext& dc) {
  const CSize size = dc.DeviceSize();
  const CPoint a = dc.ToLogical({-size.cx, -size.cy});
  const CPoint b = dc.ToLogical({2 * size.cx, 2 * size.cy});
  return {double(std::min(a.x, b.x)), double(std::min(a.y, b.y)), double(std::max(a.x, b.x)),
          double(std::max(a.y, b.y))};
}

}  // namespace

void DrawScene(CDrawContext& dc, const CDorneDoc& document, const CSceneDrawOptions& options) {
  dc.Save();
  const CColor fill = options.monochrome ? CColor{255, 255, 255} : CColor{230, 236, 245};
  dc.SelectPen(CPen{PenStyle::Solid, 0, CColor{0, 0, 0}});
  dc.SelectBrush(CBrush::Solid(fill));
  const CLogicalBounds bounds = MarkableBounds(dc);
  const CDisplayList& list = document.Projection().GetDisplayList();
  for (const CDisplayNode* node = list.Head(); node != nullptr; node = node->next) {
    if (!bounds.Meets(*node->box)) continue;
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
