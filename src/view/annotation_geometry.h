#pragma once

#include <array>
#include <optional>
#include <string>

#include "geometry/3d_point.h"

class C3DProjection;
class CAnnotation;
class CDev;
class CDimension;

// A dimension in the model: the two base points and the two ends of the dimension line,
// which runs through the label point parallel to the measured direction.
struct CDimensionLine {
  std::array<C3DPoint, 2> base;
  std::array<C3DPoint, 2> line;
};

// The measured direction: 0 the direct distance, 1 X, 2 Y, 3 Z (bits 6..7 of a user
// dimension's flags).
int DimensionMode(const CAnnotation& annotation);
CDimensionLine ComputeDimensionLine(const C3DPoint& first, const C3DPoint& second,
                                    const C3DPoint& label, int mode);

// The element a branch dimension runs to: walking back from the element (its costed
// length counted, then each element behind it), the first element of kind 0..8 met,
// with the summed length. None when the walk ends first (bounded by the run's size).
struct CBranchEnd {
  const CDev* element = nullptr;
  double length = 0;
};
std::optional<CBranchEnd> FindBranchEnd(const CDev& element);

// The base points of a dimension (kinds 0, 1 and 9); none when an end element or the box
// a user dimension measures from is missing (the dimension is then not drawn, and kept).
std::optional<std::array<C3DPoint, 2>> DimensionBasePoints(const CAnnotation& annotation);
// The label point in the model (kinds 0 and 1: relative to the owner element, kind 9: to
// the first base point).
C3DPoint AbsoluteLabelPoint(const CAnnotation& annotation, const C3DPoint& origin);
// The origin the label point is stored relative to; none when there is none.
std::optional<C3DPoint> LabelPointOrigin(const CAnnotation& annotation);

// The model vector, in the plane of the screen, that a drag of (dx, dy) logical units
// stands for.
C3DPoint LiftDrag(const C3DProjection& projection, const C3DPoint& at, double dx, double dy);

// The text shown: a user dimension's "<Length>" becomes its measured length (whole units,
// through the formatter, with the unit suffix when asked); every other text as it is.
std::string AnnotationDisplayText(const CAnnotation& annotation, const CDimension& units,
                                  bool withSuffix);
