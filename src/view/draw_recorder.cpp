#include "view/draw_recorder.h"

#include <cstdio>

#include "view/draw_context.h"

namespace {

std::string Hex(CColor color) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%02x%02x%02x", color.red, color.green, color.blue);
  return buffer;
}

}  // namespace

void CDrawRecorder::Add(const CDrawContext& dc, std::string kind, std::vector<CPoint> points,
                        std::string text, unsigned format) {
  m_calls.push_back(
      {std::move(kind), std::move(points), std::move(text), format, dc.Pen(), dc.Brush(), m_layer});
}

void CDrawRecorder::Line(const CDrawContext& dc, CPoint from, CPoint to) {
  Add(dc, "Line", {from, to});
}

void CDrawRecorder::Polyline(const CDrawContext& dc, std::span<const CPoint> points) {
  Add(dc, "Polyline", {points.begin(), points.end()});
}

void CDrawRecorder::Polygon(const CDrawContext& dc, std::span<const CPoint> points) {
  Add(dc, "Polygon", {points.begin(), points.end()});
}

void CDrawRecorder::Rectangle(const CDrawContext& dc, const CRect& rect) {
  Add(dc, "Rectangle", {{rect.left, rect.top}, {rect.right, rect.bottom}});
}

void CDrawRecorder::Ellipse(const CDrawContext& dc, const CRect& rect) {
  Add(dc, "Ellipse", {{rect.left, rect.top}, {rect.right, rect.bottom}});
}

void CDrawRecorder::Text(const CDrawContext& dc, std::string_view text, const CRect& rect,
                         unsigned format) {
  Add(dc, "Text", {{rect.left, rect.top}, {rect.right, rect.bottom}}, std::string(text), format);
}

void CDrawRecorder::ExcludeClip(const CDrawContext& dc, const CRect& rect) {
  Add(dc, "ExcludeClip", {{rect.left, rect.top}, {rect.right, rect.bottom}});
}

void CDrawRecorder::ClipChanged(const CDrawContext& dc) { Add(dc, "ClipChanged", {}); }

void CDrawRecorder::SetLayer(std::string_view name, int) { m_layer = std::string(name); }

void CDrawRecorder::ScreenLine(const CDrawContext& dc, CPoint from, CPoint to) {
  Add(dc, "ScreenLine", {from, to});
}

void CDrawRecorder::ScreenPolygon(const CDrawContext& dc, std::span<const CPoint> points) {
  Add(dc, "ScreenPolygon", {points.begin(), points.end()});
}

void CDrawRecorder::Pixel(const CDrawContext& dc, CPoint point, CColor color) {
  Add(dc, "Pixel", {point}, Hex(color));
}

void CDrawRecorder::TextOut(const CDrawContext& dc, CPoint point, std::string_view text) {
  Add(dc, "TextOut", {point}, std::string(text), dc.State().textAlign);
}

void CDrawRecorder::Bitmap(const CDrawContext& dc, const CRect& rect, const CBitmapDesc& bitmap) {
  Add(dc, "Bitmap", {{rect.left, rect.top}, {rect.right, rect.bottom}},
      std::to_string(bitmap.width) + "x" + std::to_string(bitmap.height));
}

std::string CDrawRecorder::Listing() const {
  std::string out;
  for (const Call& call : m_calls) {
    out += call.kind;
    for (CPoint point : call.points)
      out += " " + std::to_string(point.x) + "," + std::to_string(point.y);
    out += " [pen " + std::to_string(static_cast<int>(call.pen.style)) + "/" +
           std::to_string(call.pen.width) + "/" + Hex(call.pen.color) + "] [brush " +
           std::to_string(static_cast<int>(call.brush.style)) + "/" + Hex(call.brush.color) + "] " +
           call.layer;
    if (!call.text.empty()) out += " \"" + call.text + "\"";
    out += "\n";
  }
  return out;
}
