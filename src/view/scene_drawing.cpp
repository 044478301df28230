#include "view/scene_drawing.h"

#include "geometry/box.h"
#include "geometry/display_list.h"
#include "model/document/dorne_doc.h"
#include "view/annotation_drawing.h"
#include "view/draw_context.h"
#include "view/element_draw_cache.h"
#include "view/element_drawing.h"
#include "view/listed_scene.h"

#include <algorithm>

std::vector<const CBox*> SceneBoxesToDraw(const CDrawContext& dc, const CDorneDoc& document,
                                          bool marksBeside) {
  return CListedScene(dc, document, marksBeside).Boxes();
}

void DrawSceneBoxes(CDrawContext& dc, const CDorneDoc& document, std::span<const CBox* const> boxes,
                    const CSceneDrawOptions& options, CElementDrawCache& cache,
                    bool leaveStaleMarks) {
  CElementDrawOptions elements = options.elements;
  elements.monochrome = options.monochrome;
  elements.dxfRecording = elements.dxfRecording || options.dxf;
  elements.supportDisplay = options.supportDisplay;
  dc.Save();
  // The boxes lie scattered over memory: each, and its element, is asked for a few boxes
  // before it is drawn rather than waited for.
  const int toolMode = document.GetToolMode();
  for (std::size_t at = 0; at < boxes.size(); ++at) {
    if (at + kBoxesFetchedAhead < boxes.size()) PrefetchBox(*boxes[at + kBoxesFetchedAhead]);
    if (at + kBoxesFetchedAhead / 2 < boxes.size())
      PrefetchOwner(*boxes[at + kBoxesFetchedAhead / 2]);
    DrawElementBox(dc, *boxes[at], toolMode, cache, elements, leaveStaleMarks);
  }
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
