#include "view/element_drawing.h"

#include <algorithm>
#include <cstdlib>

#include "app/element_colors.h"
#include "geometry/3d_projection.h"
#include "geometry/parallel_chunks.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "view/bevel_faces.h"
#include "view/box_colours.h"
#include "view/calibre_band.h"
#include "view/draw_context.h"
#include "view/element_draw_cache.h"
#include "view/element_draw_options.h"
#include "view/element_draw_support.h"
#include "view/face_edges.h"
#include "view/label_drawing.h"
#include "view/light_box_drawing.h"
#include "view/outline_drawing.h"
#include "view/support_drawing.h"

using namespace element_draw;

namespace {

constexpr std::array<std::uint8_t, 8> kBodyPattern = {0x77, 0xFF, 0xDD, 0xFF,
                                                      0x77, 0xFF, 0xDD, 0xFF};
constexpr CPen kNullPen{PenStyle::Null, 0, {}};
constexpr CPen kOutlinePen{PenStyle::Solid, 0, {0, 0, 0}};
// Fewer boxes than this are looked over for tap-off marks on one thread.
constexpr std::size_t kMinBoxesPerMarkLook = 4000;

// Everything one box's faces are drawn with.
struct CBoxDraw {
  CBoxDraw(const CBox& b, const CDev& e) : box(b), element(e) {}
  const CBox& box;
  const CDev& element;
  const C3DProjection* projection = nullptr;
  int slot = CBoxOwner::kSlotCount;
  int role = 0;
  int neutralSide = -1;
  int faceMode = 0;
  int calibreMode = 0;
  int coverCode = 0;
  bool patternedBody = false;
  bool selected = false;
  bool edgeColourFlag = false;  // the box's faces are outlined, not filled
  bool connected = false;       // the box's edges carry a connection mark
  bool qjShaped = false;
  bool hasOutline = false;  // the box may carry details (bars, symbols, cover lines)
  bool plainEdges = false;  // a box with edges of its own, too small for its details
  bool leaveStaleMarks = false;
  const std::array<CPoint, CBox::kCornerCount>* windowCorners = nullptr;
  COutlineBox outline;
  CBevel bevel;
  CBoxColours colours;
  // Each face's solid fill, made once a box: a brush made for each face and at once copied
  // into the context waited on its own bytes still on their way to memory.
  std::array<CBrush, CBox::kFaceCount> shades{CBrush::Solid({}), CBrush::Solid({}),
                                              CBrush::Solid({}), CBrush::Solid({}),
                                              CBrush::Solid({}), CBrush::Solid({})};
  CPen pen;
  std::string layer;
};

int FaceModeOf(const CDev& e, int role, int slot) {
  if (role != 1 && role != 2) return 0;
  const std::string range = e.GetRunProperty("Catalog").substr(0, 2);
  if (range == "QG") return slot;
  if (range == "QM") return (slot == 14 || slot == 15) && e.GetVariant() != 6 ? 1 : slot;
  return 1;
}

bool IsPlacingTool(int toolMode) {
  return toolMode == 7 || toolMode == 8 || toolMode == 9 || toolMode == 13 || toolMode == 15;
}

CBoxColours ColoursOf(const CDev& e, const CBoxDraw& d, int toolMode,
                      const CElementDrawOptions& options) {
  CBoxColourInput in;
  // A box the element's shape gave no colour takes its kind's colour from the settings.
  const std::uint32_t word = d.box.GetColor();
  in.boxColour = word == CBox::kNoColor
                     ? GetColor(options.colors, ElementColourKind(e.GetKind(), e.GetVariant()))
                     : CColor::FromColorRef(word & 0xFFFFFFu);
  in.selection = d.box.GetSelectionState();
  in.monochrome = options.monochrome;
  in.patternedBody = d.patternedBody;
  in.faceMode = d.faceMode;
  in.highlight = options.highlight;
  in.edgeColourFlag = d.edgeColourFlag;
  if (e.GetKind() == CDev::kTapOff) {
    const std::uint32_t flags = e.GetFlags();
    if ((flags & 0x1000) != 0) in.hasTapOffPen = true, in.tapOffPen = {200, 0, 200};
    if ((flags & 0x4000) != 0) in.hasTapOffPen = true, in.tapOffPen = {0, 94, 117};
    if ((flags & 0x2000) != 0 && IsPlacingTool(toolMode)) {
      in.hasTapOffFill = true, in.tapOffFill = GetColor(options.colors, 10);
    } else if ((flags & 0x2000) != 0 && !d.leaveStaleMarks) {
      // The placing tools mark the unit they offer; once another tool is on, the mark
      // goes for good. The threaded drawing leaves the marks to its caller, so this write
      // is met on one thread only.
      const_cast<CDev&>(e).SetActive(e.GetActive() & ~0x2000);
    }
  }
  CBoxColours colours = ChooseBoxColours(in);
  if (d.role == 7) colours.edges = true;
  return colours;
}

// Details of a box smaller than this on the target could not be read (a bar end's phase
// label would be a few pixels high): a zoomed-out view leaves them out, and so saves most
// of what a repaint of a large layout spends on them (a DXF file keeps them whatever the
// zoom).
constexpr std::int32_t kDetailPixels = 12;
// A bar or shim box smaller than this is a dot inside its element's outline: the view
// does not draw it at all.
constexpr std::int32_t kDetailBoxPixels = 2;

// Whether the box spans that many pixels of the target across or down.
bool SpansPixels(const CDrawContext& dc, const CBox& box, std::int32_t pixels) {
  if (!box.HasFiniteProjection()) return false;
  const auto logical = [](const C3DPoint& p) {
    const auto clamp = [](double v) { return static_cast<std::int32_t>(std::clamp(v, -2e9, 2e9)); };
    return CPoint{clamp(p.x), clamp(p.y)};
  };
  const CPoint a = dc.ToDevice(logical(box.GetProjectedMin()));
  const CPoint b = dc.ToDevice(logical(box.GetProjectedMax()));
  return std::abs(std::int64_t{b.x} - a.x) >= pixels || std::abs(std::int64_t{b.y} - a.y) >= pixels;
}

bool FaceToDraw(const CBoxDraw& d, int face) {
  const bool open = (d.box.GetFaceFlags(face) & CBox::kFaceOpen) != 0;
  const bool inverted = (d.slot == 8 || d.slot == 9) && !d.edgeColourFlag;
  return inverted ? !open : open;
}

void DrawJointMark(CDrawContext& dc, const CBoxDraw& d, int face,
                   const CElementDrawOptions& options) {
  const CDev& e = d.element;
  const bool jointBody = d.slot == CBoxOwner::kBodySlot && e.IsActive() &&
                         (e.GetKind() == CDev::kJoint ||
                          (e.GetKind() == CDev::kInLineVariant && e.GetBox(10) != nullptr));
  if (!jointBody || d.selected || e.GetRun() == nullptr || e.GetRun()->GetPartsState() == 0) return;
  const int edge = CBox::GetFacePairEntry(face, e.GetDirection());
  if (edge < 0 || d.projection == nullptr) return;
  const auto c = FaceCorners(d.box, face);
  auto at = [&](int k) { return c[static_cast<std::size_t>((k + 4) % 4)]; };
  if (at(edge - 1).DistanceTo(at(edge)) < 20) return;
  const C3DPoint n = d.box.GetFaceNormal(e.GetDirection());
  const C3DPoint m = MidPoint(at(edge - 1), at(edge));
  const C3DPoint m2 = MidPoint(at(edge + 1), at(edge + 2));
  dc.SelectPen(kNullPen);
  dc.SelectBrush(CBrush::Solid(GetColor(options.colors, 8)));
  const std::array<C3DPoint, 4> strip = {m - n * 10, m + n * 10, m2 + n * 10, m2 - n * 10};
  FillProjected(dc, *d.projection, strip);
}

void DrawNeutralHatching(CDrawContext& dc, const CBoxDraw& d, int face,
                         const std::array<CPoint, 4>& polygon) {
  const CDev& e = d.element;
  if (e.GetRun() == nullptr || (e.GetRun()->GetFlagsWord() & 2) == 0 || d.neutralSide < 0) return;
  const CDev* reference = &e;
  if (d.slot < CBoxOwner::kBodySlot) {
    if (d.slot != e.GetBackFace()) reference = e.GetNeighbour(d.slot);
  } else if (d.slot != CBoxOwner::kBodySlot) {
    return;
  } else if (e.GetKind() >= CDev::kElbow && e.GetKind() <= CDev::kJunction4 &&
             face == e.GetDirection()) {
    // a junction's face ahead shows the side of the branch it leads to
    reference = nullptr;
    for (int f = 0; f < CBox::kFaceCount && reference == nullptr; ++f) {
      if (f != face && f != e.GetBackFace()) reference = e.GetNeighbour(f);
    }
  }
  const CBox* body = reference != nullptr ? reference->GetBox(CBoxOwner::kBodySlot) : nullptr;
  if (body == nullptr || body->MapSideToFace(d.neutralSide, 0) != face) return;
  dc.SelectBrush(CBrush::Hatched(HatchStyle::DiagonalCross, {0, 0, 0}));
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.ScreenPolygon(polygon);
  dc.SetBackgroundMode(BackgroundMode::Opaque);
}

void DrawVentilation(CDrawContext& dc, const CBoxDraw& d, int face,
                     const std::array<CPoint, 4>& p) {
  if (d.role != 3 || d.slot != 9 || face == 2 || face == 3 || d.coverCode != 20) return;
  dc.SelectPen(d.pen);
  for (int i = 1; i <= 9; ++i) {
    const std::int32_t dx = (p[1].x - p[0].x) * i / 10;
    const std::int32_t dy = (p[1].y - p[0].y) * i / 10;
    dc.MoveTo(p[0].x + dx, p[0].y + dy);
    dc.ScreenLineTo(p[3].x + dx, p[3].y + dy);
  }
  dc.SelectPen(kNullPen);
}

// False when the face's outline and supports are left out as well.
bool DrawEdges(CDrawContext& dc, const CBoxDraw& d, int face, const CBevelledFace& shape) {
  CFaceEdgeQuery query;
  query.element = &d.element;
  query.box = &d.box;
  query.slot = d.slot;
  query.role = d.role;
  query.face = face;
  query.shape = shape;
  query.bevelledBody = d.bevel.body;
  query.qjShaped = d.qjShaped;
  query.coverCode = d.coverCode;
  const CFaceEdges edges = ChooseFaceEdges(query);
  if (edges.faceHidden) return false;
  if (d.connected) dc.SetLayer("RACC", 7);
  dc.SelectPen(d.pen);
  for (std::size_t k = 0; k < 4; ++k) {
    if (!edges.draw[k]) continue;
    const CPoint& from = edges.polygon[(k + 1) % 4];
    dc.MoveTo(from.x, from.y);
    dc.LineTo(edges.polygon[k].x, edges.polygon[k].y);
  }
  if (d.connected) dc.SetLayer(d.layer, 7);
  return true;
}

void FillFace(CDrawContext& dc, const CBoxDraw& d, int face, const std::array<CPoint, 4>& polygon,
              const CElementDrawOptions& options) {
  // Without edges of its own the face is filled and outlined in one figure: the plain
  // outline of the face.
  dc.SelectPen(d.plainEdges ? d.pen : (d.colours.edges ? kNullPen : kOutlinePen));
  const int direction = d.element.GetDirection();
  if (d.patternedBody && face != direction && face != CBoxOwner::OppositeDirection(direction)) {
    dc.SelectBrush(CBrush::Pattern(kBodyPattern));
    dc.SetTextColor(d.colours.pen);
    dc.SetBackgroundColor(d.colours.fill);
  } else {
    dc.SelectBrush(d.shades[static_cast<std::size_t>(face)]);
  }
  dc.Polygon(polygon);
  DrawJointMark(dc, d, face, options);
  DrawNeutralHatching(dc, d, face, polygon);
  DrawVentilation(dc, d, face, polygon);
}

void DrawFace(CDrawContext& dc, const CBoxDraw& d, int face, const CSupportData& supports,
              const CElementDrawOptions& options) {
  if (!FaceToDraw(d, face)) {
    if (d.faceMode < 10) return;
    DrawOutline(dc, d.box, d.element, face, d.faceMode, d.outline);
    DrawSupports(dc, d.box, face, d.slot, supports, options);
    return;
  }
  dc.SetLayer(d.layer, 7);
  CBevelledFace shape;
  FacePolygonInto(*d.windowCorners, face, shape.polygon);
  if (d.bevel.IsSet() && d.projection != nullptr) {
    shape = ShapeBevelledFace(d.bevel, d.box, *d.projection, face, shape.polygon);
    if (shape.shape == BevelFaceShape::Skipped) return;
  }
  if (!d.edgeColourFlag) FillFace(dc, d, face, shape.polygon, options);
  if (d.calibreMode != 0) {
    const CCalibreBandFace band{face, d.slot, d.calibreMode, d.neutralSide, d.colours.edges, d.pen};
    DrawCalibreBand(dc, d.box, band);
  }
  if (d.colours.edges && !d.plainEdges && !DrawEdges(dc, d, face, shape)) return;
  if (d.hasOutline) DrawOutline(dc, d.box, d.element, face, d.faceMode, d.outline);
  DrawSupports(dc, d.box, face, d.slot, supports, options);
}

// The tap-off units among the boxes' owners that carry a placing tool's mark (a unit once
// for each of its boxes).
void FindMarkedTapOffUnits(std::span<const CBox* const> boxes, std::vector<CDev*>& units) {
  for (const CBox* box : boxes) {
    // Asked of the owner as it is first: the cast would cost more than the drawing of most
    // boxes of a distant view, and few are marked tap-off units.
    const CBoxOwner* owner = box->GetOwner();
    if (owner == nullptr || owner->GetKind() != CDev::kTapOff || (owner->GetFlags() & 0x2000) == 0)
      continue;
    if (const CDev* element = OwningElement(*box)) units.push_back(const_cast<CDev*>(element));
  }
}

// What the full picture of a box takes besides its colours' inputs: its details, bands,
// bevels and layer, then its colours and pen.
void PrepareFullDraw(CDrawContext& dc, CBoxDraw& d, int toolMode, CElementDrawCache& cache,
                     const CElementDrawOptions& options) {
  const CDev* element = &d.element;
  const CBox& box = d.box;
  const std::uint32_t colourWord = box.GetColor();
  d.neutralSide = cache.NeutralSide(*element);
  d.hasOutline = MayHaveOutline(*element, d.faceMode) &&
                 (options.dxfRecording || SpansPixels(dc, box, kDetailPixels));
  if (d.hasOutline) d.outline = OutlineBoxOf(*element, d.slot, d.neutralSide, options.dxfRecording);
  d.connected = colourWord != CBox::kNoColor && ((colourWord >> 24) & 3) != 0;
  // The run's calibre is asked (under the cache's lock) only by a box that could show bands.
  const int band = CalibreBandMode(*element, d.slot, true);
  d.calibreMode = band != 0 && cache.SpecialCalibre(*element) ? band : 0;
  d.bevel = BevelOf(*element, box, d.slot, d.role);
  d.qjShaped = element->GetKind() == CDev::kJunction2 && element->GetBox(7) != nullptr &&
               element->GetReference().starts_with("QJ");
  if (d.role == 3) d.coverCode = FieldInt(*element, "CAPOT");
  const bool jointLayer = element->GetKind() == CDev::kJoint && (d.slot == 6 || d.slot == 7);
  dc.SetLayer(jointLayer ? "JOINTS" : "RUN", jointLayer ? 5 : 4);
  d.layer = dc.LayerName();
  d.colours = ColoursOf(*element, d, toolMode, options);
  d.pen.style = d.role == 7 ? PenStyle::Dot : PenStyle::Solid;
  d.pen.color = d.colours.pen;
  // Solid brushes already: only their colours are set, in place.
  for (int face = 0; face < CBox::kFaceCount; ++face)
    d.shades[static_cast<std::size_t>(face)].color = FaceShade(d.colours, face);
  // Too small for its details, a detail box is a filled and outlined figure face by face,
  // as the plain boxes are, rather than a fill and each of its edges on their own.
  d.plainEdges = d.faceMode != 0 && d.colours.edges && !d.edgeColourFlag &&
                 MayHaveOutline(*element, d.faceMode) && !d.hasOutline && !options.dxfRecording;
}

}  // namespace

int ElementColourKind(int kind, int variant) {
  switch (kind) {
    case CDev::kEnd: return 5;
    case CDev::kElbow: return 2;
    case CDev::kJunction2:
    case CDev::kJunction3:
    case CDev::kJunction4:
    case CDev::kJunction5: return 3;
    case CDev::kInLine: return variant == 0 ? 0 : 7;  // variant 0 is a straight length
    case CDev::kInLineVariant: return 6;
    case CDev::kJoint: return 12;
    case CDev::kJoint2: return 9;
    case CDev::kBend: return 4;
    case CDev::kTapOff: return 11;
    case CDev::kAccessory: return 13;
    default: return 0;
  }
}

void DrawElementBox(CDrawContext& dc, const CBox& box, int toolMode, CElementDrawCache& cache,
                    const CElementDrawOptions& options, bool leaveStaleMarks) {
  const CDev* element = OwningElement(box);
  if (element == nullptr) return;
  CBoxDraw d(box, *element);
  d.leaveStaleMarks = leaveStaleMarks;
  d.projection = element->GetProjection();
  d.role = box.GetKindCode();
  d.slot = element->GetBoxSlot(box);
  d.selected = box.IsSelected();
  d.patternedBody = element->GetKind() == CDev::kInLine && d.slot == CBoxOwner::kBodySlot;
  d.faceMode = FaceModeOf(*element, d.role, d.slot);
  if (d.faceMode >= 10 && !options.dxfRecording && !SpansPixels(dc, box, kDetailBoxPixels)) return;
  const std::uint32_t colourWord = box.GetColor();
  d.edgeColourFlag = colourWord != CBox::kNoColor && (colourWord >> 28) != 0;
  const bool noFaces = d.slot == CBoxOwner::kBodySlot && element->GetBox(7) != nullptr &&
                       (box.GetExtent(0) == 0 || box.GetExtent(1) == 0 || box.GetExtent(2) == 0);
  if (options.light) {
    const CBoxColours colours = ColoursOf(*element, d, toolMode, options);
    const CPen pen{d.role == 7 ? PenStyle::Dot : PenStyle::Solid, 0, colours.pen};
    if (!noFaces) DrawLightBox(dc, {box, d.projection, colours, pen, d.edgeColourFlag});
    return;
  }
  PrepareFullDraw(dc, d, toolMode, cache, options);
  dc.Save();
  CLabelFaces labels;
  DrawLabels(dc, box, true, d.neutralSide, labels, cache, options);
  const CSupportData& supports = cache.Supports(box, d.slot);
  if (!noFaces) {
    const std::array<CPoint, CBox::kCornerCount> corners = box.GetWindowCorners();
    d.windowCorners = &corners;
    for (int face = 0; face < CBox::kFaceCount; ++face) DrawFace(dc, d, face, supports, options);
  }
  DrawLabels(dc, box, false, d.neutralSide, labels, cache, options);
  dc.Restore();
  dc.SetLayer(d.layer, 7);
}

void DrawElements(CDrawContext& dc, const CDorneDoc& document, CElementDrawCache& cache,
                  const CElementDrawOptions& options) {
  const C3DProjection* projection = document.GetProjection();
  if (projection == nullptr) return;  // a document being read has no scene yet
  for (const CDisplayNode* node = projection->GetDisplayList().Head(); node != nullptr;
       node = node->next) {
    if (const CBox* box = CDisplayList::PassBox(*node))
      DrawElementBox(dc, *box, document.GetToolMode(), cache, options);
  }
}

void GatherStaleTapOffMarks(std::span<const CBox* const> boxes, int toolMode,
                            std::vector<CDev*>& units) {
  if (!IsPlacingTool(toolMode)) FindMarkedTapOffUnits(boxes, units);
}

void TakeOffTapOffMarks(std::span<CDev* const> units) {
  // The placing tools mark the unit they offer; once another tool is on, the mark goes for
  // good rather than coming back with the next placing tool.
  for (CDev* unit : units) unit->SetActive(unit->GetActive() & ~0x2000);
}

void ClearStaleTapOffMarks(std::span<const CBox* const> boxes, int toolMode) {
  if (IsPlacingTool(toolMode)) return;
  // Every box's owner is looked at, and on a large layout that walk over memory kept the
  // picture's threads waiting: the marked units are found on several threads at once (only
  // reading), then their marks taken off here (a unit's boxes may lie in several pieces).
  const std::size_t chunks = CParallelChunks::ChunkCount(boxes.size(), kMinBoxesPerMarkLook);
  std::vector<std::vector<CDev*>> marked(chunks);
  CParallelChunks::Run(boxes.size(), chunks,
                       [&](std::size_t chunk, std::size_t from, std::size_t to) {
                         FindMarkedTapOffUnits(boxes.subspan(from, to - from), marked[chunk]);
                       });
  for (const std::vector<CDev*>& units : marked) TakeOffTapOffMarks(units);
}
