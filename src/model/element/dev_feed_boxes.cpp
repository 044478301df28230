#include "model/element/dev.h"

#include "geometry/box.h"
#include "model/element/dev_placement_support.h"
#include "model/run/run.h"
#include "model/document/run_document.h"
#include "platform/text_conversions.h"

#include <string>

using namespace dev_placement;

namespace {

constexpr std::int32_t kHoodDefaults[5] = {800, 400, 300, 0, 0};

double SizeOn(const CBox& box, int axis) {
  return static_cast<double>(box.GetExtent(axis == 0 ? 1 : (axis == 1 ? 2 : 0)));
}

// "A/B/C/D/E": each number the integer value of the text behind its "/"; from the
// first missing "/" on, the defaults stay.
std::array<std::int32_t, 5> ParseHood(const std::string& text) {
  std::array<std::int32_t, 5> hood{kHoodDefaults[0], kHoodDefaults[1], kHoodDefaults[2],
                                   kHoodDefaults[3], kHoodDefaults[4]};
  hood[0] = TextToInt(text);
  std::size_t at = 0;
  for (std::size_t i = 1; i < hood.size(); ++i) {
    at = text.find('/', at);
    if (at == std::string::npos) break;
    ++at;
    hood[i] = TextToInt(std::string_view(text).substr(at));
  }
  return hood;
}

// The side that stays open toward the run: the direction when a neighbour is linked
// there, else its opposite.
int SideTowardRun(const CDev& element) {
  const int direction = element.GetDirection();
  return element.GetNeighbour(direction) != nullptr ? direction
                                                    : CDev::OppositeDirection(direction);
}

}  // namespace

void CDev::BuildFeedBoxes(CBox& box, int index) {
  const bool sideCabinet = ((m_style >> 26) & 3) == 2;
  const int cabinetOpen = sideCabinet ? SideTowardRun(*this) : -1;
  bool hood = false;
  int hoodOpen = -1;
  std::array<std::int32_t, 5> hoodValues{};
  if ((m_style & (1u << 28)) != 0) {
    std::string text = GetPropValue("CAP8");
    if (text.empty()) {
      text = std::to_string(kHoodDefaults[0]) + "/" + std::to_string(kHoodDefaults[1]) + "/" +
             std::to_string(kHoodDefaults[2]) + "/" + std::to_string(kHoodDefaults[3]) + "/" +
             std::to_string(kHoodDefaults[4]);
      SetPropValue("CAP8", text);
    }
    hoodValues = ParseHood(text);
    hood = m_run != nullptr && m_run->GetPropText("Catalog").starts_with("QG");
    if (hood && m_direction != 2 && m_direction != 3 && ((m_style >> 20) & 0xF) == 1) {
      hoodOpen = SideTowardRun(*this);
    } else if (hood) {
      box.SetOrigin(box.GetOrigin() - C3DPoint(0, hoodValues[2], 0));
    }
  }
  const C3DPoint centre = box.GetOrigin();
  const double height = SizeOn(box, 1);
  const int turns = static_cast<int>((box.GetColor() >> 26) & 3);
  BuildBoxFaces(box, index, cabinetOpen, turns, 4, false);
  if (!hood) return;
  const double d = hoodValues[3], e = hoodValues[4];
  const double dx[4] = {d, -e, -d, e};
  const double dz[4] = {e, d, -e, -d};
  CBox& top = GetDocument()->InsertExtraBox(*this, index);
  top.SetColor(box.GetColor());
  const bool odd = turns % 2 == 1;
  PlaceBySizes(top, centre + C3DPoint(dx[turns], (height + hoodValues[2]) / 2, dz[turns]),
               odd ? hoodValues[1] : hoodValues[0], hoodValues[2],
               odd ? hoodValues[0] : hoodValues[1]);
  BuildBoxFaces(top, index, hoodOpen, -1, 5, true);
}

void CDev::BuildBoxFaces(CBox& box, int index, int open, int turns, int code, bool hood) {
  CRunDocument* document = GetDocument();
  const std::uint32_t marked = box.GetColor() & 0x7FFFFFFFu;
  const std::uint32_t plain = box.GetColor() & 0x70FFFFFFu;
  const C3DPoint o = box.GetOrigin();
  const double sx = SizeOn(box, 0), sy = SizeOn(box, 1), sz = SizeOn(box, 2);
  struct CFace {
    C3DPoint centre;
    double sx, sy, sz;
    int markedTurn, hiddenWhenOpen;
  };
  const CFace sides[4] = {
      {o + C3DPoint(0, 0, sz / 2), sx, sy, 0, 0, 5},
      {o - C3DPoint(sx / 2, 0, 0), 0, sy, sz, 1, 0},
      {o - C3DPoint(0, 0, sz / 2), sx, sy, 0, 2, 1},
      {o + C3DPoint(sx / 2, 0, 0), 0, sy, sz, 3, 4},
  };
  const auto place = [&](CBox& face, const C3DPoint& at, double x, double y, double z,
                         std::uint32_t colour, bool shown) {
    TakeOut(*this, &face);
    PlaceBySizes(face, at, x, y, z);
    face.SetColor(colour);
    face.SetKindCode(code);
    if (shown) PutBack(*this, &face);
  };
  for (int i = 0; i < 4; ++i) {
    const CFace& side = sides[i];
    CBox& face = i == 0 ? box : document->InsertExtraBox(*this, index);
    place(face, side.centre, side.sx, side.sy, side.sz, turns == side.markedTurn ? marked : plain,
          open != side.hiddenWhenOpen);
  }
  if (open < 0) return;
  place(document->InsertExtraBox(*this, index), o + C3DPoint(0, sy / 2, 0), sx, 0, sz, plain, true);
  if (!hood) {
    place(document->InsertExtraBox(*this, index), o - C3DPoint(0, sy / 2, 0), sx, 0, sz, plain,
          true);
    return;
  }
  // The hood's lower edge on its open side.
  C3DPoint edge = o - C3DPoint(0, sy / 2, 0);
  const bool alongZ = open == 0 || open == 4;
  if (open == 0) edge = edge - C3DPoint(sx / 2, 0, 0);
  if (open == 1) edge = edge - C3DPoint(0, 0, sz / 2);
  if (open == 4) edge = edge + C3DPoint(sx / 2, 0, 0);
  if (open == 5) edge = edge + C3DPoint(0, 0, sz / 2);
  place(document->InsertExtraBox(*this, index), edge, alongZ ? 0 : sx, 0, alongZ ? sz : 0, plain,
        true);
}
