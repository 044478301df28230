#pragma once

#include <QPainter>
#include <QPolygon>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/log_font.h"
#include "view/draw_device.h"
#include "view/draw_tools.h"
#include "view/ui/qt_paint_recording.h"

// The drawing context's target on a QPainter (a widget, a QImage or a QPrinter), or on a
// recording of painter operations to be played back later. Figures
// are drawn without antialiasing, as the drawing code expects pixels to fall; the not-xor
// raster operation works on raster targets (widgets and images), which is where rubber
// bands are drawn.
class CQtDrawDevice : public CDrawDevice {
 public:
  // The painter must outlive the device; its state is restored when the device goes.
  explicit CQtDrawDevice(QPainter& painter);
  // Figures kept in the recording, which must outlive the device.
  explicit CQtDrawDevice(CQtPaintRecording& recording);
  ~CQtDrawDevice() override;

  void Line(const CDrawContext& dc, CPoint from, CPoint to) override;
  void Polyline(const CDrawContext& dc, std::span<const CPoint> points) override;
  void Polygon(const CDrawContext& dc, std::span<const CPoint> points) override;
  void Rectangle(const CDrawContext& dc, const CRect& rect) override;
  void Ellipse(const CDrawContext& dc, const CRect& rect) override;
  void Text(const CDrawContext& dc, std::string_view text, const CRect& rect,
            unsigned format) override;
  void ExcludeClip(const CDrawContext& dc, const CRect& rect) override;
  void ClipChanged(const CDrawContext& dc) override;
  void SetLayer(std::string_view, int) override {}  // never asked: keeps no layers
  void ScreenLine(const CDrawContext& dc, CPoint from, CPoint to) override { Line(dc, from, to); }
  void ScreenPolygon(const CDrawContext& dc, std::span<const CPoint> points) override {
    Polygon(dc, points);
  }
  void Pixel(const CDrawContext& dc, CPoint point, CColor color) override;
  void TextOut(const CDrawContext& dc, CPoint point, std::string_view text) override;
  // A bitmap whose format has no colours of its own here is crossed out, not dropped.
  void Bitmap(const CDrawContext& dc, const CRect& rect, const CBitmapDesc& bitmap) override;

 private:
  void UsePen(const CDrawContext& dc);
  void UseTextStyle(const CDrawContext& dc);
  // Fills and outlines a figure with the context's brush and pen; draw draws it with
  // whatever pen and brush the painter holds.
  template <typename Draw>
  void FillAndOutline(const CDrawContext& dc, Draw draw);
  QRect DeviceBox(const CDrawContext& dc, const CRect& rect) const;
  // The painter's pen and brush are set only when the context's differ from the last
  // ones set: large scenes draw thousands of figures with the same tools.
  void ForgetTools();
  // Solid brushes made once for each colour: the faces of a scene come in few shades.
  const QBrush& SolidBrush(CColor colour);

  struct CPenInUse {
    CPen pen;
    int width = 0;
    RasterOp op = RasterOp::CopyPen;
    bool operator==(const CPenInUse&) const = default;
  };
  struct CBrushInUse {
    CBrush brush;
    CColor textColor;
    CColor backgroundColor;
    bool operator==(const CBrushInUse&) const = default;
  };

  QPainter* m_painter = nullptr;  // the painter drawn on at once, if any
  std::unique_ptr<CQtPaintRecording> m_direct;
  CQtPaintRecording& m_out;
  std::optional<CPenInUse> m_pen;
  std::optional<CBrushInUse> m_brush;
  std::optional<CLogFont> m_textFont;  // the painter's font, set only by the texts
  std::vector<QPoint> m_polygon;       // reused by every figure of points
  std::unordered_map<std::uint32_t, QBrush> m_solidBrushes;
};
