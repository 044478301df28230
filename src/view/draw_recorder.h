#pragma once

#include <string>
#include <vector>

#include "view/draw_device.h"
#include "view/draw_tools.h"

// A target that keeps every call it gets, with the pen, brush and layer it was drawn
// with, so that tests can check what drawing code draws on every target at once.
class CDrawRecorder : public CDrawDevice {
 public:
  struct Call {
    std::string kind;            // "Line", "Polygon", "Text", "ScreenLine", ...
    std::vector<CPoint> points;  // logical units; a rectangle as its two corners
    std::string text;
    unsigned format = 0;  // texts: format flags or text alignment
    CPen pen;
    CBrush brush;
    std::string layer;
    bool operator==(const Call&) const = default;
  };

  void Line(const CDrawContext& dc, CPoint from, CPoint to) override;
  void Polyline(const CDrawContext& dc, std::span<const CPoint> points) override;
  void Polygon(const CDrawContext& dc, std::span<const CPoint> points) override;
  void Rectangle(const CDrawContext& dc, const CRect& rect) override;
  void Ellipse(const CDrawContext& dc, const CRect& rect) override;
  void Text(const CDrawContext& dc, std::string_view text, const CRect& rect,
            unsigned format) override;
  void ExcludeClip(const CDrawContext& dc, const CRect& rect) override;
  void ClipChanged(const CDrawContext& dc) override;
  void SetLayer(std::string_view name, int colorNumber) override;
  void ScreenLine(const CDrawContext& dc, CPoint from, CPoint to) override;
  void ScreenPolygon(const CDrawContext& dc, std::span<const CPoint> points) override;
  void Pixel(const CDrawContext& dc, CPoint point, CColor color) override;
  void TextOut(const CDrawContext& dc, CPoint point, std::string_view text) override;
  void Bitmap(const CDrawContext& dc, const CRect& rect, const CBitmapDesc& bitmap) override;

  const std::vector<Call>& Calls() const { return m_calls; }
  // One line a call: "Kind x,y x,y ... [pen style/width/rrggbb] [brush style/rrggbb] layer
  // "text"", for golden listings.
  std::string Listing() const;

 private:
  void Add(const CDrawContext& dc, std::string kind, std::vector<CPoint> points,
           std::string text = {}, unsigned format = 0);

  std::vector<Call> m_calls;
  std::string m_layer = "0";
};
