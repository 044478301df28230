#include "model/element/dev.h"
#include "ranges/qg/run_qg.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool HasFrontNeighbour(const CDev& element) {
  return element.GetNeighbour(element.GetDirection()) != nullptr;
}

// The envelope of a special shape: extents and the offset across it.
struct CEnvelope {
  int el = 0, ew = 0, eh = 0;
  double y = 0, z = 0;
};

struct CSixInputs {
  int sub, base, barWidth, thickness, n, w, h;
  bool defaultSpaced, mirror, reversed, front;
};

CEnvelope VariantSixEnvelope(const CSixInputs& in) {
  CEnvelope e{in.base, in.w + (in.defaultSpaced ? 50 : 80), in.h, in.defaultSpaced ? 25.0 : 40.0,
              0};
  if (in.sub == 2 || in.sub == 3) {
    e.ew = in.sub == 2 ? in.barWidth + in.w + 30 : (in.n - 2) * in.thickness + 36 * in.n + 44;
    e.y = in.sub == 2 ? (in.barWidth + 30) / 2.0 : 0;
    if (in.reversed) e.y = -e.y;
    e.eh = in.h + 50;
    e.z = in.front ? -25 : 25;
  }
  if (in.mirror) {
    e.y = -e.y;
    e.z = -e.z;
  }
  return e;
}

// Covers are offered up to this base width.
constexpr int kMaxCoveredWidth = 1200;

bool IsDefaultSpaced(const CDev& element) {
  const int variant = element.GetVariant();
  const int sub = CRunQG::SubVariant(element);
  return element.GetFieldText("ENTRAX").value_or("").empty() &&
         (variant == 5 || ((variant == 2 || variant == 6) && sub == 1));
}

}  // namespace

int CRunQG::ShapeBaseWidth(const CDev& element, const CConductorLayout& layout, int barWidth,
                           int thickness) const {
  const int variant = element.GetVariant();
  const int sub = variant == 5 ? 1 : SubVariant(element);
  const int base = layout.span + 100;
  if (sub >= 2 && !(variant == 6 && sub == 2)) return base + barWidth;
  return IsDefaultSpaced(element) ? base : base + thickness;
}

int CRunQG::ShapeEnvelope(const CDev& element, const CConductorLayout& layout, int barWidth,
                          int thickness, CElementGeometry& geometry) const {
  const CReferenceRow row = FindReference();
  const int variant = element.GetVariant();
  const int sub = variant == 5 ? 1 : SubVariant(element);
  const bool defaultSpaced = IsDefaultSpaced(element);
  const int base = ShapeBaseWidth(element, layout, barWidth, thickness);
  const int n = ConductorCount();
  const int w = row.Width(), h = row.Height();
  const bool front = HasFrontNeighbour(element);
  const int wideAcross = (n - 2) * thickness + 42 * n + 38;
  CEnvelope e{0, base, h, layout.shift, 0};
  if (variant == 2 && sub >= 3) {
    e = {0, wideAcross, base, 0, front ? -layout.shift : layout.shift};
  } else if (variant == 3 && sub <= 2) {
    e.el = sub == 1 ? barWidth + 85 : thickness + 100 + (n == 5 ? 40 : 0);
    e.eh = h + 50;
    e.z = (!front != layout.mirror) ? 25 : -25;
  } else if (variant == 3) {
    e = {std::min(thickness + h + 130, 480), wideAcross, base, 0,
         front ? layout.shift : -layout.shift};
    e.y = (e.ew - w) / 2.0 * (layout.mirror ? -1 : 1);
  } else if (variant == 6) {
    e = VariantSixEnvelope({sub, base, barWidth, thickness, n, w, h, defaultSpaced, layout.mirror,
                            layout.reversed, front});
  }
  if (defaultSpaced && (variant == 2 || variant == 5)) {
    const int grow = variant == 5 ? 120 : 80;
    e.ew += grow;
    e.eh += grow;
    if (variant == 5) e.el = e.eh <= 210 ? 400 : e.eh <= 250 ? 600 : e.eh <= 390 ? 800 : 900;
  } else {
    // Drawn in colour 0: the sign needs a length to ride on.
    e.el = -std::max(e.el, 1);
  }
  geometry.extents = {e.el, e.ew, e.eh};
  geometry.offset = C3DPoint(std::abs(e.el) / 2.0, e.y, e.z);
  return 0;
}

int CRunQG::ShapeSidePlates(const CDev& element, int index, int base, int thickness,
                            CElementGeometry& geometry) const {
  const int variant = element.GetVariant();
  const int sub = variant == 5 ? 1 : SubVariant(element);
  if ((variant != 2 && variant != 5) || sub < 1 || index > 24) return 0;
  if (index >= 23 && sub != 3) return 0;
  const CReferenceRow row = FindReference();
  const int n = ConductorCount();
  int length = 156;
  if (sub == 2) length = thickness + (n == 5 ? 125 : 85);
  if (sub >= 3) length = std::min(row.Height() + 100, 370);
  const double side = index % 2 == 1 ? 1 : -1;
  if (index <= 22) geometry.extents = {-length, 20, row.Height()};
  else geometry.extents = {-length, row.Width(), 20};
  geometry.offset = index <= 22 ? C3DPoint(length / 2.0, side * (base / 2.0 + 10), 0)
                                : C3DPoint(length / 2.0, 0, side * (base / 2.0 + 10));
  return 0;
}

// "CAPOT": a cover code (21 to 26) and six numbers: the overhangs across and the
// thickness of the upper cover, the lengthening, then the same for the lower cover.
int CRunQG::ShapeCover(const CDev& element, int index, const CConductorLayout& layout, int barWidth,
                       int thickness, CElementGeometry& geometry) const {
  std::vector<int> cover = ReadSlashNumbers(element.GetFieldText("CAPOT").value_or(""), 7);
  if (cover.size() < 7 || cover[0] < 21 || cover[0] > 26) return 0;
  if (cover[0] == 21) cover[1] = 0;
  if (cover[0] == 22) cover[1] = 90;
  if (cover[0] < 25) cover[6] = 0;
  CElementGeometry envelope;
  ShapeEnvelope(element, layout, barWidth, thickness, envelope);
  if (ShapeBaseWidth(element, layout, barWidth, thickness) > kMaxCoveredWidth) return 0;
  const bool upper = index == 8;
  const int across = envelope.extents[1] + (upper ? cover[1] : cover[4]);
  const int plate = std::max(upper ? cover[2] : cover[5], 1);
  const int length = std::max(std::abs(envelope.extents[0]) + (upper ? cover[3] : cover[6]), 1);
  const double z = (envelope.extents[2] + plate) / 2.0;
  geometry.extents = {length, across, plate};
  geometry.offset = C3DPoint(length / 2.0, envelope.offset.y, envelope.offset.z + (upper ? z : -z));
  return 3;
}
