#include <charconv>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/dbf_format.h"
#include "platform/number_text.h"
#include "view/dxf_text.h"
#include "view/dxf_writer.h"

// The file as text: every value on its own line, CR LF line ends, numbers as decimal
// integers except the viewport's aspect ratio.

namespace {

// The file's text, written group by group straight into one string: a list of its
// lines first cost more than the hiding of a large drawing.
using Lines = std::string;

void AppendLine(Lines& out, std::int64_t value) {
  char digits[24];
  const auto end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
  out.append(digits, end);
  out += "\r\n";
}

void Group(Lines& out, int code, std::string_view value) {
  AppendLine(out, code);
  out += value;
  out += "\r\n";
}

void Group(Lines& out, int code, std::int64_t value) {
  AppendLine(out, code);
  AppendLine(out, value);
}

std::string SixDecimals(double value) { return FixedDecimalText(value, 6); }

void ViewportTable(Lines& out, const CDxfUnits::Frame& frame) {
  const auto& c = frame.corners;
  Group(out, 0, "TABLE");
  Group(out, 2, "VPORT");
  Group(out, 70, 1);
  Group(out, 0, "VPORT");
  Group(out, 2, "*ACTIVE");
  Group(out, 70, 0);
  for (const auto& [code, value] : {std::pair{10, 0}, {20, 0}, {11, 1}, {21, 1}})
    Group(out, code, value);
  Group(out, 12, (std::int64_t{c[0].x} + c[1].x) / 2);
  Group(out, 22, (std::int64_t{c[0].y} + c[2].y) / 2);
  for (const auto& [code, value] : {std::pair{13, 0},
                                    {23, 0},
                                    {14, 1},
                                    {24, 1},
                                    {15, 0},
                                    {25, 0},
                                    {16, 0},
                                    {26, 0},
                                    {36, 1},
                                    {17, 0},
                                    {27, 0},
                                    {37, 0}}) {
    Group(out, code, value);
  }
  const std::int64_t height = std::int64_t{c[0].y} - c[2].y;
  Group(out, 40, height * 21 / 20);
  Group(out, 41, SixDecimals(double(std::int64_t{c[1].x} - c[0].x) / double(height)));
  for (const auto& [code, value] : {std::pair{42, 50},
                                    {43, 0},
                                    {44, 0},
                                    {50, 0},
                                    {51, 0},
                                    {71, 0},
                                    {72, 100},
                                    {73, 1},
                                    {74, 0},
                                    {75, 0},
                                    {76, 0},
                                    {77, 0},
                                    {78, 0}}) {
    Group(out, code, value);
  }
  Group(out, 0, "ENDTAB");
}

// The one line type the layers name, so that readers that check references accept them.
void LineTypeTable(Lines& out) {
  Group(out, 0, "TABLE");
  Group(out, 2, "LTYPE");
  Group(out, 70, 1);
  Group(out, 0, "LTYPE");
  Group(out, 2, "Continuous");
  Group(out, 70, 0);
  Group(out, 3, "Solid line");
  Group(out, 72, 65);
  Group(out, 73, 0);
  Group(out, 40, "0.0");
  Group(out, 0, "ENDTAB");
}

}  // namespace

void CDxfWriter::WriteTables(Lines& out) const {
  Group(out, 0, "SECTION");
  Group(out, 2, "TABLES");
  if (m_frame) ViewportTable(out, *m_frame);
  if (m_layers.size() > 1) {
    LineTypeTable(out);
    const std::vector<std::size_t> uses = LayerUses();
    Group(out, 0, "TABLE");
    Group(out, 2, "LAYER");
    Group(out, 70, static_cast<std::int64_t>(m_layers.size()));
    for (std::size_t i = 1; i < m_layers.size(); ++i) {
      if (uses[i] == 0) continue;
      Group(out, 0, "LAYER");
      Group(out, 2, DxfTextValue(m_layers[i].name));
      Group(out, 70, 0);
      Group(out, 62, m_layers[i].color);
      Group(out, 6, "Continuous");
    }
    Group(out, 0, "ENDTAB");
  }
  if (!m_styles.empty()) {
    Group(out, 0, "TABLE");
    Group(out, 2, "STYLE");
    Group(out, 70, static_cast<std::int64_t>(m_styles.size()));
    for (std::size_t i = 0; i < m_styles.size(); ++i) {
      Group(out, 0, "STYLE");
      Group(out, 2, "TEXT" + std::to_string(i + 1));
      Group(out, 70, 0);
      Group(out, 40, m_styles[i].height);
      Group(out, 41, 1);
      Group(out, 50, 0);
      Group(out, 71, 0);
      Group(out, 42, m_styles[i].height);
      Group(out, 3, DxfTextValue(m_styles[i].face));
      Group(out, 4, "");
    }
    Group(out, 0, "ENDTAB");
  }
  Group(out, 0, "ENDSEC");
}

void CDxfWriter::WriteEntities(Lines& out) const {
  auto line = [&out, this](CPoint from, CPoint to, int layer) {
    Group(out, 0, "LINE");
    Group(out, 8, DxfTextValue(m_layers[layer].name));
    Group(out, 10, from.x);
    Group(out, 20, from.y);
    Group(out, 30, 0);
    Group(out, 11, to.x);
    Group(out, 21, to.y);
    Group(out, 31, 0);
  };
  auto text = [&out, this](const CDxfEntity& entity) {
    const Style& style = m_styles[entity.style];
    const std::int64_t baseline = std::int64_t{entity.p1.y} + style.descent;
    Group(out, 0, "TEXT");
    Group(out, 8, DxfTextValue(m_layers[entity.layer].name));
    Group(out, 10, entity.p1.x);
    Group(out, 20, baseline);
    Group(out, 30, 0);
    Group(out, 40, style.height);
    Group(out, 1, DxfTextValue(entity.text));
    Group(out, 72, 5);
    Group(out, 73, 0);
    Group(out, 11, entity.p2.x);
    Group(out, 21, baseline);
    Group(out, 31, 0);
    Group(out, 7, "TEXT" + std::to_string(entity.style + 1));
  };
  Group(out, 0, "SECTION");
  Group(out, 2, "ENTITIES");
  m_entities->ForEach([&](const CDxfEntity& entity) {
    if (entity.kind == DxfEntityKind::Line) {
      line(entity.p1, entity.p2, entity.layer);
    } else {
      text(entity);
    }
  });
  // The frame, on layer "0".
  for (int k = 0; k < 4; ++k) line(m_frame->corners[k], m_frame->corners[(k + 1) % 4], 0);
  Group(out, 0, "ENDSEC");
}

std::string CDxfWriter::BuildFile() {
  ApplyPendingExclusion();
  Lines out;
  out.reserve(1024 + (m_entities ? m_entities->Size() * 80 : 0));  // about a line's worth
  Group(out, 0, "SECTION");
  Group(out, 2, "HEADER");
  Group(out, 0, "ENDSEC");
  WriteTables(out);
  // The frame's lines are figures too, so a drawing with a frame always has entities.
  if (m_frame) WriteEntities(out);
  Group(out, 0, "EOF");
  return out;
}

bool CDxfWriter::WriteFile(const std::string& path, std::string& fault) {
  return tvr::platform::WriteFileAtomically(path, BuildFile(), fault);
}
