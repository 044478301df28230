#include "geometry/view_rotation.h"

#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;

}  // namespace

CViewRotation::CViewRotation(int d0, int d1, int d2) {
  const double r0 = d0 * kDegreesToRadians;
  const double r1 = d1 * kDegreesToRadians;
  const double r2 = d2 * kDegreesToRadians;
  const double sa = std::sin(r0), ca = std::cos(r0);
  const double sb = std::sin(r1), cb = std::cos(r1);
  const double sc = std::sin(r2), cc = std::cos(r2);
  const double forward[3][3] = {
      {cb * cc, cb * sc, -sb},
      {sa * sb * cc - ca * sc, sa * sb * sc + ca * cc, sa * cb},
      {ca * sb * cc + sa * sc, ca * sb * sc - sa * cc, ca * cb},
  };
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) m_forward[r][c] = forward[r][c];
  }
}

const CViewRotation& CViewRotation::ForAngles(int d0, int d1, int d2) {
  // Never freed: boxes of any document, on any thread, may point to one.
  static std::mutex guard;
  static auto* made = new std::map<std::tuple<int, int, int>, std::unique_ptr<CViewRotation>>();
  const std::lock_guard lock(guard);
  std::unique_ptr<CViewRotation>& rotation = (*made)[{d0, d1, d2}];
  if (!rotation) rotation.reset(new CViewRotation(d0, d1, d2));
  return *rotation;
}
