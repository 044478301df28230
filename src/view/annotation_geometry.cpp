#include "view/annotation_geometry.h"

#include <cmath>

#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "model/annotation/annotation_label.h"
#include "model/element/dev.h"
#include "model/props/dimension.h"
#include "model/run/run.h"

namespace {

constexpr std::string_view kLengthField = "<Length>";
constexpr int kLastMainKind = 8;
constexpr int kLastBoxSlot = 24;

double Dot(const C3DPoint& a, const C3DPoint& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

C3DPoint AxisPart(const C3DPoint& v, int mode) {
  switch (mode) {
    case 1: return {v.x, 0, 0};
    case 2: return {0, v.y, 0};
    case 3: return {0, 0, v.z};
    default: return v;
  }
}

// A user dimension's end: the stored point, or the corner or origin of the box it was
// taken from, where the element has that box now.
std::optional<C3DPoint> UserEnd(const CAnnotationLabel& label, int end) {
  const CDev* element = label.GetEnd(end);
  if (element == nullptr) return std::nullopt;
  const CAnnotationLabel::CDimensionCodes& codes = label.GetDimensionCodes();
  const int boxCode = end == 0 ? codes.firstBox : codes.secondBox;
  const int pointCode = end == 0 ? codes.firstPoint : codes.secondPoint;
  if (pointCode < 1 || pointCode > 9) return label.GetPoint(end);
  const int slot = boxCode > 16 ? boxCode - 1 : boxCode;
  const CBox* box =
      slot >= 0 && slot <= kLastBoxSlot && slot != 16 ? element->GetBox(slot) : nullptr;
  if (box == nullptr) return boxCode == 16 ? std::optional(label.GetPoint(end)) : std::nullopt;
  return pointCode == 9 ? box->GetOrigin() : box->GetCorner(pointCode - 1);
}

}  // namespace

int DimensionMode(const CAnnotation& annotation) {
  if (annotation.GetKind() != CAnnotation::kDistance) return 0;
  return static_cast<int>((annotation.GetFlags() >> 6) & 3u);
}

CDimensionLine ComputeDimensionLine(const C3DPoint& first, const C3DPoint& second,
                                    const C3DPoint& label, int mode) {
  const C3DPoint measured = AxisPart(second - first, mode);
  const double squared = Dot(measured, measured);
  C3DPoint across = label - first;
  if (squared > 0) across = across - measured * (Dot(across, measured) / squared);
  const C3DPoint start = first + across;
  return {{first, second}, {start, start + measured}};
}

std::optional<CBranchEnd> FindBranchEnd(const CDev& element) {
  const CRun* run = element.GetRun();
  const std::size_t bound = run != nullptr ? run->GetDevices().size() + 1 : 1;
  CBranchEnd end;
  const CDev* current = &element;
  for (std::size_t step = 0; current != nullptr && step <= bound; ++step) {
    if (step > 0 && current->GetKind() >= 0 && current->GetKind() <= kLastMainKind) {
      end.element = current;
      return end;
    }
    end.length += current->GetBookedLength();
    current = current->GetBackNeighbour();
  }
  return std::nullopt;
}

std::optional<std::array<C3DPoint, 2>> DimensionBasePoints(const CAnnotation& annotation) {
  const CDev* owner = annotation.GetOwnerElement();
  switch (annotation.GetKind()) {
    case CAnnotation::kBranch: {
      if (owner == nullptr) return std::nullopt;
      const std::optional<CBranchEnd> end = FindBranchEnd(*owner);
      if (!end) return std::nullopt;
      return std::array<C3DPoint, 2>{owner->GetPosition(), end->element->GetPosition()};
    }
    case CAnnotation::kDimension: {
      const CDev* back = owner != nullptr ? owner->GetBackNeighbour() : nullptr;
      if (back == nullptr) return std::nullopt;
      return std::array<C3DPoint, 2>{back->GetPosition(), owner->GetPosition()};
    }
    case CAnnotation::kDistance: {
      if (!annotation.IsLabel()) return std::nullopt;
      const auto& label = static_cast<const CAnnotationLabel&>(annotation);
      const std::optional<C3DPoint> first = UserEnd(label, 0);
      const std::optional<C3DPoint> second = UserEnd(label, 1);
      if (!first || !second) return std::nullopt;
      return std::array<C3DPoint, 2>{*first, *second};
    }
    default: return std::nullopt;
  }
}

std::optional<C3DPoint> LabelPointOrigin(const CAnnotation& annotation) {
  if (annotation.GetKind() == CAnnotation::kDistance) {
    const auto base = DimensionBasePoints(annotation);
    if (!base) return std::nullopt;
    return (*base)[0];
  }
  if (annotation.GetOwnerElement() == nullptr) return std::nullopt;
  return annotation.GetOwnerElement()->GetPosition();
}

C3DPoint AbsoluteLabelPoint(const CAnnotation& annotation, const C3DPoint& origin) {
  return origin + annotation.GetLabelPoint();
}

C3DPoint LiftDrag(const C3DProjection& projection, const C3DPoint& at, double dx, double dy) {
  const C3DPoint rotated = projection.Rotate(at);
  return projection.Unproject({rotated.x + dx, rotated.y + dy, rotated.z}) - at;
}

std::string AnnotationDisplayText(const CAnnotation& annotation, const CDimension& units,
                                  bool withSuffix) {
  std::string text = annotation.GetText();
  if (annotation.GetKind() != CAnnotation::kDistance) return text;
  const std::size_t at = text.find(kLengthField);
  if (at == std::string::npos) return text;
  const auto base = DimensionBasePoints(annotation);
  if (!base) return text;
  const C3DPoint measured = AxisPart((*base)[1] - (*base)[0], DimensionMode(annotation));
  const double length = std::trunc(std::sqrt(Dot(measured, measured)));
  CDimension formatter = units;
  formatter.SetSuffixFlag(withSuffix);
  text.replace(at, kLengthField.size(), formatter.FormatLength(length));
  return text;
}
