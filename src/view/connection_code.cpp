#include "view/connection_code.h"

#include <algorithm>

#include "geometry/3d_projection.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "view/element_draw_support.h"
#include "view/outlet_drawing.h"

using namespace element_draw;

namespace {

bool FacesViewer(const CBox& box, int face) {
  return (box.GetFaceFlags(face) & CBox::kFaceVisible) != 0;
}

int Layout(const CDev& e) { return static_cast<int>((e.GetStyle() >> 8) & 0xF); }

// The element whose outlets the joint's box shows: the neighbour on the direction for
// the box on that face, else the joint itself.
const CDev* OutletReference(const CDev& e, const CBox& box) {
  const int direction = e.GetDirection();
  if (direction >= 0 && e.GetBox(direction) == &box) return e.GetNeighbour(direction);
  return &e;
}

}  // namespace

bool CConnectionCodes::ComputeOutlets(const CBox& box, int face, int side) {
  const CDev* e = dynamic_cast<const CDev*>(box.GetOwner());
  const COutletChain chain = FindOutletChain(box);
  if (e == nullptr || chain.joint == nullptr || chain.reference == nullptr) return false;
  COutletQuery query = MakeOutletQuery(chain, side);
  query.computeOnly = true;
  const COutletLayout layout = ComputeOutletLayout(query);
  if (layout.positions.empty()) return false;
  const CDev& r = *chain.reference;
  const C3DPoint nd = box.GetFaceNormal(CBoxOwner::OppositeDirection(e->GetDirection()));
  const C3DPoint across = CrossProduct(nd, box.GetFaceNormal(face));
  const C3DPoint along = m_selected == 0 ? nd * DrawnPerBooked(r) : nd;
  C3DPoint base = r.GetPosition();
  if (m_selected != -2) {
    base = base + (FaceCentre(box, face) - box.GetOrigin());
    if (layout.code == 16 && query.catalog != "QJF") {
      const int shift = 36 * (query.calibre / 10) - 36;
      base = base + across * static_cast<double>(side == 0 ? -shift : shift);
    }
  }
  const std::size_t count = std::min<std::size_t>(layout.positions.size(), kPointCount);
  for (std::size_t i = 0; i < count; ++i) {
    const double p = static_cast<double>(layout.positions[i]) - chain.before;
    m_points[i] = base + along * p;
  }
  m_selected = layout.code * 256 + static_cast<std::int32_t>(count);
  return true;
}

C3DPoint CConnectionCodes::Get(const CBox& box, int point, int mode) {
  if (point >= 0 && point < kPointCount) return m_points[static_cast<std::size_t>(point)];
  m_selected = -mode;
  const CDev* e = dynamic_cast<const CDev*>(box.GetOwner());
  int side = -1;
  int face = -1;
  int layout = 0;
  const CDev* r = nullptr;
  const bool joint = e != nullptr && e->GetRun() != nullptr && e->GetRun()->GetPartsState() != 0 &&
                     e->GetBox(CBoxOwner::kBodySlot) != &box && e->GetKind() == CDev::kJoint;
  if (joint) r = OutletReference(*e, box);
  const int neutral = r != nullptr ? RunPropertyInt(*r, "COTE_NEUTRE", -1) : -1;
  if (r != nullptr && (Layout(*r) != 0 || r->GetRunProperty("Catalog") == "QJF") && neutral >= 0 &&
      neutral <= 3) {
    layout = Layout(*r);
    const int g = box.MapSideToFace(neutral, layout != 0 ? 1 : 0);
    const int opposite = CBoxOwner::OppositeDirection(g);
    const bool near =
        (point >= 10 && point <= 19) || ((point < 10 || point > 29) && FacesViewer(box, g));
    const bool far =
        (point >= 20 && point <= 29) ||
        ((point < 10 || point > 29) && !FacesViewer(box, g) && FacesViewer(box, opposite));
    if (g >= 0 && (near || far)) {
      face = near ? g : opposite;
      side = near ? 0 : 1;
      ComputeOutlets(box, face, side);
    }
  }
  const std::int32_t selected = std::max(m_selected, 0);
  C3DPoint code(selected & 0xFF, ((selected >> 8) & 0xFF) * 256 + side, 0);
  if (face < 0) return code;
  const std::string range = r->GetRunProperty("Catalog").substr(0, 2);
  const bool endSide = range == "QM" || range == "QP" || range == "Qp" || range == "QD";
  int direction = e->GetDirection();
  if (side != (endSide ? 1 : 0)) direction = CBoxOwner::OppositeDirection(direction);
  int neutralFace = box.MapSideToFace(neutral, layout == 0 ? 1 : 0);
  if (layout == 0 && ((r->GetStyle() >> 12) & 1) != 0)
    neutralFace = CBoxOwner::OppositeDirection(neutralFace);
  code.z = (neutralFace * 16 + direction) * 16 + face;
  return code;
}
