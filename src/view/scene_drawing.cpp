#include "view/scene_drawing.h"

#include "geometry/box.h"
#include "geometry/display_list.h"
#include "geometry/stable_key_sort.h"
#include "model/document/dorne_doc.h"
#include "view/annotation_drawing.h"
#include "view/draw_context.h"
#include "view/element_draw_cache.h"
#include "view/element_drawing.h"

#include <algorithm>

namespace {

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

CLogicalBounds MarkableBounds(const CDrawContext& dc, bool marksBeside) {
  const CSize size = dc.DeviceSize();
  // A box drawn without marks beside it keeps within its projected corners, each rounded to
  // a logical unit; a pixel or so more on every side covers the rounding to the device.
  const CSize margin = marksBeside ? size : CSize{2, 2};
  const CPoint a = dc.ToLogical({-margin.cx, -margin.cy});
  const CPoint b = dc.ToLogical({size.cx + margin.cx, size.cy + margin.cy});
  const double unit = marksBeside ? 0.0 : 1.0;
  return {double(std::min(a.x, b.x)) - unit, double(std::min(a.y, b.y)) - unit,
          double(std::max(a.x, b.x)) + unit, double(std::max(a.y, b.y)) + unit};
}

}  // namespace

std::vector<const CBox*> SceneBoxesToDraw(const CDrawContext& dc, const CDorneDoc& document,
                                          bool marksBeside) {
  const CLogicalBounds bounds = MarkableBounds(dc, marksBeside);
  const CDisplayList& list = document.Projection().GetDisplayList();
  std::vector<const CBox*> boxes;
  boxes.reserve(list.Size());
  for (const CDisplayNode* node = list.Head(); node != nullptr; node = node->next) {
    if (!node->box->HasFiniteProjection() || !bounds.Meets(*node->box)) continue;
    boxes.push_back(CDisplayList::PassBox(*node));
  }
  // A list left unordered by a turn of the view is painted by the boxes' depth instead.
  if (list.Unordered()) {
    std::vector<std::pair<double, const CBox*>> byDepth;
    byDepth.reserve(boxes.size());
    for (const CBox* box : boxes)
      byDepth.emplace_back(box->GetProjectedMin().z + box->GetProjectedMax().z, box);
    SortStablyByKey(byDepth);
    for (std::size_t i = 0; i < boxes.size(); ++i) boxes[i] = byDepth[i].second;
  }
  return boxes;
}

void DrawSceneBoxes(CDrawContext& dc, const CDorneDoc& document, std::span<const CBox* const> boxes,
                    const CSceneDrawOptions& options, CElementDrawCache& cache) {
  CElementDrawOptions elements = options.elements;
  elements.monochrome = options.monochrome;
  elements.dxfRecording = elements.dxfRecording || options.dxf;
  elements.supportDisplay = options.supportDisplay;
  dc.Save();
  for (const CBox* box : boxes) DrawElementBox(dc, *box, document.GetToolMode(), cache, elements);
  dc.Restore();
}

void DrawSceneAnnotations(CDrawContext& dc, const CDorneDoc& document,
                          const CSceneDrawOptions& options) {
  DrawAnnotationLayers(dc, document, options);
}

void DrawScene(CDrawContext& dc, const CDorneDoc& document, const CSceneDrawOptions& options) {
  CElementDrawCache paintOnly;
  CElementDrawCache& cache = options.cache != nullptr ? *options.cache : paintOnly;
  DrawSceneBoxes(dc, document, SceneBoxesToDraw(dc, document, !options.elements.light), options,
                 cache);
  DrawSceneAnnotations(dc, document, options);
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
