#pragma once

#include "geometry/3d_point.h"

// The rotation of a view by three whole-degree angles: world points to (window x,
// window y, depth). There is one rotation for each set of angles, made when first asked
// and kept for the rest of the program, so that a box can keep a pointer to the rotation
// its projection came from instead of its eight projected corners, and work them out
// when asked with the very arithmetic that projected them. A view turned through every
// angle it can take would keep them all; a session keeps a few hundred at most.
class CViewRotation {
 public:
  // Angles in degrees, each 0..359 (the caller wraps them).
  static const CViewRotation& ForAngles(int d0, int d1, int d2);

  // The unrounded (window x, window y, depth) of a world point. Inline and written out
  // once: every projected corner, stored or worked out again, comes from here.
  C3DPoint Rotate(const C3DPoint& p) const { return {Row(0, p), Row(1, p), Row(2, p)}; }
  // Coordinate r (0..2, unchecked) of Rotate(p) alone.
  double Row(int r, const C3DPoint& p) const {
    return m_forward[r][0] * p.x + m_forward[r][1] * p.y + m_forward[r][2] * p.z;
  }
  // Row r, column c of the matrix (both 0..2, unchecked).
  double At(int r, int c) const { return m_forward[r][c]; }

 private:
  CViewRotation(int d0, int d1, int d2);

  double m_forward[3][3] = {};
};
