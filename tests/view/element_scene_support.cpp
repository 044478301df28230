#include "element_scene.h"

#include <algorithm>

#include "geometry/3d_projection.h"
#include "model/element/dev.h"
#include "model/run/run.h"

namespace {

C3DPoint Unit(int direction) {
  switch (direction) {
    case 0: return {-1, 0, 0};
    case 1: return {0, 0, -1};
    case 2: return {0, 1, 0};
    case 3: return {0, -1, 0};
    case 4: return {1, 0, 0};
    default: return {0, 0, 1};
  }
}

// Builds a run from its start, each new element placed in front of the last.
class CSceneRun {
 public:
  CSceneRun(CDorneDoc& document, const std::string& catalog, const C3DPoint& start) : m_end(start) {
    auto made = std::make_unique<CRun>(&document);
    m_run = made.get();
    document.AddRun(std::move(made));
    m_run->SetCatalog(catalog);
    m_run->SetProp("Calibre", "63");
    m_run->SetProp("Neutral", "5");
    m_run->SetProp("COTE_NEUTRE", "0");
    m_run->SetProp("QM_ED_STEP", "0");
    m_run->SetFlagsWord(2);
    m_run->SetPartsState(1);
  }

  CDev* Add(int kind, int direction, std::int32_t length, std::uint32_t style = 0) {
    CDev* e = m_run->NewElement();
    e->SetKind(kind);
    e->SetActive(1);
    e->SetStyle(style);
    e->SetDirection(direction);
    e->SetDrawnLength(length);
    e->SetBookedLength(length);
    if (m_last != nullptr) {
      e->SetNeighbour(CBoxOwner::OppositeDirection(direction), m_last);
      m_last->SetNeighbour(direction, e);
    }
    m_end = m_end + Unit(direction) * length;
    e->SetPosition(m_end);
    m_run->AddDevice(e);
    m_last = e;
    return e;
  }

  // A box of the element centred `along` back from its position, of that length.
  static CBox* Place(CDev* e, int slot, std::int32_t along, std::int32_t length,
                     std::int32_t width = 150, std::int32_t height = 120) {
    CBox* box = e->MakeBox(slot);
    const C3DPoint centre = e->GetPosition() - Unit(e->GetDirection()) * (along + length / 2.0);
    const bool x = e->GetDirection() == 0 || e->GetDirection() == 4;
    const bool y = e->GetDirection() == 2 || e->GetDirection() == 3;
    // extents along z, x, y
    box->SetPlacement(centre, x || y ? height : length, x ? length : width,
                      y ? length : (x ? width : height));
    return box;
  }

  CDev* Body(int kind, int direction, std::int32_t length, std::uint32_t style = 0) {
    CDev* e = Add(kind, direction, length, style);
    Place(e, CBoxOwner::kBodySlot, 0, length);
    return e;
  }

  // An element of the run linked to nothing, at a point.
  CDev* Loose(int kind, const C3DPoint& position) {
    CDev* e = m_run->NewElement();
    e->SetKind(kind);
    e->SetActive(1);
    e->SetDirection(4);
    e->SetPosition(position);
    m_run->AddDevice(e);
    return e;
  }

  CRun& Run() { return *m_run; }

 private:
  CRun* m_run = nullptr;
  CDev* m_last = nullptr;
  C3DPoint m_end;
};

// A run of the special calibre (grey bands): a cover, a junction whose support turns the
// corner toward its branch, a bevelled elbow and a box cut on the slant (role 6).
void AddSpecialCalibreRun(CDorneDoc& doc, std::vector<CDev*>& out) {
  CSceneRun qmc(doc, "QMC", {0, 3000, 0});
  CDev* end = qmc.Body(CDev::kEnd, 4, 200);
  CSceneRun::Place(end, 0, 0, 60, 180, 150);
  out.push_back(end);
  CDev* joint = qmc.Body(CDev::kJoint, 4, 100);
  joint->SetPropValue("SUPP", "4:400/4460:0");
  out.push_back(joint);
  out.push_back(qmc.Body(CDev::kStraight, 4, 1500));
  CDev* covered = qmc.Body(CDev::kInLineVariant, 4, 500, 1);
  CSceneRun::Place(covered, 8, 100, 300, 120, 100);
  CSceneRun::Place(covered, 9, 80, 340, 190, 160)->SetKindCode(3);
  covered->SetPropValue("CAPOT", "20");
  out.push_back(covered);
  CDev* junction = qmc.Body(CDev::kJunction3, 4, 300);
  CSceneRun::Place(junction, 1, 0, 300, 150, 300);
  junction->SetNeighbour(1, qmc.Loose(CDev::kAccessory, junction->GetPosition()));
  out.push_back(junction);
  CDev* elbow = qmc.Body(CDev::kElbow, 2, 400, 100u << 16);
  CSceneRun::Place(elbow, 4, 0, 400, 300);
  out.push_back(elbow);
  CDev* slanted = qmc.Body(CDev::kEnd, 2, 300);
  slanted->GetBox(CBoxOwner::kBodySlot)->SetKindCode(6);
  out.push_back(slanted);
}

}  // namespace

CElementScene BuildElementKindsScene(int angle0, int angle1, int angle2) {
  CElementScene scene;
  scene.document = std::make_unique<CDorneDoc>();
  CDorneDoc& doc = *scene.document;
  doc.Projection().SetViewAngles(angle0, angle1, angle2, false, false);
  auto& out = scene.elements;

  CSceneRun qm(doc, "QM", {0, 0, 0});
  CDev* end = qm.Body(CDev::kEnd, 4, 200);
  CSceneRun::Place(end, 0, 0, 60, 180, 150);  // the end cap, toward the back face
  out.push_back(end);
  CDev* joint = qm.Body(CDev::kJoint, 4, 100);
  CSceneRun::Place(joint, CBoxOwner::kBodySlot, 0, 100, 190, 160);
  out.push_back(joint);
  CDev* straight = qm.Body(CDev::kStraight, 4, 2000);
  out.push_back(straight);
  joint->SetPropValue("SUPP", "4:500/4:1500");
  out.push_back(qm.Body(CDev::kElbow, 2, 400));
  CDev* tee = qm.Body(CDev::kJunction2, 2, 400);
  CSceneRun::Place(tee, 4, 0, 400, 300);  // a branch stub
  out.push_back(tee);
  for (int kind : {CDev::kJunction3, CDev::kJunction4, CDev::kJunction5, CDev::kBend})
    out.push_back(qm.Body(kind, 2, 300));
  out.push_back(qm.Body(CDev::kInLineVariant, 5, 500));
  out.push_back(qm.Body(CDev::kInLine, 5, 400));  // a patterned body
  out.push_back(qm.Body(CDev::kJoint2, 5, 100));
  out.push_back(qm.Body(CDev::kEnd, 5, 200));

  CSceneRun qp(doc, "QP", {0, 1500, 0});
  CDev* qpEnd = qp.Body(CDev::kEnd, 4, 200);
  CSceneRun::Place(qpEnd, 4, 0, 60, 180, 150);  // shows the far half of the next length's outlets
  out.push_back(qpEnd);
  CDev* unit = qp.Add(CDev::kInLine, 4, 2900);
  CSceneRun::Place(unit, 7, 0, 2900);  // a length drawn by its part box alone
  out.push_back(unit);
  out.push_back(qp.Body(CDev::kJoint, 4, 100, 1u << 8));  // outlet layout 1
  CDev* tapOff = qp.Loose(CDev::kTapOff, unit->GetPosition() + C3DPoint(-1250, 250, 0));
  CSceneRun::Place(tapOff, CBoxOwner::kBodySlot, 0, 250, 300, 200);
  out.push_back(tapOff);
  CDev* accessory = qp.Loose(CDev::kAccessory, {-600, 1500, 0});
  CSceneRun::Place(accessory, CBoxOwner::kBodySlot, 0, 200, 200, 200);
  out.push_back(accessory);
  out.push_back(qp.Loose(CDev::kLengthRecord, {}));  // no box: nothing drawn
  AddSpecialCalibreRun(doc, out);
  doc.RebuildScene();
  return scene;
}

CElementScene BuildLargeScene(int count) {
  CElementScene scene;
  scene.document = std::make_unique<CDorneDoc>();
  CDorneDoc& doc = *scene.document;
  for (int made = 0, row = 0; made < count; ++row) {
    CSceneRun run(doc, "QM", {0, row * 600.0, 0});
    for (int i = 0; i < 100 && made < count; ++i, ++made) {
      scene.elements.push_back(run.Body(i % 10 == 0 ? CDev::kJoint : CDev::kStraight, 4, 500));
    }
  }
  doc.RebuildScene();
  return scene;
}

namespace {

void AddDetails(CDev* e, int which) {
  CBox* body = e->GetBox(CBoxOwner::kBodySlot);
  const C3DPoint centre = body->GetOrigin();
  auto place = [&](int slot, const C3DPoint& at, std::int32_t x, std::int32_t y, std::int32_t z,
                   int role) {
    CBox* box = e->MakeBox(slot);
    box->SetPlacement(at, z, x, y);
    box->SetKindCode(role);
    return box;
  };
  if (which == 0) {
    e->SetKind(CDev::kEnd);
    e->SetStyle(2u | (2u << 20));
    e->SetPropValue("CAPOT", "25/120");
    place(7, centre, 400, 150, 120, 1);
    place(8, centre, 400, 170, 140, 3);
    for (int slot = 10; slot <= 13; ++slot)
      place(slot, centre + C3DPoint(300, 30.0 * (slot - 10) - 45, 0), 100, 10, 120, 1);
  } else if (which == 1) {
    e->SetKind(CDev::kInLineVariant);
    e->SetStyle(7);
    place(7, centre, 400, 150, 120, 1);
  } else if (which == 2) {
    e->SetKind(CDev::kEnd);
    place(7, centre, 400, 150, 120, 1)->SetPassWord(0xf2000000u | (1u << 26));
  }
}

}  // namespace

CElementScene BuildDetailedScene(int count) {
  CElementScene scene;
  scene.document = std::make_unique<CDorneDoc>();
  CDorneDoc& doc = *scene.document;
  for (int made = 0, row = 0; made < count; ++row) {
    CSceneRun run(doc, "QGA", {0, row * 600.0, 0});
    for (int i = 0; i < 100 && made < count; ++i, ++made) {
      CDev* e = run.Body(CDev::kStraight, 4, 500);
      AddDetails(e, i % 4);
      scene.elements.push_back(e);
      if (i % 4 == 0) run.Add(CDev::kStraight, 4, 300);  // room for the bar ends, no box
    }
  }
  doc.RebuildScene();
  return scene;
}

void FitSceneMapping(CDrawContext& dc, const CDorneDoc& document, CSize size, const CRun* only) {
  double left = 1e300, bottom = 1e300, right = -1e300, top = -1e300;
  const CDisplayList& list = document.GetProjection()->GetDisplayList();
  for (const CDisplayNode* node = list.Head(); node != nullptr; node = node->next) {
    const CDev* owner = dynamic_cast<const CDev*>(node->box->GetOwner());
    if (only != nullptr && (owner == nullptr || owner->GetRun() != only)) continue;
    left = std::min(left, node->box->GetProjectedMin().x);
    bottom = std::min(bottom, node->box->GetProjectedMin().y);
    right = std::max(right, node->box->GetProjectedMax().x);
    top = std::max(top, node->box->GetProjectedMax().y);
  }
  if (right < left) left = bottom = right = top = 0;
  CDrawMapping& mapping = dc.Mapping();
  mapping.SetMode(MapMode::Isotropic);
  mapping.SetWindowOrigin({static_cast<std::int32_t>((left + right) / 2),
                           static_cast<std::int32_t>((bottom + top) / 2)});
  mapping.SetWindowExtent({static_cast<std::int32_t>((right - left) * 1.2) + 100,
                           static_cast<std::int32_t>((top - bottom) * 1.2) + 100});
  mapping.SetViewportExtent({size.cx, -size.cy});
  mapping.SetViewportOrigin({size.cx / 2, size.cy / 2});
}

CElementDrawOptions SceneDrawOptions(bool monochrome) {
  CElementDrawOptions options = CElementDrawOptions::FromSettings(CAppSettings(), monochrome);
  return options;
}
