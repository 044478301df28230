#include "geometry/3d_point.h"

#include "platform/archive.h"

#include <cmath>
#include <limits>

C3DPoint C3DPoint::operator+(const C3DPoint& other) const {
  return {x + other.x, y + other.y, z + other.z};
}

C3DPoint C3DPoint::operator-(const C3DPoint& other) const {
  return {x - other.x, y - other.y, z - other.z};
}

C3DPoint C3DPoint::operator*(double factor) const { return {x * factor, y * factor, z * factor}; }

C3DPoint C3DPoint::operator/(double divisor) const {
  return {x / divisor, y / divisor, z / divisor};
}

std::int32_t C3DPoint::DistanceTo(const C3DPoint& other) const {
  const double dx = x - other.x;
  const double dy = y - other.y;
  const double dz = z - other.z;
  return ToStoredInt(std::sqrt(dx * dx + dy * dy + dz * dz));
}

std::int32_t C3DPoint::ToStoredInt(double value) {
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  // A value inside the range is truncated by the cast alone: std::trunc is a library call
  // on the processors the build aims at, and every box corner read from a file comes here.
  if (value > kMin && value < kMax) return static_cast<std::int32_t>(value);
  // A plain cast of a value outside the range is undefined behaviour, so clamp first.
  if (std::isnan(value)) return 0;
  const double whole = std::trunc(value);
  if (whole <= kMin) return std::numeric_limits<std::int32_t>::min();
  if (whole >= kMax) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(whole);
}

void C3DPoint::Serialize(CArchiveWriter& archive) const {
  // All three are converted before any is written.
  const std::int32_t sx = ToStoredInt(x);
  const std::int32_t sy = ToStoredInt(y);
  const std::int32_t sz = ToStoredInt(z);
  archive.WriteLong(sx);
  archive.WriteLong(sy);
  archive.WriteLong(sz);
}

void C3DPoint::Serialize(CArchiveReader& archive) {
  archive.Require(12, "point");
  x = archive.ReadLong();
  y = archive.ReadLong();
  z = archive.ReadLong();
}
