#include "view/annotation_edit.h"

#include "geometry/3d_projection.h"
#include "model/annotation/annotation_label.h"
#include "model/annotation/annotation_list.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "view/annotation_geometry.h"
#include "view/annotation_places.h"

bool SameSection(const CRun* a, const CRun* b) {
  return a != nullptr && b != nullptr && a->GetPropText("Catalog") == b->GetPropText("Catalog") &&
         a->GetPropText("Calibre") == b->GetPropText("Calibre");
}

namespace {

void AlignSections(CAnnotationList& list, const CAnnotation& moved) {
  for (std::size_t i = list.Size(); i-- > 0;) {
    CAnnotation* other = list.At(i);
    if (other == &moved || other->GetKind() != CAnnotation::kSection) continue;
    if (!SameSection(other->GetOwnerRun(), moved.GetOwnerRun())) continue;
    other->SetOffset(moved.GetOffset()[0], moved.GetOffset()[1]);
  }
}

bool IsDimension(int kind) {
  return kind == CAnnotation::kBranch || kind == CAnnotation::kDimension ||
         kind == CAnnotation::kDistance;
}

void DragDimension(const CDorneDoc& document, CAnnotation& a, std::int32_t dx, std::int32_t dy) {
  const std::optional<C3DPoint> origin = LabelPointOrigin(a);
  const auto base = DimensionBasePoints(a);
  if (!origin || !base) return;
  if (a.IsLabelPointUnset()) a.SetLabelPoint(((*base)[0] + (*base)[1]) * 0.5 - *origin);
  const C3DPoint at = AbsoluteLabelPoint(a, *origin);
  a.SetLabelPoint(a.GetLabelPoint() + LiftDrag(document.Projection(), at, dx, dy));
}

void CentreDimension(CAnnotation& a) {
  const std::optional<C3DPoint> origin = LabelPointOrigin(a);
  const auto base = DimensionBasePoints(a);
  if (!origin || !base) return;
  a.SetLabelPoint(((*base)[0] + (*base)[1]) * 0.5 - *origin);
}

}  // namespace

CAnnotation* HitTestAnnotations(const CAnnotationList& list, const CAnnotationPlaces& places,
                                CPoint device) {
  if (places.Count() == 0) return nullptr;
  for (std::size_t i = list.Size(); i-- > 0;) {
    CAnnotation* a = list.At(i);
    const CAnnotationPlaces::CPlace* place = places.Find(*a);
    if (place == nullptr) continue;
    const CRect& r = place->screen;
    if (device.x >= r.left && device.x < r.right && device.y >= r.top && device.y < r.bottom)
      return a;
  }
  return nullptr;
}

bool IsWorldAnchored(const CAnnotation& annotation) {
  return annotation.GetKind() <= CAnnotation::kPosition ||
         annotation.GetKind() == CAnnotation::kDistance ||
         (annotation.GetFlags() & CAnnotation::kFlagAttached) != 0;
}

void MoveAnnotation(CDorneDoc& document, CAnnotation& annotation, std::int32_t dx, std::int32_t dy,
                    EAnnotationMove how) {
  const int kind = annotation.GetKind();
  switch (how) {
    case EAnnotationMove::kDrag:
      annotation.SetOffset(annotation.GetOffset()[0] + dx, annotation.GetOffset()[1] + dy);
      if (IsDimension(kind)) DragDimension(document, annotation, dx, dy);
      if (kind == CAnnotation::kSection) AlignSections(document.Annotations(), annotation);
      break;
    case EAnnotationMove::kReset:
      if (!IsDimension(kind)) return;
      annotation.SetOffset(0, 0);
      CentreDimension(annotation);
      break;
    case EAnnotationMove::kRecompute:
      if (IsDimension(kind)) CentreDimension(annotation);
      break;
  }
  document.Annotations().Touch();
}

bool IsUserEditable(const CAnnotation& annotation) {
  const std::uint32_t flags = annotation.GetFlags();
  if ((flags & CAnnotation::kFlagAttached) != 0 && (flags & CAnnotation::kFlagUserAttached) == 0)
    return false;
  const int kind = annotation.GetKind();
  return annotation.IsLabel() && (kind == CAnnotation::kText || kind == CAnnotation::kImage ||
                                  kind == CAnnotation::kDistance);
}

bool ApplyEditResult(CDorneDoc& document, std::unique_ptr<CAnnotation> fresh, CAnnotation* existing,
                     int result) {
  CAnnotationList& list = document.Annotations();
  if (fresh) {
    if (result != kEditOk) return false;
    list.Append(std::move(fresh));
    return true;
  }
  if (existing == nullptr || !list.Contains(existing)) return false;
  if (result == kEditDelete) {
    list.Remove(existing);
    return true;
  }
  // The dialog may have linked the annotation to a run or put it on an element.
  if (result == kEditOk) list.RecountMentions();
  return result == kEditOk;
}
