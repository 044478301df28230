#include "view/annotation_drawing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "model/annotation/annotation_label.h"
#include "model/annotation/annotation_list.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "view/annotation_geometry.h"
#include "view/annotation_label_box.h"
#include "view/annotation_places.h"
#include "view/annotation_style.h"
#include "view/draw_context.h"
#include "view/scene_drawing.h"

namespace {

constexpr double kEndOn = 0.99;
constexpr std::int64_t kScreenSpan = 2000;
constexpr std::uint32_t kFlagEllipse = 0x004;
constexpr int kMarkBoxShift = 28;
constexpr std::int32_t kOverhang = 8;  // pixels
constexpr CPen kGreyPen{PenStyle::Solid, 0, CColor{0xC0, 0xC0, 0xC0}};

double Dot(const C3DPoint& a, const C3DPoint& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

double UnitDot(const C3DPoint& a, const C3DPoint& b) {
  const double length = std::sqrt(Dot(a, a)) * std::sqrt(Dot(b, b));
  return length > 0 ? Dot(a, b) / length : 0;
}

bool RunShown(const CRun* run, const CDorneDoc& document) {
  return run != nullptr && run == document.GetCurrentRun();
}

bool AllRunsBuilt(const CDorneDoc& document) {
  for (const CRun* run : document.GetRuns())
    if (run->GetPartsState() == 0) return false;
  return true;
}

bool ShownInSingleRun(const CAnnotation& a, const CDorneDoc& document) {
  const CDev* element = a.GetOwnerElement();
  switch (a.GetKind()) {
    case CAnnotation::kBranch:
    case CAnnotation::kDimension:
    case CAnnotation::kPosition: return element != nullptr && RunShown(element->GetRun(), document);
    case CAnnotation::kBom:
      return RunShown(a.GetOwnerRun(), document) && a.GetOwnerRun()->GetPartsState() != 0;
    case CAnnotation::kRunInfo:
    case CAnnotation::kSection: return RunShown(a.GetOwnerRun(), document);
    case CAnnotation::kDistance: {
      if (!a.IsLabel()) return false;
      const auto& label = static_cast<const CAnnotationLabel&>(a);
      for (int end = 0; end < 2; ++end)
        if (label.GetEnd(end) == nullptr || !RunShown(label.GetEnd(end)->GetRun(), document))
          return false;
      return true;
    }
    default:
      return a.GetOwnerKind() != EAnnotationOwner::kElement ||
             (element != nullptr && RunShown(element->GetRun(), document));
  }
}

// Where a label goes: device pixels.
struct CPlacement {
  CPoint position;
  std::optional<CPoint> leaderFrom;
  std::optional<std::array<CPoint, 4>> dimension;  // base, line start, line end, base
};

class CAnnotationPainter {
 public:
  CAnnotationPainter(CDrawContext& dc, const CDorneDoc& document, const CSceneDrawOptions& options)
      : m_dc(dc), m_document(document), m_options(options), m_logical(dc.Mapping()) {
    m_dc.Save();
    m_dc.Mapping() = CDrawMapping();
  }
  ~CAnnotationPainter() { m_dc.Restore(); }
  CAnnotationPainter(const CAnnotationPainter&) = delete;
  CAnnotationPainter& operator=(const CAnnotationPainter&) = delete;

  void SelectKind(int kind, const CAnnotation* annotation) {
    const auto* label = annotation != nullptr && annotation->IsLabel()
                            ? static_cast<const CAnnotationLabel*>(annotation)
                            : nullptr;
    const CAnnotationStyle style = AnnotationStyleOf(kind, label, m_options.elements.labels);
    m_opaque = style.opaque;
    m_margins =
        SelectAnnotationStyle(m_dc, style, kind, m_options.monochrome, m_options.annotationScale);
  }

  std::optional<CLabelBox> Measure(const CAnnotation& a, CPlacement& place) {
    const std::optional<CPlacement> found = Place(a);
    if (!found) return std::nullopt;
    place = *found;
    return MeasureAnnotation(m_dc, m_document, a, place.position, m_margins, m_options, &m_known);
  }

  void Draw(CAnnotation& a, CAnnotationPlaces* places) {
    CPlacement place;
    const std::optional<CLabelBox> box = Measure(a, place);
    if (!box) return;
    const int kind = a.GetKind();
    const bool record = places != nullptr;
    if (record) Record(a, box->rect, place, *places);
    // On the screen a label with nothing inside the view costs only its measuring: it is
    // still recorded for where it would be. The title block's logo stands above its box.
    if (record && !m_options.dxf && kind != CAnnotation::kTitleBlock && !Reaches(place, box->rect))
      return;
    const bool lines = kind == CAnnotation::kBranch || kind == CAnnotation::kPosition ||
                       kind == CAnnotation::kDistance || place.leaderFrom.has_value();
    if (lines) DrawLines(place, box->rect, kind);
    if (m_opaque || kind == CAnnotation::kPosition) DrawFrame(a, box->rect);
    DrawAnnotationContent(m_dc, a, *box, m_margins, m_options);
  }

  void DrawFeedback(const CAnnotation& a, CPoint shift) {
    CPlacement place;
    std::optional<CLabelBox> box = Measure(a, place);
    if (!box) return;
    CRect& r = box->rect;
    r = {r.left + shift.x, r.top + shift.y, r.right + shift.x, r.bottom + shift.y};
    m_dc.SelectPen(kGreyPen);
    m_dc.SelectBrush(CBrush::Null());
    DrawFrame(a, r);
  }

 private:
  CPoint Device(const C3DPoint& point) const {
    return m_logical.ToDevice(m_document.Projection().ProjectPoint(point));
  }

  std::optional<CPlacement> Place(const CAnnotation& a) const {
    const int kind = a.GetKind();
    if (kind == CAnnotation::kBranch || kind == CAnnotation::kDimension ||
        kind == CAnnotation::kDistance)
      return PlaceDimension(a);
    const bool onElement = a.GetOwnerKind() == EAnnotationOwner::kElement;
    if (kind == CAnnotation::kPosition || onElement) return PlaceOnElement(a);
    return PlaceFree(a);
  }

  std::optional<CPlacement> PlaceFree(const CAnnotation& a) const {
    const CSize size = m_dc.DeviceSize();
    CPlacement place;
    place.position = {
        static_cast<std::int32_t>((size.cx - 1) * std::int64_t{a.GetOffset()[0]} / kScreenSpan),
        static_cast<std::int32_t>((size.cy - 1) * std::int64_t{a.GetOffset()[1]} / kScreenSpan)};
    return place;
  }

  std::optional<CPlacement> PlaceOnElement(const CAnnotation& a) const {
    const CDev* element = a.GetOwnerElement();
    if (element == nullptr) return std::nullopt;
    C3DPoint anchor = element->GetPosition();
    if (a.GetKind() == CAnnotation::kPosition) {
      const int kindOfElement = element->GetKind();
      if ((kindOfElement == 1 || kindOfElement >= 7) && SeenEndOn(*element)) return std::nullopt;
      const int boxNumber = static_cast<int>(a.GetFlags() >> kMarkBoxShift);
      const CBox* box = boxNumber != 0 ? element->GetBox(boxNumber) : nullptr;
      if (box != nullptr) anchor = box->GetOrigin();
    } else if (SeenEndOn(*element)) {
      return std::nullopt;
    }
    const CPoint logical = m_document.Projection().ProjectPoint(anchor);
    CPlacement place;
    place.leaderFrom = m_logical.ToDevice(logical);
    place.position =
        m_logical.ToDevice({logical.x + a.GetOffset()[0], logical.y + a.GetOffset()[1]});
    return place;
  }

  bool SeenEndOn(const CDev& element) const {
    const CBox* body = element.GetBox(CBoxOwner::kBodySlot);
    if (body == nullptr || element.GetDirection() < 0) return false;
    const double dot = UnitDot(body->GetFaceNormal(element.GetDirection()),
                               m_document.Projection().GetViewDirection());
    return std::fabs(dot) > kEndOn;
  }

  std::optional<CPlacement> PlaceDimension(const CAnnotation& a) const {
    const auto base = DimensionBasePoints(a);
    const std::optional<C3DPoint> origin = LabelPointOrigin(a);
    if (!base || !origin) return std::nullopt;
    const C3DPoint label =
        a.IsLabelPointUnset() ? ((*base)[0] + (*base)[1]) * 0.5 : AbsoluteLabelPoint(a, *origin);
    const CDimensionLine line =
        ComputeDimensionLine((*base)[0], (*base)[1], label, DimensionMode(a));
    const C3DPoint measured = line.line[1] - line.line[0];
    if (std::fabs(UnitDot(measured, m_document.Projection().GetViewDirection())) > kEndOn)
      return std::nullopt;
    CPlacement place;
    place.position = Device(label);
    place.dimension = std::array<CPoint, 4>{Device(line.base[0]), Device(line.line[0]),
                                            Device(line.line[1]), Device(line.base[1])};
    return place;
  }

  // Whether the label, its frame or its lines may leave a mark on the device (with room
  // for glyphs that overhang their cells).
  bool Reaches(const CPlacement& place, const CRect& rect) const {
    const std::int32_t slack = 2 * std::max(m_margins.cx, m_margins.cy) + kOverhang;
    CRect reach{rect.left - slack, rect.top - slack, rect.right + slack, rect.bottom + slack};
    const auto take = [&reach](CPoint p) {
      reach.left = std::min(reach.left, p.x);
      reach.top = std::min(reach.top, p.y);
      reach.right = std::max(reach.right, p.x);
      reach.bottom = std::max(reach.bottom, p.y);
    };
    take(place.position);
    if (place.leaderFrom) take(*place.leaderFrom);
    if (place.dimension)
      for (const CPoint& p : *place.dimension) take(p);
    const CSize device = m_dc.DeviceSize();
    return reach.right >= 0 && reach.bottom >= 0 && reach.left <= device.cx &&
           reach.top <= device.cy;
  }

  void DrawLines(const CPlacement& place, const CRect& rect, int kind) {
    m_dc.Save();
    if (!m_opaque) m_dc.ExcludeClipRect(rect.left, rect.top, rect.right, rect.bottom);
    if (place.dimension && kind != CAnnotation::kDimension) {
      const std::array<CPoint, 4>& d = *place.dimension;
      m_dc.MoveTo(d[0].x, d[0].y);
      for (std::size_t i = 1; i < d.size(); ++i) m_dc.LineTo(d[i].x, d[i].y);
      ConnectLabel(place.position, d[1], d[2]);
    } else if (place.leaderFrom) {
      m_dc.MoveTo(place.leaderFrom->x, place.leaderFrom->y);
      m_dc.LineTo(place.position.x, place.position.y);
    }
    m_dc.Restore();
  }

  // A label moved off its dimension line is joined to the line's nearest point.
  void ConnectLabel(CPoint label, CPoint from, CPoint to) {
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double squared = dx * dx + dy * dy;
    double t = squared > 0 ? ((label.x - from.x) * dx + (label.y - from.y) * dy) / squared : 0;
    t = std::clamp(t, 0.0, 1.0);
    const CPoint nearest{static_cast<std::int32_t>(from.x + t * dx),
                         static_cast<std::int32_t>(from.y + t * dy)};
    if (std::max(std::abs(nearest.x - label.x), std::abs(nearest.y - label.y)) <= 1) return;
    m_dc.MoveTo(label.x, label.y);
    m_dc.LineTo(nearest.x, nearest.y);
  }

  void DrawFrame(const CAnnotation& a, const CRect& r) {
    if ((a.GetFlags() & kFlagEllipse) != 0) {
      m_dc.Ellipse(r.left - m_margins.cx, r.top - m_margins.cy, r.right + m_margins.cx,
                   r.bottom + m_margins.cy);
    } else {
      m_dc.Rectangle(r.left, r.top, r.right, r.bottom);
    }
  }

  void Record(CAnnotation& a, const CRect& r, const CPlacement& place, CAnnotationPlaces& places) {
    CRect grown = r;
    if (place.dimension &&
        (a.GetKind() == CAnnotation::kBranch || a.GetKind() == CAnnotation::kDistance)) {
      for (const CPoint& p : *place.dimension) {
        grown.left = std::min(grown.left, p.x);
        grown.top = std::min(grown.top, p.y);
        grown.right = std::max(grown.right, p.x);
        grown.bottom = std::max(grown.bottom, p.y);
      }
    }
    const CPoint a0 = m_logical.ToLogical({grown.left, grown.top});
    const CPoint a1 = m_logical.ToLogical({grown.right, grown.bottom});
    places.Record(a, r, {a0.x, a0.y, a1.x, a1.y});
    // The flags word is stored with the design as it always was: it keeps the drawn bit
    // of the last screen pass, which no longer says where any view shows the label.
    a.SetFlags(a.GetFlags() | CAnnotation::kFlagDrawn);
  }

  CDrawContext& m_dc;
  const CDorneDoc& m_document;
  const CSceneDrawOptions& m_options;
  CDrawMapping m_logical;
  CSize m_margins{1, 1};
  bool m_opaque = false;
  CLabelTextExtents m_known;
};

}  // namespace

bool AnnotationShown(const CAnnotation& annotation, const CDorneDoc& document) {
  const bool single = document.IsCurrentRunOnly();
  // A text made while no run was shown has no run to be shown with: it shows always.
  if ((annotation.GetFlags() & CAnnotation::kFlagWithRun) != 0 &&
      annotation.GetLinkedRun() != nullptr)
    return single && RunShown(annotation.GetLinkedRun(), document) &&
           ShownInSingleRun(annotation, document);
  if (single) return ShownInSingleRun(annotation, document);
  if (annotation.GetKind() != CAnnotation::kBom) return true;
  return annotation.GetOwnerKind() == EAnnotationOwner::kTotalsPage && AllRunsBuilt(document);
}

void DrawAnnotationLayers(CDrawContext& dc, const CDorneDoc& document,
                          const CSceneDrawOptions& options) {
  const CAnnotationList& list = document.Annotations();
  CAnnotationPlaces* places = options.annotationPlaces;
  if (places != nullptr) {
    places->Clear();
    for (std::size_t i = 0; i < list.Size(); ++i) {
      CAnnotation* a = list.At(i);
      a->SetFlags(a->GetFlags() & ~CAnnotation::kFlagDrawn);
    }
  }
  CAnnotationPainter painter(dc, document, options);
  for (int kind = 0; kind < CAnnotation::kKindCount; ++kind) {
    if (!options.layers[static_cast<std::size_t>(kind)]) continue;
    painter.SelectKind(kind, nullptr);
    for (std::size_t i = list.Size(); i-- > 0;) {
      CAnnotation* a = list.At(i);
      if (a->GetKind() != kind || !AnnotationShown(*a, document)) continue;
      if (kind == CAnnotation::kText || kind == CAnnotation::kDistance) painter.SelectKind(kind, a);
      painter.Draw(*a, places);
    }
  }
}

void DrawAnnotationFeedback(CDrawContext& dc, const CDorneDoc& document,
                            const CAnnotation& annotation, const CSceneDrawOptions& options,
                            EAnnotationFeedback feedback, CPoint shift) {
  CAnnotationPainter painter(dc, document, options);
  painter.SelectKind(annotation.GetKind(), &annotation);
  painter.DrawFeedback(annotation, feedback == EAnnotationFeedback::kDrag ? shift : CPoint{});
}

std::optional<CRect> AnnotationLabelRect(CDrawContext& dc, const CDorneDoc& document,
                                         const CAnnotation& annotation,
                                         const CSceneDrawOptions& options) {
  CAnnotationPainter painter(dc, document, options);
  painter.SelectKind(annotation.GetKind(), &annotation);
  CPlacement place;
  const std::optional<CLabelBox> box = painter.Measure(annotation, place);
  if (!box) return std::nullopt;
  return box->rect;
}
