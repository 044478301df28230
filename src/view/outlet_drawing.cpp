#include "view/outlet_drawing.h"

#include "geometry/3d_projection.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "view/draw_context.h"
#include "view/element_draw_options.h"
#include "view/element_draw_support.h"

using namespace element_draw;

namespace {

constexpr int kWalkLimit = 10000;

bool ContinuesLength(const CDev& e) {
  return (e.GetKind() == CDev::kInLine && e.GetVariant() == 0) ||
         (e.GetKind() == CDev::kStraight && e.GetVariant() == 123);
}

// Which outlets a box shows: those along its own stretch of the length. The boxes of the
// reference element and the direction box of the element before it share the stretch
// at the middle of the reference element; an outlet at either end of a stretch is shown
// by the box whose face toward the length's end can be seen.
class COutletStretch {
 public:
  COutletStretch(const CBox& box, const CDev& element, const COutletChain& chain, int back,
                 std::int32_t width)
      : m_all(chain.throughJunction), m_width(width) {
    const CDev& r = *chain.reference;
    m_own = &r == &element;
    const CDev* next = r.GetNeighbour(back);
    const std::int32_t o = r.GetOffset() / 2;
    const std::int32_t t = (r.GetOffset() + (next != nullptr ? next->GetOffset() : 0)) / 2;
    const std::int32_t m = (r.GetBookedLength() - t) / 2 + o;
    m_low = (m_own ? o : m) - width / 2;
    m_high = (m_own ? m : r.GetBookedLength() - element.GetOffset() / 2) + width / 2;
    const CBox* backBox = r.GetBox(back);
    m_lowEndSeen = backBox != nullptr && (backBox->GetFaceFlags(back) & CBox::kFaceVisible) != 0;
    m_highEndSeen = (box.GetFaceFlags(back) & CBox::kFaceVisible) != 0;
  }

  bool Shows(std::int32_t p) const {
    if (m_all) return true;
    if (p < m_low || p > m_high) return false;
    if (p < m_low + m_width) return !m_own && m_lowEndSeen;
    if (p > m_high - m_width) return m_own && !m_highEndSeen;
    return true;
  }

 private:
  bool m_all = false;
  bool m_own = false;
  std::int32_t m_width = 0;
  std::int32_t m_low = 0;
  std::int32_t m_high = 0;
  bool m_lowEndSeen = false;
  bool m_highEndSeen = false;
};

}  // namespace

COutletChain FindOutletChain(const CBox& box) {
  COutletChain chain;
  const CDev* element = dynamic_cast<const CDev*>(box.GetOwner());
  if (element == nullptr) return chain;
  const int direction = element->GetDirection();
  chain.reference = element;
  if (direction >= 0 && element->GetBox(direction) == &box &&
      element->GetNeighbour(direction) != nullptr) {
    chain.reference = element->GetNeighbour(direction);
  }
  const CDev* e = chain.reference;
  std::int32_t before = 0;
  for (int guard = 0; e != nullptr && guard < kWalkLimit; ++guard) {
    if (e->GetKind() == CDev::kJoint) break;
    const bool qjfPass = e->GetKind() == CDev::kJunction2 && e->GetBox(7) != nullptr;
    if (!ContinuesLength(*e) && !qjfPass) return chain;
    chain.throughJunction = chain.throughJunction || qjfPass;
    const int d = e->GetDirection();
    e = d >= 0 ? e->GetNeighbour(d) : nullptr;
    if (e != nullptr) before += e->GetBookedLength();
  }
  if (e == nullptr || e->GetKind() != CDev::kJoint || !e->IsActive()) return chain;
  chain.joint = e;
  chain.before = before;
  std::int64_t length = e->GetBookedLength();
  const CDev* next = e->GetBackFace() >= 0 ? e->GetNeighbour(e->GetBackFace()) : nullptr;
  for (int guard = 0; next != nullptr && ContinuesLength(*next) && guard < kWalkLimit; ++guard) {
    length += next->GetBookedLength();
    next = next->GetBackFace() >= 0 ? next->GetNeighbour(next->GetBackFace()) : nullptr;
  }
  chain.length = static_cast<std::int32_t>(std::min<std::int64_t>(length, INT32_MAX));
  return chain;
}

double DrawnPerBooked(const CDev& element) {
  const std::int32_t booked = element.GetBookedLength();
  const std::int32_t drawn = element.GetDrawnLength();
  return booked > 0 && drawn > 0 ? static_cast<double>(drawn) / booked : 1.0;
}

COutletQuery MakeOutletQuery(const COutletChain& chain, int side) {
  COutletQuery q;
  const CDev& joint = *chain.joint;
  q.catalog = joint.GetRunProperty("Catalog");
  q.calibre = RunPropertyInt(joint, "Calibre", 0);
  q.neutral = joint.GetRunProperty("Neutral");
  q.edStep = joint.GetRunProperty("QM_ED_STEP");
  q.eh44 = !joint.GetRunProperty("EH44").empty() && joint.GetRunProperty("EH44") != "0";
  q.ed31 = !joint.GetRunProperty("ED31").empty() && joint.GetRunProperty("ED31") != "0";
  q.layout = static_cast<int>((joint.GetStyle() >> 8) & 0xF);
  q.jointSide = static_cast<int>((joint.GetStyle() >> 12) & 1);
  q.side = side;
  q.length = chain.length;
  return q;
}

void DrawTapOffOutlets(CDrawContext& dc, const CBox& box, int face, int side,
                       const COutletChain& chain, const COutletLayout& layout,
                       const CElementDrawOptions& options) {
  const CDev* element = dynamic_cast<const CDev*>(box.GetOwner());
  const C3DProjection* projection = element != nullptr ? element->GetProjection() : nullptr;
  if (projection == nullptr || chain.reference == nullptr || layout.positions.empty()) return;
  const CDev& r = *chain.reference;
  const int d = CBoxOwner::OppositeDirection(element->GetDirection());
  if (d < 0) return;
  const C3DPoint nd = box.GetFaceNormal(d);
  const C3DPoint across = CrossProduct(nd, box.GetFaceNormal(face));
  const C3DPoint along = nd * DrawnPerBooked(r);
  C3DPoint base = r.GetPosition() + (FaceCentre(box, face) - box.GetOrigin());
  const bool qjf = r.GetRunProperty("Catalog") == "QJF";
  if (layout.code == 16 && !qjf) {
    const int shift = 36 * (RunPropertyInt(r, "Calibre", 0) / 10) - 36;
    base = base + across * static_cast<double>(side == 0 ? -shift : shift);
  }
  dc.SelectPen(CPen{PenStyle::Solid, 0, {0, 0, 0}});
  if (options.monochrome) {
    dc.SelectBrush(CBrush::Null());
  } else {
    dc.SelectBrush(CBrush::Solid(layout.code == 16 ? CColor{255, 255, 0} : CColor{128, 128, 128}));
  }
  const COutletStretch stretch(box, *element, chain, d, layout.width);
  const C3DPoint a = along * (layout.width / 2.0);
  const C3DPoint c = across * (layout.height / 2.0);
  for (std::int32_t position : layout.positions) {
    const std::int32_t p = position - chain.before;
    if (!stretch.Shows(p)) continue;  // another box of the length shows it
    const C3DPoint centre = base + along * static_cast<double>(p);
    const std::array<C3DPoint, 4> rect = {centre + a + c, centre + a - c, centre - a - c,
                                          centre - a + c};
    FillProjected(dc, *projection, rect);
    if (layout.width == 160) continue;
    for (double k : {-0.5, 0.0, 0.5})
      LineProjected(dc, *projection, centre - a + c * k, centre + a + c * k);
  }
  dc.SelectBrush(CBrush::Null());
}
