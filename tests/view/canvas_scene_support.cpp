#include "canvas_scene.h"

#include <array>

void SetCanvasSceneMapping(CDrawContext& dc) {
  CDrawMapping& mapping = dc.Mapping();
  mapping.SetMode(MapMode::Isotropic);
  mapping.SetWindowExtent({1000, 800});
  mapping.SetViewportExtent({kCanvasSceneSize.cx, -kCanvasSceneSize.cy});
  mapping.SetViewportOrigin({kCanvasSceneSize.cx / 2, kCanvasSceneSize.cy / 2});
}

namespace {

const CPen kBlack{PenStyle::Solid, 0, {0, 0, 0}};

void DrawLines(CDrawContext& dc) {
  dc.SetLayer("LINES", 1);
  dc.SelectPen(kBlack);
  dc.MoveTo(-400, 300);
  dc.LineTo(400, 300);
  dc.SelectPen({PenStyle::Dot, 0, {0, 0, 255}});
  const std::array<CPoint, 3> polyline{{{-400, 250}, {0, 200}, {400, 250}}};
  dc.Polyline(polyline);
  dc.SelectPen(kBlack);
  dc.MoveTo(0, 100);
  dc.LineTo(300, 100);  // the hatched rectangle below cuts a piece out of it
}

void DrawFills(CDrawContext& dc) {
  dc.SetLayer("FILLS", 3);
  dc.SelectBrush(CBrush::Hatched(HatchStyle::DiagonalCross, {255, 0, 0}));
  dc.Rectangle(100, 150, 200, 50);
  dc.SelectPen({PenStyle::DashDot, 0, {0, 0, 255}});
  dc.SelectBrush(CBrush::Pattern({0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}));
  dc.SetTextColor({0, 0, 128});
  const std::array<CPoint, 3> triangle{{{-400, -100}, {-200, -100}, {-300, 0}}};
  dc.Polygon(triangle);
  dc.SelectPen({PenStyle::Null, 0, {}});
  dc.SelectBrush(CBrush::Solid({0, 160, 0}));
  dc.Ellipse(-450, -150, -150, -350);
  dc.SelectPen({PenStyle::Solid, 4, {128, 0, 128}});
  dc.SelectBrush(CBrush::Null());
  dc.Ellipse(200, -150, 400, -350);
}

void DrawTexts(CDrawContext& dc) {
  dc.SetLayer("TEXTS", 5);
  dc.SetLayer("EMPTY", 2);
  dc.SetLayer("TEXTS", 6);  // keeps its first colour
  CLogFont font;
  font.faceName = "Arial";
  font.height = -20;
  dc.SelectFont(font);
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.SetTextColor({0, 0, 0});
  constexpr unsigned kCentred = text_format::kCenter | text_format::kVerticalCenter |
                                text_format::kSingleLine | text_format::kNoClip;
  dc.DrawText("Canvas", {-100, 0, 100, 0}, kCentred);
  dc.DrawText("Line\r\nbreak", {-100, -50, 100, -50}, kCentred);
  dc.DrawText("\xC3\x84 \xE2\x82\xAC \xCE\xA9", {-100, -100, 100, -100},
              kCentred);  // A-umlaut, euro, omega
  font.weight = 700;
  dc.SelectFont(font);
  dc.DrawText("Bold", {0, 250, 200, 150}, text_format::kRight | text_format::kSingleLine);
  dc.DrawText("Hidden", {-100, -300, 100, -300}, kCentred);
  dc.SetLayer("FILLS", 3);
  dc.SelectPen(kBlack);
  dc.SelectBrush(CBrush::Solid({255, 255, 0}));
  dc.Rectangle(-120, -280, 120, -320);  // covers the text drawn before it
}

void DrawExcludedAndScreenMarks(CDrawContext& dc) {
  dc.SetLayer("LINES", 1);
  dc.Save();
  dc.ExcludeClipRect(-100, 400, 100, 340);
  dc.MoveTo(-150, 370);
  dc.LineTo(150, 370);  // stops at the excluded rectangle
  dc.Restore();
  dc.SetPixel(-450, 350, {255, 0, 0});
  dc.SetTextAlign(text_align::kLeft | text_align::kBaseline);
  dc.TextOut(-480, -380, "screen only");
  dc.SelectBrush(CBrush::Hatched(HatchStyle::ForwardDiagonal, {0, 0, 0}));
  dc.SelectPen({PenStyle::Null, 0, {}});
  const std::array<CPoint, 4> hatch{{{250, 50}, {450, 50}, {450, 0}, {250, 0}}};
  dc.ScreenPolygon(hatch);
  // A rubber band drawn twice in not-xor leaves nothing; once, it shows.
  dc.SetRasterOp(RasterOp::NotXorPen);
  dc.SelectPen({PenStyle::DashDot, 0, {255, 0, 0}});
  dc.SelectBrush(CBrush::Null());
  const std::array<CPoint, 4> band{{{-450, 200}, {-250, 200}, {-250, 120}, {-450, 120}}};
  dc.ScreenPolygon(band);
  dc.ScreenPolygon(band);
  const std::array<CPoint, 4> shown{{{250, 200}, {450, 200}, {450, 120}, {250, 120}}};
  dc.ScreenPolygon(shown);
  dc.SetRasterOp(RasterOp::CopyPen);
}

}  // namespace

void DrawCanvasScene(CDrawContext& dc) {
  DrawLines(dc);
  DrawFills(dc);
  DrawTexts(dc);
  DrawExcludedAndScreenMarks(dc);
}
