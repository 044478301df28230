#include "shell/ui/ui_view_points.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPolygonF>

#include <algorithm>

#include "geometry/box.h"
#include "geometry/element_pick.h"
#include "model/document/dorne_doc.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "shell/ui/layout_doc_window.h"
#include "shell/ui/main_frame.h"
#include "view/draw_mapping.h"
#include "view/ui/dorne_view.h"

namespace {

const CBox* BoxOf(const CDorneDoc& document, const CRun* run, int elementIndex, int slot) {
  if (run == nullptr || elementIndex < 0 ||
      elementIndex >= static_cast<int>(run->GetDevices().size()))
    return nullptr;
  const CDev& element = *run->GetDevices()[static_cast<std::size_t>(elementIndex)];
  if (slot >= CDev::kSlotCount) return nullptr;
  return slot < 0 ? EquipmentBoxOf(document, element) : element.GetBox(slot);
}

}  // namespace

CLayoutDocWindow* ActiveLayout(CMainFrame& frame) {
  QMdiSubWindow* active = frame.MdiArea()->currentSubWindow();
  return active != nullptr ? dynamic_cast<CLayoutDocWindow*>(active->widget()) : nullptr;
}

const CBox* EquipmentBoxOf(const CDorneDoc& document, const CDev& element) {
  const CBox* found = nullptr;
  for (const CBox* box : document.GetExtraBoxes())
    if (box->GetOwner() == &element) found = box;
  return found;
}

std::optional<QPointF> BoxMiddle(CDorneView& view, const CRun* run, int elementIndex, int slot) {
  const CDorneDoc* document = view.Document();
  const CBox* box = document != nullptr ? BoxOf(*document, run, elementIndex, slot) : nullptr;
  if (box == nullptr) return std::nullopt;
  C3DPoint middle;
  for (int corner = 0; corner < CBox::kCornerCount; ++corner)
    middle = middle + box->GetCorner(corner) * (1.0 / CBox::kCornerCount);
  return ViewPoint(view, document->Projection().ProjectPoint(middle));
}

std::optional<QRectF> BoxRect(CDorneView& view, const CRun* run, int elementIndex, int slot) {
  const CDorneDoc* document = view.Document();
  const CBox* box = document != nullptr ? BoxOf(*document, run, elementIndex, slot) : nullptr;
  if (box == nullptr) return std::nullopt;
  // The corners' bounding rectangle: a union of empty rectangles would stay empty.
  QPolygonF corners;
  for (int corner = 0; corner < CBox::kCornerCount; ++corner)
    corners << ViewPoint(view, document->Projection().ProjectPoint(box->GetCorner(corner)));
  return corners.boundingRect();
}

std::vector<CPoint> PickableOutlets(const CDorneDoc& document, const CRun& run, int code,
                                    bool sameBox, bool front) {
  std::vector<CPoint> outlets;
  for (const CDev* joint : run.GetDevices()) {
    const int face = front ? joint->GetDirection() : joint->GetBackFace();
    const CBox* box = joint->GetKind() == CDev::kJoint ? joint->GetBox(face) : nullptr;
    for (int side = 10; box != nullptr && side <= 20; side += 10) {
      const int count = C3DPoint::ToStoredInt(joint->GetConnectionCode(*box, side, 0).x);
      for (int k = 0; k < std::min(count, 10); ++k) {
        const CPoint at = document.Projection().ProjectPoint(joint->GetConnectionCode(*box, k, 0));
        const CElementPick pick = HitTestElements(document.Projection(), at, code);
        const CDev* owner =
            pick.box != nullptr ? dynamic_cast<const CDev*>(pick.box->GetOwner()) : nullptr;
        // Where another run's outlet lies on top, the tool would take that one; a unit
        // moved keeps to outlets that the pick and the placement read from one box.
        const bool taken = sameBox || front ? pick.code == side + k && pick.box == box
                                            : pick.code >= 10 && pick.code <= 29 &&
                                                  owner != nullptr && owner->GetRun() == &run;
        if (pick.point && taken) outlets.push_back(at);
      }
    }
  }
  return outlets;
}

QPointF ViewPoint(CDorneView& view, CPoint scene) {
  CDrawMapping mapping;
  view.ViewWindow().ApplyTo(mapping, view.ClientSize());
  const CPoint device = mapping.ToDevice(scene);
  return QPointF(device.x, device.y);
}
