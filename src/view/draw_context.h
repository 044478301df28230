#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "grid/bitmap_desc.h"
#include "platform/draw_types.h"
#include "platform/log_font.h"
#include "view/draw_device.h"
#include "view/draw_mapping.h"
#include "view/draw_tools.h"
#include "view/font_measurer.h"

// Everything a drawing context remembers between calls; Save and Restore keep it whole.
struct CDrawState {
  CDrawMapping mapping;
  CPoint position;  // logical
  CPen pen;
  CBrush brush;
  CLogFont font;  // height in logical units
  CColor textColor{0, 0, 0};
  CColor backgroundColor{255, 255, 255};
  BackgroundMode backgroundMode = BackgroundMode::Opaque;
  unsigned textAlign = text_align::kLeft | text_align::kTop;
  RasterOp rasterOp = RasterOp::CopyPen;
  std::optional<CRect> clip;    // device pixels; none: the whole device
  std::vector<CRect> excluded;  // device pixels, taken out of the clip
  bool operator==(const CDrawState&) const = default;
};

// The one way the layout is drawn: the state a Windows device context keeps for the
// drawing code, over a target that shows the figures. Coordinates are logical units
// (32-bit integers, truncated toward zero wherever they are scaled). The device size
// is the target's size in pixels (the view's client area).
class CDrawContext {
 public:
  CDrawContext(CDrawDevice& device, const CFontMeasurer& measurer, CSize deviceSize);

  CSize DeviceSize() const { return m_deviceSize; }
  const CDrawState& State() const { return m_state; }
  const CDrawMapping& Mapping() const { return m_state.mapping; }
  CDrawMapping& Mapping() { return m_state.mapping; }

  // Each setter returns the value it replaced. The pens, brushes and colours are set for
  // every face of a picture and their old values mostly dropped: defined here, the
  // compiler leaves out the copy nobody reads.
  CPen SelectPen(const CPen& pen) { return std::exchange(m_state.pen, pen); }
  CBrush SelectBrush(const CBrush& brush) { return std::exchange(m_state.brush, brush); }
  CLogFont SelectFont(const CLogFont& font);
  CColor SetTextColor(CColor color) { return std::exchange(m_state.textColor, color); }
  CColor SetBackgroundColor(CColor color) { return std::exchange(m_state.backgroundColor, color); }
  BackgroundMode SetBackgroundMode(BackgroundMode mode) {
    return std::exchange(m_state.backgroundMode, mode);
  }
  unsigned SetTextAlign(unsigned align);
  RasterOp SetRasterOp(RasterOp op);
  const CPen& Pen() const { return m_state.pen; }
  const CBrush& Brush() const { return m_state.brush; }
  const CLogFont& Font() const { return m_state.font; }

  // The state is pushed and popped whole; Restore without a Save does nothing.
  void Save();
  void Restore();

  CPoint ToDevice(CPoint logical) const { return m_state.mapping.ToDevice(logical); }
  CPoint ToLogical(CPoint device) const { return m_state.mapping.ToLogical(device); }

  // The selected font with its height in device pixels (at least one pixel when it
  // asks for any height), as the target makes it.
  CLogFont DeviceFont() const;
  // Measures in the selected font, in logical units.
  CTextMetrics GetTextMetrics() const;
  CSize GetTextExtent(std::string_view text) const;

  // Figures every target shows. Polyline, Polygon and Rectangle leave the current
  // position where it was; LineTo moves it to its end.
  CPoint MoveTo(std::int32_t x, std::int32_t y);
  CPoint Position() const { return m_state.position; }
  void LineTo(std::int32_t x, std::int32_t y);
  void Polyline(std::span<const CPoint> points);
  void Polygon(std::span<const CPoint> points);
  void Rectangle(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
  void Ellipse(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
  void DrawText(std::string_view text, const CRect& rect, unsigned format);
  void ExcludeClipRect(std::int32_t left, std::int32_t top, std::int32_t right,
                       std::int32_t bottom);
  void IntersectClipRect(std::int32_t left, std::int32_t top, std::int32_t right,
                         std::int32_t bottom);
  // The layer of the figures that follow (only files with layers keep it); it is not part
  // of the saved state, so drawing code that changes it sets it back itself.
  void SetLayer(std::string_view name, int colorNumber);
  const std::string& LayerName() const { return m_layer; }

  // Marks of the screen only (a DXF file never carries them).
  void ScreenLineTo(std::int32_t x, std::int32_t y);
  void ScreenPolygon(std::span<const CPoint> points);
  void SetPixel(std::int32_t x, std::int32_t y, CColor color);
  // At (x, y), or at the current position with text_align::kUpdateCurrentPosition (which
  // then moves past the text).
  void TextOut(std::int32_t x, std::int32_t y, std::string_view text);
  void DrawBitmap(const CRect& rect, const CBitmapDesc& bitmap);

 private:
  CRect DeviceRect(std::int32_t left, std::int32_t top, std::int32_t right,
                   std::int32_t bottom) const;

  CDrawDevice& m_device;
  const CFontMeasurer& m_measurer;
  CSize m_deviceSize;
  CDrawState m_state;
  std::vector<CDrawState> m_saved;
  std::string m_layer = "0";
};
