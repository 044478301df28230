#pragma once

#include <array>

#include "geometry/3d_point.h"
#include "platform/draw_types.h"
#include "view/draw_tools.h"
#include "view/outline_drawing.h"

// The pieces DrawOutline dispatches to, each drawing one face of one box.
namespace outline {

inline constexpr CPen kBlackPen{PenStyle::Solid, 0, {0, 0, 0}};
inline constexpr CPen kGreyPen{PenStyle::Solid, 0, {128, 128, 128}};

struct COutlineFace {
  const CBox& box;
  const CDev& element;
  const COutlineBox& context;
  const C3DProjection& projection;
  int face;
  int detail;
};

// The connection nibble: bits 20..23 of the element's style word.
int ConnectionNibble(const CDev& element);
// World corner k (taken modulo 4) of the face in its drawing order.
C3DPoint FaceCorner(const CBox& box, int face, int k);
// The box in the element's slot, or null.
const CBox* SlotBox(const CDev& element, int slot);
CPoint Project(const COutlineFace& f, const C3DPoint& p);
void Line(CDrawContext& dc, const COutlineFace& f, const C3DPoint& a, const C3DPoint& b);
// The integer after the first "/" of the text; false without one.
bool NumberAfterSlash(const std::string& text, int& value);

void DrawCoverLine(CDrawContext& dc, const COutlineFace& f);
void DrawSourceSymbol(CDrawContext& dc, const COutlineFace& f);
void DrawCabinetFrame(CDrawContext& dc, const COutlineFace& f);
void DrawEndFaceSymbols(CDrawContext& dc, const COutlineFace& f);
void DrawConductorBars(CDrawContext& dc, const COutlineFace& f);

}  // namespace outline
