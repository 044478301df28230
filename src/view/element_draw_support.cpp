#include "view/element_draw_support.h"

#include <charconv>
#include <typeinfo>

#include "geometry/3d_projection.h"
#include "model/element/dev.h"
#include "view/draw_context.h"

namespace element_draw {

std::array<CPoint, 4> FacePolygon(const CBox& box, int face, int start) {
  std::array<CPoint, 4> points{};
  for (int i = 0; i < 4; ++i)
    points[static_cast<std::size_t>(i)] =
        box.GetWindowCorner(CBox::GetFaceCorner(face, (start + i) % 4));
  return points;
}

std::array<C3DPoint, 4> FaceCorners(const CBox& box, int face, int start) {
  std::array<C3DPoint, 4> points{};
  for (int i = 0; i < 4; ++i)
    points[static_cast<std::size_t>(i)] = box.GetCorner(CBox::GetFaceCorner(face, (start + i) % 4));
  return points;
}

C3DPoint MidPoint(const C3DPoint& a, const C3DPoint& b) { return (a + b) * 0.5; }

C3DPoint FaceCentre(const CBox& box, int face) {
  return MidPoint(box.GetCorner(CBox::GetFaceCorner(face, 0)),
                  box.GetCorner(CBox::GetFaceCorner(face, 2)));
}

void FillProjected(CDrawContext& dc, const C3DProjection& projection,
                   std::span<const C3DPoint> points) {
  std::array<CPoint, 8> window{};
  const std::size_t count = std::min(points.size(), window.size());
  for (std::size_t i = 0; i < count; ++i) window[i] = projection.ProjectPoint(points[i]);
  dc.Polygon(std::span<const CPoint>(window.data(), count));
}

void LineProjected(CDrawContext& dc, const C3DProjection& projection, const C3DPoint& a,
                   const C3DPoint& b) {
  const CPoint from = projection.ProjectPoint(a);
  const CPoint to = projection.ProjectPoint(b);
  dc.MoveTo(from.x, from.y);
  dc.LineTo(to.x, to.y);
}

const CDev* OwningElement(const CBox& box) {
  const CBoxOwner* owner = box.GetOwner();
  if (owner == nullptr) return nullptr;
  // No class derives from CDev: its type alone tells, without the cast's walk over the
  // classes, which each box of a picture would pay several times.
  return typeid(*owner) == typeid(CDev) ? static_cast<const CDev*>(owner) : nullptr;
}

namespace {

int ReadInt(const std::string& stored, int fallback) {
  const std::string text(TrimBlanks(stored));
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr == text.data()) return fallback;
  return value;
}

}  // namespace

int RunPropertyInt(const CDev& element, const char* name, int fallback) {
  return ReadInt(element.GetRunProperty(name), fallback);
}

int FieldInt(const CDev& element, const char* name) {
  return ReadInt(element.GetFieldText(name).value_or(std::string()), 0);
}

int NeutralFace(const CBox& box, int turn) {
  const CDev* element = dynamic_cast<const CDev*>(box.GetOwner());
  if (element == nullptr) return -1;
  const int side = RunPropertyInt(*element, "COTE_NEUTRE", -1);
  if (side < 0 || side > 3) return -1;
  return box.MapSideToFace(side, turn);
}

}  // namespace element_draw
