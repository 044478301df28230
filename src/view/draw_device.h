#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "grid/bitmap_desc.h"
#include "platform/draw_types.h"

class CDrawContext;

// A target of a drawing context: the screen, a printer or a picture (QPainter), a DXF
// file, or a recording for tests. The context keeps the state (mapping, position, pen,
// brush, font, modes, clip) and hands each figure over in logical units; the target reads
// whatever state it needs from the context it is given.
class CDrawDevice {
 public:
  virtual ~CDrawDevice() = default;

  // Whether the target keeps layers at all: a context names none to one that does not
  // (a picture's every face names its layer).
  bool KeepsLayers() const { return m_keepsLayers; }

  // Figures that every target shows, DXF files included. Lines use the pen; closed
  // figures are filled with the brush and outlined with the pen.
  virtual void Line(const CDrawContext& dc, CPoint from, CPoint to) = 0;
  virtual void Polyline(const CDrawContext& dc, std::span<const CPoint> points) = 0;
  virtual void Polygon(const CDrawContext& dc, std::span<const CPoint> points) = 0;
  virtual void Rectangle(const CDrawContext& dc, const CRect& rect) = 0;
  virtual void Ellipse(const CDrawContext& dc, const CRect& rect) = 0;
  // The text laid out in the rectangle by the format flags (text_format).
  virtual void Text(const CDrawContext& dc, std::string_view text, const CRect& rect,
                    unsigned format) = 0;
  // The context has just excluded the rectangle (logical units) from its clip.
  virtual void ExcludeClip(const CDrawContext& dc, const CRect& rect) = 0;
  // The context's clip has changed otherwise (an intersection, or a restored state).
  virtual void ClipChanged(const CDrawContext& dc) = 0;
  // The layer later figures belong to; only files with layers keep it.
  virtual void SetLayer(std::string_view name, int colorNumber) = 0;

  // Marks of the screen only, which DXF files never carry by design: a plain device line
  // or polygon, one pixel, a text placed by the context's text alignment, a bitmap
  // stretched into a rectangle.
  virtual void ScreenLine(const CDrawContext& dc, CPoint from, CPoint to) = 0;
  virtual void ScreenPolygon(const CDrawContext& dc, std::span<const CPoint> points) = 0;
  virtual void Pixel(const CDrawContext& dc, CPoint point, CColor color) = 0;
  virtual void TextOut(const CDrawContext& dc, CPoint point, std::string_view text) = 0;
  virtual void Bitmap(const CDrawContext& dc, const CRect& rect, const CBitmapDesc& bitmap) = 0;

 protected:
  CDrawDevice() = default;
  explicit CDrawDevice(bool keepsLayers) : m_keepsLayers(keepsLayers) {}

 private:
  bool m_keepsLayers = true;
};
