#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "view/draw_device.h"
#include "view/dxf_banded_entities.h"
#include "view/dxf_units.h"

// A drawing recorded as a DXF file: a target of the drawing context that draws nothing
// but turns every figure into DXF lines and texts (in DXF units, see CDxfUnits), cut to
// the drawing's frame. A filled figure removes what it covers of the figures recorded
// before it, and an excluded clip rectangle removes what is drawn inside it while it is
// excluded, so that the file shows what the screen shows. The frame is the target's
// size at the first figure. Screen-only marks are counted, never written.
class CDxfWriter : public CDrawDevice {
 public:
  struct Layer {
    std::string name;
    int color = 7;
    bool operator==(const Layer&) const = default;
  };
  // The text style of texts in one font: sizes in DXF units.
  struct Style {
    std::string face;
    std::int32_t height = 0;
    std::int32_t descent = 0;
    std::int32_t weight = 0;
    bool italic = false;
    bool operator==(const Style&) const = default;
  };

  // The hiding under filled figures is shared out among that many bands of the drawing,
  // taken by up to kHidingWorkers threads, once the drawing is large; the file is the same
  // for any.
  static constexpr int kHidingBands = 6;
  static constexpr int kHidingWorkers = 3;
  explicit CDxfWriter(int hidingBands = kHidingBands);
  ~CDxfWriter() override;

  void Line(const CDrawContext& dc, CPoint from, CPoint to) override;
  void Polyline(const CDrawContext& dc, std::span<const CPoint> points) override;
  void Polygon(const CDrawContext& dc, std::span<const CPoint> points) override;
  void Rectangle(const CDrawContext& dc, const CRect& rect) override;
  void Ellipse(const CDrawContext& dc, const CRect& rect) override;
  void Text(const CDrawContext& dc, std::string_view text, const CRect& rect,
            unsigned format) override;
  void ExcludeClip(const CDrawContext& dc, const CRect& rect) override;
  void ClipChanged(const CDrawContext& dc) override;
  // Makes the named layer current, creating it with the colour when no layer has that
  // name (a layer keeps its first colour). Layer "0" (colour 7) always exists.
  void SetLayer(std::string_view name, int colorNumber) override;

  void ScreenLine(const CDrawContext&, CPoint, CPoint) override { ++m_screenOnlyMarks; }
  void ScreenPolygon(const CDrawContext&, std::span<const CPoint>) override { ++m_screenOnlyMarks; }
  void Pixel(const CDrawContext&, CPoint, CColor) override { ++m_screenOnlyMarks; }
  void TextOut(const CDrawContext&, CPoint, std::string_view) override { ++m_screenOnlyMarks; }
  void Bitmap(const CDrawContext&, const CRect&, const CBitmapDesc&) override {
    ++m_screenOnlyMarks;
  }

  // The whole file (CR LF line ends): header, tables (viewport, line type, layers, text
  // styles), entities and the frame. A pending exclusion is applied first.
  std::string BuildFile();
  // The file written to a new file and renamed over path; false with fault set when it
  // cannot be written (path is then untouched).
  bool WriteFile(const std::string& path, std::string& fault);

  const std::vector<Layer>& Layers() const { return m_layers; }
  const std::vector<Style>& Styles() const { return m_styles; }
  // The recorded lines and texts in file order (none before the first figure).
  std::vector<CDxfEntity> Entities() const;
  std::size_t ScreenOnlyMarks() const { return m_screenOnlyMarks; }

 private:
  CPoint ToDxf(const CDrawContext& dc, CPoint logical);
  void RecordLine(CPoint from, CPoint to);
  void RecordConvertedPolygon(const CDrawContext& dc, std::span<const CPoint> dxfPoints);
  void HideUnderConverted(std::span<const CPoint> dxfPoints, std::uint64_t start);
  void HideUnder(const CDrawContext& dc, std::span<const CPoint> points);
  void ApplyPendingExclusion();
  int StyleOf(const Style& style);
  // How many recorded figures each layer carries.
  std::vector<std::size_t> LayerUses() const;
  void WriteTables(std::string& out) const;
  void WriteEntities(std::string& out) const;

  CDxfUnits m_units;
  std::optional<CDxfUnits::Frame> m_frame;
  int m_hidingBands;
  std::unique_ptr<CDxfBandedEntities> m_entities;
  std::vector<Layer> m_layers;
  int m_currentLayer = 0;
  std::vector<Style> m_styles;
  struct Exclusion {
    std::array<CPoint, 4> corners;  // DXF units
    std::uint64_t start = 0;        // what was appended before it stays
    std::size_t depth = 0;          // the context's exclusions while it holds
  };
  std::optional<Exclusion> m_exclusion;
  std::size_t m_screenOnlyMarks = 0;
};
