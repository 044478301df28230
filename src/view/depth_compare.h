#pragma once

#include <cstdint>

class C3DProjection;
class CBox;

// Which of two listed boxes lies in front for the projection's view: positive when a
// does (b is painted first), negative when b does, 0 when they do not affect each other
// (only the sign counts). flagsA and flagsB are their display-node flags; two nodes of one
// box put the second node in front. Boxes whose window bounds do not overlap strictly, or
// of which one has a non-finite projection, never affect each other. Joints between
// boxes of one element or of neighbouring elements are decided by the faces the viewer
// sees; parts of one end element by their kind codes; everything else by where their
// visible edges cross on screen and by the depth under their face centres.
int CompareDepth(const C3DProjection& projection, const CBox& a, const CBox& b, std::uint32_t flagsA,
                 std::uint32_t flagsB);
