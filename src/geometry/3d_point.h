#pragma once

#include <cstdint>

class CArchiveReader;
class CArchiveWriter;

// The one point and vector type of the design model: a plain value of three doubles.
// Any double is accepted in memory; the stored form keeps whole numbers only.
class C3DPoint {
 public:
  C3DPoint() = default;
  constexpr C3DPoint(double px, double py, double pz) : x(px), y(py), z(pz) {}

  C3DPoint operator+(const C3DPoint& other) const;
  C3DPoint operator-(const C3DPoint& other) const;
  // Division by zero is not guarded: it gives infinities or not-a-number.
  C3DPoint operator*(double factor) const;
  C3DPoint operator/(double divisor) const;
  bool operator==(const C3DPoint& other) const = default;

  // The whole part of the Euclidean distance (truncated toward zero). A distance
  // beyond the 32-bit range gives INT32_MAX; a not-a-number distance gives 0.
  std::int32_t DistanceTo(const C3DPoint& other) const;

  // Stored form: x, y, z as little-endian signed 32-bit integers, each truncated toward
  // zero; values beyond the 32-bit range are clamped to it and not-a-number is stored
  // as 0. Loading throws CArchiveError when fewer than 12 bytes remain.
  void Serialize(CArchiveWriter& archive) const;
  void Serialize(CArchiveReader& archive);

  // The 32-bit integer that the stored form holds for one coordinate.
  static std::int32_t ToStoredInt(double value);

  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};
